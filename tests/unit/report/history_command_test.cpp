// The built cadrix-report's history commands and stored snapshots "@ID", run
// on real databases in a fresh folder per test.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "../history/history_test_support.h"
#include "history/sqlite_db.h"

namespace cadrix {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using testing::ExportFiles;
using testing::HistoryTest;
using testing::kSamples;

struct RunResult {
    int status = -1;
    std::string out, err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string CommandLine(const std::vector<std::string>& args) {
    std::string cmd = Quote(CADRIX_REPORT_EXE);
    for (const auto& a : args)
        cmd += " " + Quote(a);
    return cmd;
}

std::vector<std::string> Keys(const json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items())
        keys.push_back(item.key());
    return keys;
}

class HistoryCommand : public HistoryTest {
protected:
    RunResult Report(const std::vector<std::string>& args) {
        const fs::path errFile = m_root / "stderr.txt";
        RunResult run;
        FILE* pipe = ::popen((CommandLine(args) + " 2>" + Quote(errFile.string())).c_str(), "r");
        if (!pipe)
            return run;
        char buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
            run.out.append(buf, n);
        const int raw = ::pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(errFile);
        std::stringstream ss;
        ss << in.rdbuf();
        run.err = ss.str();
        return run;
    }
    json ReportJson(const std::vector<std::string>& args) {
        const RunResult run = Report(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out);
    }
    std::string Db() const { return (m_root / "history.sqlite").string(); }
    // Two archives (or stored snapshots) compared with everything the report prints.
    json Compare(const std::string& start, const std::string& end) {
        return ReportJson({"--work-dir", (m_root / "work").string(), "--db", Db(), "--format", "json", "--tables",
                           "--choose", "all", start, end});
    }
};

TEST_F(HistoryCommand, AddPrintsOneLinePerArchiveAndGoesOnAfterFailures) {
    fs::create_directories(m_root / "in");
    fs::copy_file(kSamples / "end.zip", m_root / "in" / "b_end.zip");
    fs::copy_file(kSamples / "start.zip", m_root / "in" / "c_start.zip");
    std::ofstream(m_root / "in" / "a_text.zip") << "not an archive";
    std::ofstream(m_root / "in" / "notes.txt") << "not listed";

    const RunResult run = Report({"history", "add", (m_root / "in").string(), "--db", Db(),
                                  (kSamples / "start.zip").string(), (m_root / "missing.zip").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "added 1 30.11.2026 Волжский Сокол\nadded 2 01.09.2026 Волжский Сокол\nstored already 2\n");
    EXPECT_NE(run.err.find((m_root / "in" / "a_text.zip").string() + ": ZipFile"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find((m_root / "missing.zip").string() + ": no such file"), std::string::npos) << run.err;

    const RunResult again = Report({"--db", Db(), "history", "add", (kSamples / "end.zip").string()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "stored already 1\n");
}

TEST_F(HistoryCommand, ListPlayerClubAndRemoveFollowTheContract) {
    ASSERT_EQ(
        Report({"history", "add", "--db", Db(), (kSamples / "end.zip").string(), (kSamples / "start.zip").string()})
            .status,
        0);
    const json list = ReportJson({"history", "list", "--format", "json", "--db", Db()});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(Keys(list[0]), (std::vector<std::string>{"id", "club", "date", "file", "sha256", "players", "added"}));
    EXPECT_EQ(list[0]["id"], 2);  // the older export first
    EXPECT_EQ(list[0]["date"], "01.09.2026");
    EXPECT_EQ(list[0]["file"], "start.zip");
    EXPECT_EQ(list[0]["club"], "Волжский Сокол");
    EXPECT_EQ(list[0]["players"], 30);
    EXPECT_EQ(list[0]["sha256"], "84338e5feb15ec385b983fbb97a81fe8453429796af1ef42209b2faebf4ebc40");
    EXPECT_TRUE(
        std::regex_match(list[0]["added"].get<std::string>(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
    const RunResult text = Report({"--db", Db(), "history", "list"});
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 3) << text.out;

    const json player = ReportJson({"history", "player", "--db", Db(), "--format", "json", "104512"});
    EXPECT_EQ(Keys(player), (std::vector<std::string>{"id", "name", "series", "growth"}));
    EXPECT_EQ(player["id"], "104512");
    EXPECT_EQ(player["name"], "Соколов Максим");
    ASSERT_EQ(player["series"].size(), 2u);
    const json& point = player["series"][1];
    EXPECT_EQ(Keys(point), (std::vector<std::string>{"snapshot", "date", "club", "position", "age", "real_level",
                                                     "value", "salary", "skills"}));
    EXPECT_EQ(point["club"], "Волжский Сокол");
    EXPECT_EQ(point["real_level"], "73,8");
    EXPECT_EQ(point["value"], "13400000");  // not grouped as the pages show it
    EXPECT_EQ(point["skills"].size(), 24u);
    EXPECT_EQ(point["skills"]["Игра руками (врат.)"], "88");
    EXPECT_EQ(player["growth"]["days"], 90);

    const json club = ReportJson({"history", "club", "--db", Db(), "--format", "json"});
    EXPECT_EQ(Keys(club), (std::vector<std::string>{"club", "series"}));
    EXPECT_EQ(club["club"], "Волжский Сокол");
    ASSERT_EQ(club["series"].size(), 2u);
    EXPECT_EQ(Keys(club["series"][0]), (std::vector<std::string>{"snapshot", "date", "figures"}));
    EXPECT_EQ(club["series"][1]["figures"].size(), 16u);
    EXPECT_EQ(club["series"][1]["figures"][12], json::array({"Средний возраст", "25,6"}));

    const RunResult missing = Report({"history", "player", "--db", Db(), "1"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find(Db() + ": no stored snapshot holds player 1"), std::string::npos) << missing.err;

    const RunResult removed = Report({"history", "remove", "--db", Db(), "2", "7", "x"});
    EXPECT_EQ(removed.status, 2);
    EXPECT_EQ(removed.out, "removed 2\n");
    EXPECT_NE(removed.err.find(Db() + ": no stored snapshot 7"), std::string::npos) << removed.err;
    EXPECT_EQ(ReportJson({"history", "list", "--db", Db(), "--format", "json"}).size(), 1u);
}

// Splits a CSV text without quoted fields into its rows' fields.
std::vector<std::vector<std::string>> CsvRows(std::string text) {
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::vector<std::string>> rows;
    std::stringstream lines(text.substr(3));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        rows.emplace_back();
        std::stringstream fields(line);
        for (std::string f; std::getline(fields, f, ';');)
            rows.back().push_back(f);
    }
    return rows;
}

TEST_F(HistoryCommand, PlayerTableAndImproversReadBackInEveryFormat) {
    ASSERT_EQ(
        Report({"history", "add", "--db", Db(), (kSamples / "start.zip").string(), (kSamples / "end.zip").string()})
            .status,
        0);
    const auto table = CsvRows(Report({"history", "player", "--db", Db(), "--format", "csv", "104512"}).out);
    ASSERT_EQ(table.size(), 3u);
    ASSERT_EQ(table[0].size(), 31u);
    EXPECT_EQ(table[0][4], "Реальный уровень");
    EXPECT_EQ(table[0][30], "Игра руками (врат.)");
    EXPECT_EQ(table[2][4], "73,8");
    const std::string text = Report({"history", "player", "--db", Db(), "104512"}).out;
    EXPECT_NE(text.find("Дата"), std::string::npos) << text;
    EXPECT_NE(text.find("Видение поля"), std::string::npos) << text;

    const json improvers = ReportJson({"history", "improvers", "--db", Db(), "--format", "json"});
    EXPECT_EQ(Keys(improvers), (std::vector<std::string>{"club", "from", "to", "days", "players"}));
    EXPECT_EQ(improvers["from"], "01.09.2026");
    EXPECT_EQ(improvers["days"], 90);
    const json& players = improvers["players"];
    ASSERT_GT(players.size(), 2u);
    EXPECT_EQ(Keys(players[0]), (std::vector<std::string>{"id", "name", "position", "real_level", "skills_sum"}));
    for (std::size_t i = 1; i < players.size(); ++i)
        EXPECT_GE(players[i - 1]["real_level"][3], players[i]["real_level"][3]) << i;
    const auto csv = CsvRows(Report({"history", "improvers", "--db", Db(), "--format", "csv", "--to", "@2"}).out);
    ASSERT_EQ(csv.size(), players.size() + 1);
    EXPECT_EQ(csv[1][0], players[0]["id"]);
    const RunResult wrong = Report({"history", "improvers", "--db", Db(), "--from", "@7"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find(Db() + ": no stored snapshot 7"), std::string::npos) << wrong.err;
}

// A comparison of stored snapshots prints what their archives print, but for
// the file labels, which show the stored file names.
void ExpectSameComparison(json archives, const json& stored, const std::vector<std::string>& storedLabels) {
    for (const std::string& label : storedLabels)
        archives["labels"][label] = stored["labels"][label];
    const json patch = json::diff(archives, stored);
    EXPECT_TRUE(patch.empty()) << patch.dump().substr(0, 2000);
}

TEST_F(HistoryCommand, StoredSnapshotsCompareLikeTheirArchives) {
    ExportFiles leaner = GeneratedExport(9, 20);
    // Gaps the load repairs, and lines cut in their odd ways.
    auto& team = leaner["club_team.csv"];
    team.erase(team.begin() + 3, team.begin() + 5);
    leaner["club_structure.csv"] = {"Строение;Уровень;Износ;", "Стадион;1000;0.5;", "Магазин;1;2.5;"};
    leaner["club_players.csv"].push_back(";777;Сдвинутый;Россия;0;CD;20;1;40.1;");
    leaner["club_players.csv"].push_back("11;100005;Без точки с запятой;Россия;0;FW;20;1;40.1");
    ExportFiles bare = GeneratedExport(6, 25);
    bare.erase("club_players_skills.csv");
    bare.erase("club_structure.csv");
    bare["a_players.csv"] = {"№;ИД;", "1;5;Первый по имени;Россия;0;GK;30;2;50.0;"};

    std::vector<std::pair<fs::path, fs::path>> pairs = {{kSamples / "start.zip", kSamples / "end.zip"}};
    const std::pair<ExportFiles, ExportFiles> generated[] = {{GeneratedExport(12, 3), leaner},
                                                             {GeneratedExport(12, 4), bare}};
    for (std::size_t i = 0; i < std::size(generated); ++i) {
        const std::string n = std::to_string(i);
        const fs::path start = Zip(WriteExport("s" + n, generated[i].first, 3 + static_cast<int>(i)));
        const fs::path end = Zip(WriteExport("e" + n, generated[i].second, 20 + static_cast<int>(i)));
        if (start.empty())
            GTEST_SKIP() << "zip is missing";
        pairs.emplace_back(start, end);
    }
    for (const auto& [start, end] : pairs) {
        const RunResult add = Report({"history", "add", "--db", Db(), start.string(), end.string()});
        ASSERT_EQ(add.status, 0) << add.err;
        std::istringstream lines(add.out);
        std::string word, startId, endId;
        lines >> word >> startId >> word >> word >> word >> word >> endId;
        SCOPED_TRACE(start.filename().string() + " " + add.out);

        const json archives = Compare(start.string(), end.string());
        const json stored = Compare("@" + startId, "@" + endId);
        EXPECT_EQ(stored["labels"]["labelTS1"], start.filename().string());
        EXPECT_EQ(stored["labels"]["labelTS2"], end.filename().string());
        ExpectSameComparison(archives, stored, {"labelTS1", "labelTS2"});
        ExpectSameComparison(archives, Compare(start.string(), "@" + endId), {"labelTS2"});
    }
}

TEST_F(HistoryCommand, TwoWritersAtOnceStoreEveryArchiveOnce) {
    std::vector<std::string> archives;
    for (int day = 1; day <= 12; ++day) {
        archives.push_back(Zip(WriteExport("d" + std::to_string(day), GeneratedExport(40, day), day)).string());
        if (archives.back().empty())
            GTEST_SKIP() << "zip is missing";
    }
    // The two overlap in the middle four archives.
    const std::vector<std::string> first(archives.begin(), archives.begin() + 8);
    const std::vector<std::string> second(archives.begin() + 4, archives.end());
    const std::string a = CommandLine([&] {
        std::vector<std::string> args = {"history", "add", "--db", Db()};
        args.insert(args.end(), first.begin(), first.end());
        return args;
    }());
    const std::string b = CommandLine([&] {
        std::vector<std::string> args = {"history", "add", "--db", Db()};
        args.insert(args.end(), second.rbegin(), second.rend());
        return args;
    }());
    const fs::path out = m_root / "out";
    const std::string both = a + " >" + Quote(out.string() + "a") + " 2>&1 & a=$!; " + b + " >" +
                             Quote(out.string() + "b") + " 2>&1 & b=$!; wait $a && wait $b";
    EXPECT_EQ(std::system(("sh -c " + Quote(both)).c_str()), 0);

    const json list = ReportJson({"history", "list", "--db", Db(), "--format", "json"});
    ASSERT_EQ(list.size(), 12u);
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i]["file"], fs::path(archives[i]).filename().string());
    for (const char* which : {"a", "b"}) {
        std::ifstream in(out.string() + which);
        std::string line;
        int lines = 0;
        while (std::getline(in, line)) {
            ++lines;
            EXPECT_TRUE(line.rfind("added ", 0) == 0 || line.rfind("stored already ", 0) == 0) << line;
        }
        EXPECT_EQ(lines, 8) << which;
    }
}

TEST_F(HistoryCommand, UnusableDatabaseIsNamedAndArchivesStillCompare) {
    std::ofstream(Db()) << std::string(3000, 'x');
    const std::string reason = Db() + ": is not a history database";
    const RunResult compare =
        Report({"--db", Db(), "--format", "json", (kSamples / "start.zip").string(), (kSamples / "end.zip").string()});
    EXPECT_EQ(compare.status, 0) << compare.err;
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--db", Db(), (kSamples / "start.zip").string(), "@1"},
                                               {"history", "list", "--db", Db()},
                                               {"history", "add", "--db", Db(), (kSamples / "start.zip").string()}}) {
        const RunResult run = Report(args);
        EXPECT_EQ(run.status, 2) << args[1];
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    }
    const std::string nowhere = (m_root / "none.sqlite").string();
    const RunResult none = Report({"--db", nowhere, "@1", "@2"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find(nowhere + ": no such history database"), std::string::npos) << none.err;
    EXPECT_EQ(Report({"history", "list", "--db", nowhere, "--format", "json"}).out, "[]\n");
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST_F(HistoryCommand, LastAndPreviousNameTheNewestClubsPairAndWrongPairsAreWarned) {
    const fs::path first = Zip(WriteExport("first", GeneratedExport(5, 3), 3));
    const fs::path newest = Zip(WriteExport("newest", GeneratedExport(5, 10), 10));
    const fs::path other = Zip(WriteExport("other", GeneratedExport(5, 7, "Торпедо"), 7));
    if (first.empty())
        GTEST_SKIP() << "zip is missing";
    const RunResult one = Report({"--db", Db(), "@prev", "@last"});
    EXPECT_EQ(one.status, 2);
    ASSERT_EQ(Report({"history", "add", "--db", Db(), other.string()}).status, 0);
    const RunResult few = Report({"--db", Db(), "@prev", "@last"});
    EXPECT_EQ(few.status, 2);
    EXPECT_NE(few.err.find(Db() + ": fewer than two stored snapshots of one club"), std::string::npos) << few.err;
    ASSERT_EQ(Report({"history", "add", "--db", Db(), newest.string(), first.string()}).status, 0);
    // The newest snapshot's club, not the club stored last.
    const json last = Compare("@prev", "@last");
    EXPECT_EQ(last["labels"]["labelTS1"], "first.zip");
    EXPECT_EQ(last["labels"]["labelTS2"], "newest.zip");

    const std::pair<std::pair<fs::path, fs::path>, std::string> wrong[] = {
        {{newest, first}, "Выгрузка конца периода (03.01.2026) старше выгрузки начала (10.01.2026). Поменять их местами?"},
        {{first, other}, "Выгрузки разных клубов: «Волжский Сокол» и «Торпедо». Сравнить всё равно?"},
        {{first, first}, "Выбрана одна и та же выгрузка (03.01.2026): изменений не будет."},
    };
    for (const auto& [pair, text] : wrong) {
        const std::vector<std::string> inputs = {pair.first.string(), pair.second.string()};
        const RunResult warned = Report({"--work-dir", (m_root / "work").string(), inputs[0], inputs[1]});
        EXPECT_EQ(warned.status, 0) << warned.err;
        EXPECT_EQ(warned.err, "warning: " + text + "\n");
        EXPECT_FALSE(warned.out.empty());
        const RunResult strict = Report({"--strict", "--work-dir", (m_root / "work").string(), inputs[0], inputs[1]});
        EXPECT_EQ(strict.status, 2);
        EXPECT_EQ(strict.err, "cadrix-report: " + text + "\n");
        EXPECT_TRUE(strict.out.empty());
    }
}

TEST_F(HistoryCommand, BusyDatabaseNamesTheArchivesNotStored) {
    ASSERT_EQ(Report({"history", "add", "--db", Db(), (kSamples / "end.zip").string()}).status, 0);
    SqliteDb other(Db(), SqliteDb::Mode::ExistingOnly);
    other.Exec("BEGIN IMMEDIATE");  // another program's write, open past the wait
    const std::string start = (kSamples / "start.zip").string(), end = (kSamples / "end.zip").string();
    const RunResult busy = Report({"history", "add", "--db", Db(), start, end});
    other.Exec("ROLLBACK");
    EXPECT_EQ(busy.status, 2);
    EXPECT_NE(busy.err.find(Db() + ": the database is in use by another program"), std::string::npos) << busy.err;
    EXPECT_NE(busy.err.find(start + ": not stored\ncadrix-report: " + end + ": not stored\n"), std::string::npos)
        << busy.err;
    EXPECT_NE(busy.err.find("adding them again later is safe"), std::string::npos) << busy.err;
    EXPECT_EQ(Report({"history", "add", "--db", Db(), start, end}).out,
              "added 2 01.09.2026 Волжский Сокол\nstored already 1\n");
}

}  // namespace
}  // namespace cadrix
