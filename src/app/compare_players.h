#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "chart_kit.h"
#include "player_chart_form.h"

class QComboBox;
class QListWidget;

namespace cadrix::app {

class HistoryWindows;
class UiHost;

// Several players of a club on one chart of one line (the real level, the
// value or a skill): up to eight ticked in the list beside the chart.
class ComparePlayersForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxPlayers = 8;

    ComparePlayersForm(UiHost& host, HistoryWindows& windows, ChartKit& kit, const std::string& club,
                       const std::vector<ChoosablePlayer>& players, QWidget* parent);

    QListWidget* playerList() const { return m_playerList; }
    QComboBox* lineChooser() const { return m_line; }
    LineChart* chart() const { return m_chart; }
    const QString& title() const { return m_title; }
    void saveClick();

private:
    void redraw();

    UiHost& m_host;
    HistoryWindows& m_windows;
    std::string m_club;
    std::vector<ChoosablePlayer> m_players;
    QListWidget* m_playerList;
    QComboBox* m_line;
    LineChart* m_chart;
    QString m_title;
    std::vector<ChartLine> m_lines;
};

// Opens the comparison window with the first player ticked.
ComparePlayersForm* ComparePlayers(UiHost& host, HistoryWindows& windows, ChartKit& kit, const std::string& club,
                                   const std::vector<ChoosablePlayer>& players, QWidget* parent);

}  // namespace cadrix::app
