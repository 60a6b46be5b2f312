#include "export/report_output.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "export/csv_report.h"
#include "export/forum_text.h"
#include "export/html_report.h"
#include "export/output_file.h"

namespace cadrix {

bool TerminalWantsColour() {
    // NO_COLOR set to anything but the empty text turns colours off
    // (no-color.org); so does a terminal that cannot show them.
    if (const char* noColour = std::getenv("NO_COLOR"); noColour && *noColour)
        return false;
    const char* term = std::getenv("TERM");
    if (!term || !*term || std::string_view(term) == "dumb")
        return false;
    return ::isatty(STDOUT_FILENO) == 1;
}

namespace {

struct FormatName {
    std::string_view name;
    ReportFormat format;
};

constexpr FormatName kFormatNames[] = {
    {"text", ReportFormat::Text}, {"json", ReportFormat::Json},     {"html", ReportFormat::Html},
    {"csv", ReportFormat::Csv},   {"bbcode", ReportFormat::BBCode}, {"markdown", ReportFormat::Markdown},
};

}  // namespace

std::optional<ReportFormat> ReportFormatNamed(std::string_view name) {
    for (const FormatName& named : kFormatNames) {
        if (named.name == name)
            return named.format;
    }
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
    case ReportFormat::Json: WriteJsonReport(input, *sink); break;
    // Colours only where a person reads the terminal.
    case ReportFormat::Text: WriteTextReport(input, !output && TerminalWantsColour(), *sink); break;
    case ReportFormat::Html: WriteHtmlReport(input, *sink); break;
    case ReportFormat::BBCode: WriteForumReport(input, ForumMarkup::BBCode, *sink); break;
    case ReportFormat::Markdown: WriteForumReport(input, ForumMarkup::Markdown, *sink); break;
    case ReportFormat::Csv: break;
    }
    sink->Flush();
    if (file)
        file->Commit();
}

}  // namespace cadrix
