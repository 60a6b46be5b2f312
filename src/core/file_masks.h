#pragma once

#include <string_view>

namespace cadrix {

// The masks by which the files of a statistics export are picked: every CSV
// file of an archive, and each of the four files of a snapshot folder.
inline constexpr std::string_view kCsvMask = "*.csv";
inline constexpr std::string_view kPlayersMask = "*players.csv";
inline constexpr std::string_view kSkillsMask = "*players_skills.csv";
inline constexpr std::string_view kTeamMask = "*team.csv";
inline constexpr std::string_view kStructureMask = "*structure.csv";

}  // namespace cadrix
