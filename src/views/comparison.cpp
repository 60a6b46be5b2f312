#include "views/comparison.h"

#include <stdexcept>

#include "snapshot/period_table.h"
#include "snapshot/skills.h"
#include "views/pages.h"
#include "views/skills_page.h"

namespace cadrix {

namespace {

constexpr const char* kNoDate = "<date>";
const std::string kEmpty;
const NatStatus kNoStatus;

const std::vector<std::string> kLabelNames = {
    "Label1", "Label2", "Label3", "Label4", "Label35", "Label36", "Label10", "Label13", "LO1",  "LO2",  "LO3",
    "LO4",    "LN1",    "LN2",    "LN3",    "LN4",     "kt1",     "kt2",     "kt3",     "tot1", "tot2", "tot3",
};

}  // namespace

Comparison::Comparison()
    : m_totalPlay(period::kColumns, 2),
      m_grid1(4, 17),
      m_grid2(6, 7),
      m_gridNat(8, 1),
      m_natStatus(1),
      m_gridPay(7, 1),
      m_gridPr(5, 2),
      m_gridRu(8, 1),
      m_grid3(4, kSkillCount + 1) {
    for (const auto& name : kLabelNames)
        m_labels[name] = "";
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label35", "Label36", "Label10", "Label13"})
        m_labels[name] = kNoDate;
    for (const char* name : {"LO1", "LO2", "LO3", "LO4", "LN1", "LN2", "LN3", "LN4"})
        m_labels[name] = "(0)";
}

const std::vector<std::string>& Comparison::LabelNames() { return kLabelNames; }

const std::string& Comparison::Label(std::string_view name) const {
    const auto it = m_labels.find(name);
    return it == m_labels.end() ? kEmpty : it->second;
}

ShapeColour Comparison::Shape(std::string_view name) const {
    if (name == "shapet3")
        return m_shapet3;
    if (name == "Shape19")
        return m_shape19;
    throw std::invalid_argument("no such shape: " + std::string(name));
}

const TextTable& Comparison::Grid(GridId grid) const {
    switch (grid) {
    case GridId::StringGrid1: return m_grid1;
    case GridId::StringGrid2: return m_grid2;
    case GridId::StringGrid_nat: return m_gridNat;
    case GridId::StringGrid_pay: return m_gridPay;
    case GridId::StringGrid_pr: return m_gridPr;
    case GridId::StringGrid_ru: return m_gridRu;
    case GridId::StringGrid3: return m_grid3;
    }
    throw std::invalid_argument("no such grid");
}

const std::array<std::string, 2>& Comparison::NatStatus(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_natStatus.size())
        return kNoStatus;
    return m_natStatus[static_cast<std::size_t>(row)];
}

void Comparison::ResetViews() {
    ResetSkillsGrid(m_grid3, startDate, endDate);

    m_gridRu.SetRowCount(1);

    m_gridPr.SetRowCount(2);
    m_gridPr.SetCell(0, 0, "Игрок");
    m_gridPr.SetCell(1, 0, "Поз.");
    m_gridPr.SetCell(2, 0, startDate);
    m_gridPr.SetCell(3, 0, endDate);
    m_gridPr.SetCell(4, 0, "Прогресс");
    for (int c = 0; c <= 4; ++c)
        m_gridPr.SetCell(c, 1, "");

    m_gridPay.SetRowCount(1);
    for (int c = 0; c <= 6; ++c)
        m_gridPay.SetCell(c, 0, "");

    for (int r = 1; r <= 6; ++r) {
        for (int c = 1; c <= 3; ++c)
            m_grid2.SetCell(c, r, "");
    }
    // The progress column too, so that no progress of an earlier load survives
    // on a row whose levels are not whole numbers this time.
    for (int r = 0; r < m_grid2.RowCount(); ++r)
        m_grid2.SetCell(5, r, "");

    for (int r = 1; r <= 14; ++r) {
        for (int c = 0; c <= 3; ++c)
            m_grid1.SetCell(c, r, "");
    }
    m_grid1.SetCell(0, 0, "Данные");
    m_grid1.SetCell(1, 0, startDate);
    m_grid1.SetCell(2, 0, endDate);
    m_grid1.SetCell(3, 0, "Разница");

    m_gridNat.SetRowCount(1);
    for (int c = 0; c <= 7; ++c)
        m_gridNat.SetCell(c, 0, "");
    m_natStatus.assign(1, {});

    for (const char* name : {"Label1", "Label3", "Label35", "Label10"})
        m_labels[name] = startDate;
    for (const char* name : {"Label2", "Label4", "Label36", "Label13"})
        m_labels[name] = endDate;
}

bool Comparison::SpeedButtonFillClick(const std::filesystem::path& startFolder,
                                      const std::filesystem::path& endFolder) {
    if (!startChosen || !endChosen)
        return false;
    ResetViews();
    ResetSnapshot(m_end);
    ResetSnapshot(m_start);
    m_totalPlay.SetRowCount(0);
    m_totalPlay.SetRowCount(2);
    m_comboItems.clear();
    m_listBox1.clear();
    m_chosenIndex = -1;
    m_comboText.clear();

    ReadSnapshotFiles(m_start, startFolder);
    ReadSnapshotFiles(m_end, endFolder);
    ApplyDecimalPointRule(m_start);
    ApplyDecimalPointRule(m_end);
    SplitSnapshot(m_start);
    SplitSnapshot(m_end);

    BuildPeriodPlayerTable(m_start.play, m_end.play, m_totalPlay);
    FillPlayerChooser(m_start.play, m_end.play, m_comboItems, m_listBox1);
    sbCalcClick();
    return true;
}

void Comparison::sbCalcClick() {
    FillInfrastructurePage(m_start.structure, m_end.structure, m_grid2);
    FillClubPage(m_start.team, m_end.team, m_grid1);

    NationalCounters counters;
    FillNationalPage(m_totalPlay, m_gridNat, m_natStatus, counters);
    for (std::size_t i = 0; i < 4; ++i) {
        m_labels["LO" + std::to_string(i + 1)] = counters.start[i];
        m_labels["LN" + std::to_string(i + 1)] = counters.end[i];
    }

    TotalsLine pay;
    FillContractsPage(m_totalPlay, m_gridPay, pay);
    m_labels["kt1"] = pay.start;
    m_labels["kt2"] = pay.end;
    m_labels["kt3"] = pay.change;
    m_shapet3 = pay.shape;

    TotalsLine values;
    FillValuesPage(m_totalPlay, m_gridPr, values);
    m_labels["tot1"] = values.start;
    m_labels["tot2"] = values.end;
    m_labels["tot3"] = values.change;
    m_shape19 = values.shape;

    FillRealLevelPage(m_totalPlay, m_gridRu);
}

void Comparison::ComboBox3Change(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_listBox1.size())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    m_chosenIndex = index;
    m_comboText = m_comboItems[static_cast<std::size_t>(index)];
    m_panelToggleEnabled = true;

    const std::string& id = m_listBox1[static_cast<std::size_t>(index)];
    const auto formed = FillSkillsGrid(m_start.play2, m_end.play2, id, m_grid3);

    std::string talent, age;
    for (int r = 1; r < m_end.play.RowCount(); ++r) {
        if (m_end.play.Cell(players::kPlayerId, r) == id) {
            talent = m_end.play.Cell(players::kTalent, r);
            age = m_end.play.Cell(players::kAge, r);
            break;
        }
    }
    FillDetailPanel(m_comboText, formed, talent, age, m_exInfo);
}

CellStyle Comparison::DrawCell(GridId grid, int col, int row) const {
    switch (grid) {
    case GridId::StringGrid1: return DrawClubCell(m_grid1, col, row);
    case GridId::StringGrid2: return DrawInfrastructureCell(m_grid2, m_start.structure, m_end.structure, col, row);
    case GridId::StringGrid_nat: return DrawNationalCell(m_gridNat, m_natStatus, col, row);
    case GridId::StringGrid_pay: return DrawContractsCell(m_gridPay, col, row);
    case GridId::StringGrid_pr: return DrawValuesCell(m_gridPr, col, row);
    case GridId::StringGrid_ru: return DrawRealLevelCell(m_gridRu, col, row);
    case GridId::StringGrid3: return DrawSkillsCell(m_grid3, m_comboText, col, row);
    }
    return {};
}

}  // namespace cadrix
