#include "history/player_table.h"

#include <unordered_map>

#include "core/numbers.h"
#include "history/chart_series.h"

namespace cadrix {

namespace {

// Which way a figure is good news, or none for a figure never judged.
enum class Better { None, Rise, Fall };

Better BetterOf(std::size_t column) {
    switch (static_cast<PlayerColumn>(std::min(column, ColumnIndex(PlayerColumn::FirstSkill)))) {
    case PlayerColumn::RealLevel:
    case PlayerColumn::Value:
    case PlayerColumn::FirstSkill: return Better::Rise;
    case PlayerColumn::Salary: return Better::Fall;  // as on the contracts page
    default: return Better::None;
    }
}

// Skills are whole numbers; the other figures may carry a decimal comma.
std::optional<long double> Number(std::size_t column, std::string_view text) {
    if (column >= ColumnIndex(PlayerColumn::FirstSkill)) {
        const auto whole = ParseWhole(text);
        return whole ? std::optional<long double>(*whole) : std::nullopt;
    }
    return ParseDecimal(text);
}

Trend TrendOf(std::size_t column, std::string_view before, std::string_view now) {
    const Better better = BetterOf(column);
    const auto a = Number(column, before);
    const auto b = Number(column, now);
    if (better == Better::None || !a || !b || *a == *b)
        return Trend::Same;
    const bool rose = *b > *a;
    return rose == (better == Better::Rise) ? Trend::Favourable : Trend::Unfavourable;
}

PlayerTableRow RowOf(const PlayerPoint& p, const std::string& club) {
    PlayerTableRow row;
    row.snapshot = p.snapshot;
    row.cells[ColumnIndex(PlayerColumn::Date)] = p.date;
    row.cells[ColumnIndex(PlayerColumn::Club)] = club;
    row.cells[ColumnIndex(PlayerColumn::Position)] = p.position;
    row.cells[ColumnIndex(PlayerColumn::Age)] = p.age;
    row.cells[ColumnIndex(PlayerColumn::RealLevel)] = p.realLevel;
    row.cells[ColumnIndex(PlayerColumn::Value)] = p.value;
    row.cells[ColumnIndex(PlayerColumn::Salary)] = p.salary;
    for (std::size_t k = 0; k < p.skills.size(); ++k)
        row.cells[ColumnIndex(PlayerColumn::FirstSkill) + k] = p.skills[k];
    return row;
}

std::optional<double> ValueOf(std::string_view text) {
    const auto v = ParseDecimal(text);
    return v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt;
}

}  // namespace

const std::array<std::string, kPlayerTableColumns>& PlayerTableCaptions() {
    static const auto captions = [] {
        std::array<std::string, kPlayerTableColumns> c{"Дата",           "Клуб",      "Позиция", "Возраст",
                                                      "Реальный уровень", "Стоимость", "Зарплата"};
        for (int k = 1; k <= kSkillCount; ++k)
            c[ColumnIndex(PlayerColumn::FirstSkill) + static_cast<std::size_t>(k - 1)] = SkillName(k);
        return c;
    }();
    return captions;
}

std::vector<std::vector<std::string>> PlayerTableGrid(const PlayerTable& table) {
    std::vector<std::vector<std::string>> grid;
    grid.reserve(table.rows.size() + 1);
    const auto& captions = PlayerTableCaptions();
    grid.emplace_back(captions.begin(), captions.end());
    for (const PlayerTableRow& row : table.rows)
        grid.emplace_back(row.cells.begin(), row.cells.end());
    return grid;
}

std::optional<std::int64_t> SkillsSum(const std::array<std::string, kSkillCount>& skills) {
    std::int64_t sum = 0;
    for (const std::string& skill : skills) {
        const auto v = ParseWhole(skill);
        if (!v)
            return std::nullopt;
        sum += *v;
    }
    return sum;
}

std::string SkillsSumText(const std::array<std::string, kSkillCount>& skills) {
    const auto sum = SkillsSum(skills);
    return sum ? WholeText(*sum) : std::string();
}

Growth GrowthOf(std::string_view start, std::string_view end, std::int64_t days) {
    Growth g;
    g.startValue = ValueOf(start);
    g.endValue = ValueOf(end);
    if (g.startValue)
        g.start = start;
    if (g.endValue)
        g.end = end;
    const auto change = DecimalChange(start, end);
    if (!change)
        return g;
    g.change = *change;
    g.changeValue = ValueOf(*change);
    if (days > 0 && g.changeValue) {
        const auto perWeek = static_cast<long double>(*g.changeValue) / static_cast<long double>(days) * 7;
        g.perWeek = FixedText(perWeek, 1);
        g.perWeekValue = ValueOf(g.perWeek);
    }
    return g;
}

PlayerTable BuildPlayerTable(const PlayerSeries& series, const std::vector<StoredSnapshot>& clubs) {
    std::unordered_map<SnapshotId, const std::string*> clubOf;
    for (const StoredSnapshot& s : clubs)
        clubOf.emplace(s.id, &s.club);
    PlayerTable table;
    table.playerId = series.playerId;
    table.name = series.name;
    static const std::string kNone;
    for (const PlayerPoint& p : series.points) {
        const auto club = clubOf.find(p.snapshot);
        PlayerTableRow row = RowOf(p, club == clubOf.end() ? kNone : *club->second);
        if (!table.rows.empty()) {
            const PlayerTableRow& above = table.rows.back();
            for (std::size_t c = 0; c < kPlayerTableColumns; ++c)
                row.trends[c] = TrendOf(c, above.cells[c], row.cells[c]);
        }
        table.rows.push_back(std::move(row));
    }
    if (series.points.empty())
        return table;
    const PlayerPoint& first = series.points.front();
    const PlayerPoint& last = series.points.back();
    PlayerGrowth& g = table.growth;
    g.from = first.date;
    g.to = last.date;
    const auto a = DayOfDateText(first.date);
    const auto b = DayOfDateText(last.date);
    g.days = a && b ? *b - *a : 0;
    g.realLevel = GrowthOf(first.realLevel, last.realLevel, g.days);
    g.skillsSum = GrowthOf(SkillsSumText(first.skills), SkillsSumText(last.skills), g.days);
    return table;
}

}  // namespace cadrix
