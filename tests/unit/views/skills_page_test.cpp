#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "snapshot/skills.h"
#include "views/skills_page.h"

namespace cadrix {
namespace {

using SkillValues = std::vector<std::string>;  // skill 1 first

SkillValues Uniform(const std::string& v) { return SkillValues(kSkillCount, v); }

// A skills table of 29 columns: row 0 a header, then one row per (id, values).
TextTable SkillsTable(const std::vector<std::pair<std::string, SkillValues>>& players) {
    TextTable t(29, static_cast<int>(players.size()) + 1);
    t.SetCell(1, 0, "ИД");
    for (std::size_t i = 0; i < players.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        t.SetCell(1, row, players[i].first);
        for (int k = 1; k <= kSkillCount; ++k)
            t.SetCell(k + 4, row, players[i].second[static_cast<std::size_t>(k - 1)]);
    }
    return t;
}

TextTable ResetGrid() {
    TextTable grid(4, kSkillCount + 1);
    ResetSkillsGrid(grid, "01.01.2026", "01.02.2026");
    return grid;
}

TEST(SkillsPage, ResetWritesHeaderAndNamesAndEmptiesValues) {
    TextTable grid(4, kSkillCount + 1);
    grid.SetCell(1, 5, "17");
    grid.SetCell(3, 24, "-2");
    ResetSkillsGrid(grid, "01.01.2026", "01.02.2026");
    EXPECT_EQ(grid.RowCells(0), (std::vector<std::string>{"Скилл", "01.01.2026", "01.02.2026", "Прогресс"}));
    EXPECT_EQ(grid.Cell(0, 1), "Навесы");
    EXPECT_EQ(grid.Cell(0, 14), "Работоспособность");
    EXPECT_EQ(grid.Cell(0, 24), "Игра руками (врат.)");
    for (int k = 1; k <= kSkillCount; ++k) {
        for (int c = 1; c < 4; ++c)
            EXPECT_EQ(grid.Cell(c, k), "") << c << "," << k;
    }
}

TEST(SkillsPage, DifferencesAreEndMinusStartAndColoured) {
    SkillValues start = Uniform("10"), end = Uniform("10");
    end[0] = "15";     // skill 1: +5
    end[1] = "7";      // skill 2: -3
    start[23] = "-4";  // skill 24: 10 - (-4) = 14
    TextTable grid = ResetGrid();
    const auto formed = FillSkillsGrid(SkillsTable({{"42", start}}), SkillsTable({{"42", end}}), "42", grid);

    EXPECT_EQ(grid.Cell(1, 1), "10");
    EXPECT_EQ(grid.Cell(2, 1), "15");
    EXPECT_EQ(grid.Cell(3, 1), "5");
    EXPECT_EQ(grid.Cell(3, 2), "-3");
    EXPECT_EQ(grid.Cell(3, 3), "0");
    EXPECT_EQ(grid.Cell(3, 24), "14");
    EXPECT_EQ(DrawSkillsCell(grid, "", 3, 1).background, Background::Favourable);
    EXPECT_EQ(DrawSkillsCell(grid, "", 3, 2).background, Background::Unfavourable);
    EXPECT_EQ(DrawSkillsCell(grid, "", 3, 3).background, Background::Grid);

    ASSERT_EQ(formed.size(), 24u);
    for (std::size_t i = 0; i < formed.size(); ++i)
        EXPECT_EQ(formed[i].skill, static_cast<int>(i) + 1);
    EXPECT_EQ(formed[0].difference, 5);
    EXPECT_EQ(formed[1].difference, -3);
    EXPECT_EQ(formed[23].difference, 14);
}

TEST(SkillsPage, ValuesAreCopiedUnchanged) {
    SkillValues start = Uniform("10"), end = Uniform("10");
    start[4] = "+7";
    end[4] = "007";
    TextTable grid = ResetGrid();
    const auto formed = FillSkillsGrid(SkillsTable({{"1", start}}), SkillsTable({{"1", end}}), "1", grid);
    EXPECT_EQ(grid.Cell(1, 5), "+7");
    EXPECT_EQ(grid.Cell(2, 5), "007");
    EXPECT_EQ(grid.Cell(3, 5), "0");
    EXPECT_EQ(formed.size(), 24u);
}

TEST(SkillsPage, NonIntegerSkillIsSkippedAndLeftOutOfTheDifferences) {
    SkillValues start = Uniform("10"), end = Uniform("11");
    start[2] = "abc";
    end[6] = "12,5";
    end[7] = "";
    TextTable grid = ResetGrid();
    const auto formed = FillSkillsGrid(SkillsTable({{"1", start}}), SkillsTable({{"1", end}}), "1", grid);
    EXPECT_EQ(grid.Cell(1, 3), "abc");
    EXPECT_EQ(grid.Cell(3, 3), "");
    EXPECT_EQ(grid.Cell(2, 7), "12,5");
    EXPECT_EQ(grid.Cell(3, 7), "");
    EXPECT_EQ(grid.Cell(3, 8), "");
    EXPECT_EQ(grid.Cell(3, 9), "1");
    ASSERT_EQ(formed.size(), 21u);
    for (const auto& d : formed)
        EXPECT_TRUE(d.skill != 3 && d.skill != 7 && d.skill != 8) << d.skill;
}

TEST(SkillsPage, PlayerMissingFromOneTableNeverShowsTheFormerPlayersValues) {
    const TextTable start = SkillsTable({{"1", Uniform("10")}, {"2", Uniform("20")}});
    const TextTable end = SkillsTable({{"1", Uniform("12")}, {"3", Uniform("33")}});
    TextTable grid = ResetGrid();
    ASSERT_EQ(FillSkillsGrid(start, end, "1", grid).size(), 24u);
    ASSERT_EQ(grid.Cell(3, 1), "2");

    // Player 2 has no end row: columns 2 and 3 are empty, not player 1's.
    EXPECT_TRUE(FillSkillsGrid(start, end, "2", grid).empty());
    for (int k = 1; k <= kSkillCount; ++k) {
        EXPECT_EQ(grid.Cell(1, k), "20") << k;
        EXPECT_EQ(grid.Cell(2, k), "") << k;
        EXPECT_EQ(grid.Cell(3, k), "") << k;
    }
    // Player 3 has no start row: only his end values, no difference.
    EXPECT_TRUE(FillSkillsGrid(start, end, "3", grid).empty());
    for (int k = 1; k <= kSkillCount; ++k) {
        EXPECT_EQ(grid.Cell(0, k), SkillName(k)) << k;
        EXPECT_EQ(grid.Cell(1, k), "") << k;
        EXPECT_EQ(grid.Cell(2, k), "33") << k;
        EXPECT_EQ(grid.Cell(3, k), "") << k;
    }
}

TEST(SkillsPage, LookupTakesTheFirstExactlyMatchingRow) {
    const TextTable start = SkillsTable({{"0123", Uniform("1")}, {"123", Uniform("5")}, {"123", Uniform("9")}});
    const TextTable end = SkillsTable({{"123", Uniform("6")}});
    TextTable grid = ResetGrid();
    FillSkillsGrid(start, end, "123", grid);
    EXPECT_EQ(grid.Cell(1, 1), "5");
    EXPECT_EQ(grid.Cell(3, 1), "1");
}

TEST(SkillsPage, NameAndValueColoursFollowTheLineOfTheChooserText) {
    const Rgb green{0, 128, 0}, blue{0, 0, 255}, red{255, 0, 0};
    struct Case {
        std::string text;
        std::vector<int> green, blue, red;
    };
    const std::vector<Case> cases = {
        {"Петров Иван, CD",
         {6, 8, 9, 10, 11, 12, 14, 15, 16, 17, 19, 20},
         {3, 7, 13, 18},
         {1, 2, 4, 5, 21, 22, 23, 24}},
        {"Вратарь, GK", {8, 9, 10, 12, 14, 15, 17, 19, 20, 21, 22, 23, 24}, {}, {1, 2, 3, 4, 5, 6, 7, 11, 13, 16, 18}},
        {"Форвард, FW", {2, 3, 5, 8, 9, 10, 12, 13, 15, 17, 19, 20}, {4, 7, 16, 18}, {1, 6, 11, 14, 21, 22, 23, 24}},
        {"Хав, CM", {1, 4, 7, 8, 9, 10, 12, 15, 17, 18, 19, 20}, {2, 5, 11, 14}, {3, 6, 13, 16, 21, 22, 23, 24}},
    };
    TextTable grid = ResetGrid();
    for (const auto& c : cases) {
        auto check = [&](const std::vector<int>& skills, const Rgb& colour) {
            for (int k : skills) {
                for (int col = 0; col <= 2; ++col) {
                    const CellStyle s = DrawSkillsCell(grid, c.text, col, k);
                    ASSERT_TRUE(s.text.has_value()) << c.text << " skill " << k;
                    EXPECT_EQ(*s.text, colour) << c.text << " skill " << k << " col " << col;
                    EXPECT_EQ(s.background, Background::Grid);
                }
            }
        };
        EXPECT_EQ(c.green.size() + c.blue.size() + c.red.size(), 24u) << c.text;
        check(c.green, green);
        check(c.blue, blue);
        check(c.red, red);
    }
}

TEST(SkillsPage, NoColourWithoutALineLetterNorOnTheHeader) {
    TextTable grid = ResetGrid();
    for (const std::string text : {"", "Игрок, XX", "Игрок, G"}) {
        for (int k = 1; k <= kSkillCount; ++k) {
            for (int col = 0; col <= 2; ++col)
                EXPECT_FALSE(DrawSkillsCell(grid, text, col, k).text.has_value()) << "'" << text << "' " << k;
        }
    }
    grid.SetCell(3, 0, "-5");
    for (int col = 0; col < 4; ++col) {
        const CellStyle s = DrawSkillsCell(grid, "Вратарь, GK", col, 0);
        EXPECT_FALSE(s.text.has_value()) << col;
        EXPECT_EQ(s.background, Background::Grid) << col;
        EXPECT_EQ(s.align, Align::Center) << col;
    }
}

TEST(SkillsPage, DifferenceCellThatIsNoIntegerIsDrawnAsZero) {
    TextTable grid = ResetGrid();
    for (const std::string text : {"", "abc", "1,5", "-"}) {
        grid.SetCell(3, 4, text);
        EXPECT_EQ(DrawSkillsCell(grid, "A, FW", 3, 4).background, Background::Grid) << "'" << text << "'";
        EXPECT_FALSE(DrawSkillsCell(grid, "A, FW", 3, 4).text.has_value());
    }
}

}  // namespace
}  // namespace cadrix
