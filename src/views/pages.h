#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_table.h"
#include "views/cell_style.h"
#include "views/comparison_result.h"

namespace cadrix {

// The six pages that the comparison run fills, each a fill (tables in, grid
// texts out) and a draw rule (grid state, column, row in; CellStyle out),
// and the columns of each page's grid by what they show.

namespace club_grid {
enum Column : int { kCaption, kStart, kEnd, kChange };
}  // namespace club_grid

// The levels show as star strips; on the stadium's row they give its capacity.
namespace infrastructure_grid {
enum Column : int { kBuilding, kLevelStart, kWearStart, kLevelEnd, kWearEnd, kProgress };
}  // namespace infrastructure_grid

// A status shows as its star, or "n/a" while the player was not in the club.
namespace national_grid {
enum Column : int {
    kName,
    kPosition,
    kAgeStart,
    kStatusStart,
    kCitizenshipStart,
    kAgeEnd,
    kStatusEnd,
    kCitizenshipEnd
};
}  // namespace national_grid

namespace contracts_grid {
enum Column : int { kName, kPosition, kSalaryStart, kContractStart, kSalaryEnd, kContractEnd, kChange };
}  // namespace contracts_grid

namespace values_grid {
enum Column : int { kName, kPosition, kValueStart, kValueEnd, kChange };
}  // namespace values_grid

namespace real_level_grid {
enum Column : int { kName, kTalent, kPosition, kAgeStart, kRealLevelStart, kAgeEnd, kRealLevelEnd, kChange };
}  // namespace real_level_grid

// Club summary, StringGrid1: sixteen figures of the team tables by row number.
void FillClubPage(const TextTable& startTeam, const TextTable& endTeam, TextTable& grid);
CellStyle DrawClubCell(const TextTable& grid, int col, int row);

// Infrastructure, StringGrid2: capacity, levels as star strips, wear, progress.
void FillInfrastructurePage(const TextTable& startStructure, const TextTable& endStructure, TextTable& grid);
CellStyle DrawInfrastructureCell(const TextTable& grid, const TextTable& startStructure, const TextTable& endStructure,
                                 int col, int row);

// The four player pages below show the names, positions, ages and the other
// figures they repeat of the period player table `total` in its place rather
// than copy them: their grids read `total` until the next fill, so it must
// outlive that reading (a temporary table is refused).

// National teams, StringGrid_nat: one row per player, with the start and end
// status codes kept beside the grid; returns the players per status.
using NatStatus = std::array<std::string, 2>;
// The status a code counts in: 0, -1 or -2, 2, 1; none for "n/a", a text
// that is not a whole number and any other code.
std::optional<NationalStatus> NationalStatusOf(std::string_view code);
NationalCounters FillNationalPage(const TextTable& total, TextTable& grid, std::vector<NatStatus>& status);
NationalCounters FillNationalPage(const TextTable&& total, TextTable& grid, std::vector<NatStatus>& status) = delete;
CellStyle DrawNationalCell(const TextTable& grid, const std::vector<NatStatus>& status, int col, int row);

// Contracts, StringGrid_pay: salaries and contracts; a fall is favourable.
// Returns the payroll's totals line.
TotalsLine FillContractsPage(const TextTable& total, TextTable& grid);
TotalsLine FillContractsPage(const TextTable&& total, TextTable& grid) = delete;
CellStyle DrawContractsCell(const TextTable& grid, int col, int row);

// Player values, StringGrid_pr: nominal values under a header row. Returns
// the squad's totals line.
TotalsLine FillValuesPage(const TextTable& total, TextTable& grid);
TotalsLine FillValuesPage(const TextTable&& total, TextTable& grid) = delete;
CellStyle DrawValuesCell(const TextTable& grid, int col, int row);

// Real level, StringGrid_ru: talent, ages, real levels and their change.
void FillRealLevelPage(const TextTable& total, TextTable& grid);
void FillRealLevelPage(const TextTable&& total, TextTable& grid) = delete;
CellStyle DrawRealLevelCell(const TextTable& grid, int col, int row);

}  // namespace cadrix
