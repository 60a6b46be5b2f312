#include "views/totals.h"

#include "core/numbers.h"

namespace cadrix {

void WriteTotals(const RunningTotals& sums, FallIs fall, TotalsLine& line) {
    line.start = GroupThousands(WholeText(sums.start));
    line.end = GroupThousands(WholeText(sums.end));
    line.change = GroupThousands(WholeText(sums.end - sums.start));
    if (line.change == "0")
        line.shape = ShapeColour::ButtonFace;
    else if (line.change[0] == '-')
        line.shape = fall == FallIs::Favourable ? ShapeColour::Favourable : ShapeColour::Unfavourable;
    else
        line.shape = fall == FallIs::Favourable ? ShapeColour::Unfavourable : ShapeColour::Favourable;
}

void AddToTotal(std::int64_t& total, std::string_view text) {
    if (const auto n = ParseWhole(text))
        total += *n;
}

}  // namespace cadrix
