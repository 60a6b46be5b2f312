#include "core/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

namespace cadrix {
namespace {

// A pipe takes a write in pieces of its buffer's size: all of it arrives in
// order, and a pipe nobody reads refuses with the system's reason.
TEST(WriteAll, WritesEverythingAcrossShortWritesAndGivesTheReasonOfAFailure) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::string bytes(1 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    std::string read;
    std::thread reader([&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(fds[0], chunk, sizeof chunk)) > 0;)
            read.append(chunk, static_cast<std::size_t>(n));
    });
    EXPECT_EQ(WriteAll(fds[1], bytes), 0);
    ::close(fds[1]);
    reader.join();
    EXPECT_TRUE(read == bytes);

    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const auto old = std::signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(WriteAll(fds[1], "x"), EPIPE);
    std::signal(SIGPIPE, old);
    ::close(fds[1]);
}

TEST(TempFolder, IsTheUsersAloneAndGoesWithItsContents) {
    std::filesystem::path path;
    {
        const TempFolder folder("cadrix-test-");
        path = folder.Path();
        EXPECT_EQ(path.parent_path(), std::filesystem::temp_directory_path());
        EXPECT_TRUE(path.filename().string().starts_with("cadrix-test-"));
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        std::filesystem::create_directories(path / "sub");
        std::ofstream(path / "sub" / "a.csv") << "x";
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace cadrix
