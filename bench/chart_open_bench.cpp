// Times the opening of a player's development chart over a stored history:
// from the menu item's call to the chart's first paint, the history read, the
// lines and the table built and the window shown. The first opening also
// loads the chart module; the others find it loaded. Then the table's tab
// shown, and the history window's improvers of the club's whole range.
//
//     chart_open_bench DATABASE PLAYER_ID [REPETITIONS]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGraphicsView>
#include <QTabWidget>
#include <QTableWidget>

#include "app_windows.h"
#include "archive_import.h"
#include "chart_kit.h"
#include "chart_module.h"
#include "form_main.h"
#include "history_windows.h"
#include "history/improvers.h"
#include "player_chart_form.h"
#include "player_table_tab.h"
#include "progress_tab.h"
#include "uihost.h"

using namespace cadrix::app;

namespace {

// Notes when the chart's drawing area has been painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void WaitForPaint(QWidget* widget) {
    PaintWatch watch;
    widget->installEventFilter(&watch);
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    widget->removeEventFilter(&watch);
}

double Ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// The chart window opened and painted, then its table's tab shown and painted.
std::pair<double, double> OpenOnce(HistoryWindows& history, const std::string& player) {
    QElapsedTimer timer;
    timer.start();
    PlayerChartForm* chart = history.showPlayerChart(player);
    if (!chart)
        std::exit(1);
    WaitForPaint(chart->findChild<QGraphicsView*>()->viewport());
    const double open = Ms(timer);
    timer.restart();
    chart->tabs()->setCurrentIndex(1);
    WaitForPaint(chart->tableTab()->table()->viewport());
    const double table = Ms(timer);
    chart->close();
    QCoreApplication::processEvents();
    return {open, table};
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: chart_open_bench DATABASE PLAYER_ID [REPETITIONS]\n");
        return 2;
    }
    QApplication app(argc, argv);
    LoadResources();
    const int reps = argc > 3 ? std::atoi(argv[3]) : 11;
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "cadrix-chart-bench";
    DesktopUiHost host;
    AppWindows windows(host, ResolveWorkFolders(work), argv[1]);
    windows.formMain->show();

    SetChartModuleFolder(QStringLiteral(CADRIX_CHART_MODULE_DIR));
    std::optional<QString> problem;
    const cadrix::History* stored = windows.history->access().open(problem);
    if (!stored)
        return 1;
    const std::size_t points = stored->Player(argv[2]).points.size();

    const double first = OpenOnce(*windows.history, argv[2]).first;
    std::vector<double> opens, tables, ranks, tabs;
    for (int i = 0; i < reps; ++i) {
        const auto [open, table] = OpenOnce(*windows.history, argv[2]);
        opens.push_back(open);
        tables.push_back(table);
    }
    // The improvers of the newest snapshot's club over all its stored dates:
    // ranked alone, and ranked and listed by the history window's tab.
    const auto all = stored->Snapshots();
    const auto club = stored->Snapshots(all.back().club);
    std::size_t ranked = 0;
    ProgressTab tab(*windows.history, nullptr);
    for (int i = 0; i < reps; ++i) {
        QElapsedTimer timer;
        timer.start();
        ranked = cadrix::RankImprovers(*stored, club.front(), club.back()).byRealLevel.size();
        ranks.push_back(Ms(timer));
        timer.restart();
        tab.setSnapshots({club.rbegin(), club.rend()});
        tabs.push_back(Ms(timer));
    }
    std::printf("Opening a player's chart of %zu points per line:\n", points);
    std::printf("  first opening, the chart module loaded with it  %7.1f ms\n", first);
    std::printf("  later openings, chart and table, median of %d    %7.1f ms  (goal < 100)\n", reps, Median(opens));
    std::printf("  the table's tab shown, median of %d              %7.1f ms\n", reps, Median(tables));
    std::printf("Improvers of %zu players over %zu snapshots of the club, median of %d:\n", ranked, club.size(), reps);
    std::printf("  ranked                                          %7.1f ms  (goal < 100)\n", Median(ranks));
    std::printf("  ranked and listed in the history window's tab   %7.1f ms  (goal < 100)\n", Median(tabs));
    std::filesystem::remove_all(work);
    return 0;
}
