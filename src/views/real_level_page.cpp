#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"
#include "views/player_rows.h"

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
    namespace col = real_level_grid;
    static constexpr ShownColumn kShown[] = {{col::kName, kName},
                                             {col::kTalent, kTalent},
                                             {col::kPosition, kPosition},
                                             {col::kAgeStart, kAgeStart},
                                             {col::kRealLevelStart, kRealLevelStart},
                                             {col::kAgeEnd, kAgeEnd},
                                             {col::kRealLevelEnd, kRealLevelEnd}};
    FillPlayerRows(total, GridId::StringGrid_ru, grid, kShown, [&](int a, int row) {
        const auto change = DecimalChange(total.Cell(kRealLevelStart, a), total.Cell(kRealLevelEnd, a));
        grid.SetCell(col::kChange, row, change ? *change : kNotAvailable);
    });
}

CellStyle DrawRealLevelCell(const TextTable& grid, int col, int row) {
    const std::string_view text = grid.Cell(col, row);
    using namespace real_level_grid;
    CellStyle style = PlayerCellStyle(text);
    if (col == kTalent)
        style.text = TalentColour(text);
    if (col == kChange && text != period::kNotAvailable) {
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
