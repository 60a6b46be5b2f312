#pragma once

#include <optional>
#include <string>
#include <vector>

#include "views/cell_style.h"
#include "views/comparison.h"
#include "views/comparison_result.h"
#include "views/grids.h"

namespace cadrix {

// What a page shows around its grid, as text, for every front end that puts
// a page into words: the exports, the text report, a copy of a page.

// A caption above a grid, over `span` grid columns.
struct HeaderCell {
    std::string text;
    int span = 1;
};
using HeaderRow = std::vector<HeaderCell>;

// The caption lines above a grid whose captions are labels rather than grid
// cells (infrastructure, national teams, contracts, real level): the first
// with the column captions and the two date captions, the second with the
// captions under each date; every line spans all columns of the grid. None
// for the grids that hold their captions in a header row.
std::vector<HeaderRow> CaptionsAbove(GridId grid, const ComparisonResult& result);

// One figure of a totals line: its text, the picture before it (the status
// stars of the national counters), and the shape behind it where the window
// colours one.
struct TotalsFigure {
    std::string text;
    CellImage image = CellImage::None;
    std::optional<ShapeColour> shape;
};

// The line under a grid: its caption, then groups of figures (the start and
// end counters of the national page; the start total, end total and change
// of the contracts and values pages).
struct TotalsLineText {
    std::string caption;
    std::vector<std::vector<TotalsFigure>> groups;
};
std::optional<TotalsLineText> TotalsBelow(GridId grid, const ComparisonResult& result);

// The number a picture cell stands for: a building's level on the
// infrastructure page, a player's status code on the national page, as the
// snapshot holds it; none for a cell without a picture.
std::optional<std::string> PictureNumber(const Comparison& comparison, GridId grid, int col, int row);

}  // namespace cadrix
