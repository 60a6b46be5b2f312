#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/totals.h"

namespace cadrix {

void FillValuesPage(const TextTable& total, TextTable& grid, TotalsLine& totals) {
    using namespace period;
    RunningTotals sums;
    grid.SetRowCount(2);
    WriteTotals(sums, FallIs::Unfavourable, totals);
    for (int r = 1; r < total.RowCount(); ++r) {
        if (r > 1)
            grid.AddRow();
        const std::string_view valueStart = total.Cell(kValueStart, r);
        const std::string_view valueEnd = total.Cell(kValueEnd, r);
        grid.SetCell(0, r, total.Cell(kName, r));
        grid.SetCell(1, r, total.Cell(kPosition, r));
        grid.SetCell(2, r, GroupThousands(valueStart));
        grid.SetCell(3, r, GroupThousands(valueEnd));
        const auto change = WholeChange(valueStart, valueEnd);
        grid.SetCell(4, r, change ? GroupThousands(*change) : kNotAvailable);
        AddToTotal(sums.start, valueStart);
        AddToTotal(sums.end, valueEnd);
    }
    WriteTotals(sums, FallIs::Unfavourable, totals);
}

CellStyle DrawValuesCell(const TextTable& grid, int col, int row) {
    CellStyle style;
    const std::string_view text = grid.Cell(col, row);
    if (text == period::kNotAvailable)
        style.text = kDimTextColour;
    if (row == 0)
        style.align = Align::Center;
    else
        style.align = col == 0 ? Align::Left : col == 1 ? Align::Center : Align::Right;
    if (col == 4 && !text.empty() && text != period::kNotAvailable) {
        if (text[0] == '-')
            style.background = Background::Unfavourable;
        else if (text[0] != '0' && text != "Прогресс")
            style.background = Background::Favourable;
    }
    return style;
}

}  // namespace cadrix
