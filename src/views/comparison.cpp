#include "views/comparison.h"

#include <stdexcept>
#include <utility>

#include "snapshot/period_table.h"
#include "snapshot/skills.h"
#include "views/skills_page.h"

namespace cadrix {

namespace {

const NatStatus kNoStatus;

template <std::size_t... I>
std::array<TextTable, sizeof...(I)> MakeGrids(std::index_sequence<I...>) {
    return {TextTable(kGrids[I].cols, kGrids[I].rows)...};
}

// Empties columns firstCol to lastCol of rows firstRow to lastRow.
void ClearCells(TextTable& grid, int firstCol, int lastCol, int firstRow, int lastRow) {
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstCol; c <= lastCol; ++c)
            grid.SetCell(c, r, "");
    }
}

void WriteRow(TextTable& grid, int row, std::initializer_list<std::string_view> texts) {
    int col = 0;
    for (const std::string_view text : texts)
        grid.SetCell(col++, row, text);
}

}  // namespace

Comparison::Comparison()
    : m_totalPlay(period::kColumns, 2),
      m_grids(MakeGrids(std::make_index_sequence<kGrids.size()>())),
      m_natStatus(1) {}

const TextTable& Comparison::Grid(GridId grid) const { return m_grids[static_cast<std::size_t>(grid)]; }

const NatStatus& Comparison::NatStatusOf(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_natStatus.size())
        return kNoStatus;
    return m_natStatus[static_cast<std::size_t>(row)];
}

// Gives every page its header cells and date captions, and cuts the player
// grids to their least rows with those emptied.
void Comparison::ResetViews(const std::string& startDate, const std::string& endDate) {
    for (GridId id : {GridId::StringGrid_nat, GridId::StringGrid_pay, GridId::StringGrid_pr, GridId::StringGrid_ru}) {
        GridOf(id).ShowOwnCells();
        GridOf(id).SetRowCount(InfoOf(id).rows);
    }
    ResetSkillsGrid(GridOf(GridId::StringGrid3), startDate, endDate);

    TextTable& values = GridOf(GridId::StringGrid_pr);
    WriteRow(values, 0, {"Игрок", "Поз.", startDate, endDate, "Прогресс"});
    ClearCells(values, 0, 4, 1, 1);
    ClearCells(GridOf(GridId::StringGrid_pay), 0, 6, 0, 0);
    ClearCells(GridOf(GridId::StringGrid_nat), 0, 7, 0, 0);
    m_natStatus.assign(1, {});

    TextTable& infrastructure = GridOf(GridId::StringGrid2);
    ClearCells(infrastructure, 1, 3, 1, 6);
    // The progress column too, so that no progress of an earlier load survives
    // on a row whose levels are not whole numbers this time.
    ClearCells(infrastructure, 5, 5, 0, infrastructure.RowCount() - 1);

    TextTable& club = GridOf(GridId::StringGrid1);
    ClearCells(club, 0, 3, 1, 14);
    WriteRow(club, 0, {"Данные", startDate, endDate, "Разница"});

    m_result.startDate = startDate;
    m_result.endDate = endDate;
}

bool Comparison::Load(const LoadSide& start, const LoadSide& end) {
    if (!start.chosen || !end.chosen)
        return false;
    ResetViews(start.date, end.date);
    ResetSnapshot(m_end);
    ResetSnapshot(m_start);
    m_totalPlay.SetRowCount(0);
    m_totalPlay.SetRowCount(2);
    m_comboItems.clear();
    m_listBox1.clear();
    m_chosenIndex = -1;
    m_comboText.clear();

    ReadSnapshotFiles(m_start, start.folder);
    ReadSnapshotFiles(m_end, end.folder);
    ApplyDecimalPointRule(m_start);
    ApplyDecimalPointRule(m_end);
    for (Snapshot* s : {&m_start, &m_end}) {
        SplitSnapshot(*s);
        if (!m_keepLineLists)
            ReleaseLineLists(*s);
    }

    BuildPeriodPlayerTable(m_start.play, m_end.play, m_totalPlay);
    FillPlayerChooser(m_start.play, m_end.play, m_comboItems, m_listBox1);
    Recompute();
    return true;
}

void Comparison::Recompute() {
    FillInfrastructurePage(m_start.structure, m_end.structure, GridOf(GridId::StringGrid2));
    FillClubPage(m_start.team, m_end.team, GridOf(GridId::StringGrid1));
    m_result.national = FillNationalPage(m_totalPlay, GridOf(GridId::StringGrid_nat), m_natStatus);
    m_result.payroll = FillContractsPage(m_totalPlay, GridOf(GridId::StringGrid_pay));
    m_result.values = FillValuesPage(m_totalPlay, GridOf(GridId::StringGrid_pr));
    FillRealLevelPage(m_totalPlay, GridOf(GridId::StringGrid_ru));
}

void Comparison::ChoosePlayer(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_listBox1.size())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    m_chosenIndex = index;
    m_comboText = m_comboItems[static_cast<std::size_t>(index)];
    m_panelToggleEnabled = true;

    const std::string& id = m_listBox1[static_cast<std::size_t>(index)];
    const auto formed = FillSkillsGrid(m_start.play2, m_end.play2, id, GridOf(GridId::StringGrid3));
    std::string talent, age;
    if (const auto row = FindPlayerRow(m_end.play, id, players::kPlayerId)) {
        talent = m_end.play.Cell(players::kTalent, *row);
        age = m_end.play.Cell(players::kAge, *row);
    }
    FillDetailPanel(m_comboText, formed, talent, age, m_exInfo);
}

CellStyle Comparison::DrawCell(GridId grid, int col, int row) const {
    const TextTable& g = Grid(grid);
    switch (grid) {
    case GridId::StringGrid1: return DrawClubCell(g, col, row);
    case GridId::StringGrid2: return DrawInfrastructureCell(g, m_start.structure, m_end.structure, col, row);
    case GridId::StringGrid_nat: return DrawNationalCell(g, m_natStatus, col, row);
    case GridId::StringGrid_pay: return DrawContractsCell(g, col, row);
    case GridId::StringGrid_pr: return DrawValuesCell(g, col, row);
    case GridId::StringGrid_ru: return DrawRealLevelCell(g, col, row);
    case GridId::StringGrid3: return DrawSkillsCell(g, m_comboText, col, row);
    }
    return {};
}

}  // namespace cadrix
