#include "views/player_rows.h"

#include "core/numbers.h"

namespace cadrix {

std::optional<std::string> PlayerIdOfRow(const TextTable& total, GridId id, int row) {
    switch (id) {
    case GridId::StringGrid_nat:
    case GridId::StringGrid_pay:
    case GridId::StringGrid_pr:
    case GridId::StringGrid_ru: break;
    default: return std::nullopt;
    }
    const int firstRow = InfoOf(id).rows - 1;
    const int a = row - firstRow + 1;
    if (row < firstRow || a >= total.RowCount())
        return std::nullopt;
    const std::string_view cell = total.Cell(period::kPlayerId, a);
    if (cell.empty())
        return std::nullopt;
    return std::string(cell);
}

std::optional<std::string> FillMoney(const TextTable& total, int a, TextTable& grid, int row,
                                     const MoneyColumns& columns) {
    const std::string_view start = total.Cell(columns.totalStart, a);
    const std::string_view end = total.Cell(columns.totalEnd, a);
    grid.SetCell(columns.gridStart, row, GroupThousands(start));
    grid.SetCell(columns.gridEnd, row, GroupThousands(end));
    return WholeChange(start, end);
}

TotalsLine SumTotals(const TextTable& total, int startCol, int endCol, FallIs fall) {
    std::int64_t start = 0;
    std::int64_t end = 0;
    for (int a = 1; a < total.RowCount(); ++a) {
        if (const auto n = ParseWhole(total.Cell(startCol, a)))
            start += *n;
        if (const auto n = ParseWhole(total.Cell(endCol, a)))
            end += *n;
    }
    TotalsLine line;
    line.start = GroupThousands(WholeText(start));
    line.end = GroupThousands(WholeText(end));
    line.change = GroupThousands(WholeText(end - start));
    if (line.change == "0")
        line.shape = ShapeColour::ButtonFace;
    else if (line.change[0] == '-')
        line.shape = fall == FallIs::Favourable ? ShapeColour::Favourable : ShapeColour::Unfavourable;
    else
        line.shape = fall == FallIs::Favourable ? ShapeColour::Unfavourable : ShapeColour::Favourable;
    return line;
}

}  // namespace cadrix
