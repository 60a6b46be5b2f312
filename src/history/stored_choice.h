#pragma once

#include <filesystem>

#include "history/history.h"
#include "import/archive_choice.h"

namespace cadrix {

// Chooses a stored snapshot for one side the way an archive is chosen: the
// side's working folder under `base` is emptied of CSV files, the snapshot marked chosen, and the
// stored files are written where the extraction would write them, with their
// own times. The file label shows the stored archive's name; the date label
// the players file's date. Errors propagate with the labels and the date
// text as they were, as an archive's errors do.
ChoiceStatus ChooseStoredSnapshot(SnapshotChoice& choice, const History& history, SnapshotId id,
                                  const std::filesystem::path& base);

}  // namespace cadrix
