// What a manager waits for after picking the end archive: both choices of the
// sample pair, extraction included, and the whole load with the comparison run.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "import/archive_choice.h"
#include "views/comparison.h"

namespace {

using namespace cadrix;

void BM_SamplePairChoicesAndLoad(benchmark::State& state) {
    const std::filesystem::path samples = std::filesystem::path(CADRIX_SOURCE_DIR) / "samples";
    const auto base = std::filesystem::temp_directory_path() / "cadrix_bench_sample_pair";
    std::filesystem::remove_all(base);
    UnattendedQuestions questions;
    for (auto _ : state) {
        Comparison comparison;
        SnapshotChoice start = SnapshotChoice::Initial(SnapshotSide::Start);
        SnapshotChoice end = SnapshotChoice::Initial(SnapshotSide::End);
        for (const auto& [archive, choice] :
             {std::pair{samples / "start.zip", &start}, std::pair{samples / "end.zip", &end}}) {
            BeginChoice(*choice);
            ChooseArchive(*choice, archive, base, questions);
            comparison.Load({start.chosen, start.dateText, WorkingFolder(base, SnapshotSide::Start)},
                            {end.chosen, end.dateText, WorkingFolder(base, SnapshotSide::End)});
        }
        benchmark::DoNotOptimize(comparison.ComboBox3().size());
    }
    std::filesystem::remove_all(base);
}
BENCHMARK(BM_SamplePairChoicesAndLoad)->Unit(benchmark::kMillisecond);

}  // namespace
