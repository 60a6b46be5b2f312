#include "history/player_table.h"

#include <gtest/gtest.h>

#include "history/improvers.h"

namespace cadrix {
namespace {

PlayerPoint Point(SnapshotId id, const char* date, const char* position, const char* level, const char* salary,
                  const char* skill1) {
    PlayerPoint p;
    p.snapshot = id;
    p.date = date;
    p.name = "Орлов";
    p.position = position;
    p.realLevel = level;
    p.value = "1000000";
    p.salary = salary;
    p.skills.fill("10");
    p.skills[0] = skill1;
    return p;
}

std::vector<StoredSnapshot> Clubs() {
    std::vector<StoredSnapshot> s(4);
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)].id = i + 1;
    s[0].club = s[1].club = s[3].club = "Сокол";
    s[2].club = "Чайка";
    return s;
}

// Snapshot 2 lacks him (he left for a week); he comes back in 3 at another
// club and position, with a skill that is no whole number.
TEST(PlayerTable, RowsTrendsAndGrowthOverAHistoryWithAGap) {
    PlayerSeries series;
    series.playerId = "77";
    series.name = "Орлов";
    series.points = {Point(1, "01.09.2026", "CM", "64,1", "5000", "40"),
                     Point(3, "15.09.2026", "CD", "64,3", "5500", "40,5"),
                     Point(4, "29.09.2026", "CD", "63,9", "4000", "43")};
    const PlayerTable t = BuildPlayerTable(series, Clubs());
    ASSERT_EQ(t.rows.size(), 3u);
    const auto col = [](PlayerColumn c) { return ColumnIndex(c); };
    const std::size_t skill1 = col(PlayerColumn::FirstSkill);
    EXPECT_EQ(t.rows[1].cells[col(PlayerColumn::Club)], "Чайка");
    EXPECT_EQ(t.rows[1].cells[col(PlayerColumn::Position)], "CD");
    EXPECT_EQ(t.rows[1].cells[skill1], "40,5");
    EXPECT_EQ(PlayerTableCaptions()[skill1 + 23], SkillName(24));

    const struct {
        std::size_t row, column;
        Trend trend;
    } trends[] = {
        {0, col(PlayerColumn::RealLevel), Trend::Same},         {1, col(PlayerColumn::RealLevel), Trend::Favourable},
        {2, col(PlayerColumn::RealLevel), Trend::Unfavourable}, {1, col(PlayerColumn::Salary), Trend::Unfavourable},
        {2, col(PlayerColumn::Salary), Trend::Favourable},      {1, skill1, Trend::Same},  // no whole number
        {2, skill1, Trend::Same},                               {1, col(PlayerColumn::Position), Trend::Same},
    };
    for (const auto& c : trends)
        EXPECT_EQ(t.rows[c.row].trends[c.column], c.trend) << "row " << c.row << " column " << c.column;

    // 28 days: 64,1 → 63,9 is −0,2, −0,05 a week rounded away from zero;
    // skills 40+230 → 43+230, 0,75 a week.
    const PlayerGrowth& g = t.growth;
    EXPECT_EQ(g.days, 28);
    EXPECT_EQ(g.realLevel.change, "-0,2");
    EXPECT_EQ(g.realLevel.perWeek, "-0,1");
    EXPECT_EQ(g.skillsSum.start, "270");
    EXPECT_EQ(g.skillsSum.end, "273");
    EXPECT_EQ(g.skillsSum.perWeek, "0,8");
    EXPECT_EQ(g.skillsSum.perWeekValue, 0.8);

    // The middle row's decimal skill leaves its sum unknown, not wrong.
    EXPECT_EQ(SkillsSumText(series.points[1].skills), "");
}

TEST(PlayerTable, OneDateHasNoGrowthPerWeek) {
    PlayerSeries series;
    series.points = {Point(1, "01.09.2026", "GK", "50", "100", "12")};
    const PlayerGrowth g = BuildPlayerTable(series, Clubs()).growth;
    EXPECT_EQ(g.days, 0);
    EXPECT_EQ(g.realLevel.change, "0");
    EXPECT_EQ(g.realLevel.perWeek, "");
    EXPECT_FALSE(g.realLevel.perWeekValue);
}

SnapshotPlayer Player(const char* id, const char* name, const char* level, const char* skill) {
    SnapshotPlayer p{id, Point(1, "", "FW", level, "1", skill)};
    p.point.name = name;
    return p;
}

TEST(Improvers, RankedByChangeThenNameWithUnknownsLast) {
    StoredSnapshot from, to;
    from.date = "01.09.2026";
    to.date = "15.09.2026";
    const std::vector<SnapshotPlayer> before = {Player("1", "Яшин", "50", "10"), Player("2", "Андреев", "50", "10"),
                                                Player("3", "Борисов", "50", "10"), Player("4", "Ушёл", "50", "10"),
                                                Player("5", "Вялов", "n/a", "10")};
    const std::vector<SnapshotPlayer> after = {Player("1", "Яшин", "51", "12"), Player("2", "Андреев", "51", "11"),
                                               Player("3", "Борисов", "52", "11"), Player("5", "Вялов", "55", "30"),
                                               Player("6", "Новый", "70", "10")};
    // Given the other way round, the earlier date is still the start.
    const Improvers r = RankImprovers(to, after, from, before);
    EXPECT_EQ(r.days, 14);
    std::vector<std::string> byLevel, bySkills;
    for (const Improver& p : r.byRealLevel)
        byLevel.push_back(p.name);
    for (const Improver& p : r.bySkillsSum)
        bySkills.push_back(p.name);
    EXPECT_EQ(byLevel, (std::vector<std::string>{"Борисов", "Андреев", "Яшин", "Вялов"}));
    EXPECT_EQ(bySkills, (std::vector<std::string>{"Вялов", "Яшин", "Андреев", "Борисов"}));
    EXPECT_EQ(r.byRealLevel[0].realLevel.perWeek, "1,0");
}

}  // namespace
}  // namespace cadrix
