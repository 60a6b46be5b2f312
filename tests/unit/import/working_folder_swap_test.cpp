#include "import/working_folder_swap.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "import/working_folders.h"
#include "import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

class WorkingFolderSwapTest : public TempFolderTest {};

TEST_F(WorkingFolderSwapTest, FoldersChangePlacesAndALinkIsNeverMoved) {
    const fs::path start = WorkingFolder(Work(), SnapshotSide::Start);
    const fs::path end = WorkingFolder(Work(), SnapshotSide::End);
    WriteFileBytes(start / "a_players.csv", "start");
    WriteFileBytes(end / "a_players.csv", "end");
    SwapWorkingFolders(Work());
    EXPECT_EQ(ReadFileBytes(start / "a_players.csv"), "end");
    EXPECT_EQ(ReadFileBytes(end / "a_players.csv"), "start");

    fs::remove_all(end);
    fs::create_directories(Src() / "v");
    fs::create_directory_symlink(Src() / "v", end);
    EXPECT_THROW(SwapWorkingFolders(Work()), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(start / "a_players.csv"), "end");
    EXPECT_TRUE(fs::is_symlink(end));
}

}  // namespace
}  // namespace cadrix
