#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/text_table.h"
#include "snapshot/snapshot.h"
#include "views/cell_style.h"
#include "views/comparison_result.h"
#include "views/detail_panel.h"
#include "views/grids.h"
#include "views/pages.h"

namespace cadrix {

// One side of the period as its archive choice left it: whether an archive
// (or folder) is chosen, the date of its players file, and the folder its
// CSV files lie in.
struct LoadSide {
    bool chosen = false;
    std::string date;
    std::filesystem::path folder;
};

// Everything the main window shows, as plain data: the two snapshots, the
// period player table, the player chooser, the page grids with what stands
// beside them, and the detail panel's values. The window and the
// command-line report both drive one of these and only paint or print what
// it holds.
class Comparison {
public:
    Comparison();
    // The player pages' grids show columns of this comparison's period player
    // table: a copy would show the original's.
    Comparison(const Comparison&) = delete;
    Comparison& operator=(const Comparison&) = delete;

    // The load run. Returns false, changing nothing, unless both sides are
    // chosen; otherwise reads both working folders, builds the period player
    // table and the chooser, and recomputes the pages, whose date captions
    // become the sides' dates.
    bool Load(const LoadSide& start, const LoadSide& end);

    // Fills the six pages from the current tables.
    void Recompute();

    // A user's pick of chooser item `index` (from 0): the chooser text becomes
    // that item, the skills grid and the detail panel's values are filled.
    void ChoosePlayer(int index);

    // The draw rule of `grid` for one cell, read at painting time.
    CellStyle DrawCell(GridId grid, int col, int row) const;

    const TextTable& Grid(GridId grid) const;
    // The hidden start and end status codes of a national-teams row.
    const NatStatus& NatStatusOf(int row) const;

    // The date captions, national counters and totals lines of the pages.
    const ComparisonResult& Result() const { return m_result; }

    const std::vector<std::string>& ComboBox3() const { return m_comboItems; }
    const std::vector<std::string>& ListBox1() const { return m_listBox1; }
    int ChosenIndex() const { return m_chosenIndex; }
    const std::string& ComboBox3Text() const { return m_comboText; }
    bool PanelToggleEnabled() const { return m_panelToggleEnabled; }
    const DetailPanel& ExInfo() const { return m_exInfo; }

    // The line lists of both snapshots are kept after the load for the
    // window's view of the loaded files. A caller that never shows them has
    // each snapshot's lists freed as soon as its tables are cut, which lowers
    // the peak memory of a large load by about the size of the files' text.
    void SetKeepLineLists(bool keep) { m_keepLineLists = keep; }

    const Snapshot& StartSnapshot() const { return m_start; }
    const Snapshot& EndSnapshot() const { return m_end; }
    const TextTable& TotalPlay() const { return m_totalPlay; }

private:
    TextTable& GridOf(GridId grid) { return m_grids[static_cast<std::size_t>(grid)]; }
    void ResetViews(const std::string& startDate, const std::string& endDate);

    Snapshot m_start;
    Snapshot m_end;
    TextTable m_totalPlay;
    bool m_keepLineLists = true;

    std::vector<std::string> m_comboItems;
    std::vector<std::string> m_listBox1;
    int m_chosenIndex = -1;
    std::string m_comboText;
    bool m_panelToggleEnabled = false;

    std::array<TextTable, kGrids.size()> m_grids;
    std::vector<NatStatus> m_natStatus;
    ComparisonResult m_result;
    DetailPanel m_exInfo;
};

}  // namespace cadrix
