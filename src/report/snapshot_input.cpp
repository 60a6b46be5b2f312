#include "report/snapshot_input.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/fd.h"
#include "core/file_masks.h"
#include "core/wildcard.h"
#include "import/archive_choice.h"
#include "import/working_folders.h"
#include "snapshot/pair_check.h"

namespace cadrix {

namespace {

// How long a run waits for working folders that another run holds.
constexpr std::chrono::seconds kLockPatience{60};

std::size_t IndexOf(SnapshotSide side) { return side == SnapshotSide::Start ? 0 : 1; }

ArchiveRow RowOf(const SnapshotChoice& choice) { return {choice.fileLabel, choice.dateLabel}; }

LoadSide SideOf(const SnapshotChoice& choice, std::filesystem::path folder) {
    return {choice.chosen, choice.dateText, std::move(folder)};
}

// A folder stands for an archive already extracted: its players file gives the
// date, its path the file label. None without a players file that can be read.
std::optional<SnapshotChoice> ChooseFolder(const std::filesystem::path& folder, SnapshotSide side) {
    SnapshotChoice choice = SnapshotChoice::Initial(side);
    choice.chosen = true;
    const auto players = FindFirstMatching(folder, kPlayersMask);
    struct stat st {};
    if (!players || ::stat(players->c_str(), &st) != 0)
        return std::nullopt;
    choice.dateText = LocalDateText(st.st_mtime);
    choice.fileLabel = FileLabelText(std::filesystem::absolute(folder).string());
    choice.dateLabel = choice.dateText + ", OK";
    choice.dateLabelColour = kChosenColour;
    return choice;
}

// Nobody answers the reader's questions here, and a comparison of part of an
// export would show the missing files as empty columns and false changes: an
// entry that cannot be extracted whole (a failed check, a short stream, a
// full disk, an entry that cannot be decrypted) ends the run with the
// archive, the entry and the reason.
class ReportQuestions : public ExtractQuestions {
public:
    explicit ReportQuestions(const std::filesystem::path& archive) : m_archive(archive) {}

    EntryFailureAnswer AskEntryFailure(const EntryFailure& failure) override {
        std::string cause = m_archive.string() + ": " + failure.entryName + ": " + failure.errorText;
        if (!failure.systemReason.empty())
            cause += " (" + failure.systemReason + ")";
        throw std::runtime_error(cause);
    }
    std::optional<std::string> AskPassword(const std::string& entryName) override {
        throw std::runtime_error(m_archive.string() + ": " + entryName + ": encrypted, and no password is given");
    }

private:
    std::filesystem::path m_archive;
};

// Why an input cannot be read, in the system's words ("No such file or
// directory", "Permission denied"); none when it opens. A folder must open
// as one too, so that a folder closed to us is not taken for one without a
// players file.
std::optional<std::string> UnreadableReason(const std::filesystem::path& input) {
    struct stat st {};
    const bool folder = ::stat(input.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const Fd opened(::open(input.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (folder ? O_DIRECTORY : 0)));
    if (opened.IsOpen())
        return std::nullopt;
    return std::generic_category().message(errno);
}

void PrintInvalidStatistics(const std::filesystem::path& input) {
    std::cerr << "cadrix-report: " << input.string() << ": " << kInvalidStatisticsText << "\n";
}

// The pair's findings go to standard error; the pair is compared as given
// unless they are to be errors.
bool AcceptPair(const LoadSide& start, const LoadSide& end, PairFindings treatment) {
    const auto findings = CheckPair({start.folder, start.date}, {end.folder, end.date});
    for (const PairFinding& finding : findings)
        std::cerr << (treatment == PairFindings::Errors ? "cadrix-report: " : "warning: ") << finding.text << "\n";
    return findings.empty() || treatment == PairFindings::Warnings;
}

// The load run, for a pair whose findings let it be compared.
bool LoadPair(const std::array<SnapshotChoice, 2>& choices, const std::filesystem::path& startFolder,
              const std::filesystem::path& endFolder, PairFindings treatment, Comparison& comparison) {
    const LoadSide start = SideOf(choices[0], startFolder);
    const LoadSide end = SideOf(choices[1], endFolder);
    if (!AcceptPair(start, end, treatment))
        return false;
    comparison.Load(start, end);
    return true;
}

bool LoadFolders(const std::filesystem::path& start, const std::filesystem::path& end, Comparison& comparison,
                 std::array<ArchiveRow, 2>& rows, PairFindings treatment) {
    std::array<SnapshotChoice, 2> choices;
    for (const auto& [folder, side] : {std::pair{start, SnapshotSide::Start}, std::pair{end, SnapshotSide::End}}) {
        std::optional<SnapshotChoice> choice = ChooseFolder(folder, side);
        if (!choice) {
            PrintInvalidStatistics(folder);
            return false;
        }
        rows[IndexOf(side)] = RowOf(*choice);
        choices[IndexOf(side)] = std::move(*choice);
    }
    return LoadPair(choices, start, end, treatment, comparison);
}

WorkFolderLock LockWorkingFolders(const std::filesystem::path& base) {
    if (std::optional<WorkFolderLock> lock = WorkFolderLock::TryAcquire(base))
        return std::move(*lock);
    std::cerr << "cadrix-report: waiting for the working folders under " << base.string()
              << ", in use by another Cadrix\n";
    return WorkFolderLock::Acquire(base, kLockPatience);
}

}  // namespace

SnapshotInputs::SnapshotInputs(std::optional<std::filesystem::path> workDir) : m_workDir(std::move(workDir)) {}

SnapshotInputs::~SnapshotInputs() = default;

bool SnapshotInputs::Prepare(const std::filesystem::path& start, const std::filesystem::path& end,
                             Comparison& comparison, std::array<ArchiveRow, 2>& rows) {
    for (const auto& p : {start, end}) {
        if (m_isStoredRef(p.string()))
            continue;
        if (const std::optional<std::string> reason = UnreadableReason(p)) {
            std::cerr << "cadrix-report: " << p.string() << ": " << *reason << "\n";
            return false;
        }
    }
    const bool startIsFolder = std::filesystem::is_directory(start);
    if (startIsFolder != std::filesystem::is_directory(end)) {
        std::cerr << "cadrix-report: give two archives or two folders\n";
        return false;
    }
    if (startIsFolder)
        return LoadFolders(start, end, comparison, rows, m_pairFindings);

    if (!m_workDir)
        m_tempDir.emplace("cadrix-report-");
    const std::filesystem::path base = m_workDir ? *m_workDir : m_tempDir->Path();
    // From the first emptying until the load run has read both folders, no
    // other program may touch them.
    const WorkFolderLock lock = LockWorkingFolders(base);
    // The start archive first, then the end archive; the load run once both
    // are chosen and the pair is accepted.
    std::array<SnapshotChoice, 2> choices = {SnapshotChoice::Initial(SnapshotSide::Start),
                                             SnapshotChoice::Initial(SnapshotSide::End)};
    for (const auto& [archive, side] : {std::pair{start, SnapshotSide::Start}, std::pair{end, SnapshotSide::End}}) {
        SnapshotChoice& choice = choices[IndexOf(side)];
        BeginChoice(choice);
        ReportQuestions questions(archive);
        const ChoiceStatus status = m_isStoredRef(archive.string()) ? m_chooseStored(choice, archive.string(), base)
                                                                    : ChooseArchive(choice, archive, base, questions);
        rows[IndexOf(side)] = RowOf(choice);
        if (status == ChoiceStatus::InvalidStatistics) {
            PrintInvalidStatistics(archive);
            return false;
        }
    }
    return LoadPair(choices, WorkingFolder(base, SnapshotSide::Start), WorkingFolder(base, SnapshotSide::End),
                    m_pairFindings, comparison);
}

}  // namespace cadrix
