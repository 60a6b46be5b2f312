#include <cstdint>
#include <optional>
#include <string>

#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

namespace {

void Count(std::string_view code, std::array<int, kNationalStatusCount>& counters) {
    if (const auto status = NationalStatusOf(code))
        ++counters[static_cast<std::size_t>(*status)];
}

std::optional<NationalStatus> StatusOfCode(std::int32_t code) {
    switch (code) {
    case 0: return NationalStatus::NotCalled;
    case -1:
    case -2: return NationalStatus::ExtendedList;
    case 2: return NationalStatus::YouthTeam;
    case 1: return NationalStatus::MainTeam;
    default: return std::nullopt;
    }
}

// Every negative code shows the extended list's star, though only -1 and -2
// count in it; codes above 2 show none.
CellImage IconOf(std::string_view code) {
    const auto n = ParseWhole(code);
    if (!n)
        return CellImage::None;
    const auto status = *n < 0 ? NationalStatus::ExtendedList : StatusOfCode(*n);
    return status ? LookOf(*status).picture : CellImage::None;
}

constexpr Align kAlign[] = {Align::Left, Align::Center, Align::Right,  Align::Center,
                            Align::Left, Align::Right,  Align::Center, Align::Left};

}  // namespace

std::optional<NationalStatus> NationalStatusOf(std::string_view code) {
    if (code == period::kNotAvailable)
        return std::nullopt;
    const auto n = ParseWhole(code);
    return n ? StatusOfCode(*n) : std::nullopt;
}

std::string CounterText(int count) { return "(" + std::to_string(count) + ")"; }

NationalCounters FillNationalPage(const TextTable& total, TextTable& grid, std::vector<NatStatus>& status) {
    using namespace period;
    namespace col = national_grid;
    static constexpr ShownColumn kShown[] = {{col::kName, kName},         {col::kPosition, kPosition},
                                             {col::kAgeStart, kAgeStart}, {col::kCitizenshipStart, kCitizenshipStart},
                                             {col::kAgeEnd, kAgeEnd},     {col::kCitizenshipEnd, kCitizenshipEnd}};
    status.resize(1);
    status.reserve(static_cast<std::size_t>(total.RowCount()));
    FillPlayerRows(total, GridId::StringGrid_nat, grid, kShown, [&](int a, int row) {
        const std::string_view start = total.Cell(kNationalStatusStart, a);
        const std::string_view end = total.Cell(kNationalStatusEnd, a);
        status.resize(static_cast<std::size_t>(row) + 1);
        status[static_cast<std::size_t>(row)] = {std::string(start), std::string(end)};
        // A status shows as an icon only; a date the player was not in the
        // club shows "n/a".
        if (start == kNotAvailable)
            grid.SetCell(col::kStatusStart, row, kNotAvailable);
        if (end == kNotAvailable)
            grid.SetCell(col::kStatusEnd, row, kNotAvailable);
    });
    NationalCounters counters;
    for (const auto& [startCode, endCode] : status) {
        Count(startCode, counters.start);
        Count(endCode, counters.end);
    }
    return counters;
}

CellStyle DrawNationalCell(const TextTable& grid, const std::vector<NatStatus>& status, int col, int row) {
    CellStyle style = PlayerCellStyle(grid.Cell(col, row));
    if (col >= 0 && col < 8)
        style.align = kAlign[col];
    using namespace national_grid;
    if ((col == kStatusStart || col == kStatusEnd) && row >= 0 && static_cast<std::size_t>(row) < status.size()) {
        style.image = IconOf(status[static_cast<std::size_t>(row)][col == kStatusStart ? 0 : 1]);
        if (style.image != CellImage::None) {
            style.imageX = col == kStatusStart ? 11 : 10;
            style.imageY = 1;
        }
    }
    return style;
}

}  // namespace cadrix
