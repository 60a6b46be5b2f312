// The report's writers alone, on a loaded comparison of a generated pair: what
// each format adds to the load run.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/output_file.h"
#include "export/report.h"
#include "snapshot_generator.h"
#include "views/summary.h"

namespace {

using namespace cadrix;

// Counts the bytes a writer hands on and keeps none.
class CountingSink : public OutputSink {
public:
    std::size_t bytes = 0;

protected:
    void Put(std::string_view text) override { bytes += text.size(); }
};

// One comparison of a 40,000-player pair, loaded once for all writers.
const Comparison& Loaded() {
    static Comparison comparison;
    static const bool loaded = [] {
        const auto dir = std::filesystem::temp_directory_path() / "cadrix_bench_report_pair";
        std::filesystem::remove_all(dir);
        bench::WriteSnapshot(dir / "old", 40000, bench::Period::Start);
        bench::WriteSnapshot(dir / "new", 40000, bench::Period::End);
        const bool done = comparison.Load({true, "", dir / "old"}, {true, "", dir / "new"});
        std::filesystem::remove_all(dir);
        return done;
    }();
    static_cast<void>(loaded);
    return comparison;
}

ReportInput InputOf(const Comparison& comparison) {
    ReportInput input;
    input.comparison = &comparison;
    return input;
}

void BM_Summary(benchmark::State& state) {
    const Comparison& comparison = Loaded();
    for (auto _ : state)
        benchmark::DoNotOptimize(SummarisePeriod(comparison).arrivals.size());
}
BENCHMARK(BM_Summary)->Unit(benchmark::kMillisecond);

void BM_JsonReport(benchmark::State& state) {
    const ReportInput input = InputOf(Loaded());
    for (auto _ : state)
        benchmark::DoNotOptimize(JsonReport(input).size());
}
BENCHMARK(BM_JsonReport)->Unit(benchmark::kMillisecond);

void BM_HtmlReport(benchmark::State& state) {
    const ReportInput input = InputOf(Loaded());
    for (auto _ : state) {
        CountingSink sink;
        WriteHtmlReport(input, sink);
        sink.Flush();
        benchmark::DoNotOptimize(sink.bytes);
    }
}
BENCHMARK(BM_HtmlReport)->Unit(benchmark::kMillisecond);

void BM_CsvReport(benchmark::State& state) {
    const ReportInput input = InputOf(Loaded());
    const auto dir = std::filesystem::temp_directory_path() / "cadrix_bench_report_csv";
    for (auto _ : state)
        WriteCsvReport(input, dir);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CsvReport)->Unit(benchmark::kMillisecond);

}  // namespace
