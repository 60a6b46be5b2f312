#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QObject>
#include <QPointer>

#include "history/history.h"
#include "history_access.h"
#include "views/palette.h"

class QWidget;

namespace cadrix::app {

class ChartKit;
class FolderWatcher;
class FormMain;
class HistoryForm;
class NewExportNotice;
class PlayerChartForm;
class UiHost;

// The history's windows beside the main window: the history window, opened
// by the club page's button, and the players' development charts, opened from
// the player pages. They are the main window's own windows, so the font
// chosen in the settings reaches them as it reaches the main window.
class HistoryWindows : public QObject {
    Q_OBJECT
public:
    HistoryWindows(UiHost& host, FormMain& form, std::filesystem::path file);
    ~HistoryWindows() override;

    HistoryAccess& access() { return m_access; }
    // The history, or null when it cannot be opened (the reason shown once).
    History* history(QWidget* parent);
    // The chart module, or null when it cannot be loaded (the reason shown).
    ChartKit* chartKit(QWidget* parent);

    // Shows the history window, with the club of the current load selected.
    void showHistory();
    HistoryForm* historyForm() const;

    // Loads two stored snapshots into the main window as choosing their
    // archives would, `start` as the start.
    void compare(SnapshotId start, SnapshotId end);

    // The club's newest stored snapshot against the one before it; without
    // a club, of the newest snapshot's club. Says so when there are fewer
    // than two.
    void compareLatest(const std::string& club = {});

    // The watched folder: exports appearing in it are stored and announced
    // in the main window. Started from the settings once the main window is
    // up; `watchFolder` changes it and remembers it (empty: none).
    void watchFolder(const QString& folder);
    FolderWatcher& watcher() { return *m_watcher; }
    NewExportNotice& notice() { return *m_notice; }

    // A player's development over every stored snapshot that holds him; null
    // when none does or the charts cannot be drawn (the reason shown).
    PlayerChartForm* showPlayerChart(const std::string& playerId);

    // The club of the main window's current load; empty before any load.
    std::string currentClub() const;

    // The palette the main window shows changes in.
    const Palette& palette() const;
    // The stored snapshots, or none when the history cannot be opened.
    std::vector<StoredSnapshot> snapshots();
    // The players a chart offers: the club's players of its newest stored
    // snapshot, then those of the current comparison not among them, each as
    // his id and "Имя (Позиция)".
    std::vector<std::pair<std::string, QString>> choosablePlayers(const std::string& club);

private:
    std::optional<StoredSnapshot> storeWatched(const std::filesystem::path& archive);
    void announce(const std::vector<StoredSnapshot>& snapshots);

    UiHost& m_host;
    FormMain& m_form;
    HistoryAccess m_access;
    QPointer<HistoryForm> m_historyForm;
    FolderWatcher* m_watcher;
    NewExportNotice* m_notice;
};

}  // namespace cadrix::app
