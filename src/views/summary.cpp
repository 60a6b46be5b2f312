#include "views/summary.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <optional>
#include <utility>

#include "core/dates.h"
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

// "1 день", "3 дня", "90 дней".
std::string DaysText(std::int64_t days) {
    const std::int64_t n = days < 0 ? -days : days;
    std::string_view word = "дней";
    if (n % 10 == 1 && n % 100 != 11)
        word = "день";
    else if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14))
        word = "дня";
    return WholeText(days) + " " + std::string(word);
}

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
// Only the best so far are kept, so that a large squad's candidates are never
// all held at once.
class TopList {
public:
    explicit TopList(Order order) : m_order(order) {}

    void Offer(const Ranked& candidate) {
        if (m_top.size() == kSummaryTop && !Before(candidate, m_top.back()))
            return;
        const auto at = std::upper_bound(m_top.begin(), m_top.end(), candidate,
                                         [this](const Ranked& a, const Ranked& b) { return Before(a, b); });
        m_top.insert(at, candidate);
        if (m_top.size() > kSummaryTop)
            m_top.pop_back();
    }
    const std::vector<Ranked>& Top() const { return m_top; }

private:
    bool Before(const Ranked& a, const Ranked& b) const {
        if (a.value != b.value)
            return m_order == Order::LargestFirst ? a.value > b.value : a.value < b.value;
        if (a.name != b.name)
            return a.name < b.name;
        return a.source < b.source;
    }

    Order m_order;
    std::vector<Ranked> m_top;
};

void ListRealLevelChanges(const TextTable& total, const TextTable& grid, PeriodSummary& out) {
    TopList rises(Order::LargestFirst), falls(Order::SmallestFirst);
    for (int a = 1; a < total.RowCount(); ++a) {
        const auto change =
            ParseDecimal(grid.Cell(real_level_grid::kChange, GridRowOfPlayer(GridId::StringGrid_ru, a)));
        if (!change || *change == 0)
            continue;
        (*change > 0 ? rises : falls).Offer({*change, total.Cell(period::kName, a), a});
    }
    const auto item = [&](const Ranked& r) {
        const int row = GridRowOfPlayer(GridId::StringGrid_ru, r.source);
        using namespace real_level_grid;
        return RealLevelChange{std::string(r.name), std::string(total.Cell(period::kPosition, r.source)),
                               std::string(grid.Cell(kRealLevelStart, row)), std::string(grid.Cell(kRealLevelEnd, row)),
                               std::string(grid.Cell(kChange, row))};
    };
    for (const Ranked& r : rises.Top())
        out.realLevelRises.push_back(item(r));
    for (const Ranked& r : falls.Top())
        out.realLevelFalls.push_back(item(r));
}

// The first data row of each id in a table, as FindPlayerRow finds it, for
// looking up every player of a squad at once: the row numbers in a table of
// at least twice as many slots as rows, open addressed by the id's hash,
// four bytes a slot (row 0, the header, is never looked up: 0 is "empty").
class RowsById {
public:
    RowsById(const TextTable& table, int idColumn) : m_table(table), m_idColumn(idColumn) {
        const auto rows = static_cast<std::size_t>(std::max(table.RowCount() - 1, 0));
        m_slots.assign(std::bit_ceil(2 * rows + 1), 0);
        for (int r = 1; r < table.RowCount(); ++r) {
            // A later row of the same id leaves the first in its slot.
            if (int& slot = m_slots[SlotOf(Id(r))]; slot == 0)
                slot = r;
        }
    }

    std::optional<int> Find(std::string_view id) const {
        const int row = m_slots[SlotOf(id)];
        return row ? std::optional<int>(row) : std::nullopt;
    }

private:
    std::string_view Id(int row) const { return m_table.Cell(m_idColumn, row); }

    // The slot that holds the row of `id`, or the empty one its probe ends
    // at; there is always an empty slot.
    std::size_t SlotOf(std::string_view id) const {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = std::hash<std::string_view>{}(id) & mask;; i = (i + 1) & mask) {
            const int row = m_slots[i];
            if (row == 0 || Id(row) == id)
                return i;
        }
    }

    const TextTable& m_table;
    int m_idColumn;
    std::vector<int> m_slots;
};

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
    const RowsById playerRows(endPlayers, players::kPlayerId);
    const RowsById startRows(startSkills, kSkillsPlayerIdColumn);
    const RowsById endRows(endSkills, kSkillsPlayerIdColumn);
    TopList rises(Order::LargestFirst), falls(Order::SmallestFirst);
    // An id always finds the same players row, which stands for it here.
    std::vector<bool> seen(static_cast<std::size_t>(std::max(endPlayers.RowCount(), 0)));
    for (const std::string& id : cmp.ListBox1()) {
        const auto row = playerRows.Find(id);
        if (!row || seen[static_cast<std::size_t>(*row)])
            continue;
        seen[static_cast<std::size_t>(*row)] = true;
        const auto startRow = startRows.Find(id);
        const auto endRow = endRows.Find(id);
        if (!startRow || !endRow)
            continue;
        const long long sum = SkillSumOf(startSkills, *startRow, endSkills, *endRow);
        if (sum != 0)
            (sum > 0 ? rises : falls)
                .Offer({static_cast<long double>(sum), endPlayers.Cell(players::kName, *row), *row});
    }
    const auto item = [&](const Ranked& r) {
        return SkillSum{std::string(r.name), std::string(endPlayers.Cell(players::kPosition, r.source)),
                        static_cast<long long>(r.value)};
    };
    for (const Ranked& r : rises.Top())
        out.skillRises.push_back(item(r));
    for (const Ranked& r : falls.Top())
        out.skillFalls.push_back(item(r));
}

void ListClubChanges(const TextTable& grid, std::vector<ClubChange>& out) {
    using namespace club_grid;
    for (int r = kFirstChangedClubRow; r <= kLastClubRow; ++r) {
        const std::string_view change = grid.Cell(kChange, r);
        if (change != "0" && change != "-")
            out.push_back({std::string(grid.Cell(kCaption, r)), std::string(grid.Cell(kStart, r)),
                           std::string(grid.Cell(kEnd, r)), std::string(change),
                           DrawClubCell(grid, kChange, r).background});
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

Period PeriodOf(const Comparison& cmp) {
    return {std::string(cmp.EndSnapshot().team.Cell(team::kValue, team::kClubName)), cmp.Result().startDate,
            cmp.Result().endDate};
}

std::string ReportTitle(const Period& period) {
    std::string title = "Итоги и сравнение: ";
    if (!period.club.empty())
        title += period.club + ", ";
    return title + period.start + " – " + period.end;
}

std::string SummaryHeading(const Period& period) {
    std::string heading = std::string(kSummaryTitle) + ": ";
    if (!period.club.empty())
        heading += period.club + ", ";
    heading += period.start + " – " + period.end;
    const auto start = DayOfDateText(period.start);
    const auto end = DayOfDateText(period.end);
    if (start && end)
        heading += " (" + DaysText(*end - *start) + ")";
    return heading;
}

PeriodSummary SummarisePeriod(const Comparison& cmp) {
    const TextTable& total = cmp.TotalPlay();
    PeriodSummary s;
    s.period = PeriodOf(cmp);
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

using enum SummaryColumn;

std::string Who(const std::string& name, const std::string& position) { return name + " (" + position + ")"; }

std::string FromTo(const std::string& from, const std::string& to) { return from + " → " + to; }

// A change as a reader takes it: "+5,1" for a rise; a fall, a zero and a
// change that is no number ("-") as the page shows them.
std::string Signed(const std::string& change) {
    if (change.empty() || change == "0" || change[0] == '-' || change[0] == '+')
        return change;
    return "+" + change;
}

Background ToneOfSign(const std::string& change) {
    if (change.empty() || change == "0" || change == "-")
        return Background::Grid;
    return change[0] == '-' ? Background::Unfavourable : Background::Favourable;
}

Background ToneOfShape(ShapeColour shape) {
    switch (shape) {
    case ShapeColour::Favourable: return Background::Favourable;
    case ShapeColour::Unfavourable: return Background::Unfavourable;
    case ShapeColour::ButtonFace: break;
    }
    return Background::Grid;
}

SummaryField Text(std::string_view key, SummaryColumn column, std::string text) {
    return {key, column, std::move(text), std::nullopt};
}

SummaryField Number(std::string_view key, SummaryColumn column, long long value) {
    return {key, column, WholeText(value), value};
}

// A line without a change.
SummaryItem Said(std::vector<SummaryField> fields, std::string lead) {
    return {std::move(fields), std::move(lead), {}, Background::Grid, {}};
}

// "lead (+change)": the change in brackets after the two values.
SummaryItem Changed(std::vector<SummaryField> fields, std::string lead, const std::string& change, Background tone) {
    return {std::move(fields), std::move(lead) + " (", Signed(change), tone, ")"};
}

template <typename T, typename Item>
SummaryGroup Group(std::string_view key, std::string_view caption, const std::vector<T>& items, Item item) {
    SummaryGroup group{key, caption, {}};
    for (const T& each : items)
        group.items.push_back(item(each));
    return group;
}

SummaryGroup PlayersGroup(std::string_view key, std::string_view caption, const std::vector<SummaryPlayer>& players) {
    return Group(key, caption, players, [](const SummaryPlayer& p) {
        return Said({Text("name", Subject, p.name), Text("position", Position, p.position)}, Who(p.name, p.position));
    });
}

SummaryGroup RealLevelGroup(std::string_view key, std::string_view caption,
                            const std::vector<RealLevelChange>& changes) {
    return Group(key, caption, changes, [](const RealLevelChange& c) {
        return Changed({Text("name", Subject, c.name), Text("position", Position, c.position),
                        Text("start", Start, c.start), Text("end", End, c.end), Text("change", Change, c.change)},
                       Who(c.name, c.position) + ": " + FromTo(c.start, c.end), c.change, ToneOfSign(c.change));
    });
}

// The sum of the 24 skills' changes, said as such.
SummaryGroup SkillGroup(std::string_view key, std::string_view caption, const std::vector<SkillSum>& sums) {
    return Group(key, caption, sums, [](const SkillSum& s) {
        const std::string sum = WholeText(s.sum);
        return SummaryItem{
            {Text("name", Subject, s.name), Text("position", Position, s.position), Number("sum", Change, s.sum)},
            Who(s.name, s.position) + ": сумма " + std::to_string(kSkillCount) + " скиллов: ",
            Signed(sum),
            ToneOfSign(sum),
            {}};
    });
}

// A money line, named in JSON by its key and in the table by its caption.
SummaryItem MoneyItem(std::string_view key, std::string_view caption, const TotalsLine& line) {
    return Changed({Text(key, Subject, std::string(caption)), Text("start", Start, line.start),
                    Text("end", End, line.end), Text("change", Change, line.change)},
                   std::string(caption) + ": " + FromTo(line.start, line.end), line.change, ToneOfShape(line.shape));
}

}  // namespace

std::vector<SummaryGroup> SummaryGroups(const PeriodSummary& s) {
    std::vector<SummaryGroup> groups;
    groups.push_back(PlayersGroup("arrivals", "Пришли в клуб", s.arrivals));
    groups.push_back(PlayersGroup("departures", "Ушли из клуба", s.departures));
    groups.push_back(Group("national", "Сборные", s.national, [](const NationalChange& c) {
        return Said({Text("name", Subject, c.name), Text("position", Position, c.position), Text("from", Start, c.from),
                     Text("to", End, c.to)},
                    Who(c.name, c.position) + ": " + FromTo(c.from, c.to));
    }));
    groups.push_back(RealLevelGroup("real_level_rises", "Рост РУ", s.realLevelRises));
    groups.push_back(RealLevelGroup("real_level_falls", "Падение РУ", s.realLevelFalls));
    groups.push_back(SkillGroup("skill_rises", "Рост скиллов", s.skillRises));
    groups.push_back(SkillGroup("skill_falls", "Падение скиллов", s.skillFalls));
    groups.push_back({"money",
                      "Зарплаты и стоимость",
                      {MoneyItem("payroll", "Зарплата", s.payroll), MoneyItem("value", "Стоимость", s.value)},
                      SummaryShape::Named});
    groups.push_back(Group("club", "Клуб", s.club, [](const ClubChange& c) {
        return Changed({Text("caption", Subject, c.caption), Text("start", Start, c.start), Text("end", End, c.end),
                        Text("change", Change, c.change)},
                       c.caption + ": " + FromTo(c.start, c.end), c.change, c.tone);
    }));
    groups.push_back(Group("buildings", "Инфраструктура", s.buildings, [](const BuildingChange& b) {
        return Said({Text("name", Subject, b.name), Number("start", Start, b.start), Number("end", End, b.end)},
                    b.name + ": " + FromTo(WholeText(b.start), WholeText(b.end)));
    }));
    return groups;
}

std::string SummaryText(const PeriodSummary& summary) {
    std::string out = "== " + SummaryHeading(summary.period) + "\n";
    for (const SummaryGroup& group : SummaryGroups(summary)) {
        out += "-- " + std::string(group.caption) + "\n";
        if (group.items.empty())
            out += std::string(kSummaryNothing) + "\n";
        for (const SummaryItem& item : group.items)
            out += item.Line() + "\n";
    }
    return out;
}

}  // namespace cadrix
