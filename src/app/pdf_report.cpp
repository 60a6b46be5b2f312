#include "pdf_report.h"

#include <stdexcept>
#include <string>

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSizeF>
#include <QString>
#include <QTextDocument>

namespace cadrix::app {

namespace {

constexpr qreal kMarginMm = 12;
// The report's sizes are CSS pixels, 96 to the inch; at that resolution a
// pixel of the page is one of them.
constexpr int kCssPixelsPerInch = 96;

// Qt's rich text reads no print media rules; the report's pages start a new
// sheet at their captions all the same.
const char* const kPrintRules = "h2 { page-break-before: always; }";

std::string Quoted(const QString& path) { return "\"" + path.toStdString() + "\""; }

}  // namespace

void WritePdfReport(const QString& html, const QString& target, const QFont& font) {
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Cannot create file " + Quoted(target) + ". " + file.errorString().toStdString());
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
        writer.setResolution(kCssPixelsPerInch);
        writer.setCreator(QStringLiteral("Cadrix 2"));

        QTextDocument document;
        document.setDefaultFont(font);
        document.setDefaultStyleSheet(QString::fromLatin1(kPrintRules));
        document.setHtml(html);
        document.setPageSize(QSizeF(writer.width(), writer.height()));
        document.print(&writer);
    }
    if (!file.commit())
        throw std::runtime_error("Cannot write file " + Quoted(target) + ". " + file.errorString().toStdString());
}

}  // namespace cadrix::app
