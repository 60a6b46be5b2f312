#pragma once

#include <optional>
#include <string_view>

#include "history/history.h"

namespace cadrix {

// Two stored snapshots of one club, the earlier as the start.
struct StoredPair {
    StoredSnapshot previous;
    StoredSnapshot latest;
};

// The newest stored snapshot of `club` and the one before it; without a club,
// of the club of the newest snapshot stored. None when there are fewer than
// two.
std::optional<StoredPair> LatestPair(const History& history, std::optional<std::string_view> club = std::nullopt);

// The snapshot of the same club stored before `id` in list order; none when
// `id` is the club's first or unknown.
std::optional<StoredSnapshot> PreviousOf(const History& history, SnapshotId id);

}  // namespace cadrix
