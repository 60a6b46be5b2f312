#include "snapshot/pair_check.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "core/file_masks.h"
#include "core/wildcard.h"
#include "snapshot/snapshot.h"

namespace cadrix {

namespace {

// The one file of an export that identifies it: its players file, by its
// bytes and its time.
struct PlayersFile {
    std::string bytes;
    struct timespec modified {};
};

std::optional<PlayersFile> ReadPlayersFile(const std::filesystem::path& folder) {
    const auto path = FindFirstMatching(folder, kPlayersMask);
    if (!path)
        return std::nullopt;
    PlayersFile file;
    struct stat st {};
    std::ifstream in(*path, std::ios::binary);
    if (!in || ::stat(path->c_str(), &st) != 0)
        throw std::runtime_error("Cannot open file " + path->string());
    file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        throw std::runtime_error("Cannot read file " + path->string());
    file.modified = st.st_mtim;
    return file;
}

bool Earlier(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

// The club's name as the history lists it: row 1, column 1 of the team table
// as the load run cuts it.
std::string ClubOf(const std::filesystem::path& folder) {
    Snapshot snapshot;
    ReadSnapshotFiles(snapshot, folder);
    ApplyDecimalPointRule(snapshot);
    SplitSnapshot(snapshot);
    return std::string(snapshot.team.Cell(1, 1));
}

}  // namespace

std::vector<PairFinding> CheckPair(const PairSide& start, const PairSide& end) {
    const auto startPlayers = ReadPlayersFile(start.folder);
    const auto endPlayers = ReadPlayersFile(end.folder);
    if (!startPlayers || !endPlayers)
        return {};
    if (startPlayers->bytes == endPlayers->bytes)
        return {{PairProblem::SameExport,
                 "Выбрана одна и та же выгрузка (" + end.date + "): изменений не будет."}};
    std::vector<PairFinding> findings;
    if (Earlier(endPlayers->modified, startPlayers->modified))
        findings.push_back({PairProblem::EndOlder, "Выгрузка конца периода (" + end.date +
                                                       ") старше выгрузки начала (" + start.date +
                                                       "). Поменять их местами?"});
    const std::string startClub = ClubOf(start.folder);
    const std::string endClub = ClubOf(end.folder);
    // An export without a team file names no club to differ from.
    if (!startClub.empty() && !endClub.empty() && startClub != endClub)
        findings.push_back({PairProblem::DifferentClubs, "Выгрузки разных клубов: «" + startClub + "» и «" + endClub +
                                                             "». Сравнить всё равно?"});
    return findings;
}

}  // namespace cadrix
