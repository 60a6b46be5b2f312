// Any bytes at all as a history database file, then what the history's
// readers do with it: the list, the clubs, a club's figures, a player's
// series and one comparison of its first and last snapshot, written out as a
// choice would write them. A file that is no history, or a damaged one, must
// end in HistoryError (or a file error), never crash, hang, leak or read out
// of bounds; nothing is ever written to the file.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "history/history.h"
#include "history/stored_choice.h"
#include "import/working_folders.h"
#include "views/comparison.h"
#include "scratch.h"

namespace {

namespace fs = std::filesystem;

const fs::path& ScratchRoot() { return ::ScratchRoot("history"); }

void Compare(const cadrix::History& history, cadrix::SnapshotId start, cadrix::SnapshotId end) {
    const fs::path base = ScratchRoot() / "work";
    cadrix::SnapshotChoice choices[] = {cadrix::SnapshotChoice::Initial(cadrix::SnapshotSide::Start),
                                        cadrix::SnapshotChoice::Initial(cadrix::SnapshotSide::End)};
    const cadrix::SnapshotId ids[] = {start, end};
    for (int side = 0; side < 2; ++side)
        cadrix::ChooseStoredSnapshot(choices[side], history, ids[side], base);
    cadrix::Comparison comparison;
    comparison.Load({true, choices[0].dateText, cadrix::WorkingFolder(base, cadrix::SnapshotSide::Start)},
                    {true, choices[1].dateText, cadrix::WorkingFolder(base, cadrix::SnapshotSide::End)});
}

void Read(const fs::path& file) {
    const auto history = cadrix::History::OpenExisting(file);
    if (!history)
        return;
    const auto snapshots = history->Snapshots();
    static_cast<void>(history->Clubs());
    if (snapshots.empty())
        return;
    static_cast<void>(history->Club(snapshots.back().club));
    // The sample pair's players; a mutated id column holds what it holds.
    static_cast<void>(history->Player("104512"));
    static_cast<void>(history->Player("100000"));
    Compare(*history, snapshots.front().id, snapshots.back().id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = ScratchRoot() / "history.sqlite";
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::error_code ec;
        fs::remove(file.string() + suffix, ec);
    }
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        Read(file);
    } catch (const cadrix::HistoryError&) {
    } catch (const std::runtime_error&) {  // a stored file that cannot be written out
    }
    return 0;
}
