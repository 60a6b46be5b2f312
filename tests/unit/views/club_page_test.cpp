#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/pages.h"

namespace cadrix {
namespace {

// Two team tables of 17 rows: caption "Fr" (r the row) and the given values.
struct Teams {
    TextTable start{2, 17};
    TextTable end{2, 17};
    TextTable grid{4, 17};

    Teams() {
        for (int r = 1; r <= 16; ++r) {
            start.SetCell(0, r, "F" + std::to_string(r));
            end.SetCell(0, r, "E" + std::to_string(r));
        }
    }
    void Set(int row, const std::string& s, const std::string& e) {
        start.SetCell(1, row, s);
        end.SetCell(1, row, e);
    }
};

TEST(ClubPage, GroupsRowsNineTenTwelveAndTheirChange) {
    Teams t;
    t.Set(9, "1500000", "1250000");
    t.Set(10, "1234,5", "1234,5");
    t.Set(12, "999", "1000");
    t.Set(11, "1500000", "1250000");
    FillClubPage(t.start, t.end, t.grid);

    EXPECT_EQ(t.grid.Cell(1, 9), "1.500.000");
    EXPECT_EQ(t.grid.Cell(2, 9), "1.250.000");
    EXPECT_EQ(t.grid.Cell(3, 9), "-250.000");
    EXPECT_EQ(DrawClubCell(t.grid, 3, 9).background, Background::Unfavourable);
    // Grouping counts characters, and the change comes from the raw values.
    EXPECT_EQ(t.grid.Cell(1, 10), "123.4,5");
    EXPECT_EQ(t.grid.Cell(3, 10), "0");
    EXPECT_EQ(t.grid.Cell(3, 12), "1");
    // Row 11 is not grouped, neither values nor change.
    EXPECT_EQ(t.grid.Cell(1, 11), "1500000");
    EXPECT_EQ(t.grid.Cell(3, 11), "-250000");
}

TEST(ClubPage, RowsOneToEightNeverShowAChange) {
    Teams t;
    for (int r = 1; r <= 8; ++r)
        t.Set(r, "10", "20");
    t.grid.SetCell(3, 5, "kept");
    FillClubPage(t.start, t.end, t.grid);
    for (int r = 1; r <= 8; ++r) {
        EXPECT_EQ(t.grid.Cell(1, r), "10") << r;
        EXPECT_EQ(t.grid.Cell(2, r), "20") << r;
        if (r != 5) {
            EXPECT_EQ(t.grid.Cell(3, r), "") << r;
        }
    }
    EXPECT_EQ(t.grid.Cell(3, 5), "kept");
}

TEST(ClubPage, ShowsTheStartCaptionsOnly) {
    Teams t;
    FillClubPage(t.start, t.end, t.grid);
    for (int r = 1; r <= 16; ++r)
        EXPECT_EQ(t.grid.Cell(0, r), "F" + std::to_string(r));
}

TEST(ClubPage, DecimalChangesAndNonNumbers) {
    Teams t;
    t.Set(13, "10,5", "11");
    t.Set(14, "<нет данных>", "3");
    t.Set(15, "", "");
    t.Set(16, "abc", "3");
    FillClubPage(t.start, t.end, t.grid);
    EXPECT_EQ(t.grid.Cell(3, 13), "0,5");
    EXPECT_EQ(t.grid.Cell(3, 14), "-");
    EXPECT_EQ(t.grid.Cell(3, 15), "-");
    EXPECT_EQ(t.grid.Cell(3, 16), "-");
    // The values stay shown beside the "-".
    EXPECT_EQ(t.grid.Cell(1, 14), "<нет данных>");
    EXPECT_EQ(t.grid.Cell(1, 16), "abc");
}

TEST(ClubPage, ShortTeamFileLeavesMissingRowsEmptyWithDash) {
    Teams t;
    t.start.SetRowCount(10);
    t.end.SetRowCount(10);
    t.Set(9, "5", "6");
    FillClubPage(t.start, t.end, t.grid);
    EXPECT_EQ(t.grid.Cell(3, 9), "1");
    for (int r = 10; r <= 16; ++r) {
        EXPECT_EQ(t.grid.Cell(0, r), "") << r;
        EXPECT_EQ(t.grid.Cell(1, r), "") << r;
        EXPECT_EQ(t.grid.Cell(3, r), "-") << r;
    }
}

TEST(ClubPage, ChangeColoursFollowRulesAAndB) {
    struct Case {
        int row;
        std::string start, end, change;
        Background bg;
    };
    const std::vector<Case> cases = {
        {11, "12", "12", "0", Background::Grid},
        {11, "12", "19", "7", Background::Grid},  // one character: no colour
        {11, "12", "25", "13", Background::Favourable},
        {11, "12", "5", "-7", Background::Unfavourable},
        {13, "10,5", "11", "0,5", Background::Favourable},
        {14, "x", "1", "-", Background::Unfavourable},
        {15, "", "", "-", Background::Unfavourable},
        {16, "5", "3", "-2", Background::Favourable},
        {16, "3", "5", "2", Background::Unfavourable},
        {16, "4", "4", "0", Background::Grid},
        {16, "x", "4", "-", Background::Favourable},
    };
    for (const auto& c : cases) {
        Teams t;
        t.Set(c.row, c.start, c.end);
        FillClubPage(t.start, t.end, t.grid);
        EXPECT_EQ(t.grid.Cell(3, c.row), c.change) << "row " << c.row << " " << c.start << " -> " << c.end;
        EXPECT_EQ(DrawClubCell(t.grid, 3, c.row).background, c.bg)
            << "row " << c.row << " " << c.start << " -> " << c.end;
    }
}

TEST(ClubPage, RuleBColoursAnEmptyCellUnfavourable) {
    TextTable grid(4, 17);
    EXPECT_EQ(DrawClubCell(grid, 3, 16).background, Background::Unfavourable);
    EXPECT_EQ(DrawClubCell(grid, 3, 9).background, Background::Grid);
}

TEST(ClubPage, TextRowsAreDimAndLeftAligned) {
    TextTable grid(4, 17);
    grid.SetCell(3, 4, "-5");
    for (int r = 1; r <= 8; ++r) {
        for (int c = 1; c <= 3; ++c) {
            const CellStyle s = DrawClubCell(grid, c, r);
            ASSERT_TRUE(s.text.has_value()) << c << "," << r;
            EXPECT_EQ(*s.text, kDimTextColour);
            EXPECT_EQ(s.align, Align::Left);
            EXPECT_EQ(s.background, Background::Grid);
        }
        const CellStyle caption = DrawClubCell(grid, 0, r);
        EXPECT_FALSE(caption.text.has_value());
        EXPECT_EQ(caption.align, Align::Left);
    }
}

TEST(ClubPage, AlignsHeaderCentredAndFiguresRight) {
    TextTable grid(4, 17);
    grid.SetCell(3, 0, "Разница");
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(DrawClubCell(grid, c, 0).align, Align::Center) << c;
        EXPECT_EQ(DrawClubCell(grid, c, 0).background, Background::Grid) << c;
    }
    for (int r = 9; r <= 16; ++r) {
        EXPECT_EQ(DrawClubCell(grid, 0, r).align, Align::Left) << r;
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(DrawClubCell(grid, c, r).align, Align::Right) << c << "," << r;
    }
}

}  // namespace
}  // namespace cadrix
