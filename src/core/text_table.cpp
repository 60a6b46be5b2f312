#include "core/text_table.h"

#include <algorithm>
#include <stdexcept>

namespace cadrix {

TextTable::TextTable(int colCount, int rowCount) : m_colCount(colCount) { SetRowCount(rowCount); }

void TextTable::SetRowCount(int rowCount) { m_rows.resize(static_cast<std::size_t>(rowCount < 0 ? 0 : rowCount)); }

std::string_view TextTable::Cell(int col, int row) const {
    if (row < 0 || row >= RowCount() || col < 0)
        return {};
    const auto& cells = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= cells.size())
        return {};
    return cells[static_cast<std::size_t>(col)];
}

void TextTable::SetCell(int col, int row, std::string_view text) {
    if (row < 0 || row >= RowCount() || col < 0)
        throw std::out_of_range("Grid index out of range");
    auto& cells = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= cells.size()) {
        // A row is usually written column after column: make room once.
        if (cells.capacity() == 0)
            cells.reserve(std::max(static_cast<std::size_t>(m_colCount), static_cast<std::size_t>(col) + 1));
        cells.resize(static_cast<std::size_t>(col) + 1);
    }
    cells[static_cast<std::size_t>(col)] = text;
}

void TextTable::Clear() {
    for (auto& cells : m_rows)
        cells.clear();
}

std::vector<std::string> TextTable::RowCells(int row) const {
    std::vector<std::string> cells;
    if (row >= 0 && row < RowCount())
        cells = m_rows[static_cast<std::size_t>(row)];
    if (cells.size() < static_cast<std::size_t>(m_colCount))
        cells.resize(static_cast<std::size_t>(m_colCount));
    return cells;
}

}  // namespace cadrix
