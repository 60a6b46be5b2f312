#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text_table.h"

namespace cadrix {

// Columns of the period player table `Total_play1`: one row per player of the
// period, start and end values side by side; row 0 is not a player row.
namespace period {
inline constexpr int kColumns = 20;
inline constexpr int kPlayerId = 0;
inline constexpr int kName = 1;
inline constexpr int kPosition = 2;
inline constexpr int kRealLevelStart = 3;
inline constexpr int kRealLevelEnd = 4;
inline constexpr int kSalaryStart = 5;
inline constexpr int kSalaryEnd = 6;
inline constexpr int kValueStart = 7;
inline constexpr int kValueEnd = 8;
inline constexpr int kAgeStart = 9;
inline constexpr int kAgeEnd = 10;
inline constexpr int kCitizenshipStart = 11;
inline constexpr int kCitizenshipEnd = 12;
inline constexpr int kNationalStatusStart = 13;
inline constexpr int kNationalStatusEnd = 14;
inline constexpr int kPresence = 15;
inline constexpr int kContractStart = 17;
inline constexpr int kContractEnd = 18;
inline constexpr int kTalent = 19;

inline constexpr const char* kNotAvailable = "n/a";
inline constexpr const char* kInBoth = "1";
inline constexpr const char* kLeft = "0";
inline constexpr const char* kNewcomer = "2";
}  // namespace period

// The position order that groups the player rows.
inline constexpr const char* kPositionOrder[] = {"GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW"};

// A player's id text: his `player_id` cell read as an integer and written back
// plainly ("007" gives "7"), or "-1" when the cell holds no integer.
std::string IdText(std::string_view cell);

// Rebuilds `total` (20 columns) from the start and end players tables.
void BuildPeriodPlayerTable(const TextTable& startPlayers, const TextTable& endPlayers, TextTable& total);

// The player chooser: the players of the end table that the start table also
// holds, in end-table order; `items` gets "name, position", `ids` the end
// table's `player_id` cell unchanged.
void FillPlayerChooser(const TextTable& startPlayers, const TextTable& endPlayers, std::vector<std::string>& items,
                       std::vector<std::string>& ids);

}  // namespace cadrix
