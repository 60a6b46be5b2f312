#include "import/working_folders.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

class WorkingFoldersTest : public TempFolderTest {};

TEST_F(WorkingFoldersTest, BaseFolderPrefersWorkDirThenExecutableFolderThenUserData) {
    EnvGuard xdg("XDG_DATA_HOME", nullptr);
    EnvGuard home("HOME", nullptr);
    fs::create_directories(Work());
    EXPECT_EQ(BaseFolder(Work(), Src() / "override"), Src() / "override");
    EXPECT_EQ(BaseFolder(Work(), std::nullopt), Work());

    // A folder we cannot write to (here: one that does not exist).
    const fs::path closed = Src() / "no" / "such" / "folder";
    ::setenv("XDG_DATA_HOME", (Src() / "xdg").c_str(), 1);
    EXPECT_EQ(BaseFolder(closed, std::nullopt), Src() / "xdg" / "cadrix");
    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", Src().c_str(), 1);
    EXPECT_EQ(BaseFolder(closed, std::nullopt), Src() / ".local" / "share" / "cadrix");
}

// The working folders lie in Tmp: when it exists, its being writable decides,
// whatever the folder around it allows.
TEST_F(WorkingFoldersTest, ExistingTmpDecidesWhetherTheFolderIsWritable) {
    EnvGuard xdg("XDG_DATA_HOME", (Src() / "xdg").c_str());
    const fs::path open = Work() / "open", closed = Work() / "closed";
    fs::create_directories(open / "Tmp");
    fs::create_directories(closed / "Tmp");
    const Unwritable tmp(open / "Tmp");
    const Unwritable around(closed);
    if (!tmp.Active() || !around.Active())
        GTEST_SKIP() << kNoWayToForbidWriting;
    EXPECT_EQ(BaseFolder(open, std::nullopt), Src() / "xdg" / "cadrix");
    EXPECT_EQ(BaseFolder(closed, std::nullopt), closed);
}

TEST_F(WorkingFoldersTest, WorkingFoldersLieUnderTmp) {
    EXPECT_EQ(WorkingFolder("/opt/cadrix", SnapshotSide::Start), fs::path("/opt/cadrix/Tmp/old"));
    EXPECT_EQ(WorkingFolder("/opt/cadrix", SnapshotSide::End), fs::path("/opt/cadrix/Tmp/new"));
    EXPECT_FALSE(ExecutableFolder().empty());
}

TEST_F(WorkingFoldersTest, EmptyingDeletesTopLevelCsvFilesOnly) {
    const fs::path folder = WorkingFolder(Work(), SnapshotSide::Start);
    for (const char* name : {"a_players.csv", "B_TEAM.CSV", "keep.txt", "x.csv.bak", "sub/c.csv"})
        WriteFileBytes(folder / name, "x");
    ::chmod((folder / "a_players.csv").c_str(), 0444);  // read-only files go too
    fs::create_directories(folder / "folder.csv");
    WriteFileBytes(Src() / "target.csv", "kept");
    fs::create_symlink(Src() / "target.csv", folder / "link.csv");  // the link goes, not its target
    EmptyWorkingFolder(Work(), SnapshotSide::Start);
    EXPECT_EQ(TreeOf(folder), (std::vector<std::string>{"folder.csv/", "keep.txt", "sub/", "sub/c.csv", "x.csv.bak"}));
    EXPECT_EQ(ReadFileBytes(Src() / "target.csv"), "kept");
    EXPECT_NO_THROW(EmptyWorkingFolder(Src() / "missing", SnapshotSide::End));
}

TEST_F(WorkingFoldersTest, FileThatCannotBeDeletedEndsEmptyingWithItsName) {
    const fs::path folder = WorkingFolder(Work(), SnapshotSide::End);
    WriteFileBytes(folder / "stuck.csv", "x");
    const Unwritable closed(folder);
    if (!closed.Active())
        GTEST_SKIP() << kNoWayToForbidWriting;
    try {
        EmptyWorkingFolder(Work(), SnapshotSide::End);
        ADD_FAILURE() << "no error for a file that cannot be deleted";
    } catch (const std::runtime_error& e) {
        const std::string reason = ::geteuid() == 0 ? "Operation not permitted" : "Permission denied";
        EXPECT_EQ(std::string(e.what()), "Cannot delete file \"" + (folder / "stuck.csv").string() + "\": " + reason);
    }
}

}  // namespace
}  // namespace cadrix
