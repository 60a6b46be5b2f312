// The JSON string escaping, and the HTML and CSV writers on a small comparison written here: what each
// says of a change, how each escapes the texts, which files the CSV folder
// holds. tests/report/check_exports.py reads both back on the sample pair.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "../views/load_run.h"
#include "export/csv_report.h"
#include "export/html_report.h"
#include "export/json_writer.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

class WritersTest : public LoadRun {
protected:
    void SetUp() override {
        LoadRun::SetUp();
        ExportFolder start, end;
        PlayerSpec quoted{"1", "Ку\"ку <&>", "GK"};
        start.players = {quoted, {"2", "Ушедший", "CD"}};
        quoted.nat = "1";
        quoted.salary = "12000";
        end.players = {quoted, {"3", "Новичок", "FW"}};
        start.skills = {SkillsLine(1, "1", "GK", 40)};
        end.skills = {SkillsLine(1, "1", "GK", 40, 2)};
        ASSERT_TRUE(Load(start, end));
        cmp.ChoosePlayer(0);
        input.comparison = &cmp;
        input.archives = {ArchiveRow{"start.zip", "01.01.2026, OK"}, ArchiveRow{"end.zip", "08.01.2026, OK"}};
        input.choices.push_back({0, cmp.ComboBox3Text(), cmp.Grid(GridId::StringGrid3), cmp.ExInfo()});
    }

    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    ReportInput input;
};

TEST(JsonEscape, EscapesWhatJsonForbidsAndCopiesTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"Иванов", "\"Иванов\""},
        {"\"a\\b\"", "\"\\\"a\\\\b\\\"\""},
        {"1\n2\r\t", "\"1\\n2\\r\\t\""},
        {std::string("\x01x\x1f", 3), "\"\\u0001x\\u001f\""},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonEscape(text), json) << text;
}

TEST_F(WritersTest, HtmlEscapesTextsAndMarksEachChange) {
    const std::string html = HtmlReport(input);
    EXPECT_NE(html.find("Ку&quot;ку &lt;&amp;&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<&>"), std::string::npos);
    EXPECT_NE(html.find("start.zip  01.01.2026, OK<br>\nend.zip  08.01.2026, OK"), std::string::npos);
    // A salary rise is unfavourable, a skill rise favourable; each carries its mark.
    EXPECT_NE(html.find("u\"><span class=\"m\">▼</span>2.000</td>"), std::string::npos);
    EXPECT_NE(html.find("f\"><span class=\"m\">▲</span>2</td>"), std::string::npos);
    // The end's status star says which status it shows.
    EXPECT_NE(html.find("<img class=\"status-gold\""), std::string::npos);
    EXPECT_NE(html.find("<li>Новичок (FW)</li>"), std::string::npos);
}

TEST_F(WritersTest, CsvQuotesWhatNeedsItAndWritesAFilePerPage) {
    const fs::path folder = m_root / "csv";
    WriteCsvReport(input, folder);
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"club.csv", "contracts.csv", "infrastructure.csv", "national.csv",
                                            "real_level.csv", "skills-0.csv", "summary.csv", "values.csv"}));

    const std::string national = Read(folder / "national.csv");
    EXPECT_EQ(national.rfind("\xEF\xBB\xBF", 0), 0u);
    // A quote puts the field in quotes, doubled; the status stands as its code.
    EXPECT_NE(national.find("\r\n\"Ку\"\"ку <&>\";GK;25;0;Россия;25;1;Россия\r\n"), std::string::npos) << national;
    const std::string summary = Read(folder / "summary.csv");
    // Each field under its column, a group by its caption.
    for (const char* row :
         {"\r\nПришли в клуб;Новичок;FW;;;\r\n", "\r\nСборные;\"Ку\"\"ку <&>\";GK;не вызван;основная сборная;\r\n",
          "\r\nРост скиллов;\"Ку\"\"ку <&>\";GK;;;2\r\n", "\r\nПадение скиллов;нет;;;;\r\n",
          "\r\nЗарплаты и стоимость;Зарплата;;20000;22000;2000\r\n"})
        EXPECT_NE(summary.find(row), std::string::npos) << row << summary;
}

}  // namespace
}  // namespace cadrix
