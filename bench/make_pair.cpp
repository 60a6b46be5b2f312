// Writes a generated pair of statistics exports for timing the report:
//   cadrix_bench_pair FOLDER PLAYERS
// puts the start export into FOLDER/start and the end export into FOLDER/end.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "snapshot_generator.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: cadrix_bench_pair FOLDER PLAYERS\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        const int players = std::stoi(argv[2]);
        cadrix::bench::WriteSnapshot(folder / "start", players, cadrix::bench::Period::Start);
        cadrix::bench::WriteSnapshot(folder / "end", players, cadrix::bench::Period::End);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cadrix_bench_pair: %s\n", e.what());
        return 2;
    }
    return 0;
}
