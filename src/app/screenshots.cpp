#include "screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>

#include "app_windows.h"
#include "form_main.h"

namespace cadrix::app {

void SaveScreenshots(AppWindows& windows, const QString& folder, const QStringList& archives)
{
    QDir().mkpath(folder);
    FormMain& form = *windows.formMain;
    auto save = [&](const QString& name) {
        QApplication::processEvents();
        form.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    };
    save(QStringLiteral("0-splash"));
    if (archives.size() != 2)
        return;
    form.chooseArchive(Period::Start, archives[0]);
    form.chooseArchive(Period::End, archives[1]);
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl2"));
    if (!pages->isVisible())
        return;
    auto* chooser = form.findChild<QComboBox*>(QStringLiteral("ComboBox3"));
    if (chooser->count() > 0) {
        chooser->setCurrentIndex(0);
        form.ComboBox3Change(0);
    }
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        save(QStringLiteral("%1-%2").arg(i + 1).arg(pages->widget(i)->objectName()));
    }
}

}  // namespace cadrix::app
