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

Cells Salaries(const std::string& presence, const std::string& start, const std::string& end) {
    return {{kName, "Игрок"},
            {kPosition, "CM"},
            {kPresence, presence},
            {kSalaryStart, start},
            {kSalaryEnd, end},
            {kContractStart, "2 сезона"},
            {kContractEnd, presence == kLeft ? kNotAvailable : "1 сезон"}};
}

struct ContractsFill {
    TextTable grid{7, 1};
    TextTable total{kColumns};  // shown by the grid, so kept beside it
    TotalsLine totals;
    void Run(TextTable filled) {
        total = std::move(filled);
        totals = FillContractsPage(total, grid);
    }
    Background Bg(int row) const { return DrawContractsCell(grid, 6, row).background; }
};

TEST(ContractsPage, SalaryChangeWhereAFallIsFavourable) {
    struct Case {
        std::string presence, start, end, change;
        Background bg;
    };
    const std::vector<Case> cases = {
        {kInBoth, "1000", "1500", "500", Background::Unfavourable},
        {kInBoth, "1500", "1000", "-500", Background::Favourable},
        {kInBoth, "1000", "1000", "0", Background::Grid},
        {kInBoth, "1000000", "2500000", "1.500.000", Background::Unfavourable},
        {kLeft, "12345", kNotAvailable, "-12.345", Background::Favourable},
        {kLeft, "0", kNotAvailable, "-0", Background::Favourable},
        {kNewcomer, kNotAvailable, "5000", "5.000", Background::Unfavourable},
        {kInBoth, "1000", "abc", "", Background::Unfavourable},
        {kInBoth, "10,5", "1000", "", Background::Unfavourable},
    };
    for (const auto& c : cases) {
        ContractsFill f;
        f.Run(PeriodTable({Salaries(c.presence, c.start, c.end)}));
        const std::string what = c.presence + ": " + c.start + " -> " + c.end;
        EXPECT_EQ(f.grid.Cell(6, 0), c.change) << what;
        EXPECT_EQ(f.Bg(0), c.bg) << what;
    }
}

TEST(ContractsPage, CopiesAndGroupsTheColumns) {
    ContractsFill f;
    f.Run(PeriodTable({Salaries(kInBoth, "12345", "123456")}));
    const std::vector<std::string> expected = {"Игрок", "CM", "12.345", "2 сезона", "123.456", "1 сезон", "111.111"};
    for (int col = 0; col < 7; ++col)
        EXPECT_EQ(f.grid.Cell(col, 0), expected[static_cast<std::size_t>(col)]) << col;
    const Align align[] = {Align::Left,  Align::Center, Align::Right, Align::Right,
                           Align::Right, Align::Right,  Align::Right};
    for (int col = 0; col < 7; ++col)
        EXPECT_EQ(DrawContractsCell(f.grid, col, 0).align, align[col]) << col;
}

TEST(ContractsPage, LeaverShowsNaDimAndCountsAtTheStartOnly) {
    ContractsFill f;
    f.Run(PeriodTable({Salaries(kLeft, "12345", kNotAvailable), Salaries(kNewcomer, kNotAvailable, "5000")}));
    for (int col : {4, 5}) {
        EXPECT_EQ(f.grid.Cell(col, 0), kNotAvailable) << col;
        EXPECT_EQ(DrawContractsCell(f.grid, col, 0).text, kDimTextColour) << col;
    }
    EXPECT_EQ(f.grid.Cell(2, 1), kNotAvailable);
    EXPECT_EQ(DrawContractsCell(f.grid, 2, 1).text, kDimTextColour);
    EXPECT_EQ(f.totals.start, "12.345");
    EXPECT_EQ(f.totals.end, "5.000");
    EXPECT_EQ(f.totals.change, "-7.345");
    EXPECT_EQ(f.totals.shape, ShapeColour::Favourable);
}

TEST(ContractsPage, NonWholeSalaryIsLeftOutOfTheTotals) {
    ContractsFill f;
    f.Run(PeriodTable({Salaries(kInBoth, "1000", "abc"), Salaries(kInBoth, "500", "700")}));
    EXPECT_EQ(f.totals.start, "1.500");
    EXPECT_EQ(f.totals.end, "700");
    EXPECT_EQ(f.totals.change, "-800");
}

TEST(ContractsPage, TotalsShapeFollowsTheSignOfTheChange) {
    struct Case {
        std::string start, end, change;
        ShapeColour shape;
    };
    const std::vector<Case> cases = {
        {"100000", "90000", "-10.000", ShapeColour::Favourable},
        {"90000", "100000", "10.000", ShapeColour::Unfavourable},
        {"50000", "50000", "0", ShapeColour::ButtonFace},
    };
    for (const auto& c : cases) {
        ContractsFill f;
        f.Run(PeriodTable({Salaries(kInBoth, c.start, c.end)}));
        EXPECT_EQ(f.totals.change, c.change) << c.start << " -> " << c.end;
        EXPECT_EQ(f.totals.shape, c.shape) << c.start << " -> " << c.end;
    }
}

TEST(ContractsPage, TotalsDoNotWrapBeyond32Bits) {
    ContractsFill f;
    f.Run(PeriodTable({Salaries(kInBoth, "2000000000", "2100000000"), Salaries(kInBoth, "2000000000", "2100000000")}));
    EXPECT_EQ(f.totals.start, "4.000.000.000");
    EXPECT_EQ(f.totals.end, "4.200.000.000");
    EXPECT_EQ(f.totals.change, "200.000.000");
    EXPECT_EQ(f.totals.shape, ShapeColour::Unfavourable);
}

TEST(ContractsPage, NoDataRowShowsZeroTotalsOnButtonFace) {
    ContractsFill f;
    f.Run(PeriodTable({Salaries(kInBoth, "1000", "1500")}));
    f.Run(TextTable(kColumns, 1));
    EXPECT_EQ(f.grid.RowCount(), 1);
    EXPECT_EQ(f.totals.start, "0");
    EXPECT_EQ(f.totals.end, "0");
    EXPECT_EQ(f.totals.change, "0");
    EXPECT_EQ(f.totals.shape, ShapeColour::ButtonFace);
}

TEST(ContractsPage, OnePlayerRowPerDataRowInTableOrder) {
    ContractsFill f;
    std::vector<Cells> rows;
    for (int i = 0; i < 5; ++i) {
        Cells c = Salaries(kInBoth, "1", "2");
        c.push_back({kName, "P" + std::to_string(i)});
        rows.push_back(c);
    }
    f.Run(PeriodTable(rows));
    ASSERT_EQ(f.grid.RowCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.grid.Cell(0, i), "P" + std::to_string(i));
    f.Run(PeriodTable({Salaries(kInBoth, "1", "1")}));
    ASSERT_EQ(f.grid.RowCount(), 1);
    EXPECT_EQ(f.grid.Cell(0, 4), "");
}

TEST(ContractsPage, NaChangeCellKeepsTheGridBackground) {
    TextTable grid(7, 1);
    grid.SetCell(6, 0, kNotAvailable);
    EXPECT_EQ(DrawContractsCell(grid, 6, 0).background, Background::Grid);
    EXPECT_EQ(DrawContractsCell(grid, 6, 0).text, kDimTextColour);
}

}  // namespace
}  // namespace cadrix
