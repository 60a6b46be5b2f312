#include "import/archive_choice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "core/file_masks.h"
#include "core/utf8.h"
#include "core/wildcard.h"
#include "import/zip_file.h"

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
    if (CodePointCount(path) <= kLabelWholeLimit)
        return std::string(path);
    return LeftChars(path, kLabelHead) + std::string(kLabelEllipsis) + RightChars(path, kLabelTail);
}

std::string LocalDateText(std::int64_t unixTime) {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm tm{};
    if (!::localtime_r(&t, &tm))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    return text;
}

void BeginChoice(SnapshotChoice& choice) { choice.chosen = false; }

ChoiceStatus ChooseArchive(SnapshotChoice& choice, const std::filesystem::path& archive,
                           const std::filesystem::path& workingFolder, ExtractQuestions& questions) {
    EmptyCsvFiles(workingFolder);
    choice.chosen = true;

    ZipFile zip(questions);
    zip.SetBaseDir(workingFolder);
    zip.SetFileName(archive);
    zip.OpenArchive();
    zip.ExtractFiles();
    zip.CloseArchive();

    const auto players = FindFirstMatching(workingFolder, kPlayersMask);
    if (!players) {
        ShowNotChosen(choice);
        return ChoiceStatus::InvalidStatistics;
    }
    const int fd = ::open(players->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        ShowNotChosen(choice);
        return ChoiceStatus::InvalidStatistics;
    }
    choice.fileLabel = FileLabelText(std::filesystem::absolute(archive).string());
    choice.dateText = LocalDateText(st.st_mtime);
    choice.dateLabel = choice.dateText + std::string(kChosenSuffix);
    choice.dateLabelColour = kChosenColour;
    ::close(fd);
    return ChoiceStatus::Extracted;
}

}  // namespace cadrix
