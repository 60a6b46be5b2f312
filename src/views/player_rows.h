#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "core/text_table.h"
#include "snapshot/period_table.h"
#include "views/cell_style.h"
#include "views/comparison_result.h"
#include "views/grids.h"

namespace cadrix {

// The grid row of a player page that data row `a` of the period player table
// fills: the first row below the page's header rows, if any, holds row 1.
inline int GridRowOfPlayer(GridId id, int a) { return InfoOf(id).rows - 1 + a - 1; }

// A grid column that shows a column of the period player table unchanged.
using ShownColumn = TextTable::ShownColumn;

// What the four player pages share. Each cuts its grid down to its least
// rows, then gives every data row of the period player table one grid row,
// in the table's order, the grid growing by a row for each player after the
// first. `fill(a, row)` writes data row `a` of `total` into grid row `row`;
// the `shown` columns are not written but show `total`'s (a page repeats
// names, positions and ages of every player: its grid refers to them), so
// the grid reads `total` for as long as it is shown.
template <typename Fill>
void FillPlayerRows(const TextTable& total, GridId id, TextTable& grid, std::span<const ShownColumn> shown,
                    Fill fill) {
    const int leastRows = InfoOf(id).rows;
    grid.ShowOwnCells();
    grid.SetRowCount(leastRows);
    grid.SetRowCount(leastRows + std::max(total.RowCount() - 2, 0));
    for (int a = 1; a < total.RowCount(); ++a)
        fill(a, GridRowOfPlayer(id, a));
    if (total.RowCount() > 1) {
        const int firstRow = GridRowOfPlayer(id, 1);
        grid.ShowColumns(total, shown, firstRow, 1 - firstRow);
    }
}

// The player a row of a player page's grid shows: his id cell of the period
// player table, the inverse of FillPlayerRows. None for a header row, a row
// beyond the players, an empty id, and the grids of the other pages.
std::optional<std::string> PlayerIdOfRow(const TextTable& total, GridId id, int row);

// Where every player page's draw rule starts: a value the player does not
// have at one of the dates, "n/a", is drawn in the dim colour.
inline CellStyle PlayerCellStyle(std::string_view text) {
    CellStyle style;
    if (text == period::kNotAvailable)
        style.text = kDimTextColour;
    return style;
}

// A money figure of a player page (a salary, a value): its start and end
// columns in the period player table and in the grid.
struct MoneyColumns {
    int totalStart;
    int totalEnd;
    int gridStart;
    int gridEnd;
};

// Writes data row `a`'s figure at both dates, grouped, into grid row `row`;
// returns its change when both are whole numbers.
std::optional<std::string> FillMoney(const TextTable& total, int a, TextTable& grid, int row,
                                     const MoneyColumns& columns);

enum class FallIs { Favourable, Unfavourable };

// The totals line over a start and an end column of the period player table.
// Each total sums the whole numbers of its column ("n/a" and other texts are
// left out) in 64 bits, so that no squad can make it wrap. The shape shows
// the sign of the change, read by `fall`.
TotalsLine SumTotals(const TextTable& total, int startCol, int endCol, FallIs fall);

}  // namespace cadrix
