#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cadrix {

// A grid of text cells addressed by (column, row), both from 0, with a fixed
// column count and a current row count. A cell never written reads empty.
// Cutting the row count drops the rows beyond it together with their cells,
// so rows added later start empty. A row may hold cells beyond the column
// count (the extra fields of a long line); nobody reads them, but they are kept.
//
// The cells of a table live in one text buffer, each row's cells side by side
// with only their end offsets beside them (two bytes a cell while every row is
// shorter than 64 KiB, four bytes after), so that a table takes little more
// memory than its text. A row is written in place while it is the last one in
// the buffer; writing to an earlier row moves that row to the end, and the
// space left behind is reclaimed once it outweighs the cells.
//
// Columns may show another table's columns in place of cells of their own
// (ShowColumns), so that a table that repeats another's texts row for row
// does not copy them.
class TextTable {
public:
    explicit TextTable(int colCount, int rowCount = 0);

    // A column of this table and the column of the source table it shows.
    struct ShownColumn {
        int col;
        int sourceCol;
    };

    int ColCount() const { return m_colCount; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    void SetRowCount(int rowCount);
    void AddRow() { SetRowCount(RowCount() + 1); }

    // Reading outside the table (a negative index, a row beyond the count)
    // yields the empty text, like any unwritten cell. The view stays valid
    // until the table is next changed (a cell written, the rows cut, cleared).
    std::string_view Cell(int col, int row) const {
        if (row < 0 || row >= RowCount() || col < 0)
            return {};
        if (const int sourceCol = ShownSourceCol(col, row); sourceCol >= 0)
            return m_source->Cell(sourceCol, row + m_shownShift);
        const Row& r = m_rows[static_cast<std::size_t>(row)];
        const auto c = static_cast<std::size_t>(col);
        if (c >= r.count)
            return {};
        const std::size_t begin = c == 0 ? 0 : m_ends[r.cells + c - 1];
        return {m_text.data() + r.text + begin, m_ends[r.cells + c] - begin};
    }
    // Writing needs an existing row; the row grows to hold the column. A
    // cell that shows another table's cannot be written (std::logic_error).
    void SetCell(int col, int row, std::string_view text) {
        if (ShownSourceCol(col, row) >= 0)
            ThrowShown();
        if (IsNextCellOfLastRow(col, row, text))
            AppendToLastRow(text);
        else
            WriteCell(col, row, text);
    }

    // Makes room for `cells` more cells holding `textBytes` more bytes, for a
    // caller that knows how much it is about to write.
    void Reserve(std::size_t cells, std::size_t textBytes);

    // Empties every cell of the table's own, keeping the row count; shown
    // columns go on showing.
    void Clear();

    // From row `firstRow` on, cell (col, row) of each of `columns` reads cell
    // (sourceCol, row + rowShift) of `source`, in place of any cell of this
    // table's own there, which stays hidden until the showing ends. The
    // source is referred to, not copied: it must outlive the showing, and
    // what it holds when a cell is read is what the cell reads; a copy of
    // this table shows the same source. Replaces any earlier showing.
    void ShowColumns(const TextTable& source, std::span<const ShownColumn> columns, int firstRow, int rowShift);
    void ShowColumns(const TextTable&& source, std::span<const ShownColumn> columns, int firstRow,
                     int rowShift) = delete;
    // Ends the showing: every cell reads this table's own again.
    void ShowOwnCells();

    // Lays the rows out one after the other in row order, for a table that
    // was written out of order and is read in order: reading it then walks
    // memory front to back.
    void Pack() { Compact(); }

    // The cells of a row as far as its column count or its last written
    // cell reaches, whichever is more.
    std::vector<std::string> RowCells(int row) const;

    // The bytes the table holds for its cells, reserve included: what its
    // memory grows with.
    std::size_t StorageBytes() const;

private:
    struct Row {
        std::size_t text = 0;     // offset of the row's first cell in m_text
        std::uint32_t cells = 0;  // index of the row's first cell in m_ends
        std::uint32_t count = 0;  // cells written, up to the last one
    };

    // The end of each cell, counted from its row's start: two bytes a cell
    // until an end needs more, then four bytes for every cell of the table.
    class CellEnds {
    public:
        std::size_t size() const { return m_wide ? m_long.size() : m_short.size(); }
        std::size_t Capacity() const { return m_wide ? m_long.capacity() : m_short.capacity(); }
        std::size_t Width() const { return m_wide ? sizeof(std::uint32_t) : sizeof(std::uint16_t); }
        std::uint32_t operator[](std::size_t i) const { return m_wide ? m_long[i] : m_short[i]; }
        std::uint32_t back() const { return m_wide ? m_long.back() : m_short.back(); }
        void PushBack(std::uint32_t end) {
            if (end > kShortMax && !m_wide)
                Widen();
            if (m_wide)
                m_long.push_back(end);
            else
                m_short.push_back(static_cast<std::uint16_t>(end));
        }
        void Set(std::size_t i, std::uint32_t end);
        void Resize(std::size_t size, std::uint32_t end = 0);
        void Reserve(std::size_t capacity);
        // Copies `count` ends from `from` to `to`; the ranges do not overlap.
        void CopyWithin(std::size_t from, std::size_t count, std::size_t to);
        void Append(const CellEnds& other, std::size_t from, std::size_t count);
        void Clear();
        void Release();

    private:
        static constexpr std::uint32_t kShortMax = std::numeric_limits<std::uint16_t>::max();
        void Widen();

        bool m_wide = false;
        std::vector<std::uint16_t> m_short;
        std::vector<std::uint32_t> m_long;
    };

    static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
    // Cell ends are counted in 32 bits from the start of their row.
    static constexpr std::size_t kMaxRowText = std::numeric_limits<std::uint32_t>::max();

    // The source column that cell (col, row) shows, or -1 for a cell of
    // this table's own.
    int ShownSourceCol(int col, int row) const {
        if (!m_source || row < m_shownFrom || col < 0 || static_cast<std::size_t>(col) >= m_shown.size())
            return -1;
        return m_shown[static_cast<std::size_t>(col)];
    }
    [[noreturn]] static void ThrowShown();

    std::size_t RowTextSize(const Row& row) const { return row.count == 0 ? 0 : m_ends[row.cells + row.count - 1]; }

    // Most writes add the next cell to the row last written, which ends the
    // buffer: that case is inline, every other takes WriteCell.
    bool IsNextCellOfLastRow(int col, int row, std::string_view text) const {
        if (row < 0 || static_cast<std::size_t>(row) != m_lastRow || col <= 0 ||
            static_cast<std::uint32_t>(col) != m_rows[m_lastRow].count)
            return false;
        const std::less<const char*> before;
        const bool fromThisTable =
            !text.empty() && !before(text.data(), m_text.data()) && before(text.data(), m_text.data() + m_text.size());
        return !fromThisTable && text.size() <= kMaxRowText - m_ends.back();
    }
    void AppendToLastRow(std::string_view text) {
        m_ends.PushBack(static_cast<std::uint32_t>(m_ends.back() + text.size()));
        m_text.append(text);
        ++m_rows[m_lastRow].count;
        ++m_liveCells;
        m_liveText += text.size();
    }
    void WriteCell(int col, int row, std::string_view text);
    void MoveToEnd(Row& row);
    void ReplaceInLastRow(Row& row, std::uint32_t col, std::string_view text);
    void DropRows(std::size_t from);
    void CompactIfWasteful();
    void Compact();

    int m_colCount;
    std::vector<Row> m_rows;
    std::string m_text;  // the cells' text, row after row
    CellEnds m_ends;
    std::size_t m_lastRow = kNoRow;  // the row whose cells end the buffer
    std::size_t m_liveText = 0;      // bytes of m_text that rows still use
    std::size_t m_liveCells = 0;     // entries of m_ends that rows still use

    const TextTable* m_source = nullptr;  // the table shown columns read, if any
    std::vector<int> m_shown;             // by column: the source column it shows, or -1
    int m_shownFrom = 0;                  // the first row of the shown columns
    int m_shownShift = 0;                 // source row minus row
};

}  // namespace cadrix
