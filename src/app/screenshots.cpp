#include "screenshots.h"

#include <exception>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTabWidget>

#include "about_box.h"
#include "app_windows.h"
#include "chart_module.h"
#include "ex_info_form.h"
#include "form_main.h"
#include "history_form.h"
#include "history_windows.h"
#include "jpeg_writer.h"
#include "player_chart_form.h"
#include "report_export.h"
#include "set_box.h"
#include "summary_window.h"

namespace cadrix::app {

namespace {

QString PathIn(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

void SavePicture(QWidget& window, const QString& folder, const QString& name) {
    QApplication::processEvents();
    window.grab().save(PathIn(folder, name + QStringLiteral(".png")));
}

// Each page in tab order, the first player chosen on the skills page.
void SavePages(FormMain& form, const QString& folder) {
    auto* chooser = form.findChild<QComboBox*>(QStringLiteral("ComboBox3"));
    if (chooser->count() > 0) {
        chooser->setCurrentIndex(0);
        form.ComboBox3Change(0);
    }
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl2"));
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        SavePicture(form, folder, QStringLiteral("%1-%2").arg(i + 1).arg(pages->widget(i)->objectName()));
    }
    pages->setCurrentIndex(1);
}

// The skills page with the detail panel open beside the window, as one
// picture, and the JPEG a manager saves of the chosen player's skills.
void SaveSkillsPictures(FormMain& form, ExInfoForm& panel, const QString& folder) {
    form.SpeedButton2Click();
    QApplication::processEvents();
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
    picture.save(PathIn(folder, QStringLiteral("8-panel.png")));
    WriteJpeg(form.captureSkillsArea(), PathIn(folder, form.proposedScreenshotName() + QStringLiteral(".jpg")));
    form.SpeedButton2Click();
}

void SaveDialog(QWidget& dialog, const QString& folder, const QString& name) {
    dialog.show();
    SavePicture(dialog, folder, name);
    dialog.hide();
}

// A player of the club with the most stored dates, present at its newest:
// the chart of a season, when the history holds one.
std::optional<std::string> SeasonPlayer(History& stored) {
    std::string club;
    std::size_t most = 0;
    for (const std::string& name : stored.Clubs()) {
        if (const std::size_t n = stored.Snapshots(name).size(); n > most) {
            most = n;
            club = name;
        }
    }
    const auto players = most ? stored.Players(stored.Snapshots(club).back().id) : std::vector<SnapshotPlayer>{};
    return players.empty() ? std::nullopt : std::optional(players.front().playerId);
}

void SavePlayerPictures(HistoryWindows& history, const std::string& player, const QString& folder,
                        const QString& chartName, const QString& tableName) {
    PlayerChartForm* chart = history.showPlayerChart(player);
    if (!chart)
        return;
    SavePicture(*chart, folder, chartName);
    if (!tableName.isEmpty()) {
        chart->tabs()->setCurrentIndex(1);
        SavePicture(*chart, folder, tableName);
    }
    chart->close();
}

// The history window with its list, its club chart and its improvers, the
// development chart and table of the player chosen on the skills page, and
// the chart of a season. Without the chart module the charts are left out
// rather than asked about.
void SaveHistoryPictures(AppWindows& windows, const QString& folder) {
    HistoryWindows& history = *windows.history;
    QString error;
    if (history.access().failed() || !LoadChartKit(error)) {
        qWarning("%s", qPrintable(error));
        return;
    }
    history.showHistory();
    HistoryForm* window = history.historyForm();
    if (!window)
        return;
    SavePicture(*window, folder, QStringLiteral("11-history"));
    auto* tabs = window->findChild<QTabWidget*>();
    tabs->setCurrentWidget(window->findChild<QWidget*>(QStringLiteral("ClubTab")));
    SavePicture(*window, folder, QStringLiteral("12-history-club"));
    tabs->setCurrentWidget(window->findChild<QWidget*>(QStringLiteral("ProgressTab")));
    SavePicture(*window, folder, QStringLiteral("15-history-progress"));
    window->hide();
    if (const auto player = windows.formMain->chosenPlayerId())
        SavePlayerPictures(history, *player, folder, QStringLiteral("13-player-chart"),
                           QStringLiteral("16-player-table"));
    History* stored = history.history(windows.formMain.get());
    if (const auto season = stored ? SeasonPlayer(*stored) : std::nullopt)
        SavePlayerPictures(history, *season, folder, QStringLiteral("17-season-chart"), QString());
}

}  // namespace

void SaveScreenshots(AppWindows& windows, const QString& folder, const QStringList& archives) {
    QDir().mkpath(folder);
    FormMain& form = *windows.formMain;
    SavePicture(form, folder, QStringLiteral("0-splash"));
    if (archives.size() != 2)
        return;
    form.chooseArchive(SnapshotSide::Start, archives[0]);
    form.chooseArchive(SnapshotSide::End, archives[1]);
    if (!form.pages()->isVisible())
        return;
    SavePages(form, folder);
    SaveSkillsPictures(form, windows.exInfoForm(), folder);
    SaveDialog(windows.setBox(), folder, QStringLiteral("9-settings"));
    SaveDialog(windows.aboutBox(), folder, QStringLiteral("10-about"));
    SaveHistoryPictures(windows, folder);
    form.showSummary();
    if (SummaryWindow* summary = form.summaryWindow()) {
        SavePicture(*summary, folder, QStringLiteral("14-summary"));
        summary->hide();
    }
    try {
        form.saveReportTo({ReportFormat::Pdf, PathIn(folder, QStringLiteral("report.pdf"))});
    } catch (const std::exception& error) {
        qWarning("%s", error.what());
    }
}

}  // namespace cadrix::app
