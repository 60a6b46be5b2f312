// Extraction of a statistics archive the size of a very large club's export
// history: four CSV entries, 200 MB of text, made once by Info-ZIP. Three
// timings on the same archive, all in wall-clock time:
//   ZipExtract/cadrix  the archive reader into a fresh folder
//   ZipExtract/unzip   Info-ZIP `unzip -o -q` into a fresh folder (the peer)
//   ZipExtract/inflate zlib's raw inflate of the same entries in memory,
//                      writing nothing: the reader, files and all, beats it
// CADRIX_ZIP_BENCH_ARCHIVE names a place to keep the archive between runs.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/archive_file.h"
#include "import/extract_questions.h"
#include "import/zip_extract.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTotalText = 200'000'000;

// Lines in the shape of the game's export: ids, names in code page 1251,
// positions, numbers with a decimal comma.
std::string CsvText(std::size_t bytes, std::uint32_t seed, int columns) {
    static const char* kNames[] = {"\xC8\xE2\xE0\xED\xEE\xE2",
                                   "\xCF\xE5\xF2\xF0\xEE\xE2",
                                   "\xD1\xE8\xE4\xEE\xF0\xEE\xE2",
                                   "\xCA\xF3\xE7\xED\xE5\xF6\xEE\xE2",
                                   "Smith",
                                   "M\xFCller",
                                   "Rossi",
                                   "Silva"};
    static const char* kPositions[] = {"GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW"};
    std::string text;
    text.reserve(bytes + 256);
    text += "id;name;pos";
    for (int c = 3; c < columns; ++c)
        text += ";c" + std::to_string(c);
    text += "\r\n";
    std::uint32_t x = seed;
    auto next = [&x] { return x = x * 1664525u + 1013904223u; };
    while (text.size() < bytes) {
        text += std::to_string(100000 + next() % 900000);
        text += ';';
        text += kNames[next() >> 29];
        text += ';';
        text += kPositions[next() >> 29];
        for (int c = 3; c < columns; ++c) {
            text += ';';
            const std::uint32_t v = next() >> 16;
            text += std::to_string(v % 200);
            if (c % 5 == 0) {
                text += ',';
                text += std::to_string(v % 10);
            }
        }
        text += "\r\n";
    }
    return text;
}

// Made on first use, removed when the program ends.
struct Scratch {
    fs::path folder;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "cadrix-zip-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        folder = pattern;
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

const fs::path& ScratchFolder() {
    static const Scratch scratch;
    return scratch.folder;
}

const fs::path& BenchArchive() {
    static const fs::path archive = [] {
        fs::path path = ScratchFolder() / "statistics.zip";
        if (const char* keep = std::getenv("CADRIX_ZIP_BENCH_ARCHIVE"); keep && *keep)
            path = keep;
        if (fs::exists(path))
            return path;
        const fs::path source = ScratchFolder() / "source";
        fs::create_directories(source);
        const struct {
            const char* name;
            double share;
            int columns;
        } files[] = {{"club_players.csv", 0.30, 30},
                     {"club_players_skills.csv", 0.30, 28},
                     {"club_team.csv", 0.20, 40},
                     {"club_structure.csv", 0.20, 12}};
        std::uint32_t seed = 1;
        for (const auto& f : files) {
            std::ofstream out(source / f.name, std::ios::binary);
            const std::string text = CsvText(static_cast<std::size_t>(kTotalText * f.share), seed++, f.columns);
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
        fs::create_directories(path.parent_path());
        const std::string command = "cd '" + source.string() + "' && zip -q -X '" + fs::absolute(path).string() +
                                    "' club_players.csv club_players_skills.csv club_team.csv club_structure.csv";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("zip failed: " + command);
        fs::remove_all(source);
        return path;
    }();
    return archive;
}

void FreshFolder(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

// The written files go as soon as their run is timed: left in the page cache,
// their write-back would fall into whichever run comes next.
void DropOutput(benchmark::State& state, const fs::path& folder) {
    state.PauseTiming();
    fs::remove_all(folder);
    state.ResumeTiming();
}

void SetTextBytes(benchmark::State& state) {
    const cadrix::ArchiveFile zip = cadrix::ArchiveFile::Open(BenchArchive());
    std::uint64_t total = 0;
    for (const auto& e : zip.Entries())
        total += e.uncompressedSize;
    state.SetBytesProcessed(static_cast<std::int64_t>(total * state.iterations()));
}

void BM_ZipExtractCadrix(benchmark::State& state) {
    const fs::path target = ScratchFolder() / "cadrix-out";
    cadrix::UnattendedQuestions questions;
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder(target);
        state.ResumeTiming();
        const cadrix::ArchiveFile zip = cadrix::ArchiveFile::Open(BenchArchive());
        cadrix::ExtractCsvEntries(zip.Archive(), target, questions);
        DropOutput(state, target);
    }
    SetTextBytes(state);
}

void BM_ZipExtractUnzip(benchmark::State& state) {
    const fs::path target = ScratchFolder() / "unzip-out";
    const std::string command = "unzip -o -q '" + BenchArchive().string() + "' -d '" + target.string() + "'";
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder(target);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("unzip failed");
        DropOutput(state, target);
    }
    SetTextBytes(state);
}

void BM_ZipExtractInflate(benchmark::State& state) {
    // The compressed data of every entry, read once.
    std::vector<std::string> streams;
    {
        const cadrix::ArchiveFile zip = cadrix::ArchiveFile::Open(BenchArchive());
        std::ifstream in(BenchArchive(), std::ios::binary);
        for (const auto& e : zip.Entries()) {
            std::string data(e.compressedSize, '\0');
            in.seekg(static_cast<std::streamoff>(*e.dataOffset));
            in.read(data.data(), static_cast<std::streamsize>(data.size()));
            streams.push_back(std::move(data));
        }
    }
    std::vector<unsigned char> out(1 << 20);
    for (auto _ : state) {
        for (const std::string& s : streams) {
            z_stream zs{};
            inflateInit2(&zs, -MAX_WBITS);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(s.data()));
            zs.avail_in = static_cast<uInt>(s.size());
            int rc = Z_OK;
            while (rc == Z_OK) {
                zs.next_out = out.data();
                zs.avail_out = static_cast<uInt>(out.size());
                rc = inflate(&zs, Z_NO_FLUSH);
            }
            if (rc != Z_STREAM_END)
                state.SkipWithError("inflate failed");
            inflateEnd(&zs);
            benchmark::DoNotOptimize(out.data());
        }
    }
    SetTextBytes(state);
}

}  // namespace

BENCHMARK(BM_ZipExtractCadrix)->Name("ZipExtract/cadrix")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZipExtractUnzip)->Name("ZipExtract/unzip")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZipExtractInflate)->Name("ZipExtract/inflate")->Unit(benchmark::kMillisecond)->UseRealTime();
