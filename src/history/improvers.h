#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/history.h"
#include "history/player_table.h"

namespace cadrix {

// Who improved fastest between two stored snapshots of a club: the players
// present at both, with their real level and the sum of their skills at each.
struct Improver {
    std::string playerId;
    std::string name;      // at the later date
    std::string position;  // at the later date
    Growth realLevel;
    Growth skillsSum;
};

struct Improvers {
    StoredSnapshot from;
    StoredSnapshot to;
    std::int64_t days = 0;
    std::vector<Improver> byRealLevel;  // largest change per week first
    std::vector<Improver> bySkillsSum;
};

// The two rankings. Ties, and players whose figure is not a number (ranked
// last), go by name in code-point order, then id. The earlier of the two
// snapshots is the start, whichever way they are given.
Improvers RankImprovers(const StoredSnapshot& from, const std::vector<SnapshotPlayer>& fromPlayers,
                        const StoredSnapshot& to, const std::vector<SnapshotPlayer>& toPlayers);

// The same read from the history.
Improvers RankImprovers(const History& history, const StoredSnapshot& from, const StoredSnapshot& to);

}  // namespace cadrix
