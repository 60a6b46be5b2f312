#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/text_table.h"
#include "views/cell_style.h"

namespace cadrix {

// The six pages that the comparison run fills, each a fill (tables in, grid
// texts out) and a draw rule (grid state, column, row in; CellStyle out).

// Club summary, StringGrid1: sixteen figures of the team tables by row number.
void FillClubPage(const TextTable& startTeam, const TextTable& endTeam, TextTable& grid);
CellStyle DrawClubCell(const TextTable& grid, int col, int row);

// Infrastructure, StringGrid2: capacity, levels as star strips, wear, progress.
void FillInfrastructurePage(const TextTable& startStructure, const TextTable& endStructure, TextTable& grid);
CellStyle DrawInfrastructureCell(const TextTable& grid, const TextTable& startStructure, const TextTable& endStructure,
                                 int col, int row);

// National teams, StringGrid_nat: one row per player with the two status codes
// kept beside the grid; counters LO1..LO4 (start) and LN1..LN4 (end).
using NatStatus = std::array<std::string, 2>;
struct NationalCounters {
    std::array<std::string, 4> start;  // LO1..LO4
    std::array<std::string, 4> end;    // LN1..LN4
};
void FillNationalPage(const TextTable& total, TextTable& grid, std::vector<NatStatus>& status,
                      NationalCounters& counters);
CellStyle DrawNationalCell(const TextTable& grid, const std::vector<NatStatus>& status, int col, int row);

// The totals line under the contracts and player values grids.
struct TotalsLine {
    std::string start;   // kt1 / tot1
    std::string end;     // kt2 / tot2
    std::string change;  // kt3 / tot3
    ShapeColour shape = ShapeColour::ButtonFace;
};

// Contracts, StringGrid_pay: salaries and contracts; a fall is favourable.
void FillContractsPage(const TextTable& total, TextTable& grid, TotalsLine& totals);
CellStyle DrawContractsCell(const TextTable& grid, int col, int row);

// Player values, StringGrid_pr: nominal values under a header row.
void FillValuesPage(const TextTable& total, TextTable& grid, TotalsLine& totals);
CellStyle DrawValuesCell(const TextTable& grid, int col, int row);

// Real level, StringGrid_ru: talent, ages, real levels and their change.
void FillRealLevelPage(const TextTable& total, TextTable& grid);
CellStyle DrawRealLevelCell(const TextTable& grid, int col, int row);

}  // namespace cadrix
