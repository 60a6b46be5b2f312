#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QWidget>

#include "chart_kit.h"
#include "history/history.h"

class QComboBox;
class QListWidget;
class QTabWidget;

namespace cadrix::app {

class HistoryWindows;
class LineChart;
class PlayerTableTab;
class UiHost;

// A player to choose: his id and "Имя (Позиция)".
using ChoosablePlayer = std::pair<std::string, QString>;

// A player's development over the stored snapshots: on one tab a chart of
// real level, value and the 24 skills, each a line switched on and off in the
// list beside it (at first the real level, the value and the skills of his
// line's colour), on another the table of every stored date. The chooser at
// the top switches to another player of the club without closing.
class PlayerChartForm : public QWidget {
    Q_OBJECT
public:
    PlayerChartForm(UiHost& host, HistoryWindows& windows, ChartKit& kit, const PlayerSeries& series,
                    QWidget* parent);

    LineChart* chart() const { return m_chart; }
    QListWidget* lineList() const { return m_lineList; }
    QComboBox* chooser() const { return m_chooser; }
    PlayerTableTab* tableTab() const { return m_tableTab; }
    QTabWidget* tabs() const { return m_tabs; }
    const QString& title() const { return m_title; }

    // Shows the player with this id; false when no stored snapshot holds him.
    bool showPlayer(const std::string& playerId);
    // "Все" and "Ни одного".
    void showAllLines(bool on);
    // Saves the chart as a PNG picture, the file chosen in the save dialog.
    void saveClick();
    // Opens the chart of one line of several players.
    void compareClick();

private:
    void setSeries(const PlayerSeries& series);
    void fillChooser(const std::string& playerId);
    QWidget* makeChartTab();

    UiHost& m_host;
    HistoryWindows& m_windows;
    ChartKit& m_kit;
    QString m_name;
    QString m_title;
    std::string m_club;
    QComboBox* m_chooser;
    QTabWidget* m_tabs;
    QListWidget* m_lineList = nullptr;
    LineChart* m_chart = nullptr;
    PlayerTableTab* m_tableTab = nullptr;
    std::vector<ChartLine> m_lines;
    std::vector<ChoosablePlayer> m_players;
};

// The save dialog's filter.
inline const QString kPngFilter = QStringLiteral("PNG Image (*.png)|*.png");

}  // namespace cadrix::app
