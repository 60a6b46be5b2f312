#include "views/player_rows.h"

#include "core/numbers.h"

namespace cadrix {

TotalsLine SumTotals(const TextTable& total, int startCol, int endCol, FallIs fall) {
    std::int64_t start = 0;
    std::int64_t end = 0;
    for (int a = 1; a < total.RowCount(); ++a) {
        if (const auto n = ParseWhole(total.Cell(startCol, a)))
            start += *n;
        if (const auto n = ParseWhole(total.Cell(endCol, a)))
            end += *n;
    }
    TotalsLine line;
    line.start = GroupThousands(WholeText(start));
    line.end = GroupThousands(WholeText(end));
    line.change = GroupThousands(WholeText(end - start));
    if (line.change == "0")
        line.shape = ShapeColour::ButtonFace;
    else if (line.change[0] == '-')
        line.shape = fall == FallIs::Favourable ? ShapeColour::Favourable : ShapeColour::Unfavourable;
    else
        line.shape = fall == FallIs::Favourable ? ShapeColour::Unfavourable : ShapeColour::Favourable;
    return line;
}

}  // namespace cadrix
