// Any bytes at all, cut at NUL bytes into the four CSV files of a start and
// an end snapshot folder (players, skills, team, structure; a file whose part
// is missing is not there), then the whole load: reading, repairs, splitting,
// the period player table, the chooser, the comparison run, a few player
// choices and the draw rules of the grids. None of it may crash, hang,
// leak, read out of bounds or throw.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "views/comparison.h"
#include "scratch.h"

namespace {

namespace fs = std::filesystem;

constexpr char kFileSeparator = '\0';

// Start files first, then end files, in the order of the input's parts.
constexpr std::array<std::string_view, 4> kFileNames = {"club_players.csv", "club_players_skills.csv", "club_team.csv",
                                                        "club_structure.csv"};

// Grids are drawn in full up to this many rows, so that a long input is not
// spent drawing.
constexpr int kMaxDrawnRows = 64;

// Player choices made after each load: the first few and the last.
constexpr int kChoices = 4;

// The scratch folder, with the two folders a comparison reads.
const fs::path& ScratchRoot() {
    static const fs::path root = [] {
        const fs::path r = ::ScratchRoot("csv");
        fs::create_directories(r / "old");
        fs::create_directories(r / "new");
        return r;
    }();
    return root;
}

// Writes the input's parts as the eight files; a missing part removes its file.
void WriteFolders(std::string_view input, const fs::path& start, const fs::path& end) {
    bool more = true;
    for (std::size_t file = 0; file < 2 * kFileNames.size(); ++file) {
        const fs::path path = (file < kFileNames.size() ? start : end) / kFileNames[file % kFileNames.size()];
        if (!more) {
            fs::remove(path);
            continue;
        }
        const std::size_t cut = input.find(kFileSeparator);
        const std::string_view part = input.substr(0, cut);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(part.data(), static_cast<std::streamsize>(part.size()));
        more = cut != std::string_view::npos;
        if (more)
            input.remove_prefix(cut + 1);
    }
}

void Draw(const cadrix::Comparison& comparison, cadrix::GridId grid) {
    const cadrix::TextTable& table = comparison.Grid(grid);
    for (int row = 0; row < table.RowCount() && row < kMaxDrawnRows; ++row) {
        for (int col = 0; col < table.ColCount(); ++col)
            static_cast<void>(comparison.DrawCell(grid, col, row));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path start = ScratchRoot() / "old";
    const fs::path end = ScratchRoot() / "new";
    WriteFolders(std::string_view(reinterpret_cast<const char*>(data), size), start, end);

    cadrix::Comparison comparison;
    comparison.Load({true, "01.09.2026", start}, {true, "01.12.2026", end});
    using cadrix::GridId;
    for (GridId grid : {GridId::StringGrid1, GridId::StringGrid2, GridId::StringGrid_nat, GridId::StringGrid_pay,
                        GridId::StringGrid_pr, GridId::StringGrid_ru})
        Draw(comparison, grid);

    // A choice changes only the skills grid and the detail panel.
    const int items = static_cast<int>(comparison.ListBox1().size());
    for (int i = 0; i < items && i < kChoices; ++i) {
        comparison.ChoosePlayer(i < kChoices - 1 ? i : items - 1);
        Draw(comparison, GridId::StringGrid3);
    }
    return 0;
}
