#include "core/text_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace cadrix {
namespace {

TEST(TextTable, UnwrittenCellsReadEmpty) {
    TextTable t(3, 2);
    EXPECT_EQ(t.Cell(0, 0), "");
    EXPECT_EQ(t.Cell(2, 1), "");
    EXPECT_EQ(t.Cell(5, 7), "");
    EXPECT_EQ(t.Cell(-1, 0), "");
}

TEST(TextTable, CuttingDropsRowsAndTheirCells) {
    TextTable t(2, 3);
    t.SetCell(0, 2, "x");
    t.SetRowCount(2);
    t.SetRowCount(3);
    EXPECT_EQ(t.Cell(0, 2), "");
    EXPECT_EQ(t.RowCount(), 3);
}

TEST(TextTable, KeepsCellsBeyondTheColumnCount) {
    TextTable t(2, 1);
    t.SetCell(3, 0, "extra");
    EXPECT_EQ(t.Cell(3, 0), "extra");
    EXPECT_EQ(t.RowCells(0).size(), 4u);
    EXPECT_EQ(t.RowCells(0)[2], "");
    TextTable u(4, 1);
    u.SetCell(0, 0, "a");
    EXPECT_EQ(u.RowCells(0).size(), 4u);
}

TEST(TextTable, WritingBeyondTheRowsIsAnError) {
    TextTable t(2, 1);
    EXPECT_THROW(t.SetCell(1, -1, "x"), std::out_of_range);
    EXPECT_THROW(t.SetCell(0, 1, "x"), std::out_of_range);
}

// Writes in any order, rewrites, cuts and clears, checked against a plain
// grid of strings; some texts come from the table itself, and some are long
// enough to make a row outgrow two-byte cell ends.
TEST(TextTable, ReadsBackWhatWasWrittenInAnyOrder) {
    std::mt19937 random(7);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    TextTable t(4, 6);
    std::vector<std::vector<std::string>> model(6);
    auto matches = [&](std::size_t r, std::size_t c) {
        const std::string expected = c < model[r].size() ? model[r][c] : "";
        return t.Cell(static_cast<int>(c), static_cast<int>(r)) == expected;
    };
    for (int step = 0; step < 20000; ++step) {
        const int op = below(200);
        if (op < 4) {
            const int rows = below(9);
            t.SetRowCount(rows);
            model.resize(static_cast<std::size_t>(rows));
            if (rows < 6) {
                t.SetRowCount(rows + 3);
                model.resize(static_cast<std::size_t>(rows + 3));
            }
        } else if (op < 6) {
            t.Clear();
            for (auto& row : model)
                row.clear();
        } else if (!model.empty()) {
            const int row = below(static_cast<int>(model.size()));
            const int col = below(7);
            const std::string_view source = t.Cell(below(7), below(static_cast<int>(model.size())));
            const std::size_t length = static_cast<std::size_t>(op < 8 ? 40000 : below(12));
            const std::string own(length, static_cast<char>('a' + below(26)));
            const std::string_view text = op >= 8 && op < 40 ? source : std::string_view(own);
            auto& cells = model[static_cast<std::size_t>(row)];
            if (cells.size() <= static_cast<std::size_t>(col))
                cells.resize(static_cast<std::size_t>(col) + 1);
            cells[static_cast<std::size_t>(col)] = text;
            t.SetCell(col, row, text);
            ASSERT_TRUE(matches(static_cast<std::size_t>(row), static_cast<std::size_t>(col))) << "step " << step;
        }
        ASSERT_EQ(t.RowCount(), static_cast<int>(model.size()));
        if (step % 97 != 0)
            continue;
        for (std::size_t r = 0; r < model.size(); ++r) {
            for (std::size_t c = 0; c < 8; ++c)
                ASSERT_TRUE(matches(r, c)) << "step " << step << ", cell " << c << ", " << r;
        }
    }
}

// A page grid is rewritten at every choice, column by column, which moves
// its rows again and again: the room they leave behind is reclaimed.
TEST(TextTable, RewritingAGridKeepsItsMemoryBounded) {
    TextTable grid(4, 25);
    for (int choice = 0; choice < 5000; ++choice) {
        for (int col = 0; col < 4; ++col) {
            for (int row = 0; row < 25; ++row)
                grid.SetCell(col, row, std::to_string(choice * col + row));
        }
    }
    EXPECT_EQ(grid.Cell(3, 24), std::to_string(4999 * 3 + 24));
    EXPECT_LT(grid.StorageBytes(), 16u * 1024);
}

// A shown column reads the source's cell one row further down here, from
// row 1 on; its own cells are hidden until the showing ends, and cannot be
// written while it lasts.
TEST(TextTable, ShownColumnsReadTheSourceFromTheirFirstRow) {
    TextTable source(2, 4);
    for (int r = 0; r < 4; ++r)
        source.SetCell(1, r, "s" + std::to_string(r));
    TextTable t(3, 3);
    t.SetCell(0, 0, "header");
    t.SetCell(0, 1, "own");
    t.SetCell(2, 1, "computed");
    t.ShowColumns(source, std::vector<TextTable::ShownColumn>{{0, 1}}, 1, 1);
    const std::vector<std::vector<std::string>> shown = {
        {"header", "", ""}, {"s2", "", "computed"}, {"s3", "", ""}};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(t.RowCells(r), shown[static_cast<std::size_t>(r)]) << r;
    EXPECT_THROW(t.SetCell(0, 2, "x"), std::logic_error);
    t.SetCell(1, 2, "beside");
    EXPECT_EQ(t.Cell(1, 2), "beside");
    source.SetCell(1, 3, "changed");
    EXPECT_EQ(t.Cell(0, 2), "changed");
    t.ShowOwnCells();
    EXPECT_EQ(t.Cell(0, 1), "own");
    EXPECT_EQ(t.Cell(0, 2), "");
}

}  // namespace
}  // namespace cadrix
