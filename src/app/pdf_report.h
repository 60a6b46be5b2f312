#pragma once

#include "export/report.h"

class QFont;
class QString;

namespace cadrix::app {

// The report as an A4 PDF: the title ("Итоги и сравнение: Клуб, dates") on
// top of every sheet and in the document's properties, "стр. N из M" at
// every sheet's foot; the summary first, then every page of the report on
// sheets of its own, its grid filling the sheet's width (landscape for the
// wide grids), the rows running on over as many sheets as they need with
// the header lines repeated. The text is in `font`'s family (the grid font
// the user chose) and stays selectable; the colours are the palette's. The
// file is written through QSaveFile, so a failure leaves an existing file as
// it was. Throws with the message to show, which names the file and the
// reason.
void WritePdfReport(const ReportInput& input, const QString& target, const QFont& font);

}  // namespace cadrix::app
