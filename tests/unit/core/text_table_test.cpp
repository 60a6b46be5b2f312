#include "core/text_table.h"

#include <gtest/gtest.h>

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
    EXPECT_THROW(t.SetCell(0, 1, "x"), std::out_of_range);
}

}  // namespace
}  // namespace cadrix
