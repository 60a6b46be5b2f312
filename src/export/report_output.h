#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "export/report.h"

namespace cadrix {

enum class ReportFormat { Text, Json, Html, Csv, BBCode, Markdown };

// "text", "json", "html", "csv", "bbcode" or "markdown"; none for any other
// name.
std::optional<ReportFormat> ReportFormatNamed(std::string_view name);

// Whether standard output is a terminal that shows colours and the user has
// not turned them off (NO_COLOR, TERM=dumb or unset).
bool TerminalWantsColour();

// Whether the format needs --output: CSV is a folder of files.
bool NeedsOutput(ReportFormat format);

// Writes the report in `format`: to standard output, or with `output` into
// that file (the folder, for CSV), each file through a temporary file that
// takes its place only when complete. Throws with a message naming the file
// and the reason when a file cannot be written, or when it is one of `reads`.
void WriteReport(const ReportInput& input, ReportFormat format, const std::optional<std::filesystem::path>& output,
                 const ReadFiles* reads = nullptr);

}  // namespace cadrix
