#include "import/archive_choice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/file_masks.h"
#include "core/utf8.h"
#include "core/wildcard.h"
#include "import/archive_file.h"
#include "import/zip_extract.h"

namespace cadrix {

namespace {

constexpr std::string_view kChosenSuffix = ", OK";

// The file label keeps short paths whole and shortens long ones in the middle.
constexpr std::size_t kLabelWholeLimit = 65;
constexpr std::size_t kLabelHead = 40;
constexpr std::size_t kLabelTail = 21;
constexpr std::string_view kLabelEllipsis = " ... ";

void ShowNotChosen(SnapshotChoice& choice) {
    choice.fileLabel = InitialFileLabel(choice.side);
    choice.dateLabel = std::string(kNotChosenText);
    choice.dateLabelColour = kNotChosenColour;
}

// The last-write time of the first players file at the top of the working
// folder; none when there is none or it cannot be opened.
std::optional<std::int64_t> PlayersFileTime(const std::filesystem::path& base, SnapshotSide side) {
    const std::optional<Fd> folder = OpenWorkingFolder(base, side);
    if (!folder)
        return std::nullopt;
    const std::vector<std::string> names = MatchingNames(*folder, kPlayersMask, FileKinds::Regular);
    if (names.empty())
        return std::nullopt;
    const Fd file(::openat(folder->Get(), names.front().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!file.IsOpen() || ::fstat(file.Get(), &st) != 0)
        return std::nullopt;
    return st.st_mtime;
}

}  // namespace

SnapshotChoice SnapshotChoice::Initial(SnapshotSide side) {
    SnapshotChoice choice;
    choice.side = side;
    ShowNotChosen(choice);
    return choice;
}

std::string InitialFileLabel(SnapshotSide side) {
    return side == SnapshotSide::Start ? "Выбрать файл на начало периода" : "Выбрать файл на конец периода";
}

std::string FileLabelText(std::string_view path) {
    const std::string text = ValidUtf8(path);
    if (CodePointCount(text) <= kLabelWholeLimit)
        return text;
    return LeftChars(text, kLabelHead) + std::string(kLabelEllipsis) + RightChars(text, kLabelTail);
}

std::string LocalDateText(std::int64_t unixTime) { return TimeText(unixTime, Clock::Local, "%d.%m.%Y"); }

std::optional<std::uint32_t> PlayersFileStamp(const std::filesystem::path& archive) {
    std::optional<ArchiveFile> zip;
    try {
        zip = ArchiveFile::Open(archive);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const ZipEntry* first = nullptr;
    for (const ZipEntry& entry : zip->Entries()) {
        const bool atTop = entry.name.find('/') == std::string::npos;
        if (atTop && MatchesMask(entry.name, kPlayersMask) && (!first || entry.name < first->name))
            first = &entry;
    }
    std::optional<std::uint32_t> stamp;
    if (first)
        stamp = (static_cast<std::uint32_t>(first->dosDate) << 16) | first->dosTime;
    return stamp;
}

void BeginChoice(SnapshotChoice& choice) { choice.chosen = false; }

ChoiceStatus ChooseArchive(SnapshotChoice& choice, const std::filesystem::path& archive,
                           const std::filesystem::path& base, ExtractQuestions& questions) {
    EmptyWorkingFolder(base, choice.side);
    choice.chosen = true;

    const ArchiveFile zip = ArchiveFile::Open(archive);
    ExtractCsvEntries(zip.Archive(), WorkingFolder(base, choice.side), questions, base);
    return FinishChoice(choice, base, std::filesystem::absolute(archive).string());
}

ChoiceStatus FinishChoice(SnapshotChoice& choice, const std::filesystem::path& base, std::string_view shownName) {
    const std::optional<std::int64_t> written = PlayersFileTime(base, choice.side);
    if (!written) {
        ShowNotChosen(choice);
        return ChoiceStatus::InvalidStatistics;
    }
    choice.fileLabel = FileLabelText(shownName);
    choice.dateText = LocalDateText(*written);
    choice.dateLabel = choice.dateText + std::string(kChosenSuffix);
    choice.dateLabelColour = kChosenColour;
    return ChoiceStatus::Extracted;
}

}  // namespace cadrix
