#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "views/cell_style.h"

namespace cadrix {

// The national-team statuses the national teams page counts, in the order
// of its counters.
enum class NationalStatus { NotCalled, ExtendedList, YouthTeam, MainTeam };
inline constexpr std::size_t kNationalStatusCount = 4;

// What a status is shown as: the star the page draws for it and the line of
// the page's legend, which names it after a dash ("- не вызван").
struct NationalStatusLook {
    NationalStatus status;
    CellImage picture;
    std::string_view legend;

    // The status's name alone, as the page's text and the summary give it.
    constexpr std::string_view Name() const { return legend.substr(legend.find(' ') + 1); }
};

// Every status, in the order of NationalStatus.
inline constexpr std::array<NationalStatusLook, kNationalStatusCount> kNationalStatuses = {{
    {NationalStatus::NotCalled, CellImage::StatusOutline, "- не вызван"},
    {NationalStatus::ExtendedList, CellImage::StatusGrey, "- в расширенном списке"},
    {NationalStatus::YouthTeam, CellImage::StatusGreen, "- молодежная сборная"},
    {NationalStatus::MainTeam, CellImage::StatusGold, "- основная сборная"},
}};

constexpr const NationalStatusLook& LookOf(NationalStatus status) {
    for (const NationalStatusLook& look : kNationalStatuses) {
        if (look.status == status)
            return look;
    }
    return kNationalStatuses.front();
}

// The status whose star `picture` is; none for any other picture.
constexpr std::optional<NationalStatus> StatusPictured(CellImage picture) {
    for (const NationalStatusLook& look : kNationalStatuses) {
        if (look.picture == picture)
            return look.status;
    }
    return std::nullopt;
}

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
