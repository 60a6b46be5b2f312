#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "report/snapshot_input.h"

namespace cadrix {

// True when the first operand of the command line (options and their values
// aside) is "history".
bool IsHistoryCommand(int argc, char** argv);

// `cadrix-report history add|list|remove|player|club`; returns the exit status.
int RunHistoryCommand(int argc, char** argv);

// "@ID": a stored snapshot standing where an archive can.
bool IsStoredSnapshotRef(std::string_view arg);

// Chooses the stored snapshots that "@ID" arguments name from the database
// `db` (the default one when none is given), opened at the first of them, so
// that a comparison of two archives never touches the history.
StoredSnapshotChooser StoredSnapshotsOf(std::optional<std::filesystem::path> db);

}  // namespace cadrix
