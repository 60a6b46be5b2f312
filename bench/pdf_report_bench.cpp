// Times the PDF report of a pair of export folders, as the window saves it:
//   pdf_report_bench START_FOLDER END_FOLDER OUTPUT.pdf
// prints the load run's and the PDF's wall time in milliseconds.
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>

#include <QApplication>
#include <QFont>
#include <QString>

#include "pdf_report.h"
#include "views/summary.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: pdf_report_bench START_FOLDER END_FOLDER OUTPUT.pdf\n");
        return 2;
    }
    try {
        using Clock = std::chrono::steady_clock;
        const auto since = [](Clock::time_point from) {
            return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
        };
        const auto loadStart = Clock::now();
        cadrix::Comparison comparison;
        if (!comparison.Load({true, "01.09.2026", argv[1]}, {true, "30.11.2026", argv[2]}))
            throw std::runtime_error("the pair did not load");
        const double load = since(loadStart);
        const auto pdfStart = Clock::now();
        cadrix::ReportInput input;
        input.comparison = &comparison;
        cadrix::app::WritePdfReport(input, QString::fromLocal8Bit(argv[3]), QFont(QStringLiteral("Arial")));
        std::printf("load %.0f ms, pdf %.0f ms\n", load, since(pdfStart));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pdf_report_bench: %s\n", e.what());
        return 2;
    }
    return 0;
}
