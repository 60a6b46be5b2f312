// The PDF report: the sample pair printed and read back with the poppler
// tools, and a long wide table laid out over several sheets.
#include <optional>
#include <stdexcept>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app_windows.h"
#include "pdf_report.h"
#include "pdf_sheets.h"
#include "support.h"
#include "views/summary.h"

using namespace cadrix;
using namespace cadrix::app;

namespace {

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");
const QString kTitle = QStringLiteral("Итоги и сравнение: Волжский Сокол, 01.09.2026 – 30.11.2026");

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

#define POPPLER(output, program, ...)                                                                  \
    const auto output = Run(QStringLiteral(program), __VA_ARGS__);                                    \
    if (!output) {                                                                                     \
        if (InCi())                                                                                    \
            QFAIL(program " did not run, and CI=true runs every test");                                \
        QSKIP(program " is not installed");                                                            \
    }

// The sheets' texts as pdftotext reads them, one per sheet.
QStringList Sheets(const QByteArray& text) {
    QStringList sheets = QString::fromUtf8(text).split(QLatin1Char('\f'));
    if (!sheets.isEmpty() && sheets.back().trimmed().isEmpty())
        sheets.removeLast();
    return sheets;
}

// The share of the printable width (A4 minus 12 mm each side) that the
// dark pixels of a rendered sheet span, below its title band.
double InkWidthShare(const QImage& sheet) {
    const bool landscape = sheet.width() > sheet.height();
    const double printable = sheet.width() * (1 - 24.0 / (landscape ? 297 : 210));
    int left = sheet.width(), right = -1;
    for (int y = sheet.height() / 8; y < sheet.height() * 7 / 8; ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            if (qGray(sheet.pixel(x, y)) < 200) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right < left ? 0 : (right - left + 1) / printable;
}

}  // namespace

class PdfReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_comparison.Load({true, "01.09.2026", (kSamples + QStringLiteral("/start")).toStdString()},
                                  {true, "30.11.2026", (kSamples + QStringLiteral("/end")).toStdString()}));
        m_comparison.ChoosePlayer(0);
    }

    // Who and when in the properties and on every sheet, "стр. N из M" at
    // each foot, every page of the report on sheets of its own, each grid
    // across most of the sheet.
    void printsTheSamplePairWithTitleFootersAndFullWidthGrids() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        ChoiceRecord chosen{0, m_comparison.ComboBox3Text(), m_comparison.Grid(GridId::StringGrid3),
                            m_comparison.ExInfo()};
        ReportInput input;
        input.comparison = &m_comparison;
        input.choices = {chosen};
        WritePdfReport(input, pdf, QFont(QStringLiteral("Arial")));

        POPPLER(info, "pdfinfo", {pdf});
        QVERIFY2(QString::fromUtf8(*info).contains(QRegularExpression(QStringLiteral("Title: +") + kTitle + u'\n')),
                 info->constData());
        POPPLER(text, "pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        const QStringList sheets = Sheets(*text);
        QVERIFY2(sheets.size() >= 8, qPrintable(QString::number(sheets.size())));
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            const QString sheet = sheets[i].trimmed();
            QVERIFY2(sheet.startsWith(kTitle), qPrintable(sheet.left(200)));
            QVERIFY2(sheet.endsWith(QStringLiteral("стр. %1 из %2").arg(i + 1).arg(sheets.size())),
                     qPrintable(sheet.right(100)));
        }
        QVERIFY(sheets[0].contains(QStringLiteral("Итоги периода: Волжский Сокол, 01.09.2026 – 30.11.2026 (90 дней)")));
        QVERIFY(sheets[0].contains(QStringLiteral("▲ — изменение к лучшему, ▼ — к худшему")));
        const QString all = QString::fromUtf8(*text);
        for (const QString& expected : {QStringLiteral("Всего по статусам:"), QStringLiteral("Общая стоимость игроков:"),
                                        QString::fromStdString(m_comparison.ComboBox3Text())})
            QVERIFY2(all.contains(expected), qPrintable(expected));

        POPPLER(rendered, "pdftoppm", {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-f"),
                                       QStringLiteral("2"), QStringLiteral("-gray"), QStringLiteral("-png"), pdf,
                                       dir.filePath(QStringLiteral("sheet"))});
        const QStringList pictures = QDir(dir.path()).entryList({QStringLiteral("sheet-*.png")}, QDir::Files, QDir::Name);
        QCOMPARE(pictures.size(), sheets.size() - 1);
        for (const QString& name : pictures) {
            const double share = InkWidthShare(QImage(dir.filePath(name)));
            QVERIFY2(share >= 0.6, qPrintable(name + QStringLiteral(": ") + QString::number(share)));
        }
    }

    // A table wider than a portrait sheet turns it landscape; its rows run on
    // over the sheets with the header line on top of each, none cut or lost.
    void splitsALongWideTableWithItsHeaderOnEverySheet() {
        PrintTable table;
        PrintRow& header = table.head.emplace_back();
        for (int c = 0; c < 12; ++c) {
            PrintCell& cell = header.emplace_back();
            cell.content.text = QStringLiteral("Заголовок%1").arg(c);
            cell.fixed = true;
        }
        for (int r = 0; r < 150; ++r) {
            PrintRow& row = table.body.emplace_back();
            for (int c = 0; c < 12; ++c)
                row.emplace_back().content.text = QStringLiteral("строка%1-%2 длинный текст").arg(r).arg(c);
        }
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("table.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(96);
            PrintSections(writer,
                          {PrintSection{{PrintParagraph{ParagraphKind::Text, {PrintRun(QStringLiteral("Вступление"))}}}},
                           PrintSection{{table}}},
                          {QFont(QStringLiteral("Arial")), Qt::lightGray, Qt::gray, QStringLiteral("Заглавие")});
        }
        POPPLER(text, "pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        const QStringList sheets = Sheets(*text);
        QVERIFY2(sheets.size() >= 4, qPrintable(QString::number(sheets.size())));
        int next = 0;
        for (qsizetype i = 1; i < sheets.size(); ++i) {
            QCOMPARE(sheets[i].count(QStringLiteral("Заголовок0")), 1);
            QVERIFY(sheets[i].indexOf(QStringLiteral("Заголовок11")) < sheets[i].indexOf(QStringLiteral("строка")));
            while (sheets[i].contains(QStringLiteral("строка%1-11 длинный").arg(next)))
                ++next;
            QVERIFY2(sheets[i].contains(QStringLiteral("стр. %1 из %2").arg(i + 1).arg(sheets.size())),
                     qPrintable(sheets[i].right(80)));
        }
        QCOMPARE(next, 150);
        POPPLER(info, "pdfinfo", {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                  QString::number(sheets.size()), pdf});
        const QString sizes = QString::fromUtf8(*info);
        QVERIFY2(sizes.contains(QRegularExpression(QStringLiteral("Page +1 size: +595 x 842"))), qPrintable(sizes));
        QCOMPARE(sizes.count(QRegularExpression(QStringLiteral("size: +842 x 595"))), sheets.size() - 1);
    }

    void failureNamesTheFileAndKeepsNoPart() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("missing/report.pdf"));
        ReportInput input;
        input.comparison = &m_comparison;
        try {
            WritePdfReport(input, target, QFont(QStringLiteral("Arial")));
            QFAIL("a PDF was written into a folder that does not exist");
        } catch (const std::runtime_error& error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(target), error.what());
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

private:
    Comparison m_comparison;
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
