#pragma once

// Shared by the archive tests: a fresh folder per test, running the real
// archive tools, scripted answers to the reader's questions, and a small ZIP
// writer for archives no tool would make.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "import/extract_questions.h"

namespace cadrix::testing {

namespace fs = std::filesystem;

inline std::string ReadFileBytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void WriteFileBytes(const fs::path& p, std::string_view bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool HaveTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool InCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

// Whether a row that needs `tool` can run. A missing tool skips that row only,
// with a message; under CI=true, where every tool is installed, it fails.
inline bool ToolForRow(const std::string& tool, std::string_view row) {
    if (HaveTool(tool))
        return true;
    if (InCi())
        ADD_FAILURE() << row << ": " << tool << " is not installed, and CI=true runs every row";
    else
        std::cout << "[  SKIPPED ] " << row << ": " << tool << " is not installed\n";
    return false;
}

// The same for a test that needs `tool` as a whole.
#define CADRIX_REQUIRE_TOOL(tool)                                                                                      \
    if (!::cadrix::testing::ToolForRow(tool, "the whole test"))                                                        \
    GTEST_SKIP() << tool << " is not installed"

// Sets an environment variable for the length of a test.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
        ::tzset();
    }
    ~EnvGuard() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
        ::tzset();
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// Makes a file or folder unwritable for the length of a test. Permissions do
// not stop root, so as root the immutable flag is set instead, where the file
// system has it; Active() tells whether either worked.
class Unwritable {
public:
    explicit Unwritable(const fs::path& path) : m_path(path) {
        if (::geteuid() != 0) {
            struct stat st {};
            m_active = ::stat(path.c_str(), &st) == 0 && ::chmod(path.c_str(), st.st_mode & 0555) == 0;
            m_mode = st.st_mode & 07777;
            return;
        }
        m_active = SetImmutable(true);
        m_immutable = m_active;
    }
    ~Unwritable() {
        if (m_immutable)
            SetImmutable(false);
        else if (m_active)
            ::chmod(m_path.c_str(), m_mode);
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

    bool Active() const { return m_active; }

private:
    bool SetImmutable(bool on) const {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
        return done;
    }

    fs::path m_path;
    bool m_active = false;
    bool m_immutable = false;
    mode_t m_mode = 0;
};

inline constexpr const char* kNoWayToForbidWriting = "running as root on a file system without the immutable flag";

// Runs a shell command in `dir`; fails the test when it fails.
inline void RunIn(const fs::path& dir, const std::string& command) {
    const std::string line = "cd '" + dir.string() + "' && ( " + command + " ) >/dev/null 2>&1";
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
}

// Every path below `root`, relative, sorted: what a test expects to find.
inline std::vector<std::string> TreeOf(const fs::path& root) {
    std::vector<std::string> names;
    if (!fs::exists(root))
        return names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.push_back(fs::relative(e.path(), root).string() + (e.is_directory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh folder per test: `src` for archives and their contents, `work` as
// the target folder, and nothing else may appear beside them.
// A small tmpfs mounted on `folder` for as long as the guard lives, so that a
// test can fill a disk; null where it cannot be mounted (only root can).
using MountedTmpfs = std::unique_ptr<const fs::path, void (*)(const fs::path*)>;
inline MountedTmpfs MountSmallTmpfs(const fs::path& folder, const char* size) {
    fs::create_directories(folder);
    if (::geteuid() != 0 || ::mount("tmpfs", folder.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) != 0)
        return MountedTmpfs(nullptr, [](const fs::path*) {});
    return MountedTmpfs(new fs::path(folder), [](const fs::path* p) {
        ::umount2(p->c_str(), MNT_DETACH);
        delete p;
    });
}

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cadrix-import-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        fs::create_directories(Src());
    }
    void TearDown() override {
        std::vector<std::string> top;
        for (const auto& e : fs::directory_iterator(m_root))
            top.push_back(e.path().filename().string());
        for (const auto& name : top)
            EXPECT_TRUE(name == "src" || name == "work") << "written outside the target folder: " << name;
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(m_root, ec))
            ::chmod(e.path().c_str(), e.is_directory() ? 0755 : 0644);
        fs::remove_all(m_root, ec);
    }

    fs::path Root() const { return m_root; }
    fs::path Src() const { return m_root / "src"; }
    fs::path Work() const { return m_root / "work"; }

private:
    fs::path m_root;
};

// Answers from a script and records what was asked.
class ScriptedQuestions : public ExtractQuestions {
public:
    std::deque<EntryFailureAnswer> failureAnswers;
    std::deque<std::optional<std::string>> passwords;
    std::vector<std::string> failureTexts;
    std::vector<std::string> passwordEntries;

    std::vector<EntryFailure> failures;

    EntryFailureAnswer AskEntryFailure(const EntryFailure& failure) override {
        failureTexts.push_back(failure.QuestionText());
        failures.push_back(failure);
        if (failureAnswers.empty())
            return EntryFailureAnswer::Ignore;
        auto a = failureAnswers.front();
        failureAnswers.pop_front();
        return a;
    }
    std::optional<std::string> AskPassword(const std::string& entry) override {
        passwordEntries.push_back(entry);
        if (passwords.empty())
            return std::nullopt;
        auto p = passwords.front();
        passwords.pop_front();
        return p;
    }
};

inline constexpr std::string_view kQuestionSuffix = ". File processing error, possibly disk is full";

// A minimal ZIP writer for archives that no tool would make: every field can
// be set, sizes and CRC included, and the data may be placed anywhere.
struct CraftedEntry {
    std::string name;
    std::string data;          // uncompressed
    std::uint16_t method = 8;  // 0 stored, 8 deflated, other: data stored as given
    std::uint16_t flags = 0;
    std::uint16_t versionMadeBy = 20;  // DOS host
    std::uint32_t externalAttributes = 0x20;
    std::uint16_t dosTime = (12 << 11) | (34 << 5) | (56 / 2);     // 12:34:56
    std::uint16_t dosDate = ((2024 - 1980) << 9) | (3 << 5) | 15;  // 15.03.2024
    std::optional<std::uint32_t> crc = std::nullopt;               // else computed
    std::optional<std::uint64_t> compressedSize = std::nullopt;    // else actual
    std::optional<std::uint64_t> uncompressedSize = std::nullopt;  // else actual
    std::optional<std::uint64_t> localOffset = std::nullopt;       // else where written; set to reuse data
    std::optional<std::string> rawCompressed = std::nullopt;       // else made from data
    // Sizes and offset in Zip64 extra fields, the header fields all ones.
    bool zip64 = false;
    // False: the local header holds no sizes, as a writer that streams puts
    // them in a data descriptor (not written here: readers take the sizes
    // from the central directory).
    bool localSizes = true;
    std::optional<std::string> centralZip64Extra = std::nullopt;  // else made from the values
};

inline std::string RawDeflate(std::string_view data) {
    z_stream zs{};
    deflateInit2(&zs, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, data.size()) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

inline void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xff);
    s += static_cast<char>((v >> 8) & 0xff);
}
inline void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xffff);
    Put16(s, v >> 16);
}
inline void Put64(std::string& s, std::uint64_t v) {
    Put32(s, static_cast<std::uint32_t>(v));
    Put32(s, static_cast<std::uint32_t>(v >> 32));
}

// A Zip64 extra field holding `values`.
inline std::string Zip64Extra(std::initializer_list<std::uint64_t> values) {
    std::string extra;
    Put16(extra, 0x0001);
    Put16(extra, static_cast<std::uint32_t>(8 * values.size()));
    for (std::uint64_t v : values)
        Put64(extra, v);
    return extra;
}

enum class EndRecords { Plain, Zip64 };

// With EndRecords::Zip64 the archive ends in a Zip64 end record (56 bytes),
// its locator (20) and an end record (22) whose counts, size and offset are
// all ones.
inline std::string CraftZip(const std::vector<CraftedEntry>& entries, EndRecords end = EndRecords::Plain) {
    constexpr std::uint32_t kAllOnes = 0xffffffff;
    std::string file, dir;
    for (const auto& e : entries) {
        const std::string payload = e.rawCompressed ? *e.rawCompressed : e.method == 8 ? RawDeflate(e.data) : e.data;
        const std::uint32_t crc =
            e.crc ? *e.crc
                  : static_cast<std::uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        const std::uint64_t csize = e.compressedSize ? *e.compressedSize : payload.size();
        const std::uint64_t usize = e.uncompressedSize ? *e.uncompressedSize : e.data.size();
        const std::uint16_t flags = e.localSizes ? e.flags : static_cast<std::uint16_t>(e.flags | 0x08);
        std::uint64_t offset = file.size();
        if (e.localOffset) {
            offset = *e.localOffset;
        } else {
            const std::string localExtra = e.zip64 && e.localSizes ? Zip64Extra({usize, csize}) : "";
            Put32(file, 0x04034b50);
            Put16(file, e.zip64 ? 45 : 20);
            Put16(file, flags);
            Put16(file, e.method);
            Put16(file, e.dosTime);
            Put16(file, e.dosDate);
            Put32(file, e.localSizes ? crc : 0);
            Put32(file, !e.localSizes ? 0 : e.zip64 ? kAllOnes : static_cast<std::uint32_t>(csize));
            Put32(file, !e.localSizes ? 0 : e.zip64 ? kAllOnes : static_cast<std::uint32_t>(usize));
            Put16(file, static_cast<std::uint32_t>(e.name.size()));
            Put16(file, static_cast<std::uint32_t>(localExtra.size()));
            file += e.name;
            file += localExtra;
            file += payload;
        }
        const std::string extra = !e.zip64              ? ""
                                  : e.centralZip64Extra ? *e.centralZip64Extra
                                                        : Zip64Extra({usize, csize, offset});
        Put32(dir, 0x02014b50);
        Put16(dir, e.versionMadeBy);
        Put16(dir, e.zip64 ? 45 : 20);
        Put16(dir, flags);
        Put16(dir, e.method);
        Put16(dir, e.dosTime);
        Put16(dir, e.dosDate);
        Put32(dir, crc);
        Put32(dir, e.zip64 ? kAllOnes : static_cast<std::uint32_t>(csize));
        Put32(dir, e.zip64 ? kAllOnes : static_cast<std::uint32_t>(usize));
        Put16(dir, static_cast<std::uint32_t>(e.name.size()));
        Put16(dir, static_cast<std::uint32_t>(extra.size()));
        Put16(dir, 0);
        Put16(dir, 0);
        Put16(dir, 0);
        Put32(dir, e.externalAttributes);
        Put32(dir, e.zip64 ? kAllOnes : static_cast<std::uint32_t>(offset));
        dir += e.name;
        dir += extra;
    }
    const std::uint64_t dirOffset = file.size();
    file += dir;
    const bool zip64 = end == EndRecords::Zip64;
    if (zip64) {
        const std::uint64_t recordOffset = file.size();
        Put32(file, 0x06064b50);
        Put64(file, 44);
        Put16(file, 45);
        Put16(file, 45);
        Put32(file, 0);
        Put32(file, 0);
        Put64(file, entries.size());
        Put64(file, entries.size());
        Put64(file, dir.size());
        Put64(file, dirOffset);
        Put32(file, 0x07064b50);
        Put32(file, 0);
        Put64(file, recordOffset);
        Put32(file, 1);
    }
    Put32(file, 0x06054b50);
    Put16(file, 0);
    Put16(file, 0);
    Put16(file, zip64 ? 0xffff : static_cast<std::uint32_t>(entries.size()));
    Put16(file, zip64 ? 0xffff : static_cast<std::uint32_t>(entries.size()));
    Put32(file, zip64 ? kAllOnes : static_cast<std::uint32_t>(dir.size()));
    Put32(file, zip64 ? kAllOnes : static_cast<std::uint32_t>(dirOffset));
    Put16(file, 0);
    return file;
}

// The local time a DOS date and time stand for, as the reader must set it.
inline std::time_t LocalTimeOf(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

inline std::time_t ModificationTime(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mtime;
}

}  // namespace cadrix::testing
