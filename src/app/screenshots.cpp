#include "screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTabWidget>

#include "about_box.h"
#include "app_windows.h"
#include "ex_info_form.h"
#include "form_main.h"
#include "jpeg_writer.h"
#include "set_box.h"

namespace cadrix::app {

void SaveScreenshots(AppWindows& windows, const QString& folder, const QStringList& archives) {
    QDir().mkpath(folder);
    FormMain& form = *windows.formMain;
    auto save = [&](const QString& name) {
        QApplication::processEvents();
        form.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    };
    save(QStringLiteral("0-splash"));
    if (archives.size() != 2)
        return;
    form.chooseArchive(SnapshotSide::Start, archives[0]);
    form.chooseArchive(SnapshotSide::End, archives[1]);
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

    // The skills page with the detail panel open beside the window, as one picture.
    pages->setCurrentIndex(1);
    form.SpeedButton2Click();
    QApplication::processEvents();
    ExInfoForm& panel = *windows.exInfoForm;
    const QRect mainRect = form.geometry();
    const QRect panelRect = panel.geometry();
    const QRect both = mainRect.united(panelRect);
    QImage picture(both.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.drawPixmap(mainRect.topLeft() - both.topLeft(), form.grab());
        painter.drawPixmap(panelRect.topLeft() - both.topLeft(), panel.grab());
    }
    picture.save(QDir(folder).filePath(QStringLiteral("8-panel.png")));

    // The picture a manager saves of the chosen player's skills.
    WriteJpeg(form.captureSkillsArea(), QDir(folder).filePath(form.proposedScreenshotName() + QStringLiteral(".jpg")));
    form.SpeedButton2Click();

    auto saveDialog = [&](QWidget& dialog, const QString& name) {
        dialog.show();
        QApplication::processEvents();
        dialog.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
        dialog.hide();
    };
    saveDialog(*windows.setBox, QStringLiteral("9-settings"));
    saveDialog(*windows.aboutBox, QStringLiteral("10-about"));
}

}  // namespace cadrix::app
