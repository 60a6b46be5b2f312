#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/rgb.h"
#include "import/extract_questions.h"
#include "import/working_folders.h"

namespace cadrix {

inline constexpr Rgb kNotChosenColour{128, 0, 0};  // maroon
inline constexpr Rgb kChosenColour{0, 128, 0};     // green

inline constexpr std::string_view kInvalidStatisticsText = "Неверный файл статистики";
inline constexpr std::string_view kNotChosenText = "не выбран";

// What one snapshot's row shows and whether an archive was picked for it.
// `fileLabel` is labelTS1/labelTS2, `dateLabel` LabelOF/LabelNF.
struct SnapshotChoice {
    SnapshotSide side = SnapshotSide::Start;
    bool chosen = false;
    std::string dateText;  // dd.MM.yyyy of the players file, empty until one is read
    std::string fileLabel;
    std::string dateLabel;
    Rgb dateLabelColour = kNotChosenColour;

    // The state at start: not chosen, no date, the prompts on the labels.
    static SnapshotChoice Initial(SnapshotSide side);
};

// "Выбрать файл на начало периода" / "Выбрать файл на конец периода".
std::string InitialFileLabel(SnapshotSide side);

// The archive's path as the file label shows it: whole up to 65 characters,
// else its first 40, " ... " and its last 21.
std::string FileLabelText(std::string_view path);

// A file's last-write time as a local date, dd.MM.yyyy; empty when unreadable.
std::string LocalDateText(std::int64_t unixTime);

enum class ChoiceStatus {
    Extracted,          // labels show the archive and its date: run the load now
    InvalidStatistics,  // show "Неверный файл статистики" and the splash picture
};

// The date and time an archive records for the players file its choice
// would read (the first in name order of the entries at its top matching
// "*players.csv"), as one number that grows with the time; none when the
// archive cannot be read or holds no such entry. Reads the archive's
// directory only, so that two archives can be ordered before either is
// chosen.
std::optional<std::uint32_t> PlayersFileStamp(const std::filesystem::path& archive);

// Before the open dialog is shown: the snapshot counts as not chosen.
void BeginChoice(SnapshotChoice& choice);

// After the user picked `archive`: empties the snapshot's working folder under
// `base` of CSV files, marks the snapshot chosen, extracts the archive's CSV
// files into the folder and reads the players file's date. Archive errors,
// open errors and WorkingFolderError propagate, leaving the labels and the
// date text as they were. The caller holds the working folders' lock.
ChoiceStatus ChooseArchive(SnapshotChoice& choice, const std::filesystem::path& archive,
                           const std::filesystem::path& base, ExtractQuestions& questions);

// The last step of every choice, once the side's working folder is filled:
// the labels show `shownName` and the players file's date, or, without a
// players file, the side as not chosen.
ChoiceStatus FinishChoice(SnapshotChoice& choice, const std::filesystem::path& base, std::string_view shownName);

}  // namespace cadrix
