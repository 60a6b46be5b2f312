#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "history/history.h"
#include "history/snapshot_capture.h"
#include "history/sqlite_db.h"

namespace cadrix {

// How the rows derived from an export are kept small: the history holds one
// row per player and export, so every byte of it counts hundreds of times.
// Every encoding gives back exactly the text it was given.

// A cell text that is the plain decimal form of an integer (no sign but a
// leading "-", no leading zeros) is stored as that integer, any other as text.
// Reading a value that neither encoding writes is the damage error.
void BindCell(SqliteStatement& stmt, int index, std::string_view text);
std::string CellAt(const SqliteStatement& row, int column);

// A player's 24 skills: one byte each when every one is a plain number up to
// 255, else their texts joined by ";" (no cell holds a ";"); none without a
// skills row.
void BindSkills(SqliteStatement& stmt, int index, const std::optional<std::array<std::string, kSkillCount>>& skills);
std::array<std::string, kSkillCount> SkillsAt(const SqliteStatement& row, int column);

// A stored player's figures from the columns name, position, talent, age,
// real level, value, salary and skills, in that order from `first`.
void ReadPlayerFigures(const SqliteStatement& row, int first, PlayerPoint& p);

// Writes the rows of a captured export under snapshot `id`: its files, their
// packed bytes, its players and its club figures. Names and captions, which
// repeat from export to export, are stored once in shared_text.
void InsertSnapshotRows(SqliteDb& db, SnapshotId id, const CapturedSnapshot& captured);

// Removes snapshot `id` with all its rows, and those of its texts that no
// other snapshot uses.
void DeleteSnapshotRows(SqliteDb& db, SnapshotId id);

}  // namespace cadrix
