#pragma once

#include <cstdint>

#include "views/pages.h"

namespace cadrix {

// The totals line of the contracts and values pages: the two totals are summed
// in 64 bits, so that no squad can make them wrap.
struct RunningTotals {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

enum class FallIs { Favourable, Unfavourable };

// Writes the three texts and the shape colour of a totals line.
void WriteTotals(const RunningTotals& sums, FallIs fall, TotalsLine& line);

// Adds a value text to a total when it is a whole number ("n/a" never is).
void AddToTotal(std::int64_t& total, std::string_view text);

}  // namespace cadrix
