#pragma once

#include <QWidget>

#include "history/player_table.h"
#include "views/palette.h"

class QLabel;
class QTableWidget;

namespace cadrix::app {

class UiHost;

// A player's table over the stored dates: one row per snapshot, each change
// against the row above on the palette's colours, his growth from the first
// date to the last below it, and buttons to copy it and save it as CSV.
class PlayerTableTab : public QWidget {
    Q_OBJECT
public:
    PlayerTableTab(UiHost& host, const Palette& palette, QWidget* parent);

    void setTable(const PlayerTable& table);

    QTableWidget* table() const { return m_table; }
    QLabel* growth() const { return m_growth; }

    // Tab-separated, as spreadsheets paste it: the selected cells, or all
    // of the table with its captions.
    void copyClick();
    void copyAllClick();
    void saveCsvClick();

private:
    UiHost& m_host;
    const Palette& m_palette;
    QTableWidget* m_table;
    QLabel* m_growth;
    PlayerTable m_data;
};

inline const QString kCsvFilter = QStringLiteral("CSV (*.csv)|*.csv");

}  // namespace cadrix::app
