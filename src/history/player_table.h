#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/history.h"

namespace cadrix {

// A player's development as a table: one row per stored snapshot that holds
// him, oldest first, with each figure's change against the row above judged
// as good or bad news.
enum class PlayerColumn { Date, Club, Position, Age, RealLevel, Value, Salary, FirstSkill };
inline constexpr std::size_t kPlayerTableColumns = static_cast<std::size_t>(PlayerColumn::FirstSkill) + kSkillCount;

// How a cell compares with the one above it.
enum class Trend { Same, Favourable, Unfavourable };

struct PlayerTableRow {
    SnapshotId snapshot = 0;
    std::array<std::string, kPlayerTableColumns> cells;
    std::array<Trend, kPlayerTableColumns> trends{};  // Same in the first row
};

// One figure from the first row to the last: texts as the pages write
// numbers, empty where a figure is not a number. Per week is the change over
// the days between the two dates times 7, one decimal; none over no days.
struct Growth {
    std::string start;
    std::string end;
    std::string change;
    std::string perWeek;
    std::optional<double> startValue;
    std::optional<double> endValue;
    std::optional<double> changeValue;
    std::optional<double> perWeekValue;
};

struct PlayerGrowth {
    std::string from;  // dd.MM.yyyy
    std::string to;
    std::int64_t days = 0;
    Growth realLevel;
    Growth skillsSum;
};

struct PlayerTable {
    std::string playerId;
    std::string name;
    std::vector<PlayerTableRow> rows;
    PlayerGrowth growth;
};

// The column captions: "Дата", "Клуб", "Позиция", "Возраст", "Реальный
// уровень", "Стоимость", "Зарплата", then the skills by name.
const std::array<std::string, kPlayerTableColumns>& PlayerTableCaptions();
inline std::size_t ColumnIndex(PlayerColumn column) { return static_cast<std::size_t>(column); }

// The table as texts: the captions, then one line per row.
std::vector<std::vector<std::string>> PlayerTableGrid(const PlayerTable& table);

// `clubs` names the club of each snapshot id (the history's list); a snapshot
// missing from it gets an empty club cell.
PlayerTable BuildPlayerTable(const PlayerSeries& series, const std::vector<StoredSnapshot>& clubs);

// The sum of the 24 skills; none when any of them is not a whole number, as
// a row without skills is.
std::optional<std::int64_t> SkillsSum(const std::array<std::string, kSkillCount>& skills);
// The same as text; empty when none.
std::string SkillsSumText(const std::array<std::string, kSkillCount>& skills);

// A figure from the number text `start` to `end` over `days`.
Growth GrowthOf(std::string_view start, std::string_view end, std::int64_t days);

}  // namespace cadrix
