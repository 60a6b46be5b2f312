#include "app_windows.h"

#include <array>
#include <system_error>

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "form_main.h"
#include "history_windows.h"
#include "load_form.h"

static void InitCadrixResources() { Q_INIT_RESOURCE(cadrix); }

namespace cadrix::app {

namespace {
// Debian's Wine package carries Tahoma and MS Sans Serif faces, but outside
// fontconfig's folders; without them both names would fall to a much wider
// sans face and the page captions would not fit. Wine's bold Tahoma is left
// out: its strokes are no thicker than the regular face's, so bold captions
// (the version caption, the About box's product name) would not stand out;
// without it the regular face is emboldened.
constexpr const char* kWineFontFolder = "/usr/share/wine/fonts";
constexpr std::array<const char*, 2> kWineFonts = {"tahoma.ttf", "ms_sans_serif.ttf"};
}  // namespace

// The configuration read here is the one fontconfig keeps for the whole
// process, and the one Qt's font database takes up: Qt's own call to
// FcInit() then finds it made.
FontConfigurationLoad::FontConfigurationLoad() {
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Without a thread Qt reads the configuration itself, when it first needs it.
    }
}

FontConfigurationLoad::~FontConfigurationLoad() { wait(); }

void FontConfigurationLoad::wait() {
    if (m_thread.joinable())
        m_thread.join();
}

void LoadPictures() { InitCadrixResources(); }

void LoadFonts() {
    const QDir folder(QString::fromLatin1(kWineFontFolder));
    for (const char* file : kWineFonts) {
        const QString path = folder.filePath(QString::fromLatin1(file));
        if (QFile::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
}

void LoadResources() {
    LoadPictures();
    LoadFonts();
}

bool InstallQtTranslation() {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    // Numbers and dates that Qt writes itself (the file dialogs' sizes and
    // dates) follow the same convention.
    QLocale::setDefault(russian);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

AppWindows::AppWindows(UiHost& host, const WorkFolders& folders, const std::filesystem::path& historyFile)
    : formMain(std::make_unique<FormMain>(host, folders)),
      loadForm(std::make_unique<LoadForm>()),
      history(std::make_unique<HistoryWindows>(host, *formMain, historyFile)) {
    formMain->setHistory(history.get());
    formMain->setLoadForm(loadForm.get());
}

AppWindows::~AppWindows() {
    // The history's windows are children of the main window, as are its
    // dialogs and its panel, which go with it: let it go last.
    formMain->setHistory(nullptr);
    history.reset();
    loadForm.reset();
    formMain.reset();
}

AboutBox& AppWindows::aboutBox() { return formMain->aboutBox(); }

SetBox& AppWindows::setBox() { return formMain->setBox(); }

ExInfoForm& AppWindows::exInfoForm() { return formMain->exInfoForm(); }

}  // namespace cadrix::app
