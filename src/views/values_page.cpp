#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

TotalsLine FillValuesPage(const TextTable& total, TextTable& grid) {
    using namespace period;
    namespace col = values_grid;
    static constexpr CopiedColumn kCopied[] = {{col::kName, kName}, {col::kPosition, kPosition}};
    FillPlayerRows(total, GridId::StringGrid_pr, grid, [&](int a, int row) {
        const std::string_view valueStart = total.Cell(kValueStart, a);
        const std::string_view valueEnd = total.Cell(kValueEnd, a);
        CopyColumns(total, a, grid, row, kCopied);
        grid.SetCell(col::kValueStart, row, GroupThousands(valueStart));
        grid.SetCell(col::kValueEnd, row, GroupThousands(valueEnd));
        const auto change = WholeChange(valueStart, valueEnd);
        grid.SetCell(col::kChange, row, change ? GroupThousands(*change) : kNotAvailable);
    });
    return SumTotals(total, kValueStart, kValueEnd, FallIs::Unfavourable);
}

CellStyle DrawValuesCell(const TextTable& grid, int col, int row) {
    const std::string_view text = grid.Cell(col, row);
    using namespace values_grid;
    CellStyle style = PlayerCellStyle(text);
    if (row == 0)
        style.align = Align::Center;
    else
        style.align = col == kName ? Align::Left : col == kPosition ? Align::Center : Align::Right;
    if (col == kChange && !text.empty() && text != period::kNotAvailable) {
        if (text[0] == '-')
            style.background = Background::Unfavourable;
        else if (text[0] != '0' && text != "Прогресс")
            style.background = Background::Favourable;
    }
    return style;
}

}  // namespace cadrix
