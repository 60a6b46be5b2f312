// End-to-end runs of the built cadrix-report on the sample exports and on
// small export folders written here.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// A key or index the report does not write stops the test at once instead of
// reading past the end of an object or array (the assertion is off in release
// builds).
#define JSON_ASSERT(x) ((x) ? void(0) : std::abort())
#include <nlohmann/json.hpp>

#include "core/codepage.h"
#include "export/report_output.h"

namespace cadrix {
namespace {

namespace fs = std::filesystem;

// The report's objects keep their keys in the order they were written.
using Json = nlohmann::ordered_json;

std::vector<std::string> Keys(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items())
        keys.push_back(key);
    return keys;
}

std::string Text(const Json& value) { return value.get<std::string>(); }

// ---- Running the program. ----

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q.push_back(c);
    }
    return q + "'";
}

class ReportRun : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        m_root = fs::temp_directory_path() /
                 ("cadrix_report_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::create_directories(m_root / "work");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    RunResult Report(const std::vector<std::string>& args) {
        std::string cmd = Quote(CADRIX_REPORT_EXE);
        cmd += " --work-dir " + Quote((m_root / "work").string());
        for (const auto& a : args)
            cmd += " " + Quote(a);
        const fs::path errFile = m_root / "stderr.txt";
        cmd += " 2>" + Quote(errFile.string());
        RunResult run;
        FILE* pipe = ::popen(cmd.c_str(), "r");
        if (!pipe)
            return run;
        char buf[65536];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            run.out.append(buf, n);
        const int raw = ::pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        std::ifstream in(errFile, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        run.err = ss.str();
        return run;
    }

    Json ReportJson(std::vector<std::string> args) {
        args.insert(args.begin(), {"--format", "json"});
        const RunResult run = Report(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return Json::parse(run.out);
    }

    // Writes one export folder in Windows-1251 with CR LF line ends; every
    // file gets the same last-write time, noon of `day` January 2026 (UTC).
    fs::path WriteExport(const std::string& name, const std::map<std::string, std::vector<std::string>>& files,
                         int day) {
        const fs::path folder = m_root / name;
        fs::create_directories(folder);
        // 2026-01-01 00:00 UTC is 1767225600 s after the epoch.
        const auto when =
            std::chrono::system_clock::time_point(std::chrono::seconds(1767225600LL + (day - 1) * 86400LL + 12 * 3600));
        for (const auto& [file, lines] : files) {
            {
                std::ofstream out(folder / file, std::ios::binary);
                for (const auto& line : lines)
                    out << Utf8ToCp1251(line) << "\r\n";
            }
            fs::last_write_time(folder / file, fs::file_time_type::clock::from_sys(when));
        }
        return folder;
    }

    fs::path m_root;
};

const fs::path kSamples = fs::path(CADRIX_SOURCE_DIR) / "samples";

const std::vector<std::string> kLabelNames = {
    "labelTS1", "LabelOF", "labelTS2", "LabelNF", "Label1", "Label2", "Label3", "Label4", "Label35",
    "Label36",  "Label10", "Label13",  "LO1",     "LO2",    "LO3",    "LO4",    "LN1",    "LN2",
    "LN3",      "LN4",     "kt1",      "kt2",     "kt3",    "tot1",   "tot2",   "tot3"};

// Checks one styled grid: every row an array of `cols` cells, every cell the five keys with allowed values.
void CheckGrid(const Json& grid, const std::string& name, std::size_t cols) {
    static const std::set<std::string> images = {"stars-0",     "stars-1",      "stars-2",     "stars-3",
                                                 "stars-4",     "stars-5",      "stars-blank", "status-outline",
                                                 "status-grey", "status-green", "status-gold"};
    ASSERT_TRUE(grid.is_array()) << name;
    for (std::size_t r = 0; r < grid.size(); ++r) {
        const Json& row = grid[r];
        ASSERT_TRUE(row.is_array()) << name;
        ASSERT_EQ(row.size(), cols) << name << " row " << r;
        for (const Json& cell : row) {
            ASSERT_EQ(Keys(cell), (std::vector<std::string>{"text", "bg", "fg", "align", "image"})) << name;
            EXPECT_TRUE(cell["text"].is_string()) << name;
            const Json& bg = cell["bg"];
            EXPECT_TRUE(bg.is_null() || Text(bg) == "favourable" || Text(bg) == "unfavourable")
                << name << " bg " << bg.dump();
            const Json& fg = cell["fg"];
            if (!fg.is_null()) {
                ASSERT_EQ(Text(fg).size(), 7u) << name;
                EXPECT_EQ(Text(fg)[0], '#') << name;
                EXPECT_EQ(Text(fg).find_first_not_of("0123456789ABCDEF", 1), std::string::npos) << Text(fg);
            }
            const std::string& align = Text(cell["align"]);
            EXPECT_TRUE(align == "left" || align == "center" || align == "right") << name << " " << align;
            const Json& image = cell["image"];
            EXPECT_TRUE(image.is_null() || images.count(Text(image))) << name << " " << image.dump();
        }
    }
}

// The salary and value columns of a players file, summed independently of the program.
std::pair<long long, long long> SumSalariesAndValues(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    long long salaries = 0, values = 0;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string f;
        while (std::getline(ss, f, ';'))
            fields.push_back(f);
        if (fields.size() > 20) {
            salaries += std::stoll(fields[19]);
            values += std::stoll(fields[20]);
        }
    }
    return {salaries, values};
}

std::string Grouped(long long n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ".");
    return (n < 0 ? "-" : "") + digits;
}

TEST_F(ReportRun, SampleJsonFollowsTheContract) {
    const Json doc = ReportJson({(kSamples / "start").string(), (kSamples / "end").string()});
    EXPECT_EQ(Keys(doc), (std::vector<std::string>{"labels", "shapes", "grids", "ComboBox3", "ListBox1", "choices"}));
    for (const auto& name : kLabelNames) {
        ASSERT_TRUE(doc["labels"].contains(name)) << name;
        EXPECT_TRUE(doc["labels"][name].is_string()) << name;
    }
    for (const char* shape : {"shapet3", "Shape19"}) {
        const std::string& s = Text(doc["shapes"][shape]);
        EXPECT_TRUE(s == "favourable" || s == "unfavourable" || s == "button-face") << shape << " " << s;
    }
    const Json& grids = doc["grids"];
    EXPECT_EQ(Keys(grids), (std::vector<std::string>{"StringGrid1", "StringGrid2", "StringGrid_nat", "StringGrid_pay",
                                                     "StringGrid_pr", "StringGrid_ru", "StringGrid3"}));
    CheckGrid(grids["StringGrid1"], "StringGrid1", 4);
    CheckGrid(grids["StringGrid2"], "StringGrid2", 6);
    CheckGrid(grids["StringGrid_nat"], "StringGrid_nat", 8);
    CheckGrid(grids["StringGrid_pay"], "StringGrid_pay", 7);
    CheckGrid(grids["StringGrid_pr"], "StringGrid_pr", 5);
    CheckGrid(grids["StringGrid_ru"], "StringGrid_ru", 8);
    CheckGrid(grids["StringGrid3"], "StringGrid3", 4);
    EXPECT_EQ(grids["StringGrid1"].size(), 17u);
    EXPECT_EQ(grids["StringGrid2"].size(), 7u);
    EXPECT_EQ(grids["StringGrid3"].size(), 25u);
    // One row per player on every player page; the values page has a header row above.
    const std::size_t players = grids["StringGrid_ru"].size();
    EXPECT_GE(players, 30u);
    EXPECT_EQ(grids["StringGrid_nat"].size(), players);
    EXPECT_EQ(grids["StringGrid_pay"].size(), players);
    EXPECT_EQ(grids["StringGrid_pr"].size(), players + 1);

    EXPECT_EQ(doc["ComboBox3"].size(), doc["ListBox1"].size());
    EXPECT_GT(doc["ComboBox3"].size(), 0u);
    EXPECT_EQ(doc["choices"].size(), 0u);
    EXPECT_FALSE(doc.contains("Total_play1"));
    // The date captions are the players files' dates.
    const std::string& startLabel = Text(doc["labels"]["LabelOF"]);
    ASSERT_GE(startLabel.size(), 4u);
    EXPECT_EQ(startLabel.substr(startLabel.size() - 4), ", OK");
    EXPECT_EQ(Text(doc["labels"]["Label1"]) + ", OK", startLabel);
    EXPECT_EQ(Text(grids["StringGrid1"][0][1]["text"]), Text(doc["labels"]["Label1"]));
}

TEST_F(ReportRun, SampleTotalsAreTheSumsOfThePlayersFiles) {
    const auto [startSalaries, startValues] = SumSalariesAndValues(kSamples / "start" / "orvanto_club_players.csv");
    const auto [endSalaries, endValues] = SumSalariesAndValues(kSamples / "end" / "orvanto_club_players.csv");
    ASSERT_GT(startSalaries, 0);
    const Json doc = ReportJson({(kSamples / "start").string(), (kSamples / "end").string()});
    const Json& l = doc["labels"];
    EXPECT_EQ(Text(l["kt1"]), Grouped(startSalaries));
    EXPECT_EQ(Text(l["kt2"]), Grouped(endSalaries));
    EXPECT_EQ(Text(l["kt3"]), Grouped(endSalaries - startSalaries));
    EXPECT_EQ(Text(l["tot1"]), Grouped(startValues));
    EXPECT_EQ(Text(l["tot2"]), Grouped(endValues));
    EXPECT_EQ(Text(l["tot3"]), Grouped(endValues - startValues));
    const auto expectShape = [](long long change, bool fallGood) {
        if (change == 0)
            return std::string("button-face");
        return (change < 0) == fallGood ? std::string("favourable") : std::string("unfavourable");
    };
    EXPECT_EQ(Text(doc["shapes"]["shapet3"]), expectShape(endSalaries - startSalaries, true));
    EXPECT_EQ(Text(doc["shapes"]["Shape19"]), expectShape(endValues - startValues, false));
}

// The `player_id` column of a players file, in file order.
std::vector<std::string> PlayerIds(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::vector<std::string> ids;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        std::stringstream ss(line);
        std::string first, id;
        if (std::getline(ss, first, ';') && std::getline(ss, id, ';'))
            ids.push_back(id);
    }
    return ids;
}

TEST_F(ReportRun, SampleChooserListsThePlayersOfBothFilesInEndOrder) {
    const auto startIds = PlayerIds(kSamples / "start" / "orvanto_club_players.csv");
    const auto endIds = PlayerIds(kSamples / "end" / "orvanto_club_players.csv");
    std::vector<std::string> expected;
    for (const auto& id : endIds) {
        for (const auto& s : startIds) {
            if (s == id)
                expected.push_back(id);
        }
    }
    ASSERT_FALSE(expected.empty());
    ASSERT_LT(expected.size(), endIds.size());  // the sample has newcomers
    const Json doc = ReportJson({(kSamples / "start").string(), (kSamples / "end").string()});
    std::vector<std::string> listed;
    for (const Json& id : doc["ListBox1"])
        listed.push_back(Text(id));
    EXPECT_EQ(listed, expected);
    // Every player of either file has one row on the real level page.
    std::set<std::string> all(startIds.begin(), startIds.end());
    all.insert(endIds.begin(), endIds.end());
    EXPECT_EQ(doc["grids"]["StringGrid_ru"].size(), all.size());
}

TEST_F(ReportRun, TablesOptionAddsTheDataTables) {
    const Json doc = ReportJson({"--tables", (kSamples / "start").string(), (kSamples / "end").string()});
    for (const char* name : {"sg1_play", "sg1_play2", "sg1_team", "sg1_struct", "sg2_play", "sg2_play2", "sg2_team",
                             "sg2_struct", "Total_play1"})
        EXPECT_TRUE(doc.contains(name)) << name;
    EXPECT_TRUE(doc.contains("choices"));
    EXPECT_EQ(doc["sg1_team"].size(), 17u);
    EXPECT_EQ(doc["sg1_struct"].size(), 8u);
    // The decimal point of the export reads as a comma in the tables too.
    EXPECT_EQ(Text(doc["sg1_struct"][1][2]), "12,50");
}

TEST_F(ReportRun, ChooseAllPicksEveryItemInOrder) {
    const Json doc = ReportJson({"--choose", "all", (kSamples / "start").string(), (kSamples / "end").string()});
    const Json& choices = doc["choices"];
    ASSERT_EQ(choices.size(), doc["ComboBox3"].size());
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const Json& c = choices[i];
        EXPECT_EQ(Keys(c), (std::vector<std::string>{"index", "text", "StringGrid3", "ExInfoForm"}));
        EXPECT_EQ(c["index"].get<std::size_t>(), i);
        EXPECT_EQ(Text(c["text"]), Text(doc["ComboBox3"][i]));
        CheckGrid(c["StringGrid3"], "choice StringGrid3", 4);
        EXPECT_EQ(c["StringGrid3"].size(), 25u);
        ASSERT_EQ(c["ExInfoForm"].size(), 11u);
        for (const Json& row : c["ExInfoForm"])
            ASSERT_EQ(row.size(), 2u);
        EXPECT_EQ(Text(c["ExInfoForm"][1][1]), Text(c["text"]).substr(Text(c["text"]).size() - 2));
    }
}

// ---- Crafted folders. ----

std::string PlayerLine(int n, const std::string& id, const std::string& name, const std::string& nat,
                       const std::string& pos, const std::string& talent, const std::string& level,
                       const std::string& salary, const std::string& value) {
    return std::to_string(n) + ";" + id + ";" + name + ";Россия;" + nat + ";" + pos + ";24;" + talent + ";" + level +
           ";60;80;5;0;0;0;0;0;" + std::to_string(n) + ";2 сезона;" + salary + ";" + value + ";180;75;правая;";
}

std::vector<std::string> SkillsFile(const std::vector<std::string>& rows) {
    std::vector<std::string> lines = {"№;ИД;Имя;Поз;Возр;"};
    lines.insert(lines.end(), rows.begin(), rows.end());
    for (int i = 0; i < 24; ++i)
        lines.push_back("Описание;" + std::to_string(i) + ";");
    return lines;
}

std::string SkillsRow(const std::string& id, int base, int firstDelta) {
    std::string line = "1;" + id + ";x;CD;24;";
    for (int k = 1; k <= 24; ++k)
        line += std::to_string(base + (k == 1 ? firstDelta : 0)) + ";";
    return line;
}

std::vector<std::string> Team(const std::string& budget) {
    std::vector<std::string> lines = {"Показатель;Значение;"};
    for (int r = 1; r <= 16; ++r)
        lines.push_back("Строка " + std::to_string(r) + ";" + (r == 9 ? budget : std::to_string(r)) + ";");
    return lines;
}

std::vector<std::string> Structure(const std::string& baseLevel) {
    return {"Строение;Уровень;Износ;",
            "Стадион;25000;12.50;",
            "Спортивная База;" + baseLevel + ";4.10;",
            "Клубный центр;2;7.80;",
            "Тренировочные поля;4;2.30;",
            "Медицинский центр;1;6.60;",
            "Магазин;0;0.00;",
            "ДЮСШ;2;5.15;"};
}

const char* const kHeader =
    "№;ИД;Имя;Гражданство;Сборная;Позиция;Возраст;Талант;РУ;Мораль;Форма;Игры;Голы;Пасы;ЖК;КК;Травма;Номер;"
    "Контракт;Зарплата;Стоимость;Рост;Вес;Нога;";

TEST_F(ReportRun, CraftedPairShowsColoursImagesAndAChoice) {
    const fs::path start =
        WriteExport("start",
                    {{"c_players.csv",
                      {kHeader, PlayerLine(1, "7", "Иван \"Молот\" Петров", "1", "CD", "5", "50.5", "1000", "2000000"),
                       PlayerLine(2, "8", "Уходящий", "0", "FW", "2", "40", "700", "100")}},
                     {"c_players_skills.csv", SkillsFile({SkillsRow("7", 40, 0)})},
                     {"c_team.csv", Team("1500000")},
                     {"c_structure.csv", Structure("3")}},
                    15);
    const fs::path end =
        WriteExport("end",
                    {{"c_players.csv",
                      {kHeader, PlayerLine(1, "7", "Иван \"Молот\" Петров", "2", "CD", "5", "49", "1500", "2500000")}},
                     {"c_players_skills.csv", SkillsFile({SkillsRow("7", 40, -2)})},
                     {"c_team.csv", Team("1250000")},
                     {"c_structure.csv", Structure("4")}},
                    22);
    const Json doc = ReportJson({"--choose", "0", start.string(), end.string()});
    const Json& l = doc["labels"];
    EXPECT_EQ(Text(l["LabelOF"]), "15.01.2026, OK");
    EXPECT_EQ(Text(l["LabelNF"]), "22.01.2026, OK");
    EXPECT_EQ(Text(l["Label35"]), "15.01.2026");
    EXPECT_EQ(Text(l["Label13"]), "22.01.2026");
    // Paths of more than 65 characters are shortened on the label; ours usually are not.
    if (fs::absolute(start).string().size() <= 65) {
        EXPECT_EQ(Text(l["labelTS1"]), fs::absolute(start).string());
    }
    EXPECT_EQ(Text(l["LO4"]), "(1)");
    EXPECT_EQ(Text(l["LO1"]), "(1)");
    EXPECT_EQ(Text(l["LN3"]), "(1)");
    EXPECT_EQ(Text(l["LN1"]), "(0)");

    const Json& grids = doc["grids"];
    // Club: budget fell, shown grouped on the unfavourable colour.
    const Json& budget = grids["StringGrid1"][9][3];
    EXPECT_EQ(Text(budget["text"]), "-250.000");
    EXPECT_EQ(Text(budget["bg"]), "unfavourable");
    EXPECT_EQ(Text(budget["align"]), "right");
    EXPECT_EQ(Text(grids["StringGrid1"][2][1]["fg"]), "#808080");

    // Infrastructure: three and four stars, progress 1 on the favourable colour.
    const Json& base = grids["StringGrid2"][1];
    EXPECT_EQ(Text(base[1]["image"]), "stars-3");
    EXPECT_EQ(Text(base[3]["image"]), "stars-4");
    EXPECT_EQ(Text(base[5]["text"]), "1");
    EXPECT_EQ(Text(base[5]["bg"]), "favourable");
    EXPECT_EQ(Text(grids["StringGrid2"][0][1]["text"]), "25.000 мест");
    EXPECT_TRUE(grids["StringGrid2"][0][1]["image"].is_null());

    // National teams: gold at the start, green at the end; the leaver has no end icon.
    const Json& nat = grids["StringGrid_nat"];
    ASSERT_EQ(nat.size(), 2u);
    EXPECT_EQ(Text(nat[0][0]["text"]), "Иван \"Молот\" Петров");
    EXPECT_EQ(Text(nat[0][3]["image"]), "status-gold");
    EXPECT_EQ(Text(nat[0][6]["image"]), "status-green");
    EXPECT_EQ(Text(nat[1][6]["text"]), "n/a");
    EXPECT_EQ(Text(nat[1][6]["fg"]), "#808080");
    EXPECT_TRUE(nat[1][6]["image"].is_null());

    // Contracts: a rise is unfavourable, the leaver's salary a favourable fall.
    const Json& pay = grids["StringGrid_pay"];
    EXPECT_EQ(Text(pay[0][6]["text"]), "500");
    EXPECT_EQ(Text(pay[0][6]["bg"]), "unfavourable");
    EXPECT_EQ(Text(pay[1][6]["text"]), "-700");
    EXPECT_EQ(Text(pay[1][6]["bg"]), "favourable");
    EXPECT_EQ(Text(l["kt1"]), "1.700");
    EXPECT_EQ(Text(l["kt2"]), "1.500");
    EXPECT_EQ(Text(l["kt3"]), "-200");
    EXPECT_EQ(Text(doc["shapes"]["shapet3"]), "favourable");

    // Values: growth favourable; the header keeps its colour.
    const Json& pr = grids["StringGrid_pr"];
    EXPECT_EQ(Text(pr[0][4]["text"]), "Прогресс");
    EXPECT_TRUE(pr[0][4]["bg"].is_null());
    EXPECT_EQ(Text(pr[1][4]["text"]), "500.000");
    EXPECT_EQ(Text(pr[1][4]["bg"]), "favourable");
    EXPECT_EQ(Text(l["tot3"]), "499.900");
    EXPECT_EQ(Text(doc["shapes"]["Shape19"]), "favourable");

    // Real level: a fall on the unfavourable colour, talent 5 red and centred.
    const Json& ru = grids["StringGrid_ru"];
    EXPECT_EQ(Text(ru[0][7]["text"]), "-1,5");
    EXPECT_EQ(Text(ru[0][7]["bg"]), "unfavourable");
    EXPECT_EQ(Text(ru[0][1]["fg"]), "#FF0000");
    EXPECT_EQ(Text(ru[0][1]["align"]), "center");
    EXPECT_EQ(Text(ru[1][1]["fg"]), "#008000");

    // The choice: skill 1 fell by 2.
    ASSERT_EQ(doc["ComboBox3"].size(), 1u);
    EXPECT_EQ(Text(doc["ComboBox3"][0]), "Иван \"Молот\" Петров, CD");
    EXPECT_EQ(Text(doc["ListBox1"][0]), "7");
    ASSERT_EQ(doc["choices"].size(), 1u);
    const Json& choice = doc["choices"][0];
    EXPECT_EQ(choice["index"].get<int>(), 0);
    EXPECT_EQ(Text(choice["text"]), "Иван \"Молот\" Петров, CD");
    const Json& skills = choice["StringGrid3"];
    EXPECT_EQ(Text(skills[0][1]["text"]), "15.01.2026");
    EXPECT_EQ(Text(skills[1][0]["text"]), "Навесы");
    EXPECT_EQ(Text(skills[1][1]["text"]), "40");
    EXPECT_EQ(Text(skills[1][2]["text"]), "38");
    EXPECT_EQ(Text(skills[1][3]["text"]), "-2");
    EXPECT_EQ(Text(skills[1][3]["bg"]), "unfavourable");
    EXPECT_EQ(Text(skills[1][0]["fg"]), "#FF0000");  // red for the defence line
    EXPECT_EQ(Text(skills[6][0]["fg"]), "#008000");
    EXPECT_EQ(Text(skills[3][1]["fg"]), "#0000FF");
    EXPECT_TRUE(skills[0][0]["fg"].is_null());
    EXPECT_EQ(Text(skills[2][3]["text"]), "0");
    EXPECT_TRUE(skills[2][3]["bg"].is_null());
    // The grid of the page holds the same after the last choice.
    EXPECT_EQ(Text(grids["StringGrid3"][1][3]["text"]), "-2");

    const Json& panel = choice["ExInfoForm"];
    const std::vector<std::pair<std::string, std::string>> expected = {{"Имя", "Иван \"Молот\" Петров"},
                                                                       {"Позиция", "CD"},
                                                                       {"Талант", "5"},
                                                                       {"Возраст", "24"},
                                                                       {"Изменение РУ", "-0,1"},
                                                                       {"Макс. рост", "нет"},
                                                                       {"Макс. падение", "Навесы (-2)"},
                                                                       {"Профильные", "0,00"},
                                                                       {"Общие", "0,00"},
                                                                       {"Чужие", "-0,10"},
                                                                       {"Единые", "0,00"}};
    ASSERT_EQ(panel.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        EXPECT_EQ(Text(panel[r][0]), expected[r].first) << r;
        EXPECT_EQ(Text(panel[r][1]), expected[r].second) << r;
    }
}

TEST_F(ReportRun, ChoicesKeepTheirOwnGridsInOrder) {
    const std::vector<std::string> players = {kHeader, PlayerLine(1, "1", "Первый", "0", "GK", "3", "50", "1", "1"),
                                              PlayerLine(2, "2", "Второй", "0", "FW", "3", "50", "1", "1")};
    const fs::path start =
        WriteExport("s",
                    {{"a_players.csv", players},
                     {"a_players_skills.csv", SkillsFile({SkillsRow("1", 10, 0), SkillsRow("2", 10, 0)})}},
                    3);
    const fs::path end = WriteExport(
        "e", {{"a_players.csv", players}, {"a_players_skills.csv", SkillsFile({SkillsRow("1", 10, 4)})}}, 4);
    const Json doc = ReportJson({"--choose", "1", "--choose", "0", start.string(), end.string()});
    const Json& choices = doc["choices"];
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0]["index"].get<int>(), 1);
    EXPECT_EQ(Text(choices[0]["text"]), "Второй, FW");
    // The second player has no end skills row: nothing of another player shows.
    EXPECT_EQ(Text(choices[0]["StringGrid3"][1][1]["text"]), "10");
    EXPECT_EQ(Text(choices[0]["StringGrid3"][1][2]["text"]), "");
    EXPECT_EQ(Text(choices[0]["StringGrid3"][1][3]["text"]), "");
    EXPECT_EQ(choices[1]["index"].get<int>(), 0);
    EXPECT_EQ(Text(choices[1]["StringGrid3"][1][3]["text"]), "4");
    EXPECT_EQ(Text(choices[1]["StringGrid3"][1][3]["bg"]), "favourable");
    EXPECT_EQ(Text(choices[1]["StringGrid3"][21][0]["fg"]), "#008000");  // goalkeeper skill, green for GK
    EXPECT_EQ(Text(choices[1]["ExInfoForm"][5][1]), "Навесы (4)");
    EXPECT_EQ(Text(choices[1]["ExInfoForm"][4][1]), "0,0");  // an outfield skill does not move a goalkeeper's level
}

TEST_F(ReportRun, MissingFolderExitsWithStatusTwoAndAMessage) {
    const RunResult run =
        Report({"--format", "json", (m_root / "no-such-folder").string(), (kSamples / "end").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("no-such-folder"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ReportRun, ChoiceBeyondTheChooserExitsWithStatusTwo) {
    const RunResult run =
        Report({"--format", "json", "--choose", "100000", (kSamples / "start").string(), (kSamples / "end").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(run.out, "");
}

TEST_F(ReportRun, BadArgumentsExitWithStatusTwoAndSayWhich) {
    const std::string start = (kSamples / "start").string(), end = (kSamples / "end").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--format", "xml", start, end}, "unknown format xml"},
        {{"--choose", "abc", start, end}, "no such chooser item"},
        {{"--choose", "-1", start, end}, "no such chooser item"},
        {{"--bogus", start, end}, "unknown option --bogus"},
        {{start, end, "--db"}, "missing value for --db"},
        {{start}, "two inputs are needed, START and END; 1 given"},
        {{start, end, end}, "two inputs are needed, START and END; 3 given"},
        {{"--format", "csv", start, end}, "this format needs --output"},  // a folder of files
        {{"--palette", "red", start, end}, "unknown palette red"},
    };
    for (const auto& [args, message] : cases) {
        const RunResult run = Report(args);
        std::string what;
        for (const auto& a : args)
            what += a + " ";
        EXPECT_EQ(run.status, 2) << what;
        EXPECT_NE(run.err.find("cadrix-report: " + message), std::string::npos) << what << run.err;
        EXPECT_EQ(run.out, "") << what;
    }
}

TEST_F(ReportRun, HelpPrintsTheUsageAndVersionTheVersion) {
    const RunResult run = Report({"--help", "--bogus"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: cadrix-report", 0), 0u) << run.out;
    EXPECT_EQ(run.err, "");
    const RunResult version = Report({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "cadrix-report 2.0\n");
}

// Linux lets a file name be any bytes; every format writes it as UTF-8 with
// U+FFFD for what is not, so that a JSON reader takes it.
TEST_F(ReportRun, FileNameThatIsNotUtf8IsWrittenWithReplacementCharacters) {
    const fs::path start = m_root / "start\xFF\xFE.zip";
    fs::copy_file(kSamples / "start.zip", start);
    const Json report = ReportJson({start.string(), (kSamples / "end.zip").string()});
    EXPECT_NE(report.dump().find("start\xEF\xBF\xBD\xEF\xBF\xBD.zip"), std::string::npos) << report.dump();
}

// The text report is coloured on a terminal only, and never where the user
// or the terminal says no.
TEST(ReportColour, FollowsNoColourAndTheTerminal) {
    int master = -1, slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const int saved = ::dup(STDOUT_FILENO);
    std::fflush(stdout);
    ::dup2(slave, STDOUT_FILENO);
    const auto wants = [](const char* noColour, const char* term) {
        noColour ? ::setenv("NO_COLOR", noColour, 1) : ::unsetenv("NO_COLOR");
        term ? ::setenv("TERM", term, 1) : ::unsetenv("TERM");
        return TerminalWantsColour();
    };
    const char* term = std::getenv("TERM");
    const std::string savedTerm = term ? term : "";
    const bool plain = wants(nullptr, "xterm-256color");
    const bool emptyNoColour = wants("", "xterm");
    const bool noColour = wants("1", "xterm");
    const bool dumb = wants(nullptr, "dumb");
    const bool noTerm = wants(nullptr, nullptr);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    const bool notATerminal = wants(nullptr, "xterm");
    ::close(slave);
    ::close(master);
    ::unsetenv("NO_COLOR");
    term ? ::setenv("TERM", savedTerm.c_str(), 1) : ::unsetenv("TERM");
    EXPECT_TRUE(plain);
    EXPECT_TRUE(emptyNoColour);
    EXPECT_FALSE(noColour);
    EXPECT_FALSE(dumb);
    EXPECT_FALSE(noTerm);
    if (!::isatty(STDOUT_FILENO)) {
        EXPECT_FALSE(notATerminal);
    }
}

TEST_F(ReportRun, TextIsTheDefaultFormatWithCaptionsAndTotals) {
    const Json doc = ReportJson({(kSamples / "start").string(), (kSamples / "end").string()});
    const RunResult run = Report({(kSamples / "start").string(), (kSamples / "end").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.front(), '{');
    const Json& l = doc["labels"];
    EXPECT_NE(run.out.find(Text(l["kt1"])), std::string::npos);
    EXPECT_NE(run.out.find(Text(l["tot3"])), std::string::npos);
    EXPECT_NE(run.out.find(Text(l["Label35"])), std::string::npos);
    // Every player's name appears.
    for (const Json& row : doc["grids"]["StringGrid_ru"])
        EXPECT_NE(run.out.find(Text(row[0]["text"])), std::string::npos) << Text(row[0]["text"]);
}

TEST_F(ReportRun, SummaryFollowsTheFileLabelsInTextAndEndsTheJson) {
    const std::string start = (kSamples / "start").string(), end = (kSamples / "end").string();
    const Json doc = ReportJson({"--summary", start, end});
    EXPECT_EQ(Keys(doc).back(), "summary");
    const Json& summary = doc["summary"];
    EXPECT_EQ(Keys(summary),
              (std::vector<std::string>{"arrivals", "departures", "national", "real_level_rises", "real_level_falls",
                                        "skill_rises", "skill_falls", "money", "club", "buildings"}));
    EXPECT_TRUE(summary["skill_falls"].is_array());
    EXPECT_EQ(Keys(summary["real_level_rises"][0]),
              (std::vector<std::string>{"name", "position", "start", "end", "change"}));
    EXPECT_TRUE(summary["skill_rises"][0]["sum"].is_number_integer());
    EXPECT_TRUE(summary["buildings"][0]["start"].is_number_integer());
    EXPECT_EQ(summary["money"]["payroll"],
              (Json::array({doc["labels"]["kt1"], doc["labels"]["kt2"], doc["labels"]["kt3"]})));
    EXPECT_EQ(ReportJson({start, end}), [&] {
        Json without = doc;
        without.erase("summary");
        return without;
    }());

    const RunResult text = Report({"--summary", start, end});
    ASSERT_EQ(text.status, 0) << text.err;
    const auto title = text.out.find("== Итоги периода: Волжский Сокол, ");
    EXPECT_NE(title, std::string::npos);
    EXPECT_LT(text.out.find(Text(doc["labels"]["LabelNF"])), title);
    EXPECT_LT(title, text.out.find("== Клуб (StringGrid1)"));
}

TEST_F(ReportRun, AnExportThatCannotBeWrittenExitsWithStatusTwoNamingTheFile) {
    const fs::path target = m_root / "missing" / "report.html";
    const RunResult run = Report(
        {"--format", "html", "--output", target.string(), (kSamples / "start").string(), (kSamples / "end").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("\"" + target.string() + "\": No such file or directory"), std::string::npos) << run.err;
}

// ---- Archives, chosen as the window chooses them. ----

// The grids whose texts hold no date: the same for an archive and its folder.
const char* const kDatelessGrids[] = {"StringGrid_nat", "StringGrid_pay", "StringGrid_ru"};

TEST_F(ReportRun, ArchivesGiveTheComparisonOfTheirFiles) {
    const Json zips = ReportJson({(kSamples / "start.zip").string(), (kSamples / "end.zip").string()});
    const Json folders = ReportJson({(kSamples / "start").string(), (kSamples / "end").string()});
    // The dates are those stored in the archives for the players files.
    EXPECT_EQ(Text(zips["labels"]["LabelOF"]), "01.09.2026, OK");
    EXPECT_EQ(Text(zips["labels"]["LabelNF"]), "30.11.2026, OK");
    EXPECT_EQ(Text(zips["labels"]["Label10"]), "01.09.2026");
    EXPECT_EQ(Text(zips["labels"]["labelTS1"]), fs::absolute(kSamples / "start.zip").string());
    EXPECT_EQ(Text(zips["grids"]["StringGrid1"][0][1]["text"]), "01.09.2026");
    for (const char* grid : kDatelessGrids) {
        const Json& a = zips["grids"][grid];
        const Json& b = folders["grids"][grid];
        ASSERT_EQ(a.size(), b.size()) << grid;
        for (std::size_t r = 0; r < a.size(); ++r) {
            for (std::size_t c = 0; c < a[r].size(); ++c)
                EXPECT_EQ(Text(a[r][c]["text"]), Text(b[r][c]["text"])) << grid << " " << r;
        }
    }
    for (const char* label : {"kt1", "kt2", "kt3", "tot1", "tot2", "tot3", "LO1", "LN4"})
        EXPECT_EQ(Text(zips["labels"][label]), Text(folders["labels"][label])) << label;
}

TEST_F(ReportRun, ArchivesAreExtractedIntoTheWorkingFolders) {
    const RunResult run =
        Report({"--format", "json", (kSamples / "start.zip").string(), (kSamples / "end.zip").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* side : {"old", "new"}) {
        for (const char* file : {"orvanto_club_players.csv", "orvanto_club_players_skills.csv", "orvanto_club_team.csv",
                                 "orvanto_club_structure.csv"})
            EXPECT_TRUE(fs::is_regular_file(m_root / "work" / "Tmp" / side / file)) << side << "/" << file;
    }
}

TEST_F(ReportRun, ArchiveWithoutPlayersFileIsNoStatistics) {
    const fs::path folder = WriteExport("only_team", {{"club_team.csv", Team("100")}}, 3);
    const fs::path zip = m_root / "no_players.zip";
    ASSERT_EQ(
        std::system(("cd " + Quote(folder.string()) + " && zip -q " + Quote(zip.string()) + " club_team.csv").c_str()),
        0);
    const RunResult run = Report({"--format", "json", zip.string(), (kSamples / "end.zip").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Неверный файл статистики"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ReportRun, NotAnArchiveShowsTheArchiveError) {
    const RunResult run =
        Report({"--format", "json", (kSamples / "README.md").string(), (kSamples / "end.zip").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("ZipFile: Archive is damaged. Open failed - Native error: 00048"), std::string::npos)
        << run.err;
}

TEST_F(ReportRun, WithoutWorkDirTheTemporaryFolderIsRemoved) {
    const fs::path tmp = m_root / "tmp";
    fs::create_directories(tmp);
    const std::string cmd = "TMPDIR=" + Quote(tmp.string()) + " " + Quote(CADRIX_REPORT_EXE) + " --format json " +
                            Quote((kSamples / "start.zip").string()) + " " + Quote((kSamples / "end.zip").string()) +
                            " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_TRUE(fs::is_empty(tmp));
}

TEST_F(ReportRun, MixingAnArchiveAndAFolderIsRefused) {
    const RunResult run = Report({(kSamples / "start.zip").string(), (kSamples / "end").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
}

}  // namespace
}  // namespace cadrix
