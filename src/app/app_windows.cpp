#include "app_windows.h"

#include <QDir>

#include "form_main.h"
#include "load_form.h"
#include "placeholder_windows.h"
#include "set_box.h"

static void InitCadrixResources()
{
    Q_INIT_RESOURCE(cadrix);
}

namespace cadrix::app {

void LoadResources()
{
    InitCadrixResources();
}

AppWindows::AppWindows(UiHost& host, const WorkFolders& folders)
    : formMain(std::make_unique<FormMain>(host, folders)),
      loadForm(std::make_unique<LoadForm>()),
      aboutBox(std::make_unique<AboutBox>(formMain.get())),
      setBox(std::make_unique<SetBox>(formMain.get())),
      exInfoForm(std::make_unique<ExInfoForm>(formMain.get()))
{
    formMain->setLoadForm(loadForm.get());
    formMain->setAboutBox(aboutBox.get());
    formMain->setSetBox(setBox.get());
    setBox->setWindows(formMain.get(), aboutBox.get(), exInfoForm.get(), formMain->grid(GridId::StringGrid3));
}

AppWindows::~AppWindows()
{
    // The dialogs are children of the main window: let it go last.
    exInfoForm.reset();
    setBox.reset();
    aboutBox.reset();
    loadForm.reset();
    formMain.reset();
}

}  // namespace cadrix::app
