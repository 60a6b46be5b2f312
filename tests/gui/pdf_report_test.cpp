// The PDF report: the HTML report of the sample pair printed by Qt, read back
// with pdftotext.
#include <optional>
#include <stdexcept>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app_windows.h"
#include "pdf_report.h"
#include "support.h"

using namespace cadrix::app;

namespace {

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");

bool InCi() { return qgetenv("CI") == "true"; }

// Runs a program to its end and returns its output; none when it cannot be
// run (not installed) or fails.
std::optional<QByteArray> Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

}  // namespace

class PdfReportTest : public QObject {
    Q_OBJECT

private slots:
    void printsEveryPageOnItsOwnSheetWithSelectableCyrillic() {
        QTemporaryDir dir;
        const QString html = dir.filePath(QStringLiteral("report.html"));
        const QStringList pair = {kSamples + QStringLiteral("/start"), kSamples + QStringLiteral("/end")};
        const QStringList choose = {QStringLiteral("--choose"), QStringLiteral("0")};
        QVERIFY(Run(QStringLiteral(CADRIX_REPORT_EXE),
                    QStringList{QStringLiteral("--format"), QStringLiteral("html"), QStringLiteral("--output"), html} +
                        choose + pair));
        const auto jsonText = Run(QStringLiteral(CADRIX_REPORT_EXE),
                                  QStringList{QStringLiteral("--format"), QStringLiteral("json")} + choose + pair);
        QVERIFY(jsonText);
        const QJsonObject json = QJsonDocument::fromJson(*jsonText).object();
        QFile file(html);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        WritePdfReport(QString::fromUtf8(file.readAll()), pdf, QFont(QStringLiteral("Arial")));

        const auto pdfText = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        if (!pdfText) {
            if (InCi())
                QFAIL("pdftotext is not installed, and CI=true runs every test");
            QSKIP("pdftotext is not installed");
        }
        const QString text = QString::fromUtf8(*pdfText);
        // The summary, then each page on a sheet of its own, in the window's tab order.
        QStringList sheetTitles;
        for (const QString& sheet : text.split(QLatin1Char('\f')))
            sheetTitles << sheet.trimmed().section(QLatin1Char('\n'), 0, 0);
        const QStringList pages = {QStringLiteral("Клуб"),     QStringLiteral("Скиллы"),    QStringLiteral("РУ"),
                                   QStringLiteral("Номиналы"), QStringLiteral("Контракты"), QStringLiteral("Сборные"),
                                   QStringLiteral("Инф-ра")};
        QVERIFY2(text.trimmed().contains(QStringLiteral("Итоги периода")), qPrintable(sheetTitles.join(u'|')));
        qsizetype from = 0;
        for (const QString& page : pages) {
            from = sheetTitles.indexOf(page, from);
            QVERIFY2(from > 0, qPrintable(page + QStringLiteral(" in ") + sheetTitles.join(u'|')));
        }
        // Cells of several pages, as the JSON report has them.
        const QJsonObject grids = json.value(QStringLiteral("grids")).toObject();
        const auto cell = [&](const char* grid, int row, int col) {
            return grids.value(QLatin1String(grid))
                .toArray()
                .at(row)
                .toArray()
                .at(col)
                .toObject()
                .value(QStringLiteral("text"))
                .toString();
        };
        for (const QString& expected : {cell("StringGrid_ru", 0, 0), cell("StringGrid2", 1, 0),
                                        cell("StringGrid1", 1, 0), QStringLiteral("Всего по статусам:"),
                                        json.value(QStringLiteral("ComboBox3")).toArray().at(0).toString()}) {
            QVERIFY(!expected.isEmpty());
            QVERIFY2(text.contains(expected), qPrintable(expected));
        }
    }

    void failureNamesTheFileAndKeepsNoPart() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("missing/report.pdf"));
        try {
            WritePdfReport(QStringLiteral("<h1>Итоги периода</h1>"), target, QFont(QStringLiteral("Arial")));
            QFAIL("a PDF was written into a folder that does not exist");
        } catch (const std::runtime_error& error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(target), error.what());
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir settings;
    KeepSettingsIn(settings.path());
    LoadResources();
    PdfReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "pdf_report_test.moc"
