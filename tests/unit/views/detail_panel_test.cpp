#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/detail_panel.h"

namespace cadrix {
namespace {

enum Row { kName, kPosition, kTalent, kAge, kLevelChange, kRise, kFall, kProfile, kGeneral, kAlien, kCommon };

// All 24 differences zero except the given ones.
std::vector<SkillDifference> Differences(const std::vector<std::pair<int, long long>>& changed) {
    std::vector<SkillDifference> formed;
    for (int k = 1; k <= 24; ++k) {
        long long d = 0;
        for (const auto& [skill, diff] : changed) {
            if (skill == k)
                d = diff;
        }
        formed.push_back({k, d});
    }
    return formed;
}

DetailPanel Fill(const std::string& chooserText, const std::vector<SkillDifference>& formed) {
    DetailPanel panel;
    FillDetailPanel(chooserText, formed, "4", "23", panel);
    return panel;
}

TEST(DetailPanel, CaptionsAreTheElevenRows) {
    const std::array<std::string, 11> expected = {"Имя",          "Позиция",    "Талант",        "Возраст",
                                                  "Изменение РУ", "Макс. рост", "Макс. падение", "Профильные",
                                                  "Общие",        "Чужие",      "Единые"};
    EXPECT_EQ(DetailPanel::Captions(), expected);
}

TEST(DetailPanel, NamePositionTalentAndAge) {
    DetailPanel panel;
    FillDetailPanel("Щербаков Юрий, RM", Differences({}), "5", "31", panel);
    EXPECT_EQ(panel.values[kName], "Щербаков Юрий");
    EXPECT_EQ(panel.values[kPosition], "RM");
    EXPECT_EQ(panel.values[kTalent], "5");
    EXPECT_EQ(panel.values[kAge], "31");
}

TEST(DetailPanel, LevelChangeRoundsHalfAwayFromZero) {
    struct Case {
        std::string position;
        std::vector<std::pair<int, long long>> changed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"FW", {{1, 2}, {15, 3}}, "0,3"},  // 5 x 0.05 = 0.25
        {"FW", {{1, -2}, {15, -3}}, "-0,3"},
        {"GK", {{21, -1}, {23, -2}}, "-0,4"},       // -3 x 0.125 = -0.375
        {"CD", {{1, 20}, {2, 20}, {3, 3}}, "2,2"},  // 43 x 0.05 = 2.15
        {"LM", {{1, -20}, {2, -20}, {3, -3}}, "-2,2"},
        {"FW", {}, "0,0"},
        {"FW", {{21, 10}, {22, 10}}, "0,0"},          // goalkeeper skills do not count for him
        {"GK", {{1, 10}, {20, 10}, {24, 1}}, "0,1"},  // nor outfield skills for a goalkeeper
        {"RD", {{5, 1}}, "0,1"},                      // 0.05 rounds up
        {"RD", {{5, -1}}, "-0,1"},
        {"GK", {{22, 2}}, "0,3"},  // 0.25
        {"GK", {{22, -2}}, "-0,3"},
        {"FW", {{1, 1000}, {2, 1000}}, "100,0"},
        // Even in extended precision these products lie a hair below the
        // half (7 x 0.05 = 0,349999...): the half still rounds away from zero.
        {"FW", {{1, 7}}, "0,4"},
        {"LM", {{1, -19}}, "-1,0"},
        {"CD", {{1, 20}, {2, 21}}, "2,1"},
    };
    for (const auto& c : cases) {
        const DetailPanel panel = Fill("Игрок, " + c.position, Differences(c.changed));
        EXPECT_EQ(panel.values[kLevelChange], c.expected) << c.position << " expected " << c.expected;
    }
}

TEST(DetailPanel, LargestRiseAndFallKeepTheLowestSkillOnTies) {
    const DetailPanel panel = Fill("Игрок, FW", Differences({{5, 4}, {9, 4}, {2, 1}, {11, -2}, {13, -2}, {24, -1}}));
    EXPECT_EQ(panel.values[kRise], "Удар (4)");
    EXPECT_EQ(panel.values[kFall], "Отбор (-2)");
}

TEST(DetailPanel, RiseAndFallConsiderEverySkillFormed) {
    // A goalkeeper skill is the largest rise of a forward too.
    const DetailPanel panel = Fill("Игрок, FW", Differences({{22, 7}, {1, -9}}));
    EXPECT_EQ(panel.values[kRise], "Реакция (врат.) (7)");
    EXPECT_EQ(panel.values[kFall], "Навесы (-9)");
}

TEST(DetailPanel, NoChangeOrNoDifferenceMeansNone) {
    const DetailPanel zero = Fill("Игрок, FW", Differences({}));
    EXPECT_EQ(zero.values[kRise], "нет");
    EXPECT_EQ(zero.values[kFall], "нет");
    const DetailPanel none = Fill("Игрок, FW", {});
    EXPECT_EQ(none.values[kLevelChange], "0,0");
    EXPECT_EQ(none.values[kRise], "нет");
    EXPECT_EQ(none.values[kFall], "нет");
    for (int r = kProfile; r <= kCommon; ++r)
        EXPECT_EQ(none.values[static_cast<std::size_t>(r)], "0,00") << r;
}

TEST(DetailPanel, GoalkeeperGroups) {
    {
        const DetailPanel p = Fill("Вратарь, GK", Differences({{21, 1}}));
        EXPECT_EQ(p.values[kProfile], "+0,13");
        EXPECT_EQ(p.values[kGeneral], "0,00");
        EXPECT_EQ(p.values[kAlien], "0,00");
        EXPECT_EQ(p.values[kCommon], "0,00");
    }
    {
        // Skill 14 belongs to the alien group although it is green for goalkeepers.
        const DetailPanel p = Fill("Вратарь, GK", Differences({{14, -2}, {1, 0}, {8, 9}, {20, -1}, {22, -3}}));
        EXPECT_EQ(p.values[kAlien], "-0,25");
        EXPECT_EQ(p.values[kCommon], "+1,00");
        EXPECT_EQ(p.values[kProfile], "-0,38");
        EXPECT_EQ(p.values[kGeneral], "0,00");
    }
}

TEST(DetailPanel, GroupValuesRoundHalfAwayFromZero) {
    struct Case {
        std::string position;
        long long sum;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"GK", 9, "+1,13"}, {"GK", -9, "-1,13"}, {"GK", -1, "-0,13"}, {"GK", 3, "+0,38"},  {"GK", 0, "0,00"},
        {"CD", 9, "+0,45"}, {"CD", -9, "-0,45"}, {"CD", 7, "+0,35"},  {"CD", 43, "+2,15"}, {"CD", -1, "-0,05"},
    };
    for (const auto& c : cases) {
        // Skill 8 is a common skill for every line.
        const DetailPanel p = Fill("Игрок, " + c.position, Differences({{8, c.sum}}));
        EXPECT_EQ(p.values[kCommon], c.expected) << c.position << " sum " << c.sum;
    }
}

TEST(DetailPanel, OutfieldGroupsFollowTheColourClassesOfTheLine) {
    // Defence: own green 6, 11, 14, 16; blue 3, 7, 13, 18; red outfield 1, 2, 4, 5.
    const DetailPanel d = Fill("Защитник, CD", Differences({{6, 2},
                                                            {11, 3},
                                                            {14, 1},
                                                            {16, 3},  // profile 9
                                                            {3, -1},
                                                            {18, -1},  // general -2
                                                            {1, 1},
                                                            {5, 1},
                                                            {21, 50},  // alien 2; 21 is no outfield skill
                                                            {8, 4},
                                                            {20, 0}}));  // common 4
    EXPECT_EQ(d.values[kProfile], "+0,45");
    EXPECT_EQ(d.values[kGeneral], "-0,10");
    EXPECT_EQ(d.values[kAlien], "+0,10");
    EXPECT_EQ(d.values[kCommon], "+0,20");

    // Midfield: own green 1, 4, 7, 18; blue 2, 5, 11, 14; red 3, 6, 13, 16.
    const DetailPanel m = Fill("Хавбек, LM", Differences({{1, 1}, {18, 1}, {2, 3}, {13, -7}, {12, 2}}));
    EXPECT_EQ(m.values[kProfile], "+0,10");
    EXPECT_EQ(m.values[kGeneral], "+0,15");
    EXPECT_EQ(m.values[kAlien], "-0,35");
    EXPECT_EQ(m.values[kCommon], "+0,10");

    // Forward: own green 2, 3, 5, 13; blue 4, 7, 16, 18; red 1, 6, 11, 14.
    const DetailPanel f = Fill("Нап, FW", Differences({{13, 1}, {16, 1}, {14, -1}, {17, 0}}));
    EXPECT_EQ(f.values[kProfile], "+0,05");
    EXPECT_EQ(f.values[kGeneral], "+0,05");
    EXPECT_EQ(f.values[kAlien], "-0,05");
    EXPECT_EQ(f.values[kCommon], "0,00");

    // A code outside the game's eight has no line, whatever its last letter.
    const DetailPanel x = Fill("Игрок, XD", Differences({{6, 2}, {8, 4}}));
    EXPECT_EQ(x.values[kProfile], "0,00");
    EXPECT_EQ(x.values[kCommon], "0,00");
}

TEST(DetailPanel, MissingDifferencesAreLeftOutOfEverySum) {
    // Only the differences that were formed are given; skill 6 is missing.
    const std::vector<SkillDifference> formed = {{1, 2}, {7, 3}};
    const DetailPanel p = Fill("Игрок, CD", formed);
    EXPECT_EQ(p.values[kLevelChange], "0,3");
    EXPECT_EQ(p.values[kProfile], "0,00");
    EXPECT_EQ(p.values[kGeneral], "+0,15");
    EXPECT_EQ(p.values[kAlien], "+0,10");
}

TEST(DetailPanel, ValuesOfAnEarlierChoiceAreOverwritten) {
    DetailPanel panel;
    FillDetailPanel("Первый, GK", Differences({{21, 8}, {1, -5}}), "3", "20", panel);
    FillDetailPanel("Второй, FW", Differences({}), "2", "19", panel);
    EXPECT_EQ(panel.values[kName], "Второй");
    EXPECT_EQ(panel.values[kLevelChange], "0,0");
    EXPECT_EQ(panel.values[kRise], "нет");
    EXPECT_EQ(panel.values[kFall], "нет");
    for (int r = kProfile; r <= kCommon; ++r)
        EXPECT_EQ(panel.values[static_cast<std::size_t>(r)], "0,00") << r;
}

}  // namespace
}  // namespace cadrix
