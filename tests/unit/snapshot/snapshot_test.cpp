#include "snapshot/snapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/codepage.h"

namespace cadrix {
namespace {

std::vector<std::string> CellsOf(const TextTable& t, int row) {
    auto cells = t.RowCells(row);
    while (!cells.empty() && cells.back().empty())
        cells.pop_back();
    return cells;
}

TEST(SplitLine, CutsAtSemicolonsAsTheExportWritesThem) {
    struct Case {
        const char* line;
        std::vector<std::string> cells;
    };
    const Case cases[] = {
        {"a;b;c;", {"a", "b", "c"}},
        {"a;b;c", {"a", "b"}},  // text after the last ";" is no field
        {"a;;b;", {"a", "", "b"}},
        {";a;b;", {"a", "b"}},  // a leading ";" does not advance the column
        {";;a;", {"", "a"}},
        {"abc", {}},                          // no ";" at all: no cell
        {"\"a;b\";c;", {"\"a", "b\"", "c"}},  // no quoting
        {" a ; b ;", {" a ", " b "}},         // nothing trimmed
        {"", {}},
        {";", {}},
    };
    for (const auto& c : cases) {
        TextTable t(3, 1);
        SplitLine(c.line, t, 0);
        EXPECT_EQ(CellsOf(t, 0), c.cells) << "line: " << c.line;
    }
}

TEST(SplitLine, KeepsExtraFieldsBeyondTheColumnCount) {
    TextTable t(2, 1);
    SplitLine("a;b;c;d;", t, 0);
    EXPECT_EQ(t.Cell(3, 0), "d");
    EXPECT_EQ(t.RowCells(0).size(), 4u);
}

TEST(SplitLine, LeadingSemicolonShiftsTheIdIntoColumnZero) {
    TextTable t(24, 1);
    SplitLine(";12;X;", t, 0);
    EXPECT_EQ(t.Cell(0, 0), "12");
    EXPECT_EQ(t.Cell(1, 0), "X");
}

// A cell costs its text and two bytes, so that a hostile file of empty
// fields takes memory in proportion to its size.
TEST(SplitSnapshot, LineOfEmptyFieldsTakesTwoBytesAField) {
    constexpr std::size_t kFields = 1'000'000;
    Snapshot s;
    s.lbPlay = {"header;", std::string(kFields, ';')};
    SplitSnapshot(s);
    EXPECT_EQ(s.play.Cell(static_cast<int>(kFields) - 2, 1), "");
    EXPECT_EQ(s.play.RowCells(1).size(), kFields - 1);
    EXPECT_LE(s.play.StorageBytes(), 2 * kFields + 4096);
}

TEST(ReadLines, KnowsThreeLineEnds) {
    EXPECT_EQ(SplitIntoLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitIntoLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitIntoLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitIntoLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitIntoLines("a\n\r"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitIntoLines("").empty());
}

TEST(RepairTeam, InsertsTheChampionshipRowsIntoAFifteenLineFile) {
    std::vector<std::string> lines;
    for (int i = 0; i < 15; ++i)
        lines.push_back("r" + std::to_string(i) + ";" + std::to_string(i) + ";");
    RepairTeam(lines);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[2], "r2;2;");
    EXPECT_EQ(lines[3], "Чемпионат;<нет данных>;");
    EXPECT_EQ(lines[4], "ИД Чемпионата;<нет данных>;");
    EXPECT_EQ(lines[5], "r3;3;");
    EXPECT_EQ(lines[16], "r14;14;");

    for (std::size_t n : {14u, 16u, 17u}) {
        std::vector<std::string> other(n, "x;1;");
        RepairTeam(other);
        EXPECT_EQ(other.size(), n);
    }
}

TEST(RepairStructure, PutsMissingBuildingsAtTheirRows) {
    std::vector<std::string> lines = {"Строение;Уровень;Износ;", "Стадион;25000;1,00;", "Клубный центр;2;3,00;",
                                      "Магазин;1;0,50;"};
    RepairStructure(lines);
    const std::vector<std::string> expected = {
        "Строение;Уровень;Износ;",    "Стадион;25000;1,00;",       "Спортивная База;0;0,00;", "Клубный центр;2;3,00;",
        "Тренировочные поля;0;0,00;", "Медицинский центр;0;0,00;", "Магазин;1;0,50;",         "ДЮСШ;0;0,00;",
    };
    EXPECT_EQ(lines, expected);
}

TEST(RepairStructure, LeavesCompleteOrEmptyListsAlone) {
    std::vector<std::string> reordered = {
        "h;", "s;1;", "ДЮСШ;1;", "Магазин;1;", "Медицинский;1;", "Тренировочные;1;", "Клубный;1;", "Спортивная;1;"};
    const auto before = reordered;
    RepairStructure(reordered);
    EXPECT_EQ(reordered, before);

    std::vector<std::string> empty;
    RepairStructure(empty);
    EXPECT_TRUE(empty.empty());

    // Eight lines with a building missing are not repaired either.
    std::vector<std::string> eight(8, "Стадион;1;");
    RepairStructure(eight);
    EXPECT_EQ(eight.size(), 8u);
}

TEST(RepairStructure, SevenLinesOutOfOrderGetDefaultsAtFixedRows) {
    std::vector<std::string> lines = {"h;",
                                      "Стадион;1;",
                                      "ДЮСШ;2;",
                                      "Магазин;3;",
                                      "Медицинский центр;4;",
                                      "Тренировочные поля;5;",
                                      "Клубный центр;6;"};
    RepairStructure(lines);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], "Спортивная База;0;0,00;");
    EXPECT_EQ(lines[3], "ДЮСШ;2;");
}

TEST(RepairStructure, PadsAListTooShortToHoldTheRows) {
    std::vector<std::string> header = {"Строение;Уровень;Износ;"};
    RepairStructure(header);
    ASSERT_EQ(header.size(), 8u);
    EXPECT_EQ(header[1], "");
    EXPECT_EQ(header[2], "Спортивная База;0;0,00;");
    EXPECT_EQ(header[7], "ДЮСШ;0;0,00;");

    // Two lines whose second is a building: row 2 lies beyond the end too.
    std::vector<std::string> two = {"h;", "Магазин;3;"};
    RepairStructure(two);
    ASSERT_EQ(two.size(), 8u);
    EXPECT_EQ(two[1], "Магазин;3;");
    EXPECT_EQ(two[2], "Спортивная База;0;0,00;");
    EXPECT_EQ(two[5], "Медицинский центр;0;0,00;");
    EXPECT_EQ(two[6], "");  // padding: the shop stays where the file had it
    EXPECT_EQ(two[7], "ДЮСШ;0;0,00;");
}

class SnapshotFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("cadrix_snapshot_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Writes UTF-8 text as the game does, in Windows-1251.
    void Write(const std::string& name, const std::string& utf8) {
        std::ofstream(m_dir / name, std::ios::binary) << Utf8ToCp1251(utf8);
    }

    Snapshot Load() {
        Snapshot s;
        ResetSnapshot(s);
        ReadSnapshotFiles(s, m_dir);
        ApplyDecimalPointRule(s);
        SplitSnapshot(s);
        return s;
    }

    std::filesystem::path m_dir;
};

TEST_F(SnapshotFolder, DecodesAndAppliesTheDecimalPointRule) {
    Write("club_players.csv", "Ид;Имя.полное;\r\n1;12;А.Смирнов;Россия;0;FW;25;3;45.3;\r\n");
    Write("club_team.csv", "Показатель;Значение;\r\nСредний возраст;25.4;\r\n");
    Write("club_players_skills.csv", "h.1;\r\n1;12;x.y;\r\n");
    const Snapshot s = Load();
    EXPECT_EQ(s.play.Cell(1, 0), "Имя.полное");  // the header keeps its points
    EXPECT_EQ(s.play.Cell(2, 1), "А,Смирнов");
    EXPECT_EQ(s.play.Cell(8, 1), "45,3");
    EXPECT_EQ(s.team.Cell(1, 1), "25,4");
    EXPECT_EQ(s.lbPlay2[1], "1;12;x.y;");  // the skills file keeps its points
}

TEST_F(SnapshotFolder, MissingFilesGiveTwoEmptyRows) {
    const Snapshot s = Load();
    for (const TextTable* t : {&s.play, &s.play2, &s.team, &s.structure}) {
        EXPECT_EQ(t->RowCount(), 2);
        EXPECT_EQ(t->Cell(0, 0), "");
    }
    EXPECT_TRUE(s.lbPlay.empty());
}

TEST_F(SnapshotFolder, HeaderOnlyPlayersFileGivesTwoRows) {
    Write("a_players.csv", "Ид;Имя;\r\n");
    const Snapshot s = Load();
    EXPECT_EQ(s.play.RowCount(), 2);
    EXPECT_EQ(s.play.Cell(0, 0), "Ид");
    EXPECT_EQ(s.play.Cell(0, 1), "");
}

TEST_F(SnapshotFolder, SkillsFileLeavesOutItsLastTwentyFourLines) {
    std::string skills = "header;\r\n";
    for (int i = 1; i <= 29; ++i)
        skills += std::to_string(i) + ";" + std::to_string(100 + i) + ";\r\n";
    Write("a_players_skills.csv", skills);  // 30 lines
    const Snapshot s = Load();
    EXPECT_EQ(s.play2.RowCount(), 6);
    EXPECT_EQ(s.play2.Cell(1, 5), "105");

    // 24 lines or fewer: no row at all, the table keeps two empty rows.
    std::string few;
    for (int i = 0; i < 24; ++i)
        few += "1;2;\r\n";
    Write("a_players_skills.csv", few);
    const Snapshot t = Load();
    EXPECT_EQ(t.play2.RowCount(), 2);
    EXPECT_EQ(t.play2.Cell(0, 0), "");
}

TEST_F(SnapshotFolder, FindsFilesByMaskWithoutMixingPlayersAndSkills) {
    Write("club_players_skills.csv", "s;\r\n");
    const Snapshot onlySkills = Load();
    EXPECT_TRUE(onlySkills.lbPlay.empty());  // *players.csv does not match the skills file

    Write("B_PLAYERS.CSV", "b;\r\n");
    Write("a_players.csv", "a;\r\n");
    const Snapshot both = Load();
    EXPECT_EQ(both.play.Cell(0, 0), "b");  // upper-case names sort first in name order
}

TEST_F(SnapshotFolder, ReadsTeamAndStructureRepairsEndToEnd) {
    std::string team = "Показатель;Значение;\r\n";
    for (int i = 1; i < 15; ++i)
        team += "Строка " + std::to_string(i) + ";" + std::to_string(i) + ".5;\r\n";
    Write("x_team.csv", team);
    Write("x_structure.csv", "Строение;Уровень;Износ;\r\nСтадион;25000;1.50;\r\nКлубный центр;2;3.00;\r\n");
    const Snapshot s = Load();
    ASSERT_EQ(s.team.RowCount(), 17);
    EXPECT_EQ(s.team.Cell(0, 3), "Чемпионат");
    EXPECT_EQ(s.team.Cell(1, 4), "<нет данных>");
    EXPECT_EQ(s.team.Cell(1, 5), "3,5");
    ASSERT_EQ(s.structure.RowCount(), 8);
    EXPECT_EQ(s.structure.Cell(2, 1), "1,50");
    EXPECT_EQ(s.structure.Cell(0, 2), "Спортивная База");
    EXPECT_EQ(s.structure.Cell(2, 2), "0,00");
    EXPECT_EQ(s.structure.Cell(0, 3), "Клубный центр");
}

TEST_F(SnapshotFolder, ResetDropsEverythingOfAnEarlierLoad) {
    Write("a_players.csv", "h;\r\n1;1;A;\r\n2;2;B;\r\n3;3;C;\r\n");
    Snapshot s = Load();
    EXPECT_EQ(s.play.RowCount(), 4);
    ResetSnapshot(s);
    EXPECT_EQ(s.play.RowCount(), 2);
    EXPECT_EQ(s.play.Cell(2, 1), "");
    EXPECT_TRUE(s.lbPlay.empty());
}

TEST_F(SnapshotFolder, LastLineWithoutFinalSemicolonLosesItsLastField) {
    Write("a_players.csv", "h;\r\n1;77;Имя;Страна");
    const Snapshot s = Load();
    EXPECT_EQ(s.play.Cell(2, 1), "Имя");
    EXPECT_EQ(s.play.Cell(3, 1), "");
}

}  // namespace
}  // namespace cadrix
