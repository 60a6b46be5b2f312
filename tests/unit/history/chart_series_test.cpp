#include "history/chart_series.h"

#include <gtest/gtest.h>

namespace cadrix {
namespace {

TEST(ChartSeries, DatesReadAsDaysOnlyWhenTheyExist) {
    const struct {
        const char* text;
        std::optional<std::int64_t> day;
    } cases[] = {
        {"01.01.1970", 0},
        {"02.01.1970", 1},
        {"29.02.2024", 19782},
        {"29.02.2026", std::nullopt},
        {"1.1.2026", std::nullopt},
        {"01/01/2026", std::nullopt},
        {"", std::nullopt},
        {"31.13.2026", std::nullopt},
        {"01-01.2026", std::nullopt},
        {"01.01-2026", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DayOfDateText(c.text), c.day) << c.text;
}

PlayerPoint Point(SnapshotId id, const char* date, const char* position, const char* level, const char* value,
                  const char* skill1) {
    PlayerPoint p;
    p.snapshot = id;
    p.date = date;
    p.position = position;
    p.realLevel = level;
    p.value = value;
    if (*skill1) {
        p.skills.fill("50");
        p.skills[0] = skill1;
    }
    return p;
}

TEST(ChartSeries, PlayerLinesSkipCellsThatAreNoNumbers) {
    PlayerSeries s;
    s.points = {Point(1, "01.09.2026", "CM", "64,1", "13230000", "41"),
                Point(2, "01.10.2026", "CM", "n/a", "13500000", ""),  // no skills row that week
                Point(3, "01.11.2026", "CD", "65", "x", "43"),
                Point(4, "01.12.2026", "CD", "n/a", "x", "42,5")};  // skills are whole numbers only
    const auto lines = PlayerChartLines(s);
    ASSERT_EQ(lines.size(), kFirstSkillLine + kSkillCount);
    EXPECT_EQ(lines[kRealLevelLine].name, "Реальный уровень");
    EXPECT_EQ(lines[kFirstSkillLine].name, SkillName(1));

    const auto& level = lines[kRealLevelLine].points;
    ASSERT_EQ(level.size(), 2u);
    EXPECT_DOUBLE_EQ(level[0].value, 64.1);
    EXPECT_EQ(level[0].text, "64,1");
    EXPECT_EQ(level[1].snapshot, 3);
    EXPECT_EQ(level[1].day, *DayOfDateText("01.11.2026"));

    const auto& value = lines[kValueLine].points;
    ASSERT_EQ(value.size(), 2u);
    EXPECT_EQ(value[1].text, "13.500.000");
    EXPECT_EQ(value[1].date, "01.10.2026");

    const auto& skill = lines[kFirstSkillLine].points;
    ASSERT_EQ(skill.size(), 2u);
    EXPECT_DOUBLE_EQ(skill[1].value, 43);
}

TEST(ChartSeries, DefaultSkillsAreTheGreenSkillsOfTheNewestLine) {
    PlayerSeries s;
    EXPECT_TRUE(DefaultChartSkills(s).empty());
    s.points = {Point(1, "01.09.2026", "FW", "60", "1", ""), Point(2, "01.10.2026", "CD", "60", "1", "")};
    EXPECT_EQ(DefaultChartSkills(s), (std::vector<int>{6, 8, 9, 10, 11, 12, 14, 15, 16, 17, 19, 20}));
    s.points.back().position = "??";
    EXPECT_TRUE(DefaultChartSkills(s).empty());
}

TEST(ChartSeries, ClubLinesAreTheNumericFiguresUnderTheNewestCaptions) {
    ClubSeries s;
    for (int i = 0; i < 2; ++i) {
        ClubPoint p;
        p.snapshot = i + 1;
        p.date = i == 0 ? "01.09.2026" : "30.11.2026";
        for (int row = 1; row <= kClubFigureCount; ++row)
            p.figures[static_cast<std::size_t>(row - 1)] = {"Строка " + std::to_string(row) + (i ? "" : " (старая)"),
                                                            std::to_string(row * 10 + i)};
        s.points.push_back(p);
    }
    s.points[0].figures[13].value = "<нет данных>";  // row 14
    const auto lines = ClubChartLines(s);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].name, "Строка 9");
    EXPECT_EQ(lines[0].points.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].points[1].value, 91);
    EXPECT_EQ(lines[5].points.size(), 1u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].fallIsFavourable, i == 7) << i;
}

}  // namespace
}  // namespace cadrix
