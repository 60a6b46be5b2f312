#include "snapshot/skills.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace cadrix {
namespace {

std::string Classes(PositionLine line) {
    std::string s;
    for (int k = 1; k <= kSkillCount; ++k) {
        switch (ColourClass(line, k)) {
        case SkillClass::Green: s += 'G'; break;
        case SkillClass::Blue: s += 'B'; break;
        case SkillClass::Red: s += 'R'; break;
        }
    }
    return s;
}

TEST(Skills, NamesInTheirFixedOrder) {
    EXPECT_EQ(SkillName(1), "Навесы");
    EXPECT_EQ(SkillName(14), "Работоспособность");
    EXPECT_EQ(SkillName(20), "Лидерство");
    EXPECT_EQ(SkillName(24), "Игра руками (врат.)");
    EXPECT_THROW(SkillName(0), std::out_of_range);
    EXPECT_EQ(SkillColumn(1), 5);
    EXPECT_EQ(SkillColumn(24), 28);
}

TEST(Skills, ColourClassesPerLine) {
    //                                      1   5    10   15   20   24
    EXPECT_EQ(Classes(PositionLine::Forward), "RGGBGRBGGGRGGRGBGBGGRRRR");
    EXPECT_EQ(Classes(PositionLine::Midfield), "GBRGBRGGGGBGRBGRGGGGRRRR");
    EXPECT_EQ(Classes(PositionLine::Defence), "RRBRRGBGGGGGBGGGGBGGRRRR");
    EXPECT_EQ(Classes(PositionLine::Goalkeeper), "RRRRRRRGGGRGRGGRGRGGGGGG");
    for (auto line : {PositionLine::Forward, PositionLine::Midfield, PositionLine::Defence}) {
        const std::string c = Classes(line);
        EXPECT_EQ(std::count(c.begin(), c.end(), 'G'), 12);
        EXPECT_EQ(std::count(c.begin(), c.end(), 'B'), 4);
        EXPECT_EQ(std::count(c.begin(), c.end(), 'R'), 8);
    }
}

TEST(Skills, LinesFromTheLastLetter) {
    EXPECT_EQ(LineFromLetter(U'K'), PositionLine::Goalkeeper);
    EXPECT_EQ(LineFromLetter(U'D'), PositionLine::Defence);
    EXPECT_EQ(LineFromLetter(U'M'), PositionLine::Midfield);
    EXPECT_EQ(LineFromLetter(U'W'), PositionLine::Forward);
    EXPECT_FALSE(LineFromLetter(U'd').has_value());
    EXPECT_EQ(LineOfChooserText("Иванов Иван, CD"), PositionLine::Defence);
    EXPECT_FALSE(LineOfChooserText("").has_value());
    EXPECT_FALSE(LineOfChooserText("Иванов, ").has_value());
}

TEST(Skills, GroupsOfTheDetailPanel) {
    const SkillGroups gk = GroupsOf(PositionLine::Goalkeeper);
    EXPECT_EQ(gk.profile, (std::vector<int>{21, 22, 23, 24}));
    EXPECT_TRUE(gk.general.empty());
    EXPECT_EQ(gk.alien, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 11, 13, 14, 16, 18}));
    EXPECT_EQ(gk.common, (std::vector<int>{8, 9, 10, 12, 15, 17, 19, 20}));

    const SkillGroups cd = GroupsOf(PositionLine::Defence);
    EXPECT_EQ(cd.profile, (std::vector<int>{6, 11, 14, 16}));
    EXPECT_EQ(cd.general, (std::vector<int>{3, 7, 13, 18}));
    EXPECT_EQ(cd.alien, (std::vector<int>{1, 2, 4, 5}));
    const SkillGroups fw = GroupsOf(PositionLine::Forward);
    EXPECT_EQ(fw.profile, (std::vector<int>{2, 3, 5, 13}));
    EXPECT_EQ(fw.general, (std::vector<int>{4, 7, 16, 18}));
    EXPECT_EQ(fw.alien, (std::vector<int>{1, 6, 11, 14}));
}

TEST(Skills, PlayerRowLookupTakesTheFirstExactMatch) {
    TextTable t(29, 5);
    t.SetCell(1, 0, "123");  // the header row is never read
    t.SetCell(1, 1, "0123");
    t.SetCell(1, 2, "123");
    t.SetCell(1, 3, "123");
    t.SetCell(1, 4, " 123");
    EXPECT_EQ(FindPlayerRow(t, "123"), 2);
    EXPECT_EQ(FindPlayerRow(t, "0123"), 1);
    EXPECT_FALSE(FindPlayerRow(t, "12").has_value());
}

}  // namespace
}  // namespace cadrix
