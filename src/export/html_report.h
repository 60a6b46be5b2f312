#pragma once

#include <string>

#include "export/output_file.h"
#include "export/report.h"

namespace cadrix {

// The report as one self-contained HTML5 document (UTF-8, no scripts, the
// pictures inlined as PNG data URIs): the title with the club and the dates,
// the file labels, what the marks and colours say, the period summary,
// then the seven pages in the window's tab order, each with its caption, the
// captions above its grid, the grid as one table (one row per grid row, one
// cell per visible cell, in the colours the window gives it, in the
// palette of `input.palette`) and its totals. A favourable or unfavourable
// cell starts with a mark of its own, "▲" or "▼", so that it reads without
// colour. Printed, every page starts a new sheet, in colour.
void WriteHtmlReport(const ReportInput& input, OutputSink& out);
std::string HtmlReport(const ReportInput& input);
// The report's summary alone, as a document of its own with the same style.
std::string HtmlSummary(const ReportInput& input);

}  // namespace cadrix
