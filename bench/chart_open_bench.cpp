// Times the opening of a player's development chart over a stored history:
// from the menu item's call to the chart's first paint, the history read, the
// lines built and the window shown. The first opening also loads the chart
// module; the others find it loaded.
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

#include "app_windows.h"
#include "archive_import.h"
#include "chart_kit.h"
#include "chart_module.h"
#include "form_main.h"
#include "history_windows.h"
#include "player_chart_form.h"
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

double OpenOnce(HistoryWindows& history, const std::string& player) {
    QElapsedTimer timer;
    timer.start();
    PlayerChartForm* chart = history.showPlayerChart(player);
    if (!chart)
        std::exit(1);
    PaintWatch watch;
    auto* view = chart->findChild<QGraphicsView*>();
    view->viewport()->installEventFilter(&watch);
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    chart->close();
    QCoreApplication::processEvents();
    return ms;
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

    const double first = OpenOnce(*windows.history, argv[2]);
    std::vector<double> times;
    for (int i = 0; i < reps; ++i)
        times.push_back(OpenOnce(*windows.history, argv[2]));
    std::sort(times.begin(), times.end());
    std::printf("Opening a player's chart of %zu points per line:\n", points);
    std::printf("  first opening, the chart module loaded with it  %7.1f ms\n", first);
    std::printf("  later openings, median of %d                     %7.1f ms  (goal < 300)\n", reps,
                times[times.size() / 2]);
    std::filesystem::remove_all(work);
    return 0;
}
