#pragma once

#include <array>
#include <string>
#include <vector>

#include "export/output_file.h"
#include "views/comparison.h"
#include "views/detail_panel.h"
#include "views/palette.h"
#include "views/summary.h"

namespace cadrix {

// One pick of the player chooser, as the report shows it afterwards.
struct ChoiceRecord {
    int index = 0;
    std::string text;  // the chooser's text, which the skills grid is coloured by
    TextTable skills{4};
    DetailPanel panel;
};

// An archive row of the window as the report shows it: the label of the
// chosen file and the label of its players file's date.
struct ArchiveRow {
    std::string file;
    std::string date;
};

struct ReportInput {
    const Comparison* comparison = nullptr;
    std::array<ArchiveRow, 2> archives;  // the start's row, then the end's
    bool withTables = false;
    std::vector<ChoiceRecord> choices;
    const PeriodSummary* summary = nullptr;  // the text and JSON forms show it when given
    PaletteChoice palette = PaletteChoice::Designed;
};

// "#RRGGBB".
std::string HexColour(const Rgb& colour);

// The JSON names of a picture ("stars-3") and of a background ("favourable");
// null for none and for the grid's own.
const char* ImageName(CellImage image);
const char* BackgroundName(Background background);

// The report as JSON, written piece by piece to `out`.
void WriteJsonReport(const ReportInput& input, OutputSink& out);
std::string JsonReport(const ReportInput& input);
// The report as aligned text, written piece by piece to `out`; in the
// palette's colours for a terminal when `colour` is set.
void WriteTextReport(const ReportInput& input, bool colour, OutputSink& out);
std::string TextReport(const ReportInput& input, bool colour);

}  // namespace cadrix
