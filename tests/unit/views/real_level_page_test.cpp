#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "period_rows.h"
#include "views/pages.h"

namespace cadrix {
namespace {

using testing::Cells;
using testing::PeriodTable;
using namespace period;

Cells Levels(const std::string& start, const std::string& end, const std::string& talent = "3") {
    return {{kName, "Петров"},        {kTalent, talent},
            {kPosition, "LM"},        {kAgeStart, start == kNotAvailable ? kNotAvailable : "21"},
            {kRealLevelStart, start}, {kAgeEnd, end == kNotAvailable ? kNotAvailable : "22"},
            {kRealLevelEnd, end}};
}

TEST(RealLevelPage, CopiesColumnsUnchangedInTheirOrder) {
    TextTable grid(8, 1);
    const TextTable total = PeriodTable({Levels("1234,5", "1300")});
    FillRealLevelPage(total, grid);
    const std::vector<std::string> expected = {"Петров", "3", "LM", "21", "1234,5", "22", "1300", "65,5"};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(grid.Cell(c, 0), expected[static_cast<std::size_t>(c)]) << c;
    const Align align[] = {Align::Left,  Align::Center, Align::Center, Align::Right,
                           Align::Right, Align::Right,  Align::Right,  Align::Right};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(DrawRealLevelCell(grid, c, 0).align, align[c]) << c;
}

TEST(RealLevelPage, LevelChangeInDecimalFormAndItsColour) {
    struct Case {
        std::string start, end, change;
        Background bg;
    };
    const std::vector<Case> cases = {
        {"45,3", "47,1", "1,8", Background::Favourable},
        {"50", "48,5", "-1,5", Background::Unfavourable},
        {"50", "50", "0", Background::Grid},
        {"60,25", "60,5", "0,25", Background::Favourable},
        {"0,1", "0,3", "0,2", Background::Favourable},
        {kNotAvailable, "50", kNotAvailable, Background::Grid},
        {"50", kNotAvailable, kNotAvailable, Background::Grid},
        {"45.3", "47,1", kNotAvailable, Background::Grid},
        {"", "", kNotAvailable, Background::Grid},
    };
    for (const auto& c : cases) {
        TextTable grid(8, 1);
        const TextTable total = PeriodTable({Levels(c.start, c.end)});
        FillRealLevelPage(total, grid);
        const std::string what = c.start + " -> " + c.end;
        EXPECT_EQ(grid.Cell(7, 0), c.change) << what;
        EXPECT_EQ(DrawRealLevelCell(grid, 7, 0).background, c.bg) << what;
    }
}

TEST(RealLevelPage, NewcomerAndLeaverShowDimNa) {
    TextTable grid(8, 1);
    const TextTable total = PeriodTable({Levels(kNotAvailable, "50"), Levels("50", kNotAvailable)});
    FillRealLevelPage(total, grid);
    ASSERT_EQ(grid.RowCount(), 2);
    for (int c : {3, 4, 7}) {
        EXPECT_EQ(grid.Cell(c, 0), kNotAvailable) << c;
        EXPECT_EQ(DrawRealLevelCell(grid, c, 0).text, kDimTextColour) << c;
    }
    for (int c : {5, 6, 7}) {
        EXPECT_EQ(grid.Cell(c, 1), kNotAvailable) << c;
        EXPECT_EQ(DrawRealLevelCell(grid, c, 1).text, kDimTextColour) << c;
    }
    EXPECT_FALSE(DrawRealLevelCell(grid, 6, 0).text.has_value());
}

TEST(RealLevelPage, TalentColours) {
    struct Case {
        std::string talent;
        Rgb colour;
    };
    const std::vector<Case> cases = {
        {"2", {0, 128, 0}}, {"3", {0, 0, 255}}, {"4", {255, 128, 64}}, {"5", {255, 0, 0}},         {"1", {0, 0, 0}},
        {"0", {0, 0, 0}},   {"7", {0, 0, 0}},   {"x", {0, 0, 0}},      {kNotAvailable, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        TextTable grid(8, 1);
        const TextTable total = PeriodTable({Levels("1", "2", c.talent)});
        FillRealLevelPage(total, grid);
        const CellStyle s = DrawRealLevelCell(grid, 1, 0);
        ASSERT_TRUE(s.text.has_value()) << c.talent;
        EXPECT_EQ(*s.text, c.colour) << "talent " << c.talent;
        EXPECT_EQ(s.align, Align::Center);
    }
}

TEST(RealLevelPage, EmptyPeriodRowGivesEmptyCellsAndNa) {
    TextTable grid(8, 1);
    const TextTable total = PeriodTable({Levels("1", "2"), Cells{}});
    FillRealLevelPage(total, grid);
    ASSERT_EQ(grid.RowCount(), 2);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid.Cell(c, 1), "") << c;
    EXPECT_EQ(grid.Cell(7, 1), kNotAvailable);
}

TEST(RealLevelPage, RefillWithFewerPlayersDropsTheRest) {
    TextTable grid(8, 1);
    const TextTable total = PeriodTable({Levels("1", "2"), Levels("3", "4"), Levels("5", "6")});
    FillRealLevelPage(total, grid);
    ASSERT_EQ(grid.RowCount(), 3);
    const TextTable fewer = PeriodTable({Levels("7", "9")});
    FillRealLevelPage(fewer, grid);
    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cell(7, 0), "2");
    EXPECT_EQ(grid.Cell(7, 1), "");
}

TEST(RealLevelPage, DrawTreatsAnUnreadableChangeAsZero) {
    TextTable grid(8, 1);
    grid.SetCell(7, 0, "abc");
    EXPECT_EQ(DrawRealLevelCell(grid, 7, 0).background, Background::Grid);
    grid.SetCell(7, 0, "-0,0000001");
    EXPECT_EQ(DrawRealLevelCell(grid, 7, 0).background, Background::Unfavourable);
}

}  // namespace
}  // namespace cadrix
