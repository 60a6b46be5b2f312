#include "views/summary.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "snapshot/skills.h"
#include "views/pages.h"
#include "views/player_rows.h"

namespace cadrix {

namespace {

constexpr int kFirstChangedClubRow = 9;  // the club rows with a change
constexpr int kLastClubRow = 16;
constexpr int kFirstBuildingRow = 1;  // the infrastructure rows with star strips
constexpr int kLastBuildingRow = 6;

void ListPlayers(const TextTable& total, std::string_view presence, std::vector<SummaryPlayer>& out) {
    for (int a = 1; a < total.RowCount(); ++a) {
        if (total.Cell(period::kPresence, a) == presence)
            out.push_back({std::string(total.Cell(period::kName, a)), std::string(total.Cell(period::kPosition, a))});
    }
}

void ListNationalChanges(const TextTable& total, std::vector<NationalChange>& out) {
    for (int a = 1; a < total.RowCount(); ++a) {
        if (total.Cell(period::kPresence, a) != period::kInBoth)
            continue;
        const auto from = NationalStatusOf(total.Cell(period::kNationalStatusStart, a));
        const auto to = NationalStatusOf(total.Cell(period::kNationalStatusEnd, a));
        if (from && to && *from != *to)
            out.push_back({std::string(total.Cell(period::kName, a)), std::string(total.Cell(period::kPosition, a)),
                           std::string(LookOf(*from).Name()), std::string(LookOf(*to).Name())});
    }
}

// A candidate of a top list: its value, its name, and its place in the
// source, which orders the last ties as the pages list them.
struct Ranked {
    long double value;
    std::string_view name;
    int source;
};

enum class Order { LargestFirst, SmallestFirst };

// The first kSummaryTop candidates by value, ties by name in code point order
// (std::string compares its bytes unsigned, which orders UTF-8 by code point).
std::vector<Ranked> TopOf(std::vector<Ranked> ranked, Order order) {
    const auto before = [order](const Ranked& a, const Ranked& b) {
        if (a.value != b.value)
            return order == Order::LargestFirst ? a.value > b.value : a.value < b.value;
        if (a.name != b.name)
            return a.name < b.name;
        return a.source < b.source;
    };
    const auto top = std::min(ranked.size(), kSummaryTop);
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(top), ranked.end(), before);
    ranked.resize(top);
    return ranked;
}

void ListRealLevelChanges(const TextTable& total, const TextTable& grid, PeriodSummary& out) {
    std::vector<Ranked> rises, falls;
    for (int a = 1; a < total.RowCount(); ++a) {
        const auto change =
            ParseDecimal(grid.Cell(real_level_grid::kChange, GridRowOfPlayer(GridId::StringGrid_ru, a)));
        if (!change || *change == 0)
            continue;
        (*change > 0 ? rises : falls).push_back({*change, total.Cell(period::kName, a), a});
    }
    const auto item = [&](const Ranked& r) {
        const int row = GridRowOfPlayer(GridId::StringGrid_ru, r.source);
        using namespace real_level_grid;
        return RealLevelChange{std::string(r.name), std::string(total.Cell(period::kPosition, r.source)),
                               std::string(grid.Cell(kRealLevelStart, row)), std::string(grid.Cell(kRealLevelEnd, row)),
                               std::string(grid.Cell(kChange, row))};
    };
    for (const Ranked& r : TopOf(std::move(rises), Order::LargestFirst))
        out.realLevelRises.push_back(item(r));
    for (const Ranked& r : TopOf(std::move(falls), Order::SmallestFirst))
        out.realLevelFalls.push_back(item(r));
}

// The first data row of each id in a table, as FindPlayerRow finds it, for
// looking up every player of a squad at once.
std::unordered_map<std::string_view, int> FirstRowsById(const TextTable& table, int idColumn) {
    std::unordered_map<std::string_view, int> rows;
    rows.reserve(static_cast<std::size_t>(table.RowCount()));
    for (int r = 1; r < table.RowCount(); ++r)
        rows.emplace(table.Cell(idColumn, r), r);
    return rows;
}

std::optional<int> RowOf(const std::unordered_map<std::string_view, int>& rows, std::string_view id) {
    const auto it = rows.find(id);
    return it == rows.end() ? std::nullopt : std::optional<int>(it->second);
}

// The sum of a player's 24 skill differences as the skills page forms them:
// a skill that is no whole number at either date counts 0.
long long SkillSumOf(const TextTable& startSkills, int startRow, const TextTable& endSkills, int endRow) {
    long long sum = 0;
    for (int k = 1; k <= kSkillCount; ++k) {
        const auto start = ParseWhole(startSkills.Cell(SkillColumn(k), startRow));
        const auto end = ParseWhole(endSkills.Cell(SkillColumn(k), endRow));
        if (start && end)
            sum += static_cast<long long>(*end) - *start;
    }
    return sum;
}

// The players present at both dates are the chooser's, looked up by the ids
// the skills page uses; a player listed twice counts once.
void ListSkillSums(const Comparison& cmp, PeriodSummary& out) {
    const TextTable& endPlayers = cmp.EndSnapshot().play;
    const TextTable& startSkills = cmp.StartSnapshot().play2;
    const TextTable& endSkills = cmp.EndSnapshot().play2;
    const auto playerRows = FirstRowsById(endPlayers, players::kPlayerId);
    const auto startRows = FirstRowsById(startSkills, kSkillsPlayerIdColumn);
    const auto endRows = FirstRowsById(endSkills, kSkillsPlayerIdColumn);
    std::vector<Ranked> rises, falls;
    std::unordered_set<std::string_view> seen;
    for (const std::string& id : cmp.ListBox1()) {
        if (!seen.insert(id).second)
            continue;
        const auto row = RowOf(playerRows, id);
        const auto startRow = RowOf(startRows, id);
        const auto endRow = RowOf(endRows, id);
        if (!row || !startRow || !endRow)
            continue;
        const long long sum = SkillSumOf(startSkills, *startRow, endSkills, *endRow);
        if (sum != 0)
            (sum > 0 ? rises : falls)
                .push_back({static_cast<long double>(sum), endPlayers.Cell(players::kName, *row), *row});
    }
    const auto item = [&](const Ranked& r) {
        return SkillSum{std::string(r.name), std::string(endPlayers.Cell(players::kPosition, r.source)),
                        static_cast<long long>(r.value)};
    };
    for (const Ranked& r : TopOf(std::move(rises), Order::LargestFirst))
        out.skillRises.push_back(item(r));
    for (const Ranked& r : TopOf(std::move(falls), Order::SmallestFirst))
        out.skillFalls.push_back(item(r));
}

void ListClubChanges(const TextTable& grid, std::vector<ClubChange>& out) {
    using namespace club_grid;
    for (int r = kFirstChangedClubRow; r <= kLastClubRow; ++r) {
        const std::string_view change = grid.Cell(kChange, r);
        if (change != "0" && change != "-")
            out.push_back({std::string(grid.Cell(kCaption, r)), std::string(grid.Cell(kStart, r)),
                           std::string(grid.Cell(kEnd, r)), std::string(change)});
    }
}

void ListBuildingChanges(const Comparison& cmp, std::vector<BuildingChange>& out) {
    const TextTable& grid = cmp.Grid(GridId::StringGrid2);
    for (int r = kFirstBuildingRow; r <= kLastBuildingRow; ++r) {
        // Grid row r shows row r + 1 of the structure tables.
        const auto start = ParseWhole(cmp.StartSnapshot().structure.Cell(structure::kLevel, r + 1));
        const auto end = ParseWhole(cmp.EndSnapshot().structure.Cell(structure::kLevel, r + 1));
        if (start && end && *start != *end)
            out.push_back({std::string(grid.Cell(infrastructure_grid::kBuilding, r)), *start, *end});
    }
}

}  // namespace

PeriodSummary SummarisePeriod(const Comparison& cmp) {
    const TextTable& total = cmp.TotalPlay();
    PeriodSummary s;
    ListPlayers(total, period::kNewcomer, s.arrivals);
    ListPlayers(total, period::kLeft, s.departures);
    ListNationalChanges(total, s.national);
    ListRealLevelChanges(total, cmp.Grid(GridId::StringGrid_ru), s);
    ListSkillSums(cmp, s);
    s.payroll = cmp.Result().payroll;
    s.value = cmp.Result().values;
    ListClubChanges(cmp.Grid(GridId::StringGrid1), s.club);
    ListBuildingChanges(cmp, s.buildings);
    return s;
}

namespace {

std::string Who(const std::string& name, const std::string& position) { return name + " (" + position + ")"; }

std::string FromTo(const std::string& from, const std::string& to) { return from + " → " + to; }

SummaryField Text(std::string_view key, const std::string& text) { return {key, text, std::nullopt}; }

SummaryField Number(std::string_view key, long long value) { return {key, WholeText(value), value}; }

template <typename T, typename Fields, typename Line>
SummaryGroup Group(std::string_view key, std::string_view caption, const std::vector<T>& items, Fields fields,
                   Line line) {
    SummaryGroup group{key, caption, {}};
    for (const T& item : items)
        group.items.push_back({fields(item), line(item)});
    return group;
}

SummaryGroup PlayersGroup(std::string_view key, std::string_view caption, const std::vector<SummaryPlayer>& players) {
    return Group(
        key, caption, players,
        [](const SummaryPlayer& p) {
            return std::vector{Text("name", p.name), Text("position", p.position)};
        },
        [](const SummaryPlayer& p) { return Who(p.name, p.position); });
}

SummaryGroup RealLevelGroup(std::string_view key, std::string_view caption,
                            const std::vector<RealLevelChange>& changes) {
    return Group(
        key, caption, changes,
        [](const RealLevelChange& c) {
            return std::vector{Text("name", c.name), Text("position", c.position), Text("start", c.start),
                               Text("end", c.end), Text("change", c.change)};
        },
        [](const RealLevelChange& c) {
            return Who(c.name, c.position) + ": " + FromTo(c.start, c.end) + " (" + c.change + ")";
        });
}

SummaryGroup SkillGroup(std::string_view key, std::string_view caption, const std::vector<SkillSum>& sums) {
    return Group(
        key, caption, sums,
        [](const SkillSum& s) {
            return std::vector{Text("name", s.name), Text("position", s.position), Number("sum", s.sum)};
        },
        [](const SkillSum& s) { return Who(s.name, s.position) + ": " + WholeText(s.sum); });
}

SummaryItem MoneyItem(std::string_view key, std::string_view caption, const TotalsLine& line) {
    return {
        {Text("key", std::string(key)), Text("start", line.start), Text("end", line.end), Text("change", line.change)},
        std::string(caption) + ": " + FromTo(line.start, line.end) + " (" + line.change + ")"};
}

}  // namespace

std::vector<SummaryGroup> SummaryGroups(const PeriodSummary& s) {
    std::vector<SummaryGroup> groups;
    groups.push_back(PlayersGroup("arrivals", "Пришли в клуб", s.arrivals));
    groups.push_back(PlayersGroup("departures", "Ушли из клуба", s.departures));
    groups.push_back(Group(
        "national", "Сборные", s.national,
        [](const NationalChange& c) {
            return std::vector{Text("name", c.name), Text("position", c.position), Text("from", c.from),
                               Text("to", c.to)};
        },
        [](const NationalChange& c) { return Who(c.name, c.position) + ": " + FromTo(c.from, c.to); }));
    groups.push_back(RealLevelGroup("real_level_rises", "Рост РУ", s.realLevelRises));
    groups.push_back(RealLevelGroup("real_level_falls", "Падение РУ", s.realLevelFalls));
    groups.push_back(SkillGroup("skill_rises", "Рост скиллов", s.skillRises));
    groups.push_back(SkillGroup("skill_falls", "Падение скиллов", s.skillFalls));
    groups.push_back({"money",
                      "Зарплаты и стоимость",
                      {MoneyItem("payroll", "Зарплата", s.payroll), MoneyItem("value", "Стоимость", s.value)},
                      SummaryShape::Named});
    groups.push_back(Group(
        "club", "Клуб", s.club,
        [](const ClubChange& c) {
            return std::vector{Text("caption", c.caption), Text("start", c.start), Text("end", c.end),
                               Text("change", c.change)};
        },
        [](const ClubChange& c) { return c.caption + ": " + FromTo(c.start, c.end) + " (" + c.change + ")"; }));
    groups.push_back(Group(
        "buildings", "Инфраструктура", s.buildings,
        [](const BuildingChange& b) {
            return std::vector{Text("name", b.name), Number("start", b.start), Number("end", b.end)};
        },
        [](const BuildingChange& b) { return b.name + ": " + FromTo(WholeText(b.start), WholeText(b.end)); }));
    return groups;
}

std::string SummaryText(const PeriodSummary& summary) {
    std::string out = "== " + std::string(kSummaryTitle) + "\n";
    for (const SummaryGroup& group : SummaryGroups(summary)) {
        out += "-- " + std::string(group.caption) + "\n";
        if (group.items.empty())
            out += std::string(kSummaryNothing) + "\n";
        for (const SummaryItem& item : group.items)
            out += item.line + "\n";
    }
    return out;
}

}  // namespace cadrix
