#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "period_rows.h"
#include "views/pages.h"

namespace cadrix {
namespace {

using testing::Cells;
using testing::PeriodTable;
using namespace period;

Cells Player(const std::string& name, const std::string& statusStart, const std::string& statusEnd) {
    const bool newcomer = statusStart == kNotAvailable;
    const bool leaver = statusEnd == kNotAvailable;
    return {{kName, name},
            {kPosition, "CD"},
            {kAgeStart, newcomer ? kNotAvailable : "24"},
            {kAgeEnd, leaver ? kNotAvailable : "25"},
            {kCitizenshipStart, newcomer ? kNotAvailable : "Россия"},
            {kCitizenshipEnd, leaver ? kNotAvailable : "Россия"},
            {kNationalStatusStart, statusStart},
            {kNationalStatusEnd, statusEnd},
            {kPresence, newcomer ? "2"
                        : leaver ? "0"
                                 : "1"}};
}

struct NationalFill {
    TextTable grid{8, 1};
    std::vector<NatStatus> status;
    NationalCounters counters;
    TextTable total{kColumns};  // shown by the grid, so kept beside it
    void Run(TextTable filled) {
        total = std::move(filled);
        counters = FillNationalPage(total, grid, status);
    }
};

TEST(NationalPage, CopiesColumnsAndKeepsStatusesHidden) {
    NationalFill f;
    f.Run(PeriodTable({Player("Иванов", "1", "2")}));
    ASSERT_EQ(f.grid.RowCount(), 1);
    EXPECT_EQ(f.grid.Cell(0, 0), "Иванов");
    EXPECT_EQ(f.grid.Cell(1, 0), "CD");
    EXPECT_EQ(f.grid.Cell(2, 0), "24");
    EXPECT_EQ(f.grid.Cell(4, 0), "Россия");
    EXPECT_EQ(f.grid.Cell(5, 0), "25");
    EXPECT_EQ(f.grid.Cell(7, 0), "Россия");
    // The status shows as an icon only.
    EXPECT_EQ(f.grid.Cell(3, 0), "");
    EXPECT_EQ(f.grid.Cell(6, 0), "");
    const CellStyle start = DrawNationalCell(f.grid, f.status, 3, 0);
    const CellStyle end = DrawNationalCell(f.grid, f.status, 6, 0);
    EXPECT_EQ(start.image, CellImage::StatusGold);
    EXPECT_EQ(end.image, CellImage::StatusGreen);
    EXPECT_EQ(start.imageX, 11);
    EXPECT_EQ(end.imageX, 10);
    EXPECT_EQ(start.imageY, 1);
    EXPECT_EQ(end.imageY, 1);
}

TEST(NationalPage, NewcomerAndLeaverAreMirrorImages) {
    NationalFill f;
    f.Run(PeriodTable({Player("Новичок", kNotAvailable, "0"), Player("Ушёл", "0", kNotAvailable)}));
    ASSERT_EQ(f.grid.RowCount(), 2);
    for (int col : {2, 3, 4}) {
        EXPECT_EQ(f.grid.Cell(col, 0), kNotAvailable) << col;
        EXPECT_EQ(DrawNationalCell(f.grid, f.status, col, 0).text, kDimTextColour) << col;
        EXPECT_EQ(f.grid.Cell(col + 3, 1), kNotAvailable) << col;
        EXPECT_EQ(DrawNationalCell(f.grid, f.status, col + 3, 1).text, kDimTextColour) << col;
    }
    EXPECT_EQ(DrawNationalCell(f.grid, f.status, 3, 0).image, CellImage::None);
    EXPECT_EQ(DrawNationalCell(f.grid, f.status, 6, 0).image, CellImage::StatusOutline);
    EXPECT_EQ(DrawNationalCell(f.grid, f.status, 3, 1).image, CellImage::StatusOutline);
    EXPECT_EQ(DrawNationalCell(f.grid, f.status, 6, 1).image, CellImage::None);
    // Each counted once, at the date he was in the club.
    EXPECT_EQ(f.counters.start[0], 1);
    EXPECT_EQ(f.counters.end[0], 1);
}

TEST(NationalPage, StatusCodesGiveIconsAndCounters) {
    struct Case {
        std::string code;
        CellImage icon;
        int counter;  // 0 not called, 1 extended, 2 youth, 3 main, -1 none
    };
    const std::vector<Case> cases = {
        {"0", CellImage::StatusOutline, 0}, {"-1", CellImage::StatusGrey, 1}, {"-2", CellImage::StatusGrey, 1},
        {"-3", CellImage::StatusGrey, -1},  {"2", CellImage::StatusGreen, 2}, {"1", CellImage::StatusGold, 3},
        {"3", CellImage::None, -1},         {"", CellImage::None, -1},        {"abc", CellImage::None, -1},
        {"1,0", CellImage::None, -1},
    };
    for (const auto& c : cases) {
        NationalFill f;
        f.Run(PeriodTable({Player("A", c.code, c.code)}));
        EXPECT_EQ(DrawNationalCell(f.grid, f.status, 3, 0).image, c.icon) << "code '" << c.code << "'";
        EXPECT_EQ(DrawNationalCell(f.grid, f.status, 6, 0).image, c.icon) << "code '" << c.code << "'";
        for (int i = 0; i < 4; ++i) {
            const int expected = i == c.counter ? 1 : 0;
            EXPECT_EQ(f.counters.start[static_cast<std::size_t>(i)], expected) << "code '" << c.code << "' " << i;
            EXPECT_EQ(f.counters.end[static_cast<std::size_t>(i)], expected) << "code '" << c.code << "' " << i;
        }
    }
}

TEST(NationalPage, CountersAddUpOverAllRows) {
    NationalFill f;
    f.Run(PeriodTable({Player("A", "0", "1"), Player("B", "0", "-1"), Player("C", "-2", "-1"), Player("D", "2", "1"),
                       Player("E", kNotAvailable, "1"), Player("F", "1", kNotAvailable)}));
    EXPECT_EQ(f.counters.start, (std::array<int, 4>{2, 1, 1, 1}));
    EXPECT_EQ(f.counters.end, (std::array<int, 4>{0, 2, 0, 3}));
    EXPECT_EQ(CounterText(f.counters.end[3]), "(3)");
}

TEST(NationalPage, EmptyPeriodRowGivesEmptyRowCountedNowhere) {
    NationalFill f;
    f.Run(PeriodTable({Player("A", "1", "1"), Cells{}}));
    ASSERT_EQ(f.grid.RowCount(), 2);
    for (int col = 0; col < 8; ++col) {
        EXPECT_EQ(f.grid.Cell(col, 1), "") << col;
        EXPECT_EQ(DrawNationalCell(f.grid, f.status, col, 1).image, CellImage::None) << col;
    }
    EXPECT_EQ(f.counters.start[3], 1);
    EXPECT_EQ(f.counters.start[0], 0);
}

TEST(NationalPage, SecondFillWithFewerPlayersKeepsNothingOfTheFirst) {
    NationalFill f;
    f.Run(PeriodTable(
        {Player("A", kNotAvailable, "1"), Player("B", kNotAvailable, "1"), Player("C", "1", kNotAvailable)}));
    ASSERT_EQ(f.grid.RowCount(), 3);
    // The view reset of the load run cuts the grid to one emptied row first.
    f.grid.ShowOwnCells();
    f.grid.SetRowCount(1);
    for (int c = 0; c < 8; ++c)
        f.grid.SetCell(c, 0, "");
    f.Run(PeriodTable({Player("X", "0", "0"), Player("Y", "2", "2")}));
    ASSERT_EQ(f.grid.RowCount(), 2);
    EXPECT_EQ(f.grid.Cell(0, 0), "X");
    EXPECT_EQ(f.grid.Cell(3, 1), "");  // row 1 held "n/a" before
    EXPECT_EQ(f.grid.Cell(3, 0), "");
    EXPECT_EQ(DrawNationalCell(f.grid, f.status, 3, 2).image, CellImage::None);
    EXPECT_EQ(DrawNationalCell(f.grid, f.status, 6, 1).image, CellImage::StatusGreen);
    EXPECT_EQ(f.counters.end, (std::array<int, 4>{1, 0, 1, 0}));
}

TEST(NationalPage, AlignsAsTheColumnTable) {
    NationalFill f;
    f.Run(PeriodTable({Player("A", "1", "1")}));
    const Align expected[] = {Align::Left, Align::Center, Align::Right,  Align::Center,
                              Align::Left, Align::Right,  Align::Center, Align::Left};
    for (int col = 0; col < 8; ++col) {
        const CellStyle s = DrawNationalCell(f.grid, f.status, col, 0);
        EXPECT_EQ(s.align, expected[col]) << col;
        EXPECT_EQ(s.background, Background::Grid) << col;
        EXPECT_FALSE(s.text.has_value()) << col;
    }
}

}  // namespace
}  // namespace cadrix
