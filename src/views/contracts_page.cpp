#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/totals.h"

namespace cadrix {

void FillContractsPage(const TextTable& total, TextTable& grid, TotalsLine& totals) {
    using namespace period;
    RunningTotals sums;
    grid.SetRowCount(1);
    // A load without a data row still shows its (zero) totals.
    WriteTotals(sums, FallIs::Favourable, totals);
    for (int r = 1; r < total.RowCount(); ++r) {
        if (r > 1)
            grid.AddRow();
        const int row = r - 1;
        const std::string_view salaryStart = total.Cell(kSalaryStart, r);
        const std::string_view salaryEnd = total.Cell(kSalaryEnd, r);
        grid.SetCell(0, row, total.Cell(kName, r));
        grid.SetCell(1, row, total.Cell(kPosition, r));
        grid.SetCell(3, row, total.Cell(kContractStart, r));
        grid.SetCell(5, row, total.Cell(kContractEnd, r));
        grid.SetCell(2, row, GroupThousands(salaryStart));
        grid.SetCell(4, row, GroupThousands(salaryEnd));
        if (auto change = WholeChange(salaryStart, salaryEnd)) {
            grid.SetCell(6, row, GroupThousands(*change));
        } else {
            const std::string_view presence = total.Cell(kPresence, r);
            // A leaver's whole salary shows as a fall, a newcomer's as a rise.
            if (presence == kLeft)
                grid.SetCell(6, row, GroupThousands("-" + std::string(salaryStart)));
            else if (presence == kNewcomer)
                grid.SetCell(6, row, GroupThousands(salaryEnd));
        }
        AddToTotal(sums.start, salaryStart);
        AddToTotal(sums.end, salaryEnd);
    }
    WriteTotals(sums, FallIs::Favourable, totals);
}

CellStyle DrawContractsCell(const TextTable& grid, int col, int row) {
    CellStyle style;
    const std::string_view text = grid.Cell(col, row);
    if (text == period::kNotAvailable)
        style.text = kDimTextColour;
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
