// The history on real SQLite files in a fresh folder per test.
#include "history/history.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "history/scratch_folder.h"
#include "history/sha256.h"
#include "history/snapshot_capture.h"
#include "history/stored_choice.h"
#include "history_test_support.h"
#include "snapshot/snapshot.h"

namespace cadrix {
namespace {

using testing::ExportFiles;
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::HistoryTest;
using testing::kSamples;

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Snapshot LoadFolder(const fs::path& folder) {
    Snapshot s;
    ReadSnapshotFiles(s, folder);
    ApplyDecimalPointRule(s);
    SplitSnapshot(s);
    return s;
}

// The message of the HistoryError that `f` throws, or "" when it throws none.
template <typename F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const HistoryError& e) {
        return e.what();
    }
    return "";
}

class HistoryStore : public HistoryTest {
protected:
    fs::path DbFile() const { return m_root / "data" / "history.sqlite"; }
    UnattendedQuestions m_questions;
};

TEST_F(HistoryStore, AddsListsAndRemovesSnapshots) {
    History h = History::Open(DbFile());
    const std::time_t before = std::time(nullptr);
    const AddOutcome end = h.Add(kSamples / "end.zip", m_questions);
    const AddOutcome start = h.Add(kSamples / "start.zip", m_questions);
    ASSERT_EQ(end.status, AddStatus::Added) << end.error;
    ASSERT_EQ(start.status, AddStatus::Added) << start.error;

    // Listed by export date, not by the order of adding.
    const auto list = h.Snapshots();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].id, start.snapshot.id);
    EXPECT_EQ(list[0].date, "01.09.2026");
    EXPECT_EQ(list[0].day, "2026-09-01");
    EXPECT_EQ(list[1].date, "30.11.2026");
    EXPECT_EQ(list[0].club, "Волжский Сокол");
    EXPECT_EQ(list[0].fileName, "start.zip");
    EXPECT_EQ(list[0].players, 30);
    EXPECT_EQ(list[0].sha256, HexText(*Sha256OfFile(kSamples / "start.zip").digest));
    EXPECT_GE(list[0].addedAt, before);
    EXPECT_LE(list[0].addedAt, std::time(nullptr));
    EXPECT_EQ(h.Clubs(), std::vector<std::string>{"Волжский Сокол"});
    EXPECT_EQ(h.Snapshots("Другой клуб").size(), 0u);

    // The same bytes under another name are stored already.
    fs::copy_file(kSamples / "start.zip", m_root / "copy.zip");
    const AddOutcome copy = h.Add(m_root / "copy.zip", m_questions);
    EXPECT_EQ(copy.status, AddStatus::StoredAlready);
    EXPECT_EQ(copy.snapshot.id, start.snapshot.id);

    EXPECT_TRUE(h.Remove(start.snapshot.id));
    EXPECT_FALSE(h.Remove(start.snapshot.id));
    EXPECT_EQ(h.Player("104512").points.size(), 1u);
    EXPECT_EQ(h.Club("Волжский Сокол").points.size(), 1u);
    EXPECT_THROW(h.Materialise(start.snapshot.id, m_root / "out"), HistoryError);

    const History again = History::Open(DbFile());
    ASSERT_EQ(again.Snapshots().size(), 1u);
    EXPECT_EQ(again.Snapshots()[0].id, end.snapshot.id);
}

TEST_F(HistoryStore, RepackedArchiveWithTheSameFilesIsStoredAlready) {
    const fs::path folder = WriteExport("repacked", GeneratedExport(5, 3), 3);
    const fs::path first = Zip(folder);
    if (first.empty())
        GTEST_SKIP() << "zip is missing";
    History h = History::Open(DbFile());
    const AddOutcome a = h.Add(first, m_questions);
    ASSERT_EQ(a.status, AddStatus::Added) << a.error;
    // Packed again with another compression: other bytes, the same files.
    ASSERT_EQ(
        std::system(("cd '" + folder.string() + "' && zip -q -9 -X '" + m_root.string() + "/again.zip' *").c_str()), 0);
    ASSERT_NE(Bytes(first), Bytes(m_root / "again.zip"));
    const AddOutcome b = h.Add(m_root / "again.zip", m_questions);
    EXPECT_EQ(b.status, AddStatus::StoredAlready);
    EXPECT_EQ(b.snapshot.id, a.snapshot.id);
}

TEST_F(HistoryStore, SeriesHoldTheCellsOfTheLoadedTables) {
    History h = History::Open(DbFile());
    ASSERT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::Added);
    ASSERT_EQ(h.Add(kSamples / "end.zip", m_questions).status, AddStatus::Added);
    const Snapshot tables[] = {LoadFolder(kSamples / "start"), LoadFolder(kSamples / "end")};

    const PlayerSeries player = h.Player("104512");
    ASSERT_EQ(player.points.size(), 2u);
    EXPECT_EQ(player.points[0].date, "01.09.2026");
    EXPECT_EQ(player.points[1].realLevel, "73,8");  // after the decimal-point rule
    for (std::size_t i = 0; i < 2; ++i) {
        const Snapshot& s = tables[i];
        const PlayerPoint& p = player.points[i];
        int row = 1;
        while (s.play.Cell(players::kPlayerId, row) != "104512")
            ++row;
        EXPECT_EQ(p.name, s.play.Cell(players::kName, row));
        EXPECT_EQ(p.age, s.play.Cell(players::kAge, row));
        EXPECT_EQ(p.value, s.play.Cell(players::kValue, row));
        EXPECT_EQ(p.salary, s.play.Cell(players::kSalary, row));
        const int skillsRow = *FindPlayerRow(s.play2, "104512");
        for (int k = 1; k <= kSkillCount; ++k)
            EXPECT_EQ(p.skills[static_cast<std::size_t>(k - 1)], s.play2.Cell(SkillColumn(k), skillsRow)) << k;
    }
    EXPECT_EQ(player.name, player.points[1].name);
    EXPECT_TRUE(h.Player("999").points.empty());

    const ClubSeries club = h.Club("Волжский Сокол");
    ASSERT_EQ(club.points.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        for (int r = 1; r <= kClubFigureCount; ++r) {
            const ClubFigure& f = club.points[i].figures[static_cast<std::size_t>(r - 1)];
            EXPECT_EQ(f.caption, tables[i].team.Cell(0, r)) << r;
            EXPECT_EQ(f.value, tables[i].team.Cell(1, r)) << r;
        }
    }
}

TEST_F(HistoryStore, ExportWithoutSkillsFileGivesEmptySkills) {
    ExportFiles files = GeneratedExport(3, 5);
    files.erase("club_players_skills.csv");
    // A player line whose id repeats: the first row is the player.
    files["club_players.csv"].push_back("9;100000;Двойник;Россия;0;FW;30;1;40.0;");
    const fs::path folder = WriteExport("noskills", files, 5);
    std::ofstream(m_root / "noskills.zip") << "archive";
    History h = History::Open(DbFile());
    const AddOutcome added = h.AddExtracted(m_root / "noskills.zip", folder);
    ASSERT_EQ(added.status, AddStatus::Added) << added.error;
    EXPECT_EQ(added.snapshot.players, 4);
    const PlayerSeries p = h.Player("100000");
    ASSERT_EQ(p.points.size(), 1u);
    EXPECT_EQ(p.name, "Игрок 100000");
    EXPECT_EQ(p.points[0].skills, (std::array<std::string, kSkillCount>{}));
}

TEST_F(HistoryStore, StoredSnapshotIsChosenLikeItsArchive) {
    History h = History::Open(DbFile());
    const AddOutcome start = h.Add(kSamples / "start.zip", m_questions);
    ASSERT_EQ(start.status, AddStatus::Added) << start.error;

    const fs::path work = m_root / "Tmp" / "old";
    fs::create_directories(work);
    std::ofstream(work / "stale_players.csv") << "left over";
    SnapshotChoice choice = SnapshotChoice::Initial(SnapshotSide::Start);
    ASSERT_EQ(ChooseStoredSnapshot(choice, h, start.snapshot.id, m_root), ChoiceStatus::Extracted);
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.fileLabel, "start.zip");
    EXPECT_EQ(choice.dateLabel, "01.09.2026, OK");
    EXPECT_FALSE(fs::exists(work / "stale_players.csv"));
    std::size_t files = 0;
    for (const auto& e : fs::directory_iterator(kSamples / "start")) {
        ++files;
        const fs::path written = work / e.path().filename();
        EXPECT_EQ(Bytes(written), Bytes(e.path())) << written;
        struct stat st {};
        ASSERT_EQ(::stat(written.c_str(), &st), 0);
        EXPECT_EQ(WallTimeText(st.st_mtime), "2026-09-01 10:00:00");  // the time the archive records
    }
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(work), fs::directory_iterator())), files);
}

TEST_F(HistoryStore, ArchivesWithoutAnExportFail) {
    const fs::path teamOnly = WriteExport("teamonly", {{"club_team.csv", {"Показатель;Значение;"}}}, 2);
    const fs::path teamZip = Zip(teamOnly);
    if (teamZip.empty())
        GTEST_SKIP() << "zip is missing";
    std::ofstream(m_root / "text.zip") << "not an archive";
    History h = History::Open(DbFile());
    const auto outcomes = h.Add({teamZip, m_root / "text.zip", m_root / "missing.zip"}, m_questions);
    ASSERT_EQ(outcomes.size(), 3u);
    for (const auto& o : outcomes)
        EXPECT_EQ(o.status, AddStatus::Failed) << o.archive;
    EXPECT_EQ(outcomes[0].error, "Неверный файл статистики");
    EXPECT_NE(outcomes[1].error.find("ZipFile"), std::string::npos) << outcomes[1].error;
    EXPECT_NE(outcomes[2].error.find("No such file"), std::string::npos) << outcomes[2].error;
    EXPECT_TRUE(h.Snapshots().empty());
}

TEST_F(HistoryStore, BatchReportsProgressAndStopsWhenCancelled) {
    History h = History::Open(DbFile());
    const std::vector<fs::path> archives = {kSamples / "start.zip", kSamples / "end.zip", kSamples / "start.zip"};
    std::vector<std::size_t> seen;
    const auto cancelled = h.Add(archives, m_questions, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 3u);
        seen.push_back(done);
        return done < 1;
    });
    EXPECT_EQ(cancelled.size(), 1u);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1}));

    seen.clear();
    const auto all = h.Add(archives, m_questions, [&](std::size_t done, std::size_t) {
        seen.push_back(done);
        return true;
    });
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].status, AddStatus::StoredAlready);
    EXPECT_EQ(all[1].status, AddStatus::Added);
    EXPECT_EQ(all[2].status, AddStatus::StoredAlready);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST_F(HistoryStore, RefusesFilesItCannotUseAndLeavesThemAsTheyWere) {
    const fs::path newer = m_root / "newer.sqlite", foreign = m_root / "foreign.sqlite", text = m_root / "text.sqlite";
    {
        SqliteDb db(newer, SqliteDb::Mode::CreateIfMissing);
        db.Exec("PRAGMA user_version = 99");
        SqliteDb other(foreign, SqliteDb::Mode::CreateIfMissing);
        other.Exec("CREATE TABLE notes (text TEXT)");
    }
    std::ofstream(text) << std::string(5000, 'x');
    const std::pair<fs::path, const char*> cases[] = {
        {newer, "newer version of Cadrix (schema 99"},
        {foreign, "another program"},
        {text, "is not a history database"},
    };
    for (const auto& [file, reason] : cases) {
        const std::string bytes = Bytes(file);
        const std::string error = ErrorOf([&] { History::Open(file); });
        EXPECT_NE(error.find(file.string() + ": "), std::string::npos) << error;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_TRUE(Bytes(file) == bytes) << "changed: " << file;
    }
    // A folder in the way of the database file.
    fs::create_directories(m_root / "dir.sqlite");
    EXPECT_NE(ErrorOf([&] { History::Open(m_root / "dir.sqlite"); }).find("dir.sqlite: "), std::string::npos);
}

TEST_F(HistoryStore, DamagedDatabaseGivesAnErrorNamingTheFile) {
    {
        History h = History::Open(DbFile());
        ASSERT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::Added);
    }
    // Everything after the first page (the header and the schema) overwritten.
    std::string bytes = Bytes(DbFile());
    ASSERT_GT(bytes.size(), 8192u);
    std::fill(bytes.begin() + 4096, bytes.end(), '\x5a');
    std::ofstream(DbFile(), std::ios::binary | std::ios::trunc) << bytes;

    const std::string error = ErrorOf([&] {
        History h = History::Open(DbFile());
        h.Snapshots();
        h.Player("104512");
    });
    EXPECT_NE(error.find(DbFile().string() + ": the database is damaged"), std::string::npos) << error;
}

// Every row of every table of the file, by table.
std::map<std::string, std::int64_t> RowCounts(const fs::path& file) {
    SqliteDb db(file, SqliteDb::Mode::ReadOnly);
    std::map<std::string, std::int64_t> counts;
    SqliteStatement tables = db.Prepare("SELECT name FROM sqlite_schema WHERE type = 'table'");
    while (tables.Step())
        counts[tables.Text(0)] = db.QueryInt("SELECT count(*) FROM " + tables.Text(0));
    return counts;
}

TEST_F(HistoryStore, VersionOneFileIsMigratedAndRemovalLeavesNoRow) {
    fs::create_directories(DbFile().parent_path());
    fs::copy_file(fs::path(CADRIX_SOURCE_DIR) / "tests/unit/history/data/history-version1.sqlite", DbFile());
    // Read as it is: reading never writes.
    EXPECT_EQ(History::OpenExisting(DbFile())->Snapshots().size(), 2u);
    EXPECT_EQ(SqliteDb(DbFile(), SqliteDb::Mode::ReadOnly).QueryInt("PRAGMA user_version"), 1);

    History h = History::Open(DbFile());
    {
        SqliteDb raw(DbFile(), SqliteDb::Mode::ReadOnly);
        EXPECT_EQ(raw.QueryInt("PRAGMA user_version"), 2);
        for (const char* table : {"snapshot_file", "snapshot_data", "player_point", "club_figure"})
            EXPECT_GT(raw.QueryInt(std::string("SELECT count(*) FROM pragma_foreign_key_list('") + table +
                                   "') WHERE \"table\" = 'snapshot' AND on_delete = 'CASCADE'"),
                      0)
                << table;
    }
    const auto list = h.Snapshots();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].date, "30.11.2026");
    EXPECT_EQ(h.Player("104512").points.size(), 2u);
    EXPECT_EQ(h.Club("Волжский Сокол").points.size(), 2u);
    EXPECT_EQ(h.Materialise(list[0].id, m_root / "out").fileName, "start.zip");
    EXPECT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::StoredAlready);

    // The texts the other snapshot still uses stay; with the last one, nothing.
    const std::string name = h.Player("104512").name;
    ASSERT_TRUE(h.Remove(list[0].id));
    EXPECT_EQ(h.Player("104512").name, name);
    EXPECT_EQ(h.Club("Волжский Сокол").points.at(0).figures[0].caption, "Название клуба");
    ASSERT_TRUE(h.Remove(list[1].id));
    for (const auto& [table, rows] : RowCounts(DbFile()))
        EXPECT_EQ(rows, 0) << table;
}

TEST_F(HistoryStore, ArchiveWithAnEntryThatIsNotWholeStoresNothing) {
    // The team entry's CRC-32 changed in both of its headers.
    std::string bytes = Bytes(kSamples / "start.zip");
    const std::string crc = {'\x3c', '\x46', '\x30', '\xa5'}, other = {'\x3d', '\x46', '\x30', '\xa5'};
    std::size_t changed = 0;
    for (auto at = bytes.find(crc); at != std::string::npos; at = bytes.find(crc, at), ++changed)
        bytes.replace(at, crc.size(), other);
    ASSERT_EQ(changed, 2u);
    const fs::path broken = m_root / "broken.zip";
    std::ofstream(broken, std::ios::binary) << bytes;

    History h = History::Open(DbFile());
    for (int attempt = 0; attempt < 2; ++attempt) {  // its digest is not kept: a second try fails alike
        const AddOutcome outcome = h.Add(broken, m_questions);
        EXPECT_EQ(outcome.status, AddStatus::Failed);
        EXPECT_NE(outcome.error.find("orvanto_club_team.csv cannot be extracted whole"), std::string::npos)
            << outcome.error;
    }
    EXPECT_TRUE(h.Snapshots().empty());
    EXPECT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::Added);
}

TEST_F(HistoryStore, DamageIsNamedWithTheWayOutAndNothingIsWritten) {
    {
        History h = History::Open(DbFile());
        ASSERT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::Added);
    }
    const fs::path whole = m_root / "whole.sqlite";
    fs::copy_file(DbFile(), whole);
    struct Case {
        const char* what;
        const char* sql;  // or, without it, pages overwritten
    };
    const Case cases[] = {
        {"a stored name with /", "UPDATE snapshot_file SET name = 'x/orvanto_club_players.csv' WHERE role = 0"},
        {"a stored name ..", "UPDATE snapshot_file SET name = '..' WHERE role = 2"},
        {"a size of 2^40", "UPDATE snapshot_file SET size = 1099511627776 WHERE role = 1"},
        {"a cut-short stream", "UPDATE snapshot_data SET packed = substr(packed, 1, length(packed) - 9)"},
        {"other bytes", "UPDATE snapshot_file SET modified = '2026-09-01 10:00:01' WHERE role = 3"},
        {"a bad date", "UPDATE snapshot SET export_date = '31.02.2026'"},
        {"a bad file time", "UPDATE snapshot_file SET modified = 'вчера' WHERE role = 0"},
        {"a lost figure", "DELETE FROM club_figure WHERE row = 7"},
        {"short skills", "UPDATE player_point SET skills = x'0102'"},
        {"random pages", nullptr},
    };
    for (const Case& c : cases) {
        fs::copy_file(whole, DbFile(), fs::copy_options::overwrite_existing);
        if (c.sql) {
            SqliteDb(DbFile(), SqliteDb::Mode::ExistingOnly).Exec(c.sql);
        } else {
            std::string bytes = Bytes(DbFile());
            std::uint32_t seed = 12345;
            for (std::size_t page = 1; page * 4096 < bytes.size(); ++page)
                for (std::size_t i = 0; i < 64; ++i)
                    bytes[page * 4096 + i] = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
            std::ofstream(DbFile(), std::ios::binary | std::ios::trunc) << bytes;
        }
        const std::string before = Bytes(DbFile());
        std::optional<History> h;
        const std::string error = ErrorOf([&] {
            h.emplace(History::Open(DbFile()));
            const SnapshotId id = h->Snapshots().at(0).id;
            h->Player("104512");
            h->Club("Волжский Сокол");
            h->Materialise(id, m_root / "out");
        });
        EXPECT_NE(error.find(DbFile().string() + ": the database is damaged"), std::string::npos) << c.what << error;
        EXPECT_NE(error.find("To start a new history, move " + DbFile().string() + " aside"), std::string::npos)
            << c.what;
        if (h) {
            EXPECT_EQ(ErrorOf([&] { h->Add(kSamples / "end.zip", m_questions); }), error) << c.what;
        }
        EXPECT_TRUE(Bytes(DbFile()) == before) << c.what;
    }
}

TEST_F(HistoryStore, ReadOnlyFolderIsReadAndWritesGiveTheSystemsReason) {
    const fs::path folder = m_root / "data", mounted = m_root / "readonly";
    {
        History h = History::Open(DbFile());
        ASSERT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::Added);
    }
    fs::create_directories(mounted);
    if (::mount(folder.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "a bind mount needs root (" << std::strerror(errno) << ")";
    const bool readOnly = ::mount(nullptr, mounted.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    const fs::path file = mounted / DbFile().filename();
    if (readOnly) {
        const auto h = History::OpenExisting(file);
        ASSERT_TRUE(h);
        EXPECT_EQ(h->Snapshots().size(), 1u);
        EXPECT_EQ(h->Materialise(h->Snapshots()[0].id, m_root / "out").fileName, "start.zip");
        EXPECT_EQ(ErrorOf([&] { History::Open(file); }), file.string() + ": cannot be written: Read-only file system");
    }
    ::umount2(mounted.c_str(), MNT_DETACH);
    ASSERT_TRUE(readOnly) << std::strerror(errno);
}

TEST_F(HistoryStore, ChangedFileTimeIsAnotherExport) {
    const fs::path folder = WriteExport("timed", GeneratedExport(5, 3), 3);
    const fs::path first = Zip(folder);
    if (first.empty())
        GTEST_SKIP() << "zip is missing";
    History h = History::Open(DbFile());
    ASSERT_EQ(h.Add(first, m_questions).status, AddStatus::Added);
    fs::last_write_time(folder / "club_team.csv", fs::last_write_time(folder / "club_team.csv") + 1h);
    const fs::path later = Zip(folder);
    EXPECT_EQ(h.Add(later, m_questions).status, AddStatus::Added);
}

TEST(ScratchFolders, OnlyThoseOfGoneProcessesAreSwept) {
    const fs::path parent = fs::temp_directory_path() / ("cadrix-sweep-test-" + std::to_string(::getpid()));
    fs::create_directories(parent);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string gone = std::to_string(child), alive = std::to_string(::getpid());
    for (const std::string& name :
         std::vector<std::string>{"cadrix-history-" + gone + "-a1b2c3", "cadrix-history-" + alive + "-a1b2c3",
                                  "cadrix-history-1-a1b2c3", "cadrix-history-" + gone, "cadrix-history-x-1"})
        fs::create_directories(parent / name / "inner");
    fs::create_directory_symlink(parent / ("cadrix-history-" + alive + "-a1b2c3"),
                                 parent / ("cadrix-history-" + gone + "-link"));
    EXPECT_EQ(SweepAbandonedScratchFolders(parent), 1);
    EXPECT_FALSE(fs::exists(parent / ("cadrix-history-" + gone + "-a1b2c3")));
    EXPECT_EQ(std::distance(fs::directory_iterator(parent), fs::directory_iterator()), 5);
    fs::remove_all(parent);
}

TEST(HistoryLocation, DataHomeElseHomeLocalShare) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = xdg ? xdg : "";
    ::setenv("HOME", "/home/manager", 1);
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(DefaultHistoryFile(), "/data/cadrix/history.sqlite");
    ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
    EXPECT_EQ(DefaultHistoryFile(), "/home/manager/.local/share/cadrix/history.sqlite");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultHistoryFile(), "/home/manager/.local/share/cadrix/history.sqlite");
    ::setenv("HOME", home.c_str(), 1);
    if (xdg)
        ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
}

// Needs root to mount a small tmpfs; the database lives on it.
class FullDisk : public HistoryStore {
protected:
    void SetUp() override {
        HistoryStore::SetUp();
        m_mount = m_root / "small";
        fs::create_directories(m_mount);
        if (::mount("tmpfs", m_mount.c_str(), "tmpfs", 0, "size=4m") != 0)
            GTEST_SKIP() << "mounting a tmpfs needs root (" << std::strerror(errno) << ")";
        m_mounted = true;
    }
    void TearDown() override {
        if (m_mounted)
            ::umount2(m_mount.c_str(), MNT_DETACH);
        HistoryStore::TearDown();
    }
    fs::path m_mount;
    bool m_mounted = false;
};

TEST_F(FullDisk, InsertionOnAFullDiskLeavesTheDatabaseAsItWas) {
    const fs::path big = Zip(WriteExport("big", GeneratedExport(3000, 9), 9));
    if (big.empty())
        GTEST_SKIP() << "zip is missing";
    const fs::path db = m_mount / "history.sqlite";
    History h = History::Open(db);
    ASSERT_EQ(h.Add(kSamples / "start.zip", m_questions).status, AddStatus::Added);
    const auto before = h.Snapshots();

    // Fill the disk but for a few pages, so that the insertion fails half-way.
    {
        std::ofstream filler(m_mount / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    fs::resize_file(m_mount / "filler", fs::file_size(m_mount / "filler") - 16 * 4096);

    try {
        h.Add(big, m_questions);
        FAIL() << "the insertion did not fail";
    } catch (const HistoryError& e) {
        EXPECT_EQ(e.Code(), SQLITE_FULL);
        EXPECT_NE(std::string(e.what()).find(db.string() + ": the disk is full"), std::string::npos) << e.what();
    }
    auto same = [&](const History& x) {
        const auto now = x.Snapshots();
        ASSERT_EQ(now.size(), before.size());
        EXPECT_EQ(now[0].sha256, before[0].sha256);
        EXPECT_EQ(x.Player("100000").points.size(), 0u);
    };
    same(h);
    fs::remove(m_mount / "filler");
    History reopened = History::Open(db);
    same(reopened);
    SqliteDb raw(db, SqliteDb::Mode::ExistingOnly);
    SqliteStatement check = raw.Prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.Step());
    EXPECT_EQ(check.Text(0), "ok");
    EXPECT_EQ(reopened.Add(big, m_questions).status, AddStatus::Added);
}

}  // namespace
}  // namespace cadrix
