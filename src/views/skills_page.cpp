#include "views/skills_page.h"

#include "core/numbers.h"
#include "snapshot/skills.h"

namespace cadrix {

namespace {

Rgb ClassColour(SkillClass c) {
    switch (c) {
    case SkillClass::Green: return {0, 128, 0};
    case SkillClass::Blue: return {0, 0, 255};
    case SkillClass::Red: return {255, 0, 0};
    }
    return {0, 0, 0};
}

}  // namespace

void ResetSkillsGrid(TextTable& grid, const std::string& startDate, const std::string& endDate) {
    grid.SetCell(0, 0, "Скилл");
    grid.SetCell(1, 0, startDate);
    grid.SetCell(2, 0, endDate);
    grid.SetCell(3, 0, "Прогресс");
    for (int k = 1; k <= kSkillCount; ++k) {
        for (int c = 0; c < 4; ++c)
            grid.SetCell(c, k, "");
        grid.SetCell(0, k, SkillName(k));
    }
}

std::vector<SkillDifference> FillSkillsGrid(const TextTable& startSkills, const TextTable& endSkills,
                                            const std::string& playerId, TextTable& grid) {
    std::vector<SkillDifference> formed;
    for (int k = 1; k <= kSkillCount; ++k) {
        for (int c = 1; c < 4; ++c)
            grid.SetCell(c, k, "");
        grid.SetCell(0, k, SkillName(k));
    }
    const auto startRow = FindPlayerRow(startSkills, playerId);
    if (startRow) {
        for (int k = 1; k <= kSkillCount; ++k)
            grid.SetCell(1, k, startSkills.Cell(SkillColumn(k), *startRow));
    }
    const auto endRow = FindPlayerRow(endSkills, playerId);
    if (!endRow)
        return formed;
    for (int k = 1; k <= kSkillCount; ++k) {
        const std::string_view endText = endSkills.Cell(SkillColumn(k), *endRow);
        grid.SetCell(2, k, endText);
        if (!startRow)
            continue;
        const auto start = ParseWhole(startSkills.Cell(SkillColumn(k), *startRow));
        const auto end = ParseWhole(endText);
        if (!start || !end)
            continue;
        const long long d = static_cast<long long>(*end) - *start;
        grid.SetCell(3, k, WholeText(d));
        formed.push_back({k, d});
    }
    return formed;
}

CellStyle DrawSkillsCell(const TextTable& grid, const std::string& chooserText, int col, int row) {
    CellStyle style;
    if (row == 0) {
        style.align = Align::Center;
        return style;
    }
    if (row < 1 || row > kSkillCount)
        return style;
    if (col == 3) {
        const auto d = ParseWhole(grid.Cell(col, row));
        const int value = d ? *d : 0;
        if (value < 0)
            style.background = Background::Unfavourable;
        else if (value > 0)
            style.background = Background::Favourable;
        return style;
    }
    if (col >= 0 && col <= 2) {
        if (const auto line = LineOfChooserText(chooserText))
            style.text = ClassColour(ColourClass(*line, row));
    }
    return style;
}

}  // namespace cadrix
