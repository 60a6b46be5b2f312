#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "history/history.h"

namespace cadrix {

// The four files of an export, in the order they are stored.
enum class StoredFileRole : int { Players = 0, Skills = 1, Team = 2, Structure = 3 };

struct CapturedFile {
    StoredFileRole role = StoredFileRole::Players;
    std::string name;      // the file's name in its folder
    std::string modified;  // last-write time as local wall time, "yyyy-MM-dd HH:mm:ss"
    std::string bytes;     // exactly as extracted
};

// One player row of the derived table, keyed by his id text.
struct PlayerRow {
    std::string playerId;
    std::string name, position, talent, age, realLevel, value, salary;
    std::optional<std::array<std::string, kSkillCount>> skills;
};

// What the history stores of one export, read from the folder it lies in.
struct CapturedSnapshot {
    std::vector<CapturedFile> files;  // in role order; a missing file is left out
    std::string date;                 // dd.MM.yyyy of the players file
    std::string day;                  // yyyy-MM-dd
    std::string club;
    int players = 0;
    std::vector<PlayerRow> playerRows;  // the first row of each id, in file order
    std::array<ClubFigure, kClubFigureCount> figures;
    std::array<std::uint8_t, 32> contentDigest{};  // of the files' names, times and bytes
    std::vector<std::uint8_t> packed;              // the files' bytes as PackFiles stores them
};

// Reads the export in `folder` the way the load run does (the same files, the
// same repairs and cutting), derives the chart rows and packs the files. None
// when the folder holds no players file; a file that cannot be read throws,
// naming it.
std::optional<CapturedSnapshot> CaptureFolder(const std::filesystem::path& folder);

// The digest that tells one export's files from another's: their roles,
// names, times and bytes.
std::array<std::uint8_t, 32> ContentDigest(const std::vector<CapturedFile>& files);

// A file time as local wall time and back; the stored time is the wall time,
// so that a snapshot written out again shows the date its archive shows.
std::string WallTimeText(std::time_t time);
std::optional<std::time_t> WallTimeFromText(std::string_view text);

// The files' bytes one after another, compressed with zlib as one stream (the
// players and skills files share their names, which one stream compresses
// away), and back: `sizes` are the files' sizes in order. None when the
// stream does not inflate to exactly those sizes.
std::vector<std::uint8_t> PackFiles(const std::vector<CapturedFile>& files);
std::optional<std::vector<std::string>> UnpackFiles(std::span<const std::uint8_t> packed,
                                                    const std::vector<std::size_t>& sizes);

}  // namespace cadrix
