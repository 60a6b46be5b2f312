#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_table.h"
#include "snapshot/snapshot.h"
#include "views/cell_style.h"
#include "views/detail_panel.h"

namespace cadrix {

// The page grids of the main window, by their control names.
enum class GridId {
    StringGrid1,     // club summary, 4 x 17, row 0 and column 0 fixed
    StringGrid2,     // infrastructure, 6 x 7, column 0 fixed
    StringGrid_nat,  // national teams, 8 columns, one row per player
    StringGrid_pay,  // contracts, 7 columns, one row per player
    StringGrid_pr,   // player values, 5 columns, row 0 a fixed header
    StringGrid_ru,   // real level, 8 columns, one row per player
    StringGrid3,     // skills, 4 x 25, row 0 a fixed header
};

// Everything the main window shows, as plain data: the two snapshots, the
// period player table, the player chooser, the page grids with their labels,
// and the detail panel's values. The window and the command-line report both
// drive one of these and only paint or print what it holds.
class Comparison {
public:
    Comparison();

    // Set by the archive choice: the chosen flags and the date texts.
    bool startChosen = false;
    bool endChosen = false;
    std::string startDate;
    std::string endDate;

    // The load run. Returns false, changing nothing, unless both snapshots
    // are chosen; otherwise reads both working folders, builds the period
    // player table and the chooser, and runs the comparison run.
    bool SpeedButtonFillClick(const std::filesystem::path& startFolder, const std::filesystem::path& endFolder);

    // The comparison run: fills the six pages from the current tables.
    void sbCalcClick();

    // A user's pick of chooser item `index` (from 0): the chooser text becomes
    // that item, the skills grid and the detail panel's values are filled.
    void ComboBox3Change(int index);

    // The draw rule of `grid` for one cell, read at painting time.
    CellStyle DrawCell(GridId grid, int col, int row) const;

    const TextTable& Grid(GridId grid) const;
    // The hidden start and end status codes of a national-teams row.
    const std::array<std::string, 2>& NatStatus(int row) const;

    // Label texts by control name: Label1..Label4, Label10, Label13, Label35,
    // Label36 (date captions), LO1..LO4, LN1..LN4, kt1..kt3, tot1..tot3.
    const std::string& Label(std::string_view name) const;
    static const std::vector<std::string>& LabelNames();
    ShapeColour Shape(std::string_view name) const;  // "shapet3" or "Shape19"

    const std::vector<std::string>& ComboBox3() const { return m_comboItems; }
    const std::vector<std::string>& ListBox1() const { return m_listBox1; }
    int ChosenIndex() const { return m_chosenIndex; }
    const std::string& ComboBox3Text() const { return m_comboText; }
    bool PanelToggleEnabled() const { return m_panelToggleEnabled; }
    const DetailPanel& ExInfo() const { return m_exInfo; }

    const Snapshot& StartSnapshot() const { return m_start; }
    const Snapshot& EndSnapshot() const { return m_end; }
    const TextTable& TotalPlay() const { return m_totalPlay; }

private:
    void ResetViews();

    Snapshot m_start;
    Snapshot m_end;
    TextTable m_totalPlay;

    std::vector<std::string> m_comboItems;
    std::vector<std::string> m_listBox1;
    int m_chosenIndex = -1;
    std::string m_comboText;
    bool m_panelToggleEnabled = false;

    TextTable m_grid1;
    TextTable m_grid2;
    TextTable m_gridNat;
    std::vector<std::array<std::string, 2>> m_natStatus;
    TextTable m_gridPay;
    TextTable m_gridPr;
    TextTable m_gridRu;
    TextTable m_grid3;
    std::map<std::string, std::string, std::less<>> m_labels;
    ShapeColour m_shapet3 = ShapeColour::ButtonFace;
    ShapeColour m_shape19 = ShapeColour::ButtonFace;
    DetailPanel m_exInfo;
};

}  // namespace cadrix
