#pragma once

#include <array>
#include <string>
#include <vector>

#include "views/skills_page.h"

namespace cadrix {

// The detail panel's two-column grid: a caption and a value per row.
struct DetailPanel {
    static constexpr int kRows = 11;
    static const std::array<std::string, kRows>& Captions();  // "Имя" .. "Единые"
    std::array<std::string, kRows> values;
};

// The panel's values after a player choice. `chooserText` is "name, POS";
// `formed` the skill differences of the choice; `talent` and `age` the
// player's cells in the end players table.
void FillDetailPanel(const std::string& chooserText, const std::vector<SkillDifference>& formed,
                     const std::string& talent, const std::string& age, DetailPanel& panel);

}  // namespace cadrix
