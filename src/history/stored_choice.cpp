#include "history/stored_choice.h"

#include <sys/stat.h>

#include "core/wildcard.h"
#include "snapshot/snapshot.h"

namespace cadrix {

ChoiceStatus ChooseStoredSnapshot(SnapshotChoice& choice, const History& history, SnapshotId id,
                                  const std::filesystem::path& base) {
    EmptyWorkingFolder(base, choice.side);
    const std::filesystem::path workingFolder = WorkingFolder(base, choice.side);
    choice.chosen = true;
    const StoredSnapshot stored = history.Materialise(id, workingFolder);

    const auto players = FindFirstMatching(workingFolder, kPlayersMask);
    struct stat st {};
    if (!players || ::stat(players->c_str(), &st) != 0) {
        choice.fileLabel = InitialFileLabel(choice.side);
        choice.dateLabel = std::string(kNotChosenText);
        choice.dateLabelColour = kNotChosenColour;
        return ChoiceStatus::InvalidStatistics;
    }
    choice.fileLabel = FileLabelText(stored.fileName);
    choice.dateText = LocalDateText(st.st_mtime);
    choice.dateLabel = choice.dateText + ", OK";
    choice.dateLabelColour = kChosenColour;
    return ChoiceStatus::Extracted;
}

}  // namespace cadrix
