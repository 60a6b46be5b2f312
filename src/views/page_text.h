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

// The caption lines as one line, one caption per column, for a table of a
// single header line (a spreadsheet's, a forum's): a column under a date
// caption is named by the date and its own caption ("15.01.2026 Уровень").
std::vector<std::string> OneCaptionLine(const std::vector<HeaderRow>& rows);

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

// A page laid out as a table of texts, a cell per grid column on every line,
// for copying it into a spreadsheet or a forum post: the header lines (the
// chooser's line of the skills page, the captions above the grid with their
// dates, the grid's own header rows), the grid's rows, and the lines under
// the grid with each total under the column it sums.
using TextLine = std::vector<std::string>;
struct PageText {
    std::vector<TextLine> header;
    std::vector<TextLine> rows;
    std::vector<TextLine> footer;

    std::vector<TextLine> Lines() const;
};
PageText PageTextOf(const Comparison& comparison, GridId grid);

// The lines under a grid, a cell per grid column, each total under the
// column it sums. The national counters become a line per status, its count
// at each date under that date's status column, as a plain number: the
// page's "(3)" would read as a negative number in a spreadsheet.
std::vector<TextLine> LinesBelow(GridId grid, const ComparisonResult& result);

// A cell as the page shows it: its text, or where the cell shows a picture
// instead, what the picture says: a building's level, a status's name.
std::string CellText(const Comparison& comparison, GridId grid, int col, int row);

// Grid row `row`, as the grid counts its rows (header rows included).
TextLine RowText(const Comparison& comparison, GridId grid, int row);

// The detail panel as lines of a caption and a value.
std::vector<TextLine> DetailPanelLines(const DetailPanel& panel);

// Lines as text that pastes as a table: cells separated by tabs, each line
// ended by a line break; a tab or a line break inside a cell becomes a space.
std::string TabSeparated(const std::vector<TextLine>& lines);

}  // namespace cadrix
