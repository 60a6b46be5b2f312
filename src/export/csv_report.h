#pragma once

#include <filesystem>
#include <string_view>

#include "export/report.h"

namespace cadrix {

// The report as a folder of CSV files for spreadsheets, one per page:
// club.csv, infrastructure.csv, national.csv, contracts.csv, values.csv,
// real_level.csv, skills-N.csv for each pick of chooser item N, and
// summary.csv. UTF-8 with a byte order mark, ";" between fields, quoted as
// RFC 4180 says, CR LF line ends. A page file holds the captions above the
// grid, one row per grid row with every visible cell's text as the page shows
// it (a picture cell as the level or status it stands for), then the totals
// line where the page has one. summary.csv holds one row per item, its
// group's key first. The folder is created when missing; each file is written
// through a temporary file in it, and a link standing at a file's name is
// replaced, never followed. A file that is one of `reads` is refused.
void WriteCsvReport(const ReportInput& input, const std::filesystem::path& folder, const ReadFiles* reads = nullptr);

// The file name of a grid's page.
std::string_view CsvFileName(GridId grid);

}  // namespace cadrix
