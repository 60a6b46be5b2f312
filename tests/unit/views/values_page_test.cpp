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

Cells Values(const std::string& name, const std::string& start, const std::string& end) {
    return {{kName, name}, {kPosition, "FW"}, {kValueStart, start}, {kValueEnd, end}};
}

struct ValuesFill {
    TextTable grid{5, 2};
    TotalsLine totals;
    ValuesFill() {
        const char* header[] = {"Игрок", "Поз.", "01.01.2026", "01.02.2026", "Прогресс"};
        for (int c = 0; c < 5; ++c)
            grid.SetCell(c, 0, header[c]);
    }
    TextTable total{kColumns};  // shown by the grid, so kept beside it
    void Run(TextTable filled) {
        total = std::move(filled);
        totals = FillValuesPage(total, grid);
    }
};

TEST(ValuesPage, PlayersGoBelowTheKeptHeaderRow) {
    ValuesFill f;
    f.Run(PeriodTable({Values("A", "1", "2"), Values("B", "3", "4")}));
    ASSERT_EQ(f.grid.RowCount(), 3);
    EXPECT_EQ(f.grid.Cell(0, 0), "Игрок");
    EXPECT_EQ(f.grid.Cell(4, 0), "Прогресс");
    EXPECT_EQ(f.grid.Cell(0, 1), "A");
    EXPECT_EQ(f.grid.Cell(1, 1), "FW");
    EXPECT_EQ(f.grid.Cell(0, 2), "B");
    // The header is centred and its "Прогресс" keeps the grid's background.
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(DrawValuesCell(f.grid, c, 0).align, Align::Center) << c;
    EXPECT_EQ(DrawValuesCell(f.grid, 4, 0).background, Background::Grid);
    const Align align[] = {Align::Left, Align::Center, Align::Right, Align::Right, Align::Right};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(DrawValuesCell(f.grid, c, 1).align, align[c]) << c;
}

TEST(ValuesPage, ValueChangeWhereGrowthIsFavourable) {
    struct Case {
        std::string start, end, shownStart, shownEnd, change;
        Background bg;
    };
    const std::vector<Case> cases = {
        {"1500000", "1750000", "1.500.000", "1.750.000", "250.000", Background::Favourable},
        {"1750000", "1500000", "1.750.000", "1.500.000", "-250.000", Background::Unfavourable},
        {"1500000", "1500000", "1.500.000", "1.500.000", "0", Background::Grid},
        {kNotAvailable, "1000", kNotAvailable, "1.000", kNotAvailable, Background::Grid},
        {"1000", kNotAvailable, "1.000", kNotAvailable, kNotAvailable, Background::Grid},
        {"12,5", "20", "1.2,5", "20", kNotAvailable, Background::Grid},
        {"", "20", "", "20", kNotAvailable, Background::Grid},
    };
    for (const auto& c : cases) {
        ValuesFill f;
        f.Run(PeriodTable({Values("A", c.start, c.end)}));
        const std::string what = c.start + " -> " + c.end;
        EXPECT_EQ(f.grid.Cell(2, 1), c.shownStart) << what;
        EXPECT_EQ(f.grid.Cell(3, 1), c.shownEnd) << what;
        EXPECT_EQ(f.grid.Cell(4, 1), c.change) << what;
        EXPECT_EQ(DrawValuesCell(f.grid, 4, 1).background, c.bg) << what;
        for (int col = 0; col < 5; ++col) {
            const bool na = f.grid.Cell(col, 1) == kNotAvailable;
            EXPECT_EQ(DrawValuesCell(f.grid, col, 1).text.has_value(), na) << what << " col " << col;
            if (na) {
                EXPECT_EQ(*DrawValuesCell(f.grid, col, 1).text, kDimTextColour) << what;
            }
        }
    }
}

TEST(ValuesPage, NewcomersAndLeaversCountAtTheirDateOnly) {
    ValuesFill f;
    f.Run(PeriodTable({Values("leaver", "3000000", kNotAvailable), Values("newcomer", kNotAvailable, "1000000"),
                       Values("both", "7000000", "8500000"), Values("odd", "12,5", "x")}));
    EXPECT_EQ(f.totals.start, "10.000.000");
    EXPECT_EQ(f.totals.end, "9.500.000");
    EXPECT_EQ(f.totals.change, "-500.000");
    EXPECT_EQ(f.totals.shape, ShapeColour::Unfavourable);
}

TEST(ValuesPage, TotalsShapeAndWideSums) {
    ValuesFill f;
    f.Run(PeriodTable({Values("A", "2000000000", "2000000000"), Values("B", "2000000000", "2147483647")}));
    EXPECT_EQ(f.totals.start, "4.000.000.000");
    EXPECT_EQ(f.totals.end, "4.147.483.647");
    EXPECT_EQ(f.totals.change, "147.483.647");
    EXPECT_EQ(f.totals.shape, ShapeColour::Favourable);

    ValuesFill g;
    g.Run(PeriodTable({Values("A", "5", "5")}));
    EXPECT_EQ(g.totals.change, "0");
    EXPECT_EQ(g.totals.shape, ShapeColour::ButtonFace);
}

TEST(ValuesPage, NoDataRowShowsZeroTotalsAndKeepsTwoRows) {
    ValuesFill f;
    f.Run(PeriodTable({Values("A", "1", "2"), Values("B", "3", "4")}));
    f.Run(TextTable(kColumns, 1));
    EXPECT_EQ(f.grid.RowCount(), 2);
    EXPECT_EQ(f.totals.start, "0");
    EXPECT_EQ(f.totals.end, "0");
    EXPECT_EQ(f.totals.change, "0");
    EXPECT_EQ(f.totals.shape, ShapeColour::ButtonFace);
}

TEST(ValuesPage, ChangeColourReadsTheFirstCharacter) {
    TextTable grid(5, 2);
    struct Case {
        std::string text;
        Background bg;
    };
    const std::vector<Case> cases = {{"-1", Background::Unfavourable}, {"0", Background::Grid},
                                     {"05", Background::Grid},         {"1.000", Background::Favourable},
                                     {"", Background::Grid},           {kNotAvailable, Background::Grid}};
    for (const auto& c : cases) {
        grid.SetCell(4, 1, c.text);
        EXPECT_EQ(DrawValuesCell(grid, 4, 1).background, c.bg) << "'" << c.text << "'";
        // Only the change column is ever coloured.
        grid.SetCell(3, 1, c.text);
        EXPECT_EQ(DrawValuesCell(grid, 3, 1).background, Background::Grid) << "'" << c.text << "'";
    }
}

}  // namespace
}  // namespace cadrix
