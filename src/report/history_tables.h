#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "history/improvers.h"
#include "history/player_table.h"

namespace cadrix {

enum class TableFormat { Text, Json, Csv };

// Prints rows as columns separated by " | ", each as wide as its widest text.
void PrintColumns(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// A player's table over the stored dates and his growth from the first to
// the last. CSV holds the table alone, as the report's CSV files do.
void PrintPlayerTable(std::ostream& out, const PlayerTable& table, TableFormat format);

// The improvers between two snapshots, in the order by real level (text: both
// rankings).
void PrintImprovers(std::ostream& out, const Improvers& improvers, TableFormat format);

}  // namespace cadrix
