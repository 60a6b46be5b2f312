#include "import/working_folders.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>

#include "import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

class WorkingFoldersTest : public TempFolderTest {};

// Another process that holds the lock of `base` until this is destroyed.
class LockHolder {
public:
    explicit LockHolder(const fs::path& base) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const auto lock = WorkFolderLock::TryAcquire(base);
            char c = lock ? 1 : 0;
            if (::write(ready[1], &c, 1) == 1)
                while (::read(release[0], &c, 1) > 0) {
                }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char c = 0;
        m_held = ::read(ready[0], &c, 1) == 1 && c == 1;
        ::close(ready[0]);
    }
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Held() const { return m_held; }
    void Release() {
        if (m_pid <= 0)
            return;
        ::close(m_release);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

TEST_F(WorkingFoldersTest, BaseFolderPrefersWorkDirThenPortableFolderThenUserCache) {
    EnvGuard xdg("XDG_CACHE_HOME", (Src() / "xdg").c_str());
    EnvGuard home("HOME", nullptr);
    fs::create_directories(Work());
    EXPECT_EQ(BaseFolder(Work(), Src() / "override"), Src() / "override");
    // An installed program's folder is never used, even where it can be written.
    EXPECT_EQ(BaseFolder(Work(), std::nullopt), Src() / "xdg" / "cadrix");
    std::ofstream(Work() / "cadrix.portable").put('\n');
    EXPECT_EQ(BaseFolder(Work(), std::nullopt), Work());
    EXPECT_TRUE(IsPortable(ExecutableFolder())) << "the tests run from the build tree";

    // A portable folder we cannot write to (here: one that does not exist).
    const fs::path closed = Src() / "no" / "such" / "folder";
    EXPECT_EQ(BaseFolder(closed, std::nullopt), Src() / "xdg" / "cadrix");
    ::setenv("XDG_CACHE_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", Src().c_str(), 1);
    EXPECT_EQ(BaseFolder(closed, std::nullopt), Src() / ".cache" / "cadrix");
}

// The working folders lie in Tmp: when it exists, its being writable decides,
// whatever the folder around it allows.
TEST_F(WorkingFoldersTest, ExistingTmpDecidesWhetherTheFolderIsWritable) {
    EnvGuard xdg("XDG_CACHE_HOME", (Src() / "xdg").c_str());
    const fs::path open = Work() / "open", closed = Work() / "closed";
    fs::create_directories(open / "Tmp");
    fs::create_directories(closed / "Tmp");
    std::ofstream(open / "cadrix.portable").put('\n');
    std::ofstream(closed / "cadrix.portable").put('\n');
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

TEST_F(WorkingFoldersTest, SymbolicLinkBelowTheBaseFolderIsRefusedByName) {
    WriteFileBytes(Src() / "v" / "important.csv", "x");
    for (const char* link : {"Tmp/old", "Tmp"}) {
        SCOPED_TRACE(link);
        fs::remove_all(Work());
        fs::create_directories((Work() / link).parent_path());
        fs::create_directory_symlink(Src() / "v", Work() / link);
        try {
            EmptyWorkingFolder(Work(), SnapshotSide::Start);
            ADD_FAILURE() << "a link was followed";
        } catch (const WorkingFolderError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Working folder \"" + (Work() / link).string() + "\" is a symbolic link, which is not followed");
        }
        if (std::string_view(link) == "Tmp") {
            EXPECT_THROW(WorkFolderLock::TryAcquire(Work()), WorkingFolderError) << "the lock lies in Tmp";
        }
        EXPECT_EQ(ReadFileBytes(Src() / "v" / "important.csv"), "x");
    }
    // The base folder itself is the user's choice and may be a link.
    fs::remove_all(Work());
    fs::create_directories(Src() / "v" / "Tmp" / "new");
    fs::create_directory_symlink(Src() / "v", Work());
    WriteFileBytes(Src() / "v" / "Tmp" / "new" / "a_players.csv", "x");
    EmptyWorkingFolder(Work(), SnapshotSide::End);
    EXPECT_FALSE(fs::exists(Src() / "v" / "Tmp" / "new" / "a_players.csv"));
    EXPECT_EQ(ReadFileBytes(Src() / "v" / "important.csv"), "x");
}

TEST_F(WorkingFoldersTest, LockHeldByAnotherProcessIsWaitedForThenNamed) {
    LockHolder other(Work());
    ASSERT_TRUE(other.Held());
    EXPECT_FALSE(WorkFolderLock::TryAcquire(Work()));
    const auto start = std::chrono::steady_clock::now();
    try {
        WorkFolderLock::Acquire(Work(), std::chrono::milliseconds(300));
        ADD_FAILURE() << "the lock was taken twice";
    } catch (const WorkingFolderError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Working folder \"" + (Work() / "Tmp").string() + "\" is in use by another Cadrix");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    other.Release();
    EXPECT_TRUE(WorkFolderLock::TryAcquire(Work()));
}

// A second window takes the per-user folder when another holds the
// executable's; a folder named with --work-dir is never swapped.
TEST_F(WorkingFoldersTest, WindowWhoseFoldersAreHeldTakesItsOwnOrSaysSo) {
    const EnvGuard xdg("XDG_CACHE_HOME", (Src() / "xdg").c_str());
    const fs::path own = Src() / "xdg" / "cadrix";
    fs::create_directories(Work());
    std::ofstream(Work() / "cadrix.portable").put('\n');
    LockHolder first(Work());
    ASSERT_TRUE(first.Held());
    const LockedBaseFolder second = LockBaseFolder(Work(), std::nullopt);
    EXPECT_EQ(second.base, own);
    EXPECT_THROW(LockBaseFolder(Work(), Work()), WorkingFolderError);
    try {
        LockBaseFolder(Work(), std::nullopt);
        ADD_FAILURE() << "a third window shares the folders of the second";
    } catch (const WorkingFolderError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Working folder \"" + (own / "Tmp").string() + "\" is in use by another Cadrix");
    }
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
