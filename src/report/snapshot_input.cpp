#include "report/snapshot_input.h"

#include <ctime>
#include <iostream>
#include <system_error>

#include "core/utf8.h"
#include "core/wildcard.h"
#include "snapshot/snapshot.h"

namespace cadrix {

namespace {

std::string LocalDateText(const std::filesystem::path& file) {
    std::error_code ec;
    const auto mtime = std::filesystem::last_write_time(file, ec);
    if (ec)
        return "";
    const auto sys = std::chrono::file_clock::to_sys(mtime);
    const std::time_t t = std::chrono::system_clock::to_time_t(sys);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[16];
    std::strftime(buf, sizeof buf, "%d.%m.%Y", &local);
    return buf;
}

std::string FileLabel(const std::string& path) {
    if (CodePointCount(path) <= 65)
        return path;
    return LeftChars(path, 40) + " ... " + RightChars(path, 21);
}

// A folder stands for an archive already extracted: its players file gives the
// date, its path the file label.
bool ChooseFolder(const std::filesystem::path& folder, bool start, Comparison& cmp,
                  std::map<std::string, std::string>& labels) {
    const auto players = FindFirstMatching(folder, kPlayersMask);
    const char* fileLabel = start ? "labelTS1" : "labelTS2";
    const char* dateLabel = start ? "LabelOF" : "LabelNF";
    (start ? cmp.startChosen : cmp.endChosen) = true;
    if (!players) {
        labels[fileLabel] = start ? "Выбрать файл на начало периода" : "Выбрать файл на конец периода";
        labels[dateLabel] = "не выбран";
        return true;
    }
    const std::string date = LocalDateText(*players);
    (start ? cmp.startDate : cmp.endDate) = date;
    labels[fileLabel] = FileLabel(std::filesystem::absolute(folder).string());
    labels[dateLabel] = date + ", OK";
    return true;
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
        if (!std::filesystem::exists(p, ec)) {
            std::cerr << "cadrix-report: " << p.string() << ": no such file or folder\n";
            return false;
        }
    }
    const bool folders = std::filesystem::is_directory(start) && std::filesystem::is_directory(end);
    if (!folders) {
        std::cerr << "cadrix-report: give two folders of extracted CSV files\n";
        return false;
    }
    ChooseFolder(start, true, comparison, labels);
    ChooseFolder(end, false, comparison, labels);
    comparison.SpeedButtonFillClick(start, end);
    return true;
}

}  // namespace cadrix
