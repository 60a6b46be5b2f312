#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

TotalsLine FillContractsPage(const TextTable& total, TextTable& grid) {
    using namespace period;
    namespace col = contracts_grid;
    static constexpr MoneyColumns kSalary = {kSalaryStart, kSalaryEnd, col::kSalaryStart, col::kSalaryEnd};
    static constexpr ShownColumn kShown[] = {{col::kName, kName},
                                             {col::kPosition, kPosition},
                                             {col::kContractStart, kContractStart},
                                             {col::kContractEnd, kContractEnd}};
    FillPlayerRows(total, GridId::StringGrid_pay, grid, kShown, [&](int a, int row) {
        if (auto change = FillMoney(total, a, grid, row, kSalary)) {
            grid.SetCell(col::kChange, row, GroupThousands(*change));
            return;
        }
        // A leaver's whole salary shows as a fall, a newcomer's as a rise.
        const std::string_view presence = total.Cell(kPresence, a);
        if (presence == kLeft)
            grid.SetCell(col::kChange, row, GroupThousands("-" + std::string(total.Cell(kSalaryStart, a))));
        else if (presence == kNewcomer)
            grid.SetCell(col::kChange, row, GroupThousands(total.Cell(kSalaryEnd, a)));
    });
    return SumTotals(total, kSalaryStart, kSalaryEnd, FallIs::Favourable);
}

CellStyle DrawContractsCell(const TextTable& grid, int col, int row) {
    const std::string_view text = grid.Cell(col, row);
    using namespace contracts_grid;
    CellStyle style = PlayerCellStyle(text);
    if (col == kChange) {
        if (!text.empty() && text[0] == '-')
            style.background = Background::Favourable;
        else if (text != "0" && text != period::kNotAvailable)
            style.background = Background::Unfavourable;
    }
    style.align = col == kName ? Align::Left : col == kPosition ? Align::Center : Align::Right;
    return style;
}

}  // namespace cadrix
