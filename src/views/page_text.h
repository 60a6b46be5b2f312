#pragma once

#include <string>
#include <vector>

#include "views/comparison.h"

namespace cadrix {

// One line of a page as cells of text.
using TextLine = std::vector<std::string>;

// A page's texts as the page shows them, so that they can be copied as a
// table or written into a report: the header lines above the grid rows (the
// grid's own header rows, or the captions laid over the grid with the two
// dates), the grid's rows, and the lines under the grid (totals, counters).
// Every line has a cell per grid column, the captions in the column they
// stand over.
struct PageText {
    std::vector<TextLine> header;
    std::vector<TextLine> rows;
    std::vector<TextLine> footer;

    std::vector<TextLine> Lines() const;
};

// The page of `grid`, whole.
PageText PageTextOf(const Comparison& comparison, GridId grid);

// A cell as the page shows it: its text, or where the cell shows a picture
// instead, what the picture says (a star strip's level, a status star's
// status).
std::string CellText(const Comparison& comparison, GridId grid, int col, int row);

// Grid row `row`, as the grid counts its rows (header rows included).
TextLine RowText(const Comparison& comparison, GridId grid, int row);

// The detail panel as lines of a caption and a value.
std::vector<TextLine> DetailPanelLines(const DetailPanel& panel);

// Lines as text that a spreadsheet or a forum editor pastes as a table:
// cells separated by tabs, each line ended by a line break. A tab or a line
// break inside a cell becomes a space.
std::string TabSeparated(const std::vector<TextLine>& lines);

}  // namespace cadrix
