#include "history/latest_pair.h"

#include <algorithm>
#include <string>

namespace cadrix {

std::optional<StoredPair> LatestPair(const History& history, std::optional<std::string_view> club) {
    std::string name(club.value_or(std::string_view()));
    if (!club) {
        const auto all = history.Snapshots();
        if (all.empty())
            return std::nullopt;
        name = all.back().club;
    }
    const auto snapshots = history.Snapshots(name);
    if (snapshots.size() < 2)
        return std::nullopt;
    return StoredPair{snapshots[snapshots.size() - 2], snapshots.back()};
}

std::optional<StoredSnapshot> PreviousOf(const History& history, SnapshotId id) {
    const auto snapshot = history.Find(id);
    if (!snapshot)
        return std::nullopt;
    const auto snapshots = history.Snapshots(snapshot->club);
    const auto at = std::find_if(snapshots.begin(), snapshots.end(), [id](const auto& s) { return s.id == id; });
    if (at == snapshots.end() || at == snapshots.begin())
        return std::nullopt;
    return *(at - 1);
}

}  // namespace cadrix
