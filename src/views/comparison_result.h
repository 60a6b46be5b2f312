#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "views/cell_style.h"

namespace cadrix {

// The national-team statuses the national teams page counts, in the order
// of its counters.
enum class NationalStatus { NotCalled, ExtendedList, YouthTeam, MainTeam };
inline constexpr std::size_t kNationalStatusCount = 4;

// The page's legend of the statuses, in the same order.
inline constexpr std::array<std::string_view, kNationalStatusCount> kNationalStatusLegend = {
    "- не вызван", "- в расширенном списке", "- молодежная сборная", "- основная сборная"};

// How many players stand in each status at the start and at the end of the
// period, indexed by NationalStatus.
struct NationalCounters {
    std::array<int, kNationalStatusCount> start{};
    std::array<int, kNationalStatusCount> end{};
};

// A counter as the page shows it: the number in brackets, "(3)".
std::string CounterText(int count);

// A totals line under a player grid: the two totals and their change, as
// the page shows them (grouped), and the colour of the shape behind the
// change. Empty until the first comparison run.
struct TotalsLine {
    std::string start;
    std::string end;
    std::string change;
    ShapeColour shape = ShapeColour::ButtonFace;
};

// Everything the comparison run shows beside its grids. The window puts it
// into its labels and shapes, the report under its JSON keys; each maps the
// fields to its own names in one place.
struct ComparisonResult {
    // The date captions above the date columns of every page: the dates of
    // the two players files when the last load run started.
    std::string startDate = "<date>";
    std::string endDate = "<date>";
    NationalCounters national;
    TotalsLine payroll;  // the contracts page: salaries; a fall is favourable
    TotalsLine values;   // the player values page: nominal values
};

}  // namespace cadrix
