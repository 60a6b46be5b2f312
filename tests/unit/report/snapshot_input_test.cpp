// Runs of the built cadrix-report where the import meets an unlucky or hostile
// file system: working folders that are links, a second run on the same
// folders, a full disk, and the causes that come before "Неверный файл
// статистики".
#include "report/snapshot_input.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "../import/import_test_support.h"
#include "import/working_folders.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

const fs::path kSamples = fs::path(CADRIX_SOURCE_DIR) / "samples";
constexpr std::string_view kInvalid = "Неверный файл статистики";

struct RunResult {
    int status = -1;
    std::string out, err;
};

class ReportImportTest : public TempFolderTest {
protected:
    // Starts cadrix-report on `inputs` with the working folders under Work();
    // its output goes to files under Src().
    pid_t Start(const std::vector<std::string>& inputs) {
        std::vector<std::string> args = {CADRIX_REPORT_EXE, "--work-dir", Work().string(), "--format", "json"};
        args.insert(args.end(), inputs.begin(), inputs.end());
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int out = ::open((Src() / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open((Src() / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            if (m_addressLimit) {
                const rlimit limit{*m_addressLimit, *m_addressLimit};
                ::setrlimit(RLIMIT_AS, &limit);
            }
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        return pid;
    }
    RunResult Finish(pid_t pid) {
        int raw = 0;
        ::waitpid(pid, &raw, 0);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFileBytes(Src() / "out.txt"),
                ReadFileBytes(Src() / "err.txt")};
    }
    RunResult Report(const std::vector<std::string>& inputs) { return Finish(Start(inputs)); }

    static std::string Start() { return (kSamples / "start.zip").string(); }

    std::optional<rlim_t> m_addressLimit;  // the runs' address space, when limited
    static std::string End() { return (kSamples / "end.zip").string(); }
};

// The example of the bug report: emptying Tmp/old deleted the files of the
// folder it pointed to.
TEST_F(ReportImportTest, WorkingFolderThatIsASymbolicLinkIsRefusedByName) {
    WriteFileBytes(Src() / "v" / "important.csv", "x");
    fs::create_directories(Work() / "Tmp");
    fs::create_directory_symlink("../../src/v", Work() / "Tmp" / "old");
    const RunResult run = Report({Start(), End()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Working folder \"" + (Work() / "Tmp" / "old").string() + "\" is a symbolic link"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(TreeOf(Src() / "v"), std::vector<std::string>{"important.csv"});
}

TEST_F(ReportImportTest, SecondRunWaitsUntilTheFirstHasReadBothFolders) {
    WriteFileBytes(WorkingFolder(Work(), SnapshotSide::Start) / "other_players.csv", "the other run's");
    auto held = WorkFolderLock::TryAcquire(Work());
    ASSERT_TRUE(held);
    const pid_t second = Start({Start(), End()});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(::waitpid(second, nullptr, WNOHANG), 0) << "the second run did not wait";
    EXPECT_TRUE(fs::exists(WorkingFolder(Work(), SnapshotSide::Start) / "other_players.csv"));
    held.reset();
    const RunResult run = Finish(second);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("waiting for the working folders"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(WorkingFolder(Work(), SnapshotSide::Start) / "other_players.csv"));
    EXPECT_NE(run.out.find("\"LabelNF\""), std::string::npos);
}

// The disk fills while the end archive is extracted: its players file fits,
// its skills file does not. The run must not compare what is left.
TEST_F(ReportImportTest, FullDiskEndsTheRunNamingTheFileAndTheReason) {
    // Four pages for the start files and one for the end's players file.
    const MountedTmpfs tmpfs = MountSmallTmpfs(Work(), "20k");
    if (!tmpfs)
        GTEST_SKIP() << "a small tmpfs can be mounted by root only";
    const RunResult run = Report({Start(), End()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    const fs::path skills = WorkingFolder(Work(), SnapshotSide::End) / "orvanto_club_players_skills.csv";
    EXPECT_NE(
        run.err.find("Cannot create file \"" + skills.string() + "\" - Native error: 00019 (No space left on device)"),
        std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(skills)) << "a half-written file remains";
}

// An entry that cannot be extracted whole fails its archive: the run ends
// with the archive, the entry and the reason, and compares nothing.
TEST_F(ReportImportTest, EntryThatCannotBeExtractedWholeEndsTheRun) {
    const fs::path old = WorkingFolder(Work(), SnapshotSide::Start);
    const std::string longName = std::string(300, 'x') + "_players.csv";
    const std::string crc = (Src() / "crc.zip").string(), team = (Src() / "team.zip").string();
    const std::string invalidEntry = "ZipFile: Invalid size or check sum of file or unsupported compression format";
    struct Case {
        const char* label;
        std::function<std::shared_ptr<void>()> prepare;  // returns what must live during the run
        std::string archive;
        std::string cause;
    };
    const Case cases[] = {
        {"working folder that cannot be written",
         [&] {
             fs::create_directories(old);
             return std::make_shared<Unwritable>(old);
         },
         Start(), "Cannot create file \"" + (old / "orvanto_club_players.csv").string() + "\" - Native error: 00019 ("},
        {"folder in the players file's place",
         [&] {
             fs::create_directories(old / "orvanto_club_players.csv");
             return nullptr;
         },
         Start(),
         "Cannot create file \"" + (old / "orvanto_club_players.csv").string() +
             "\" - Native error: 00019 (Is a directory)"},
        {"wrong CRC of the players entry", [] { return nullptr; }, crc,
         crc + ": a_players.csv: " + invalidEntry + " - Native error: 00008"},
        {"wrong CRC of the team entry beside a whole players file", [] { return nullptr; }, team,
         team + ": a_team.csv: " + invalidEntry + " - Native error: 00008"},
        {"entry name too long", [] { return nullptr; }, (Src() / "long.zip").string(), "(File name too long)"},
    };
    WriteFileBytes(Src() / "crc.zip", CraftZip({{.name = "a_players.csv", .data = "id;name\r\n", .crc = 1}}));
    WriteFileBytes(team, CraftZip({{.name = "a_players.csv", .data = ReadFileBytes(kSamples / "start" / "orvanto_club_players.csv")},
                                   {.name = "a_team.csv", .data = "id;name\r\n", .crc = 1}}));
    WriteFileBytes(Src() / "long.zip", CraftZip({{.name = longName, .data = "id;name\r\n"}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(Work());
        const std::shared_ptr<void> keep = c.prepare();
        if (auto* closed = static_cast<Unwritable*>(keep.get()); closed && !closed->Active()) {
            std::cout << "[  SKIPPED ] " << c.label << ": " << kNoWayToForbidWriting << "\n";
            continue;
        }
        const RunResult run = Report({c.archive, End()});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.archive + ": "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.cause), std::string::npos) << run.err;
    }
}

// The lock of the working folders cannot be switched off by a link in its
// place, nor by a Tmp that is no folder: the run ends naming the lock file.
TEST_F(ReportImportTest, LockThatCannotBeTakenEndsTheRun) {
    const fs::path lock = Work() / "Tmp" / "cadrix.lock";
    WriteFileBytes(Src() / "target", "x");
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { fs::create_directories(Work() / "Tmp"), fs::create_symlink(Src() / "target", lock); },
         "Too many levels of symbolic links"},
        {[&] { WriteFileBytes(Work() / "Tmp", "a file"); }, "Not a directory"},
    };
    for (const auto& [prepare, reason] : cases) {
        SCOPED_TRACE(reason);
        fs::remove_all(Work());
        prepare();
        const RunResult run = Report({Start(), End()});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("\"" + lock.string() + "\": " + reason), std::string::npos) << run.err;
        EXPECT_EQ(ReadFileBytes(Src() / "target"), "x");
    }
}

// An input that cannot be reached is named with the system's reason, never
// taken for a missing file or for a folder without a players file.
TEST_F(ReportImportTest, InputThatCannotBeOpenedGivesTheSystemsReason) {
    fs::copy(kSamples / "start", Src() / "closed");
    fs::create_symlink("loop.zip", Src() / "loop.zip");
    const std::string folderEnd = (kSamples / "end").string();
    const struct {
        std::string input, other, reason;
        bool closeIt;
    } cases[] = {
        {(Src() / "missing.zip").string(), End(), "No such file or directory", false},
        {(Src() / "loop.zip").string(), End(), "Too many levels of symbolic links", false},
        {(kSamples / "start.zip" / "a.zip").string(), End(), "Not a directory", false},
        {(Src() / "closed").string(), folderEnd, "Permission denied", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        if (c.closeIt) {
            ::chmod(c.input.c_str(), 0);
            if (::access(c.input.c_str(), R_OK) == 0) {
                ::chmod(c.input.c_str(), 0755);
                std::cout << "note: " << c.reason << " not checked: permissions do not bind root\n";
                continue;
            }
        }
        const RunResult run = Report({c.input, c.other});
        if (c.closeIt)
            ::chmod(c.input.c_str(), 0755);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.input + ": " + c.reason), std::string::npos) << run.err;
    }
    fs::remove(Src() / "loop.zip");
}

// No output may take the place of what the report reads, whichever name
// reaches it: the run ends naming both and the input stays as it was.
TEST_F(ReportImportTest, OutputThatWouldReplaceAnInputIsRefused) {
    const fs::path start = Src() / "start.zip", end = Src() / "end.zip", db = Src() / "e.sqlite";
    const fs::path folder = Src() / "start", players = folder / "orvanto_club_players.csv";
    fs::copy_file(kSamples / "start.zip", start);
    fs::copy_file(kSamples / "end.zip", end);
    fs::copy(kSamples / "start", folder);
    WriteFileBytes(db, "SQLite format 3");
    fs::create_symlink(start, Src() / "link.zip");
    fs::create_hard_link(end, Src() / "hard.zip");
    fs::create_directories(Src() / "csv");
    fs::create_hard_link(start, Src() / "csv" / "club.csv");
    const std::string folderEnd = (kSamples / "end").string();
    const struct {
        std::vector<std::string> args;
        fs::path output, input;
    } cases[] = {
        {{"--format", "html", start.string(), end.string()}, end, end},
        {{start.string(), end.string()}, Src() / "link.zip", start},
        {{start.string(), end.string()}, Src() / "hard.zip", end},
        {{folder.string(), folderEnd}, players, players},
        {{"--db", db.string(), start.string(), end.string()}, db, db},
        {{"--db", db.string(), start.string(), end.string()}, db.string() + "-wal", db.string() + "-wal"},
        {{"--format", "csv", start.string(), end.string()}, Src() / "csv", start},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output.string());
        const std::string before = fs::exists(c.input) ? ReadFileBytes(c.input) : "";
        std::vector<std::string> args = {"--output", c.output.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult run = Report(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("\", which this report reads"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("\"" + c.input.string() + "\""), std::string::npos) << run.err;
        EXPECT_EQ(fs::exists(c.input) ? ReadFileBytes(c.input) : "", before);
    }
}

// A link planted at a page file's name in the CSV folder is replaced by the
// page; the file it pointed to stays as it was.
TEST_F(ReportImportTest, CsvFolderReplacesAPlantedLinkNotItsTarget) {
    WriteFileBytes(Src() / "precious.txt", "keep");
    fs::create_directories(Src() / "csv");
    fs::create_symlink(Src() / "precious.txt", Src() / "csv" / "club.csv");
    const RunResult run = Report({"--format", "csv", "--output", (Src() / "csv").string(), Start(), End()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(Src() / "precious.txt"), "keep");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Src() / "csv" / "club.csv")));
    EXPECT_NE(ReadFileBytes(Src() / "csv" / "club.csv").find("01.09.2026"), std::string::npos);
}

// Memory running out is named with the files, never a bare allocation
// failure.
TEST_F(ReportImportTest, OutOfMemoryNamesTheFiles) {
    const fs::path big = Src() / "big", players = big / "orvanto_club_players.csv";
    fs::copy(kSamples / "start", big);
    const std::string text = ReadFileBytes(players), rows = text.substr(text.find('\n') + 1);
    {
        std::ofstream out(players, std::ios::app | std::ios::binary);
        for (std::size_t n = 0; n < (48u << 20) / rows.size(); ++n)
            out << rows;
    }
    m_addressLimit = rlim_t{160} << 20;
    const RunResult run = Report({big.string(), (kSamples / "end").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("out of memory while comparing " + big.string() + " and "), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("bad_alloc"), std::string::npos) << run.err;
}

// Two folders stand for two extracted archives; without a players file the
// start folder is no statistics export, as an archive without one is not.
TEST_F(ReportImportTest, FolderWithoutPlayersFileIsInvalidStatistics) {
    WriteFileBytes(Src() / "start" / "c_team.csv", "id;name\r\n");
    const RunResult run = Report({(Src() / "start").string(), (kSamples / "end").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find((Src() / "start").string() + ": " + std::string(kInvalid)), std::string::npos) << run.err;
}

}  // namespace
}  // namespace cadrix
