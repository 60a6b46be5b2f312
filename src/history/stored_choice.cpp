#include "history/stored_choice.h"

#include "import/working_folders.h"

namespace cadrix {

ChoiceStatus ChooseStoredSnapshot(SnapshotChoice& choice, const History& history, SnapshotId id,
                                  const std::filesystem::path& base) {
    EmptyWorkingFolder(base, choice.side);
    choice.chosen = true;
    const StoredSnapshot stored = history.Materialise(id, WorkingFolder(base, choice.side));
    return FinishChoice(choice, base, stored.fileName);
}

}  // namespace cadrix
