#include "report/snapshot_input.h"

#include <sys/stat.h>

#include <iostream>
#include <random>
#include <system_error>

#include "core/wildcard.h"
#include "import/archive_choice.h"
#include "snapshot/snapshot.h"

namespace cadrix {

namespace {

constexpr const char* kFileLabels[] = {"labelTS1", "labelTS2"};
constexpr const char* kDateLabels[] = {"LabelOF", "LabelNF"};

void Publish(const SnapshotChoice& choice, Comparison& cmp, std::map<std::string, std::string>& labels) {
    const bool start = choice.side == SnapshotSide::Start;
    (start ? cmp.startChosen : cmp.endChosen) = choice.chosen;
    (start ? cmp.startDate : cmp.endDate) = choice.dateText;
    labels[kFileLabels[start ? 0 : 1]] = choice.fileLabel;
    labels[kDateLabels[start ? 0 : 1]] = choice.dateLabel;
}

// A folder stands for an archive already extracted: its players file gives the
// date, its path the file label; without a players file the row keeps its prompts.
SnapshotChoice ChooseFolder(const std::filesystem::path& folder, SnapshotSide side) {
    SnapshotChoice choice = SnapshotChoice::Initial(side);
    choice.chosen = true;
    const auto players = FindFirstMatching(folder, kPlayersMask);
    struct stat st {};
    if (!players || ::stat(players->c_str(), &st) != 0)
        return choice;
    choice.dateText = LocalDateText(st.st_mtime);
    choice.fileLabel = FileLabelText(std::filesystem::absolute(folder).string());
    choice.dateLabel = choice.dateText + ", OK";
    choice.dateLabelColour = kChosenColour;
    return choice;
}

std::filesystem::path FreshTempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto dir = std::filesystem::temp_directory_path() / ("cadrix-report-" + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(dir, ec))
            return dir;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

}  // namespace

SnapshotInputs::SnapshotInputs(std::optional<std::filesystem::path> workDir) : m_workDir(std::move(workDir)) {}

SnapshotInputs::~SnapshotInputs() {
    if (m_tempDir) {
        std::error_code ec;
        std::filesystem::remove_all(*m_tempDir, ec);
    }
}

bool SnapshotInputs::Prepare(const std::filesystem::path& start, const std::filesystem::path& end,
                             Comparison& comparison, std::map<std::string, std::string>& labels) {
    for (const auto& p : {start, end}) {
        std::error_code ec;
        if (!m_isStoredRef(p.string()) && !std::filesystem::exists(p, ec)) {
            std::cerr << "cadrix-report: " << p.string() << ": no such file or folder\n";
            return false;
        }
    }
    const bool startIsFolder = std::filesystem::is_directory(start);
    if (startIsFolder != std::filesystem::is_directory(end)) {
        std::cerr << "cadrix-report: give two archives or two folders\n";
        return false;
    }
    if (startIsFolder) {
        Publish(ChooseFolder(start, SnapshotSide::Start), comparison, labels);
        Publish(ChooseFolder(end, SnapshotSide::End), comparison, labels);
        comparison.SpeedButtonFillClick(start, end);
        return true;
    }

    if (!m_workDir)
        m_tempDir = FreshTempFolder();
    const std::filesystem::path base = m_workDir ? *m_workDir : *m_tempDir;
    UnattendedQuestions questions;
    // The start archive first, then the end archive, each followed by the load
    // run, which does its work once both are chosen.
    for (const auto& [archive, side] : {std::pair{start, SnapshotSide::Start}, std::pair{end, SnapshotSide::End}}) {
        SnapshotChoice choice = SnapshotChoice::Initial(side);
        BeginChoice(choice);
        const ChoiceStatus status = m_isStoredRef(archive.string())
                                        ? m_chooseStored(choice, archive.string(), WorkingFolder(base, side))
                                        : ChooseArchive(choice, archive, WorkingFolder(base, side), questions);
        Publish(choice, comparison, labels);
        if (status == ChoiceStatus::InvalidStatistics) {
            std::cerr << "cadrix-report: " << archive.string() << ": " << kInvalidStatisticsText << "\n";
            return false;
        }
        comparison.SpeedButtonFillClick(WorkingFolder(base, SnapshotSide::Start),
                                        WorkingFolder(base, SnapshotSide::End));
    }
    return true;
}

}  // namespace cadrix
