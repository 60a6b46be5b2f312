#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cadrix {

// A grid of text cells addressed by (column, row), both from 0, with a fixed
// column count and a current row count. A cell never written reads empty.
// Cutting the row count drops the rows beyond it together with their cells,
// so rows added later start empty. A row may hold cells beyond the column
// count (the extra fields of a long line); nobody reads them, but they are kept.
class TextTable {
public:
    explicit TextTable(int colCount, int rowCount = 0);

    int ColCount() const { return m_colCount; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    void SetRowCount(int rowCount);
    void AddRow() { SetRowCount(RowCount() + 1); }

    // Reading outside the table (a negative index, a row beyond the count)
    // yields the empty text, like any unwritten cell. The view stays valid
    // until the cell is written again or the table's rows are cut.
    std::string_view Cell(int col, int row) const;
    // Writing needs an existing row; the row grows to hold the column.
    void SetCell(int col, int row, std::string_view text);

    // Empties every cell of every row, keeping the row count.
    void Clear();

    // The cells of a row as far as its column count or its last written
    // cell reaches, whichever is more.
    std::vector<std::string> RowCells(int row) const;

private:
    int m_colCount;
    std::vector<std::vector<std::string>> m_rows;
};

}  // namespace cadrix
