#pragma once

#include <vector>

#include <QWidget>

#include "history/improvers.h"

class QComboBox;
class QLabel;
class QTreeWidget;

namespace cadrix::app {

class HistoryWindows;

// The history window's "Прогресс": for two stored dates of the club (at
// first the oldest and the newest) the players present at both, ranked by
// their real level's change per week and beside it by their skills sum's; a
// double click opens the player's chart.
class ProgressTab : public QWidget {
    Q_OBJECT
public:
    ProgressTab(HistoryWindows& windows, QWidget* parent);

    // The club's snapshots, newest first, as the history window lists them.
    void setSnapshots(const std::vector<StoredSnapshot>& snapshots);

    QComboBox* fromChooser() const { return m_from; }
    QComboBox* toChooser() const { return m_to; }
    QTreeWidget* byRealLevel() const { return m_byRealLevel; }
    QTreeWidget* bySkillsSum() const { return m_bySkillsSum; }

private:
    void rank();

    HistoryWindows& m_windows;
    QComboBox* m_from;
    QComboBox* m_to;
    QLabel* m_days;
    QTreeWidget* m_byRealLevel;
    QTreeWidget* m_bySkillsSum;
    std::vector<StoredSnapshot> m_snapshots;  // oldest first
};

}  // namespace cadrix::app
