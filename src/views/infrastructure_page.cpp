#include "core/numbers.h"
#include "snapshot/snapshot.h"
#include "views/pages.h"

namespace cadrix {

namespace {

constexpr int kStructureRows = 7;  // the stadium and six buildings
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
    using namespace infrastructure_grid;
    grid.SetCell(kLevelStart, 0, GroupThousands(start.Cell(structure::kLevel, 1)) + " мест");
    grid.SetCell(kLevelEnd, 0, GroupThousands(end.Cell(structure::kLevel, 1)) + " мест");
    for (int p = 1; p <= kStructureRows; ++p) {
        const int row = p - 1;
        grid.SetCell(kBuilding, row, start.Cell(structure::kName, p));
        grid.SetCell(kWearStart, row, start.Cell(structure::kWear, p));
        grid.SetCell(kWearEnd, row, end.Cell(structure::kWear, p));
        if (auto change = WholeChange(start.Cell(structure::kLevel, p), end.Cell(structure::kLevel, p)))
            grid.SetCell(kProgress, row, GroupThousands(*change));
    }
}

CellStyle DrawInfrastructureCell(const TextTable& grid, const TextTable& start, const TextTable& end, int col,
                                 int row) {
    using namespace infrastructure_grid;
    CellStyle style;
    if (col == kProgress) {
        const std::string_view text = grid.Cell(col, row);
        if (!text.empty() && text[0] == '-')
            style.background = Background::Unfavourable;
        else if (text != "0")
            style.background = Background::Favourable;
    }
    const bool level = col == kLevelStart || col == kLevelEnd;
    style.align = (col == kBuilding || level) ? Align::Left : Align::Right;
    if (level && row >= 1 && row < kStructureRows) {
        const TextTable& table = col == kLevelStart ? start : end;
        style.image = StarsFor(table.Cell(structure::kLevel, row + 1));
        style.imageX = kStarsX;
        style.imageY = kStarsY;
    }
    return style;
}

}  // namespace cadrix
