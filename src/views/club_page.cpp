#include "core/numbers.h"
#include "core/utf8.h"
#include "snapshot/snapshot.h"
#include "views/pages.h"

namespace cadrix {

namespace {

constexpr int kFigures = 16;
constexpr int kLastTextRow = 8;     // rows 1-8 show values without a change
constexpr int kFallIsGoodRow = 16;  // a figure whose fall is favourable

bool IsGroupedRow(int row) { return row == 9 || row == 10 || row == 12; }

}  // namespace

void FillClubPage(const TextTable& startTeam, const TextTable& endTeam, TextTable& grid) {
    using namespace club_grid;
    for (int r = 1; r <= kFigures; ++r) {
        const std::string_view start = startTeam.Cell(team::kValue, r);
        const std::string_view end = endTeam.Cell(team::kValue, r);
        grid.SetCell(kCaption, r, startTeam.Cell(team::kCaption, r));
        grid.SetCell(kStart, r, IsGroupedRow(r) ? GroupThousands(start) : start);
        grid.SetCell(kEnd, r, IsGroupedRow(r) ? GroupThousands(end) : end);
        if (r <= kLastTextRow)
            continue;
        if (auto change = DecimalChange(start, end))
            grid.SetCell(kChange, r, IsGroupedRow(r) ? GroupThousands(*change) : *change);
        else
            grid.SetCell(kChange, r, "-");
    }
}

CellStyle DrawClubCell(const TextTable& grid, int col, int row) {
    using namespace club_grid;
    CellStyle style;
    if (row >= 1 && row <= kLastTextRow) {
        if (col >= kStart)
            style.text = kDimTextColour;
        return style;
    }
    const std::string_view text = grid.Cell(col, row);
    if (col == kChange && row > kLastTextRow && row < kFallIsGoodRow) {
        // The length is tested rather than the value: a one-character change
        // ("0", or a rise of 7) gets no colour.
        const bool fall = !text.empty() && text[0] == '-';
        if (fall)
            style.background = Background::Unfavourable;
        else if (CodePointCount(text) >= 2)
            style.background = Background::Favourable;
    } else if (col == kChange && row == kFallIsGoodRow) {
        if (text == "0")
            style.background = Background::Grid;
        else if (!text.empty() && text[0] == '-')
            style.background = Background::Favourable;
        else
            style.background = Background::Unfavourable;
    }
    if (row == 0)
        style.align = Align::Center;
    else
        style.align = col == kCaption ? Align::Left : Align::Right;
    return style;
}

}  // namespace cadrix
