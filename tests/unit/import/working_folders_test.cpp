#include "import/working_folders.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

class WorkingFoldersTest : public TempFolderTest {};

// Restores an environment variable when the test ends.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : m_name(name) {
        if (const char* v = std::getenv(name))
            m_old = v;
    }
    ~EnvGuard() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST_F(WorkingFoldersTest, BaseFolderPrefersWorkDirThenExecutableFolderThenUserData) {
    EnvGuard xdg("XDG_DATA_HOME");
    EnvGuard home("HOME");
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

TEST_F(WorkingFoldersTest, WorkingFoldersLieUnderTmp) {
    EXPECT_EQ(WorkingFolder("/opt/cadrix", SnapshotSide::Start), fs::path("/opt/cadrix/Tmp/old"));
    EXPECT_EQ(WorkingFolder("/opt/cadrix", SnapshotSide::End), fs::path("/opt/cadrix/Tmp/new"));
    EXPECT_FALSE(ExecutableFolder().empty());
}

TEST_F(WorkingFoldersTest, EmptyingDeletesTopLevelCsvFilesOnly) {
    for (const char* name : {"a_players.csv", "B_TEAM.CSV", "keep.txt", "x.csv.bak", "sub/c.csv"})
        WriteFileBytes(Work() / name, "x");
    ::chmod((Work() / "a_players.csv").c_str(), 0444);  // read-only files go too
    fs::create_directories(Work() / "folder.csv");
    EmptyCsvFiles(Work());
    EXPECT_EQ(TreeOf(Work()), (std::vector<std::string>{"folder.csv/", "keep.txt", "sub/", "sub/c.csv", "x.csv.bak"}));
    EXPECT_NO_THROW(EmptyCsvFiles(Src() / "missing"));
}

TEST_F(WorkingFoldersTest, FileThatCannotBeDeletedEndsEmptyingWithItsName) {
    WriteFileBytes(Work() / "stuck.csv", "x");
    const fs::path stuck = Work() / "stuck.csv";
    bool immutable = false;
    if (::geteuid() == 0) {
        // Permissions do not stop root; the immutable flag does, where the
        // file system has it.
        const int fd = ::open(stuck.c_str(), O_RDONLY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
        if (!immutable)
            GTEST_SKIP() << "running as root on a file system without the immutable flag";
    } else {
        ::chmod(Work().c_str(), 0555);
    }
    try {
        EmptyCsvFiles(Work());
        ADD_FAILURE() << "no error for a file that cannot be deleted";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot delete file \"" + stuck.string() + "\"");
    }
    if (immutable) {
        const int fd = ::open(stuck.c_str(), O_RDONLY);
        int flags = 0;
        ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        ::close(fd);
    }
    ::chmod(Work().c_str(), 0755);
}

}  // namespace
}  // namespace cadrix
