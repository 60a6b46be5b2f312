// The data layer and the whole load on generated exports of growing size:
// the work must grow linearly with the number of players.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

#include "snapshot/period_table.h"
#include "snapshot/snapshot.h"
#include "snapshot_generator.h"
#include "views/comparison.h"

namespace {

using namespace cadrix;

// One pair of exports per size, written once.
const std::filesystem::path& PairFolder(int players) {
    static std::map<int, std::filesystem::path> folders;
    auto it = folders.find(players);
    if (it == folders.end()) {
        const auto dir = std::filesystem::temp_directory_path() / ("cadrix_bench_" + std::to_string(players));
        std::filesystem::remove_all(dir);
        bench::WriteSnapshot(dir / "old", players, bench::Period::Start);
        bench::WriteSnapshot(dir / "new", players, bench::Period::End);
        it = folders.emplace(players, dir).first;
    }
    return it->second;
}

// Read, decode, repair, split, period player table and chooser, into snapshot
// objects that live on from load to load, as the window's do.
void BM_DataLayer(benchmark::State& state) {
    const auto& dir = PairFolder(static_cast<int>(state.range(0)));
    Snapshot start, end;
    TextTable total(period::kColumns, 2);
    std::vector<std::string> items, ids;
    for (auto _ : state) {
        ResetSnapshot(start);
        ResetSnapshot(end);
        ReadSnapshotFiles(start, dir / "old");
        ReadSnapshotFiles(end, dir / "new");
        ApplyDecimalPointRule(start);
        ApplyDecimalPointRule(end);
        SplitSnapshot(start);
        SplitSnapshot(end);
        BuildPeriodPlayerTable(start.play, end.play, total);
        FillPlayerChooser(start.play, end.play, items, ids);
        benchmark::DoNotOptimize(items.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DataLayer)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

// The load run with the comparison run that fills the six pages.
void BM_LoadAndCompare(benchmark::State& state) {
    const auto& dir = PairFolder(static_cast<int>(state.range(0)));
    Comparison comparison;
    for (auto _ : state) {
        comparison.Load({true, "", dir / "old"}, {true, "", dir / "new"});
        benchmark::DoNotOptimize(comparison.Grid(GridId::StringGrid_ru).RowCount());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadAndCompare)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
