#pragma once

class QFont;
class QString;

namespace cadrix::app {

// Prints an HTML report (as the report's HTML writer makes it) to `target`
// as an A4 PDF: every page of the report starts a new sheet, the text is in
// `font`'s family (the grid font the user chose) and stays selectable, the
// pictures and colours are those of the HTML. The file is written through
// QSaveFile, so a failure leaves an existing file as it was. Throws with the
// message to show, which names the file and the reason.
void WritePdfReport(const QString& html, const QString& target, const QFont& font);

}  // namespace cadrix::app
