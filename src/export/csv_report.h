#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/report.h"

namespace cadrix {

// The report as a folder of CSV files for spreadsheets, one per page:
// club.csv, infrastructure.csv, national.csv, contracts.csv, values.csv,
// real_level.csv, skills-N.csv for each pick of chooser item N, and
// summary.csv. UTF-8 with a byte order mark, ";" between fields, quoted as
// RFC 4180 says, CR LF line ends, every cell as CsvCell writes it. A page
// file holds the captions above the grid, one row per grid row with every
// visible cell's text as the page shows it (a picture cell as the level or
// status it stands for), then the lines under the grid, each total under the
// column it sums. summary.csv holds a header row, then one row per item, its
// group's caption first. The folder is created when missing; each file is
// written through a temporary file in it, and a link standing at a file's
// name is replaced, never followed. A file that is one of `reads` is refused.
void WriteCsvReport(const ReportInput& input, const std::filesystem::path& folder, const ReadFiles* reads = nullptr);

// One field as the report's CSV files write it, appended to `out`.
void AppendCsvField(std::string& out, std::string_view text);
// A table as the text of such a file: the byte order mark, then the rows.
std::string CsvText(const std::vector<std::vector<std::string>>& rows);

// A grouped number of a page ("13.700.000", "-90.500,5") or a plain one
// ("61,9", "-0,4") as a spreadsheet in a Russian locale reads a number: the
// digits, the decimal comma, a leading minus. None for any other text.
std::optional<std::string> SpreadsheetNumber(std::string_view text);

// A cell as the CSV files hold it: a number as SpreadsheetNumber writes it;
// a text that a spreadsheet would take for a formula (it begins with "=",
// "+", "-", "@", a tab or a carriage return) after an apostrophe, which the
// spreadsheet shows as text; the lone "-" of a change that is no number,
// and every other text, as shown.
std::string CsvCell(std::string_view text);

// The file name of a grid's page.
std::string_view CsvFileName(GridId grid);

}  // namespace cadrix
