#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"

namespace cadrix {

namespace {

Rgb TalentColour(std::string_view text) {
    const auto talent = ParseWhole(text);
    switch (talent ? *talent : 0) {
    case 2: return {0, 128, 0};
    case 3: return {0, 0, 255};
    case 4: return {255, 128, 64};
    case 5: return {255, 0, 0};
    default: return {0, 0, 0};
    }
}

constexpr Align kAlign[] = {Align::Left,  Align::Center, Align::Center, Align::Right,
                            Align::Right, Align::Right,  Align::Right,  Align::Right};

}  // namespace

void FillRealLevelPage(const TextTable& total, TextTable& grid) {
    using namespace period;
    grid.SetRowCount(1);
    for (int r = 1; r < total.RowCount(); ++r) {
        if (r > 1)
            grid.AddRow();
        const int row = r - 1;
        grid.SetCell(0, row, total.Cell(kName, r));
        grid.SetCell(1, row, total.Cell(kTalent, r));
        grid.SetCell(2, row, total.Cell(kPosition, r));
        grid.SetCell(3, row, total.Cell(kAgeStart, r));
        grid.SetCell(4, row, total.Cell(kRealLevelStart, r));
        grid.SetCell(5, row, total.Cell(kAgeEnd, r));
        grid.SetCell(6, row, total.Cell(kRealLevelEnd, r));
        const auto change = DecimalChange(total.Cell(kRealLevelStart, r), total.Cell(kRealLevelEnd, r));
        grid.SetCell(7, row, change ? *change : kNotAvailable);
    }
}

CellStyle DrawRealLevelCell(const TextTable& grid, int col, int row) {
    CellStyle style;
    const std::string_view text = grid.Cell(col, row);
    if (text == period::kNotAvailable)
        style.text = kDimTextColour;
    if (col == 1)
        style.text = TalentColour(text);
    if (col == 7 && text != period::kNotAvailable) {
        const auto parsed = ParseDecimal(text);
        const float value = parsed ? static_cast<float>(*parsed) : 0.0f;
        if (value < 0)
            style.background = Background::Unfavourable;
        else if (value > 0)
            style.background = Background::Favourable;
    }
    if (col >= 0 && col < 8)
        style.align = kAlign[col];
    return style;
}

}  // namespace cadrix
