#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "snapshot/skills.h"

namespace cadrix {

// The page grids of the main window, by their control names.
enum class GridId {
    StringGrid1,     // club summary
    StringGrid2,     // infrastructure
    StringGrid_nat,  // national teams
    StringGrid_pay,  // contracts
    StringGrid_pr,   // player values
    StringGrid_ru,   // real level
    StringGrid3,     // skills
};

// What every front end knows of a page grid. The pixel sizes belong to the
// window and are kept there.
struct GridInfo {
    GridId id;
    std::string_view name;     // the control's name, also the report's key
    std::string_view caption;  // the caption of the grid's page
    int cols;
    // The rows after a load run's reset: all of them on the fixed-size grids,
    // the least a player grid is cut down to before its fill.
    int rows;
    int fixedRows;  // header rows, drawn like buttons
    int fixedCols;
};

// Every grid, in the order of GridId, which is the order the report prints.
inline constexpr std::array<GridInfo, 7> kGrids = {{
    {GridId::StringGrid1, "StringGrid1", "Клуб", 4, 17, 1, 1},
    {GridId::StringGrid2, "StringGrid2", "Инф-ра", 6, 7, 0, 1},
    {GridId::StringGrid_nat, "StringGrid_nat", "Сборные", 8, 1, 0, 0},
    {GridId::StringGrid_pay, "StringGrid_pay", "Контракты", 7, 1, 0, 0},
    {GridId::StringGrid_pr, "StringGrid_pr", "Номиналы", 5, 2, 1, 0},
    {GridId::StringGrid_ru, "StringGrid_ru", "РУ", 8, 1, 0, 0},
    {GridId::StringGrid3, "StringGrid3", "Скиллы", 4, kSkillCount + 1, 1, 0},
}};

constexpr bool InGridIdOrder() {
    for (std::size_t i = 0; i < kGrids.size(); ++i) {
        if (static_cast<std::size_t>(kGrids[i].id) != i)
            return false;
    }
    return true;
}
static_assert(InGridIdOrder(), "kGrids lists the grids in the order of GridId");

constexpr const GridInfo& InfoOf(GridId id) { return kGrids[static_cast<std::size_t>(id)]; }

// The window's pages in the order of its tabs, which the reports follow.
inline constexpr std::array<GridId, 7> kTabOrder = {GridId::StringGrid1,    GridId::StringGrid3,
                                                    GridId::StringGrid_ru,  GridId::StringGrid_pr,
                                                    GridId::StringGrid_pay, GridId::StringGrid_nat,
                                                    GridId::StringGrid2};

}  // namespace cadrix
