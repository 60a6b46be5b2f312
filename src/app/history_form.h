#pragma once

#include <optional>
#include <vector>

#include <QStringList>
#include <QWidget>

#include "history/chart_series.h"
#include "history/history.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace cadrix::app {

class HistoryWindows;
class LineChart;
class ProgressTab;
class UiHost;

// The history window: the stored snapshots of one club, newest first, to
// compare, add and remove, and a chart of the club's figures over them.
class HistoryForm : public QWidget {
    Q_OBJECT
public:
    HistoryForm(UiHost& host, HistoryWindows& windows, QWidget* parent);

    // Reads the database again and shows `club`, or the club shown so far,
    // or the newest snapshot's club.
    void reload(const QString& club = {});

    // The handlers of the buttons; the dialogs' answers come from the host.
    void compareClick();
    // "Сравнить последние": the shown club's newest snapshot against the one
    // before it.
    void compareLatestClick();
    // "Следить за папкой…": on, with a folder chosen in a dialog, or off.
    void watchFolderClick(bool on);
    void addArchivesClick();
    void addFolderClick();
    void removeClick();
    // Adds archives, and every archive directly in a given folder: from the
    // dialogs and from a drop.
    void addPaths(const QStringList& paths);

    std::vector<SnapshotId> selectedIds() const;
    QTreeWidget* list() const { return m_list; }
    LineChart* clubChart() const { return m_chart; }
    ProgressTab* progressTab() const { return m_progress; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setUpSnapshotsTab(QWidget* tab);
    void setUpClubTab(QWidget* tab);
    void fillList();
    void fillClubChart();
    void showFigure(int index);
    void ensureChart();
    void updateButtons();
    // Reloads when another connection changed the database.
    void followDatabase();
    void doubleClicked(QTreeWidgetItem* item);
    void compare(SnapshotId a, SnapshotId b);
    QString club() const;
    template <typename Handler>
    void run(Handler&& handler);

    UiHost& m_host;
    HistoryWindows& m_windows;
    QComboBox* m_clubs;
    QTabWidget* m_tabs;
    QTreeWidget* m_list;
    QPushButton* m_compare;
    QPushButton* m_compareLatest;
    QPushButton* m_watch;
    QTimer* m_databaseLook;
    std::optional<std::int64_t> m_changeCount;
    QPushButton* m_add;
    QPushButton* m_remove;
    QLabel* m_status;
    QListWidget* m_figures;
    QWidget* m_chartArea;
    LineChart* m_chart = nullptr;
    ProgressTab* m_progress = nullptr;
    bool m_chartFailed = false;
    std::vector<StoredSnapshot> m_snapshots;  // of the shown club, newest first
    std::vector<ChartSeries> m_clubLines;
    std::optional<SnapshotId> m_previousCurrent;  // the row current before the last click
    QString m_dialogFolder;
};

}  // namespace cadrix::app
