#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

TotalsLine FillContractsPage(const TextTable& total, TextTable& grid) {
    using namespace period;
    static constexpr CopiedColumn kCopied[] = {{0, kName}, {1, kPosition}, {3, kContractStart}, {5, kContractEnd}};
    FillPlayerRows(total, GridId::StringGrid_pay, grid, [&](int a, int row) {
        const std::string_view salaryStart = total.Cell(kSalaryStart, a);
        const std::string_view salaryEnd = total.Cell(kSalaryEnd, a);
        CopyColumns(total, a, grid, row, kCopied);
        grid.SetCell(2, row, GroupThousands(salaryStart));
        grid.SetCell(4, row, GroupThousands(salaryEnd));
        if (auto change = WholeChange(salaryStart, salaryEnd)) {
            grid.SetCell(6, row, GroupThousands(*change));
            return;
        }
        // A leaver's whole salary shows as a fall, a newcomer's as a rise.
        const std::string_view presence = total.Cell(kPresence, a);
        if (presence == kLeft)
            grid.SetCell(6, row, GroupThousands("-" + std::string(salaryStart)));
        else if (presence == kNewcomer)
            grid.SetCell(6, row, GroupThousands(salaryEnd));
    });
    return SumTotals(total, kSalaryStart, kSalaryEnd, FallIs::Favourable);
}

CellStyle DrawContractsCell(const TextTable& grid, int col, int row) {
    const std::string_view text = grid.Cell(col, row);
    CellStyle style = PlayerCellStyle(text);
    if (col == 6) {
        if (!text.empty() && text[0] == '-')
            style.background = Background::Favourable;
        else if (text != "0" && text != period::kNotAvailable)
            style.background = Background::Unfavourable;
    }
    style.align = col == 0 ? Align::Left : col == 1 ? Align::Center : Align::Right;
    return style;
}

}  // namespace cadrix
