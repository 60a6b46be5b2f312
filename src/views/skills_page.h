#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/text_table.h"
#include "views/cell_style.h"

namespace cadrix {

// One skill's difference, formed when both skills tables hold the player and
// both values are whole numbers.
struct SkillDifference {
    int skill;
    long long difference;
};

// The skills grid StringGrid3 after a player choice: names in column 0, the
// start and end values in columns 1 and 2, the differences in column 3.
// Columns 1 to 3 are emptied first, so that a player missing from a skills
// table never shows another player's values. Returns the differences formed,
// in skill order.
std::vector<SkillDifference> FillSkillsGrid(const TextTable& startSkills, const TextTable& endSkills,
                                            const std::string& playerId, TextTable& grid);

// Writes the header row and the skill names, and empties columns 1 to 3.
void ResetSkillsGrid(TextTable& grid, const std::string& startDate, const std::string& endDate);

// The skills grid's draw rule: the colours follow the chooser's current text.
CellStyle DrawSkillsCell(const TextTable& grid, const std::string& chooserText, int col, int row);

}  // namespace cadrix
