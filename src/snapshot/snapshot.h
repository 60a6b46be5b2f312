#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_masks.h"
#include "core/text_table.h"

namespace cadrix {

// One statistics export: the line lists of its four CSV files and the tables
// they are cut into. Row 0 of every table is the file's header line.
struct Snapshot {
    static constexpr int kPlayersColumns = 24;
    static constexpr int kSkillsColumns = 29;
    static constexpr int kTeamColumns = 2;
    static constexpr int kStructureColumns = 3;
    static constexpr int kMinRows = 2;

    std::vector<std::string> lbPlay;    // players file
    std::vector<std::string> lbPlay2;   // player skills file
    std::vector<std::string> lbTeam;    // team file
    std::vector<std::string> lbStruct;  // structure file

    TextTable play{kPlayersColumns, kMinRows};
    TextTable play2{kSkillsColumns, kMinRows};
    TextTable team{kTeamColumns, kMinRows};
    TextTable structure{kStructureColumns, kMinRows};
};

// Players table columns read by the program.
namespace players {
enum Column : int {
    kPlayerId = 1, kName, kCitizenship, kNationalStatus, kPosition, kAge, kTalent, kRealLevel,
    kContract = 18, kSalary, kValue,
};
}  // namespace players

// The team table: one figure per row, its caption and its value.
namespace team {
enum Column : int { kCaption, kValue };
inline constexpr int kClubName = 1;  // the row of "Название клуба"
}  // namespace team

// Structure table columns: the stadium (its level is its capacity), then the
// buildings, a row each.
namespace structure {
enum Column : int { kName, kLevel, kWear };
}  // namespace structure

// Empties the line lists and gives each table two empty rows.
void ResetSnapshot(Snapshot& snapshot);

// Reads the four files found in `folder` into the line lists, with the team
// repair. A file that is not found leaves its list empty; a file that is found
// but cannot be read throws, with a message naming it.
void ReadSnapshotFiles(Snapshot& snapshot, const std::filesystem::path& folder);

// The export writes decimals with a point; the program reads them with a comma.
// Every "." of the players, team and structure lists becomes ",", except in
// their header lines. The skills list keeps its points.
void ApplyDecimalPointRule(Snapshot& snapshot);

// Cuts the line lists into the tables; the skills file's last 24 lines are
// left out, and a structure list of fewer than 8 lines is repaired first.
void SplitSnapshot(Snapshot& snapshot);

// Frees the line lists, keeping the tables.
void ReleaseLineLists(Snapshot& snapshot);

// Reads a Windows-1251 text file into UTF-8 lines. A line ends at CR LF, LF or
// CR; a last line without an end counts, a final line end adds no empty line.
std::vector<std::string> ReadLines(const std::filesystem::path& file);
std::vector<std::string> SplitIntoLines(std::string_view text);

// Cuts one line at ";" into the cells of `row`: no quoting, nothing trimmed,
// text after the last ";" dropped, and a ";" that is the line's first
// character does not advance the column.
void SplitLine(std::string_view line, TextTable& table, int row);

// A team file of exactly 15 lines lacks the championship rows 3 and 4.
void RepairTeam(std::vector<std::string>& lines);
// A structure file of fewer than 8 lines gets a zero line for each missing
// building at that building's row.
void RepairStructure(std::vector<std::string>& lines);

}  // namespace cadrix
