#include "export/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <string>

#include "../import/import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

class OutputFileTest : public TempFolderTest {
protected:
    fs::path Target() const { return Src() / "report.html"; }

    // The error a write throws, or "" when none.
    template <typename Write>
    static std::string ErrorOf(Write write) {
        try {
            write();
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(OutputFileTest, TakesTheTargetsPlaceOnlyWhenCommitted) {
    WriteFileBytes(Target(), "old");
    ::chmod(Target().c_str(), 0640);
    {
        OutputFile file(Target());
        file.Write(std::string(3 << 20, 'x'));  // more than one block reaches the disk
        EXPECT_EQ(ReadFileBytes(Target()), "old");
        file.Commit();
    }
    EXPECT_EQ(ReadFileBytes(Target()).size(), 3u << 20);
    struct stat st {};
    ASSERT_EQ(::stat(Target().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(TreeOf(Src()), std::vector<std::string>{"report.html"});
}

TEST_F(OutputFileTest, DroppedOnAnErrorLeavesTheOldFileAndNoTemporaryFile) {
    WriteFileBytes(Target(), "old");
    const std::string error = ErrorOf([&] {
        OutputFile file(Target());
        file.Write(std::string(2 << 20, 'x'));
        throw std::runtime_error("a writer failed");
    });
    EXPECT_EQ(error, "a writer failed");
    EXPECT_EQ(ReadFileBytes(Target()), "old");
    EXPECT_EQ(TreeOf(Src()), std::vector<std::string>{"report.html"});
}

TEST_F(OutputFileTest, FailuresNameTheFileAndTheReason) {
    const fs::path missing = Src() / "no-such-folder" / "report.html";
    EXPECT_EQ(ErrorOf([&] { OutputFile file(missing); }),
              "Cannot write file \"" + missing.string() + "\": No such file or directory");
    fs::create_directories(Src() / "folder.html");
    EXPECT_EQ(ErrorOf([&] { WriteWholeFile(Src() / "folder.html", "x"); }),
              "Cannot write file \"" + (Src() / "folder.html").string() + "\": Is a directory");
    EXPECT_EQ(TreeOf(Src()), std::vector<std::string>{"folder.html/"});
}

TEST_F(OutputFileTest, FullDiskKeepsTheOldFile) {
    const MountedTmpfs tmpfs = MountSmallTmpfs(Work(), "64k");
    if (!tmpfs)
        GTEST_SKIP() << "a small tmpfs can be mounted by root only";
    const fs::path target = Work() / "report.html";
    WriteFileBytes(target, "old");
    EXPECT_EQ(ErrorOf([&] { WriteWholeFile(target, std::string(1 << 20, 'x')); }),
              "Cannot write file \"" + target.string() + "\": No space left on device");
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"report.html"});
}

// A signal that ends the program half-way leaves no temporary file; the
// signal still ends it, as it would have.
TEST_F(OutputFileTest, EndingSignalRemovesTheTemporaryFile) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const pid_t child = ::fork();
        if (child == 0) {
            OutputFile file(Target());
            file.Write(std::string(2 << 20, 'x'));
            ::raise(signal);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(TreeOf(Src()), std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace cadrix
