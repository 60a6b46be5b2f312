#include "core/numbers.h"
#include "views/pages.h"

namespace cadrix {

namespace {

constexpr int kStructureRows = 7;  // the stadium and six buildings
constexpr int kLevel = 1;
constexpr int kWear = 2;
constexpr int kStarsX = 4;
constexpr int kStarsY = 2;

CellImage StarsFor(std::string_view level) {
    const auto n = ParseWhole(level);
    if (!n || *n < 0 || *n > 5)
        return CellImage::StarsBlank;
    return static_cast<CellImage>(static_cast<int>(CellImage::Stars0) + *n);
}

}  // namespace

void FillInfrastructurePage(const TextTable& start, const TextTable& end, TextTable& grid) {
    grid.SetCell(1, 0, GroupThousands(start.Cell(kLevel, 1)) + " мест");
    grid.SetCell(3, 0, GroupThousands(end.Cell(kLevel, 1)) + " мест");
    for (int p = 1; p <= kStructureRows; ++p) {
        const int row = p - 1;
        grid.SetCell(0, row, start.Cell(0, p));
        grid.SetCell(2, row, start.Cell(kWear, p));
        grid.SetCell(4, row, end.Cell(kWear, p));
        if (auto change = WholeChange(start.Cell(kLevel, p), end.Cell(kLevel, p)))
            grid.SetCell(5, row, GroupThousands(*change));
    }
}

CellStyle DrawInfrastructureCell(const TextTable& grid, const TextTable& start, const TextTable& end, int col,
                                 int row) {
    CellStyle style;
    if (col == 5) {
        const std::string_view text = grid.Cell(col, row);
        if (!text.empty() && text[0] == '-')
            style.background = Background::Unfavourable;
        else if (text != "0")
            style.background = Background::Favourable;
    }
    style.align = (col == 0 || col == 1 || col == 3) ? Align::Left : Align::Right;
    if ((col == 1 || col == 3) && row >= 1 && row < kStructureRows) {
        const TextTable& table = col == 1 ? start : end;
        style.image = StarsFor(table.Cell(kLevel, row + 1));
        style.imageX = kStarsX;
        style.imageY = kStarsY;
    }
    return style;
}

}  // namespace cadrix
