#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

TotalsLine FillValuesPage(const TextTable& total, TextTable& grid) {
    using namespace period;
    static constexpr CopiedColumn kCopied[] = {{0, kName}, {1, kPosition}};
    FillPlayerRows(total, GridId::StringGrid_pr, grid, [&](int a, int row) {
        const std::string_view valueStart = total.Cell(kValueStart, a);
        const std::string_view valueEnd = total.Cell(kValueEnd, a);
        CopyColumns(total, a, grid, row, kCopied);
        grid.SetCell(2, row, GroupThousands(valueStart));
        grid.SetCell(3, row, GroupThousands(valueEnd));
        const auto change = WholeChange(valueStart, valueEnd);
        grid.SetCell(4, row, change ? GroupThousands(*change) : kNotAvailable);
    });
    return SumTotals(total, kValueStart, kValueEnd, FallIs::Unfavourable);
}

CellStyle DrawValuesCell(const TextTable& grid, int col, int row) {
    const std::string_view text = grid.Cell(col, row);
    CellStyle style = PlayerCellStyle(text);
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
