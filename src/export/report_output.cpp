#include "export/report_output.h"

#include <unistd.h>

#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/output_file.h"

namespace cadrix {

std::optional<ReportFormat> ReportFormatNamed(std::string_view name) {
    if (name == "text")
        return ReportFormat::Text;
    if (name == "json")
        return ReportFormat::Json;
    if (name == "html")
        return ReportFormat::Html;
    if (name == "csv")
        return ReportFormat::Csv;
    return std::nullopt;
}

bool NeedsOutput(ReportFormat format) { return format == ReportFormat::Csv; }

void WriteReport(const ReportInput& input, ReportFormat format, const std::optional<std::filesystem::path>& output,
                 const ReadFiles* reads) {
    if (format == ReportFormat::Csv) {
        WriteCsvReport(input, *output, reads);
        return;
    }
    std::optional<OutputFile> file;
    StdoutSink stdoutSink;
    OutputSink* sink = &stdoutSink;
    if (output)
        sink = &file.emplace(*output, reads);
    switch (format) {
    case ReportFormat::Json: sink->Write(JsonReport(input)); break;
    // Colours only where a person reads the terminal.
    case ReportFormat::Text: WriteTextReport(input, !output && isatty(STDOUT_FILENO), *sink); break;
    case ReportFormat::Html: WriteHtmlReport(input, *sink); break;
    case ReportFormat::Csv: break;
    }
    sink->Flush();
    if (file)
        file->Commit();
}

}  // namespace cadrix
