#pragma once

// Shared by the archive tests: a fresh folder per test, running the real
// archive tools, scripted answers to the reader's questions, and a small ZIP
// writer for archives no tool would make.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
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

    EntryFailureAnswer AskEntryFailure(const std::string& text) override {
        failureTexts.push_back(text);
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

inline constexpr std::string_view kEntryFailureSuffix = ". File processing error, possibly disk is full";

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
    std::optional<std::uint32_t> compressedSize = std::nullopt;    // else actual
    std::optional<std::uint32_t> uncompressedSize = std::nullopt;  // else actual
    std::optional<std::uint32_t> localOffset = std::nullopt;       // else where written; set to reuse data
    std::optional<std::string> rawCompressed = std::nullopt;       // else made from data
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

inline std::string CraftZip(const std::vector<CraftedEntry>& entries) {
    std::string file, dir;
    for (const auto& e : entries) {
        const std::string payload = e.rawCompressed ? *e.rawCompressed : e.method == 8 ? RawDeflate(e.data) : e.data;
        const std::uint32_t crc =
            e.crc ? *e.crc
                  : static_cast<std::uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        const std::uint32_t csize = e.compressedSize ? *e.compressedSize : static_cast<std::uint32_t>(payload.size());
        const std::uint32_t usize =
            e.uncompressedSize ? *e.uncompressedSize : static_cast<std::uint32_t>(e.data.size());
        std::uint32_t offset = static_cast<std::uint32_t>(file.size());
        if (e.localOffset) {
            offset = *e.localOffset;
        } else {
            Put32(file, 0x04034b50);
            Put16(file, 20);
            Put16(file, e.flags);
            Put16(file, e.method);
            Put16(file, e.dosTime);
            Put16(file, e.dosDate);
            Put32(file, crc);
            Put32(file, csize);
            Put32(file, usize);
            Put16(file, static_cast<std::uint32_t>(e.name.size()));
            Put16(file, 0);
            file += e.name;
            file += payload;
        }
        Put32(dir, 0x02014b50);
        Put16(dir, e.versionMadeBy);
        Put16(dir, 20);
        Put16(dir, e.flags);
        Put16(dir, e.method);
        Put16(dir, e.dosTime);
        Put16(dir, e.dosDate);
        Put32(dir, crc);
        Put32(dir, csize);
        Put32(dir, usize);
        Put16(dir, static_cast<std::uint32_t>(e.name.size()));
        Put16(dir, 0);
        Put16(dir, 0);
        Put16(dir, 0);
        Put16(dir, 0);
        Put32(dir, e.externalAttributes);
        Put32(dir, offset);
        dir += e.name;
    }
    const std::uint32_t dirOffset = static_cast<std::uint32_t>(file.size());
    file += dir;
    Put32(file, 0x06054b50);
    Put16(file, 0);
    Put16(file, 0);
    Put16(file, static_cast<std::uint32_t>(entries.size()));
    Put16(file, static_cast<std::uint32_t>(entries.size()));
    Put32(file, static_cast<std::uint32_t>(dir.size()));
    Put32(file, dirOffset);
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
