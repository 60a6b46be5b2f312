#include "core/text_table.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>
#include <utility>

namespace cadrix {

namespace {

// Space left behind by moved and dropped rows is reclaimed once it outweighs
// the cells in use, and is at least this much: a small grid rewritten cell by
// cell is not compacted at every write.
constexpr std::size_t kMinWasteBytes = 4096;

// Cells are counted in 32 bits from the start of the table.
constexpr std::size_t kMaxCells = std::numeric_limits<std::uint32_t>::max();

// The index of a table's next cell, when `more` cells are to follow it.
std::uint32_t NextCell(std::size_t cells, std::size_t more) {
    if (more > kMaxCells - cells)
        throw std::length_error("Grid too large");
    return static_cast<std::uint32_t>(cells);
}

}  // namespace

TextTable::TextTable(int colCount, int rowCount) : m_colCount(colCount) { SetRowCount(rowCount); }

void TextTable::SetRowCount(int rowCount) {
    const auto count = static_cast<std::size_t>(rowCount < 0 ? 0 : rowCount);
    if (count < m_rows.size())
        DropRows(count);
    else
        m_rows.resize(count);
}

void TextTable::WriteCell(int col, int row, std::string_view text) {
    if (row < 0 || row >= RowCount() || col < 0)
        throw std::out_of_range("Grid index out of range");
    // Text read from this very table may move while the cell is written.
    const std::less<const char*> before;
    if (!text.empty() && !before(text.data(), m_text.data()) && before(text.data(), m_text.data() + m_text.size())) {
        const std::string copy(text);
        WriteCell(col, row, copy);
        return;
    }
    const auto index = static_cast<std::size_t>(row);
    Row& r = m_rows[index];
    const bool moved = index != m_lastRow && r.count != 0;
    if (index != m_lastRow) {
        if (moved) {
            MoveToEnd(r);
        } else {
            r.text = m_text.size();
            r.cells = NextCell(m_ends.size(), 1);
        }
        m_lastRow = index;
    }
    ReplaceInLastRow(r, static_cast<std::uint32_t>(col), text);
    if (moved)
        CompactIfWasteful();
}

void TextTable::Reserve(std::size_t cells, std::size_t textBytes) {
    m_ends.Reserve(m_ends.size() + cells);
    m_text.reserve(m_text.size() + textBytes);
}

void TextTable::Clear() {
    for (Row& r : m_rows)
        r.count = 0;
    m_text.clear();
    m_ends.Clear();
    m_lastRow = kNoRow;
    m_liveText = 0;
    m_liveCells = 0;
}

std::vector<std::string> TextTable::RowCells(int row) const {
    const std::uint32_t count = row >= 0 && row < RowCount() ? m_rows[static_cast<std::size_t>(row)].count : 0;
    const std::size_t size = std::max<std::size_t>(count, static_cast<std::size_t>(m_colCount));
    std::vector<std::string> cells;
    cells.reserve(size);
    for (std::size_t c = 0; c < size; ++c)
        cells.emplace_back(Cell(static_cast<int>(c), row));
    return cells;
}

void TextTable::ShowColumns(const TextTable& source, std::span<const ShownColumn> columns, int firstRow,
                            int rowShift) {
    if (&source == this)
        throw std::invalid_argument("Grid cannot show its own columns");
    std::vector<int> shown(static_cast<std::size_t>(std::max(m_colCount, 0)), -1);
    for (const auto& [col, sourceCol] : columns) {
        if (col < 0 || col >= m_colCount || sourceCol < 0)
            throw std::out_of_range("Grid index out of range");
        shown[static_cast<std::size_t>(col)] = sourceCol;
    }
    m_source = &source;
    m_shown = std::move(shown);
    m_shownFrom = std::max(firstRow, 0);
    m_shownShift = rowShift;
}

void TextTable::ShowOwnCells() {
    m_source = nullptr;
    m_shown.clear();
    m_shownFrom = 0;
    m_shownShift = 0;
}

void TextTable::ThrowShown() { throw std::logic_error("Grid cell shows another table"); }

std::size_t TextTable::StorageBytes() const {
    return m_text.capacity() + m_ends.Capacity() * m_ends.Width() + m_rows.capacity() * sizeof(Row);
}

void TextTable::MoveToEnd(Row& row) {
    const std::size_t size = RowTextSize(row);
    const std::size_t textAt = m_text.size();
    m_text.reserve(textAt + size);  // first, so that the copy reads from where it writes
    m_text.append(m_text.data() + row.text, size);
    const std::uint32_t cellsAt = NextCell(m_ends.size(), row.count);
    const std::size_t cellsEnd = std::size_t{cellsAt} + row.count;
    if (m_ends.Capacity() < cellsEnd)
        m_ends.Reserve(std::max(cellsEnd, 2 * m_ends.Capacity()));
    m_ends.Resize(cellsEnd);
    m_ends.CopyWithin(row.cells, row.count, cellsAt);
    row.text = textAt;
    row.cells = cellsAt;
}

void TextTable::ReplaceInLastRow(Row& row, std::uint32_t col, std::string_view text) {
    const std::size_t rowSize = RowTextSize(row);
    if (col >= row.count) {
        if (rowSize + text.size() > kMaxRowText)
            throw std::length_error("Grid row too long");
        NextCell(m_ends.size(), std::size_t{col} + 1 - row.count);
        // Columns skipped over become empty cells.
        if (col > row.count)
            m_ends.Resize(m_ends.size() + (col - row.count), static_cast<std::uint32_t>(rowSize));
        m_ends.PushBack(static_cast<std::uint32_t>(rowSize + text.size()));
        m_text.append(text);
        m_liveCells += col + 1 - row.count;
        m_liveText += text.size();
        row.count = col + 1;
        return;
    }
    const std::size_t at = row.cells + col;
    const std::size_t begin = col == 0 ? 0 : m_ends[at - 1];
    const std::size_t oldSize = m_ends[at] - begin;
    if (rowSize - oldSize + text.size() > kMaxRowText)
        throw std::length_error("Grid row too long");
    m_text.replace(row.text + begin, oldSize, text);
    // Unsigned arithmetic wraps, so a shorter text subtracts.
    const auto delta = static_cast<std::uint32_t>(text.size() - oldSize);
    for (std::size_t k = at; k < row.cells + row.count; ++k)
        m_ends.Set(k, m_ends[k] + delta);
    m_liveText = m_liveText - oldSize + text.size();
}

void TextTable::DropRows(std::size_t from) {
    if (m_liveCells == 0) {
        m_rows.resize(from);
        return;
    }
    for (std::size_t r = from; r < m_rows.size(); ++r) {
        m_liveText -= RowTextSize(m_rows[r]);
        m_liveCells -= m_rows[r].count;
    }
    m_rows.resize(from);
    if (m_liveCells == 0) {
        // Nothing is left. A table emptied for the next load keeps its room
        // when this load used a fair part of it (growth by doubling leaves up
        // to half unused), as the next load likely will; room left over from
        // an earlier, much larger load goes back.
        const bool roomy = m_text.capacity() > 4 * m_text.size() + kMinWasteBytes ||
                           m_ends.Capacity() > 4 * m_ends.size() + kMinWasteBytes / m_ends.Width();
        Clear();
        if (roomy) {
            std::string().swap(m_text);
            m_ends.Release();
        }
        return;
    }
    // The dropped rows are usually the last in the buffer: cut it back.
    // Rows lie in the buffer in the order they were placed, text and cell
    // ends alike, so the kept row whose cells end last ends the text too.
    std::size_t cellsEnd = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        if (r.count != 0 && r.cells + r.count > cellsEnd) {
            cellsEnd = r.cells + r.count;
            m_lastRow = i;
        }
    }
    const Row& last = m_rows[m_lastRow];
    m_text.resize(last.text + RowTextSize(last));
    m_ends.Resize(cellsEnd);
    CompactIfWasteful();
}

void TextTable::CompactIfWasteful() {
    const std::size_t live = m_liveText + m_liveCells * m_ends.Width();
    const std::size_t used = m_text.size() + m_ends.size() * m_ends.Width();
    if (used - live > std::max(live, kMinWasteBytes))
        Compact();
}

void TextTable::Compact() {
    std::string text;
    text.reserve(m_liveText);
    // Two bytes a cell again, unless a row kept still needs four.
    CellEnds ends;
    ends.Reserve(m_liveCells);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& r = m_rows[i];
        if (r.count == 0)
            continue;
        m_lastRow = i;
        const std::size_t textAt = text.size();
        const auto cellsAt = static_cast<std::uint32_t>(ends.size());
        text.append(m_text, r.text, RowTextSize(r));
        ends.Append(m_ends, r.cells, r.count);
        r.text = textAt;
        r.cells = cellsAt;
    }
    m_text.swap(text);
    m_ends = std::move(ends);
}

void TextTable::CellEnds::Set(std::size_t i, std::uint32_t end) {
    if (end > kShortMax && !m_wide)
        Widen();
    if (m_wide)
        m_long[i] = end;
    else
        m_short[i] = static_cast<std::uint16_t>(end);
}

void TextTable::CellEnds::Resize(std::size_t size, std::uint32_t end) {
    if (end > kShortMax && !m_wide)
        Widen();
    if (m_wide)
        m_long.resize(size, end);
    else
        m_short.resize(size, static_cast<std::uint16_t>(end));
}

void TextTable::CellEnds::Reserve(std::size_t capacity) {
    if (m_wide)
        m_long.reserve(capacity);
    else
        m_short.reserve(capacity);
}

void TextTable::CellEnds::CopyWithin(std::size_t from, std::size_t count, std::size_t to) {
    const auto first = static_cast<std::ptrdiff_t>(from);
    const auto last = static_cast<std::ptrdiff_t>(from + count);
    const auto target = static_cast<std::ptrdiff_t>(to);
    if (m_wide)
        std::copy(m_long.begin() + first, m_long.begin() + last, m_long.begin() + target);
    else
        std::copy(m_short.begin() + first, m_short.begin() + last, m_short.begin() + target);
}

void TextTable::CellEnds::Append(const CellEnds& other, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        PushBack(other[i]);
}

void TextTable::CellEnds::Clear() {
    m_short.clear();
    m_long.clear();
}

void TextTable::CellEnds::Release() {
    std::vector<std::uint16_t>().swap(m_short);
    std::vector<std::uint32_t>().swap(m_long);
    m_wide = false;
}

void TextTable::CellEnds::Widen() {
    m_long.reserve(std::max(m_short.capacity(), m_short.size() + 1));
    m_long.assign(m_short.begin(), m_short.end());
    std::vector<std::uint16_t>().swap(m_short);
    m_wide = true;
}

}  // namespace cadrix
