#include "report_export.h"

#include <filesystem>
#include <optional>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QFont>

#include "export/csv_report.h"
#include "export/forum_text.h"
#include "export/html_report.h"
#include "export/output_file.h"
#include "export/report.h"
#include "pdf_report.h"
#include "uihost.h"
#include "views/summary.h"

namespace cadrix::app {

namespace {

struct FormatName {
    ReportFormat format;
    QString extension;
};

const std::vector<FormatName>& FormatNames() {
    static const std::vector<FormatName> names = {
        {ReportFormat::Html, QStringLiteral("html")},
        {ReportFormat::Html, QStringLiteral("htm")},
        {ReportFormat::Pdf, QStringLiteral("pdf")},
        {ReportFormat::Csv, QStringLiteral("csv")},
    };
    return names;
}

std::optional<ReportFormat> FormatOfExtension(const QString& extension) {
    for (const FormatName& name : FormatNames()) {
        if (extension.compare(name.extension, Qt::CaseInsensitive) == 0)
            return name.format;
    }
    return std::nullopt;
}

QString ExtensionOf(ReportFormat format) {
    for (const FormatName& name : FormatNames()) {
        if (name.format == format)
            return name.extension;
    }
    return {};
}

std::filesystem::path PathOf(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace

ReportTarget ReportTargetOf(const QString& chosen, const QString& selectedFilter) {
    const QFileInfo file(chosen);
    ReportTarget target;
    target.path = chosen;
    if (const auto format = FormatOfExtension(file.suffix())) {
        target.format = *format;
    } else {
        target.format = FormatOfExtension(FilterSuffix(selectedFilter)).value_or(ReportFormat::Html);
        if (file.suffix().isEmpty())
            target.path += u'.' + ExtensionOf(target.format);
    }
    if (target.format == ReportFormat::Csv) {
        const QFileInfo named(target.path);
        if (named.suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0 &&
            !named.completeBaseName().isEmpty())
            target.path = QDir(named.path()).filePath(named.completeBaseName());
    }
    return target;
}

namespace {

ReportInput InputOf(const WindowReport& report, const PeriodSummary& summary) {
    const Comparison& comparison = *report.comparison;
    ReportInput input;
    input.comparison = &comparison;
    input.archives = report.archives;
    input.summary = &summary;
    input.palette = report.palette;
    if (comparison.ChosenIndex() >= 0) {
        ChoiceRecord chosen;
        chosen.index = comparison.ChosenIndex();
        chosen.text = comparison.ComboBox3Text();
        chosen.skills = comparison.Grid(GridId::StringGrid3);
        chosen.panel = comparison.ExInfo();
        input.choices.push_back(std::move(chosen));
    }
    return input;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SummaryForms SummaryFormsOf(const WindowReport& report) {
    const PeriodSummary summary = SummarisePeriod(*report.comparison);
    const ReportInput input = InputOf(report, summary);
    return {Text(SummaryHeading(summary.period)), Text(HtmlSummary(input)), Text(SummaryText(summary)),
            Text(ForumSummary(summary, report.palette, ForumMarkup::BBCode)),
            Text(ForumSummary(summary, report.palette, ForumMarkup::Markdown))};
}

void SaveReport(const WindowReport& report, const ReportTarget& target, const QFont& font) {
    const PeriodSummary summary = SummarisePeriod(*report.comparison);
    const ReportInput input = InputOf(report, summary);
    switch (target.format) {
    case ReportFormat::Html: {
        OutputFile file(PathOf(target.path));
        WriteHtmlReport(input, file);
        file.Commit();
        break;
    }
    case ReportFormat::Pdf: WritePdfReport(input, target.path, font); break;
    case ReportFormat::Csv: WriteCsvReport(input, PathOf(target.path)); break;
    }
}

}  // namespace cadrix::app
