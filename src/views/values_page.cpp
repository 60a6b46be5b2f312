#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

TotalsLine FillValuesPage(const TextTable& total, TextTable& grid) {
    using namespace period;
    namespace col = values_grid;
    static constexpr ShownColumn kShown[] = {{col::kName, kName}, {col::kPosition, kPosition}};
    static constexpr MoneyColumns kValue = {kValueStart, kValueEnd, col::kValueStart, col::kValueEnd};
    FillPlayerRows(total, GridId::StringGrid_pr, grid, kShown, [&](int a, int row) {
        const auto change = FillMoney(total, a, grid, row, kValue);
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
