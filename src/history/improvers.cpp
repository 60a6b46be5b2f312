#include "history/improvers.h"

#include <algorithm>
#include <unordered_map>

#include "history/chart_series.h"

namespace cadrix {

namespace {

// Over equal days the order of the changes is the order per week; the change
// also ranks a pair of snapshots of one day.
void Rank(std::vector<Improver>& list, Growth Improver::*figure) {
    std::stable_sort(list.begin(), list.end(), [figure](const Improver& a, const Improver& b) {
        const auto& x = (a.*figure).changeValue;
        const auto& y = (b.*figure).changeValue;
        if (x.has_value() != y.has_value())
            return x.has_value();
        if (x && *x != *y)
            return *x > *y;
        return a.name != b.name ? a.name < b.name : a.playerId < b.playerId;
    });
}

}  // namespace

Improvers RankImprovers(const StoredSnapshot& from, const std::vector<SnapshotPlayer>& fromPlayers,
                        const StoredSnapshot& to, const std::vector<SnapshotPlayer>& toPlayers) {
    const auto a = DayOfDateText(from.date);
    const auto b = DayOfDateText(to.date);
    if (a && b && *a > *b)
        return RankImprovers(to, toPlayers, from, fromPlayers);
    Improvers result;
    result.from = from;
    result.to = to;
    result.days = a && b ? *b - *a : 0;
    std::unordered_map<std::string_view, const PlayerPoint*> before;
    for (const SnapshotPlayer& p : fromPlayers)
        before.emplace(p.playerId, &p.point);
    for (const SnapshotPlayer& p : toPlayers) {
        const auto start = before.find(p.playerId);
        if (start == before.end())
            continue;
        const PlayerPoint& s = *start->second;
        const PlayerPoint& e = p.point;
        result.byRealLevel.push_back({p.playerId, e.name, e.position, GrowthOf(s.realLevel, e.realLevel, result.days),
                                      GrowthOf(SkillsSumText(s.skills), SkillsSumText(e.skills), result.days)});
    }
    result.bySkillsSum = result.byRealLevel;
    Rank(result.byRealLevel, &Improver::realLevel);
    Rank(result.bySkillsSum, &Improver::skillsSum);
    return result;
}

Improvers RankImprovers(const History& history, const StoredSnapshot& from, const StoredSnapshot& to) {
    return RankImprovers(from, history.Players(from.id), to, history.Players(to.id));
}

}  // namespace cadrix
