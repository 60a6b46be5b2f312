#pragma once

#include <array>
#include <string>

#include <QString>

#include "export/report.h"
#include "summary_window.h"
#include "views/comparison.h"
#include "views/palette.h"

class QFont;

namespace cadrix::app {

// "Сохранить отчёт…": the report of the loaded comparison as the user saves
// it from the window, in one of three forms.
enum class ReportFormat { Html, Pdf, Csv };

// The save dialog's filter, in the program's "description|pattern" form.
inline const QString kReportFilter =
    QStringLiteral("Отчёт HTML (*.html)|*.html|Отчёт PDF (*.pdf)|*.pdf|Таблицы CSV (*.csv)|*.csv");

// Where a report goes: a file, or for CSV the folder of its files.
struct ReportTarget {
    ReportFormat format = ReportFormat::Html;
    QString path;
};

// The name the user chose says the form by its extension; a name without one
// the dialog knows takes the form of the filter chosen in the dialog (HTML
// where that is none of the three either), and where it has no extension at
// all, that form's. The CSV files go into a folder beside the chosen name,
// named as it is without ".csv": "Итоги.csv" makes the folder "Итоги".
ReportTarget ReportTargetOf(const QString& chosen, const QString& selectedFilter);

// What the window's report holds besides the comparison: the archive rows'
// texts and the palette of the cells.
// The summary comes first, then the pages; the skills page holds the player
// chosen on it, if any.
struct WindowReport {
    const Comparison* comparison = nullptr;
    std::array<ArchiveRow, 2> archives;  // the start's row, then the end's
    PaletteChoice palette = PaletteChoice::Designed;
};

// Writes the report through temporary files renamed into place, so that a
// failure leaves an existing file as it was; the PDF's text is in `font`'s
// family. Throws with the message to show, which names the file or folder
// and the reason.
void SaveReport(const WindowReport& report, const ReportTarget& target, const QFont& font);

// The period summary of the window's report in the forms its window shows
// and copies.
SummaryForms SummaryFormsOf(const WindowReport& report);

}  // namespace cadrix::app
