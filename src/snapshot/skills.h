#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_table.h"

namespace cadrix {

// The 24 skills, numbered 1 to 24: 1 to 20 are outfield skills, 21 to 24 the
// goalkeeper skills. Skill k stands in column k + 4 of a skills table.
inline constexpr int kSkillCount = 24;
inline constexpr int kOutfieldSkills = 20;
inline constexpr int kSkillsPlayerIdColumn = 1;

const std::string& SkillName(int skill);
inline int SkillColumn(int skill) { return skill + 4; }

enum class PositionLine { Goalkeeper, Defence, Midfield, Forward };

// The line of a position code's last character: K, D, M or W.
std::optional<PositionLine> LineFromLetter(char32_t letter);
// The line of a chooser text "name, POS" from its last character.
std::optional<PositionLine> LineOfChooserText(std::string_view text);
// The player's name in a chooser text: the text without its last 4
// characters (", " and the position code).
std::string NameOfChooserText(std::string_view text);
// The position code of a chooser text: its last 2 characters.
std::string PositionOfChooserText(std::string_view text);

enum class SkillClass { Green, Blue, Red };
SkillClass ColourClass(PositionLine line, int skill);

// The eight skills green for every line.
const std::vector<int>& CommonSkills();
bool IsCommonSkill(int skill);

// Skill groups of the detail panel for one line: the profile ("Профильные"),
// general ("Общие"), alien ("Чужие") and common ("Единые") skills.
struct SkillGroups {
    std::vector<int> profile;
    std::vector<int> general;
    std::vector<int> alien;
    std::vector<int> common;
};
// Goalkeepers: the goalkeeper skills, none, the twelve outfield skills
// 1-7, 11, 13, 14, 16, 18, and the common skills. Outfield lines: their four
// own green skills, their four blue skills, their four red outfield skills,
// and the common skills.
SkillGroups GroupsOf(PositionLine line);

// The first data row (from row 1) whose id cell equals `id` exactly: the
// `player_id` column of a skills table, or of another table by its column.
std::optional<int> FindPlayerRow(const TextTable& table, std::string_view id, int idColumn = kSkillsPlayerIdColumn);

}  // namespace cadrix
