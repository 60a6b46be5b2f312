#include "views/comparison.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "load_run.h"
#include "views/player_rows.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

TEST_F(LoadRun, ReturnsFalseAndChangesNothingWhileAFlagIsClear) {
    ExportFolder start, end;
    start.players = {{"1", "Кипер", "GK"}};
    end.players = start.players;
    endChosen = false;
    EXPECT_FALSE(Load(start, end));
    EXPECT_EQ(cmp.Result().startDate, "<date>");
    EXPECT_EQ(cmp.Result().national.start[0], 0);
    EXPECT_TRUE(cmp.ComboBox3().empty());
    EXPECT_EQ(G(GridId::StringGrid_ru).Cell(0, 0), "");

    endChosen = true;
    ASSERT_TRUE(Load(start, end));
    ASSERT_EQ(G(GridId::StringGrid_ru).Cell(0, 0), "Кипер");

    // A later run with a flag cleared leaves the loaded comparison as it is.
    startChosen = false;
    ExportFolder empty;
    EXPECT_FALSE(Load(empty, empty));
    EXPECT_EQ(G(GridId::StringGrid_ru).Cell(0, 0), "Кипер");
    EXPECT_EQ(cmp.ComboBox3().size(), 1u);
}

TEST_F(LoadRun, WritesHeadersAndDateCaptions) {
    ExportFolder start, end;
    start.players = {{"1", "Кипер", "GK"}};
    end.players = start.players;
    ASSERT_TRUE(Load(start, end));
    EXPECT_EQ(cmp.Result().startDate, "01.01.2026");
    EXPECT_EQ(cmp.Result().endDate, "08.01.2026");
    EXPECT_EQ(G(GridId::StringGrid1).RowCells(0),
              (std::vector<std::string>{"Данные", "01.01.2026", "08.01.2026", "Разница"}));
    EXPECT_EQ(G(GridId::StringGrid_pr).RowCells(0),
              (std::vector<std::string>{"Игрок", "Поз.", "01.01.2026", "08.01.2026", "Прогресс"}));
    EXPECT_EQ(G(GridId::StringGrid3).RowCells(0),
              (std::vector<std::string>{"Скилл", "01.01.2026", "08.01.2026", "Прогресс"}));
    EXPECT_EQ(G(GridId::StringGrid3).Cell(0, 21), "Выбор позиции (врат.)");
    EXPECT_EQ(G(GridId::StringGrid1).RowCount(), 17);
    EXPECT_EQ(G(GridId::StringGrid2).RowCount(), 7);
    EXPECT_EQ(G(GridId::StringGrid3).RowCount(), 25);
}

TEST_F(LoadRun, NewcomerAndLeaverOnEveryPlayerPage) {
    ExportFolder start, end;
    PlayerSpec keeper{"1", "Кипер", "GK"};
    keeper.level = "71.2";
    keeper.nat = "1";
    PlayerSpec leaver{"2", "Ушедший", "CD"};
    leaver.salary = "12345";
    leaver.value = "3000000";
    PlayerSpec newcomer{"3", "Новичок", "FW"};
    newcomer.salary = "5000";
    newcomer.value = "2500000";
    newcomer.nat = "2";
    start.players = {leaver, keeper};
    PlayerSpec keeperEnd = keeper;
    keeperEnd.level = "72.7";
    keeperEnd.salary = "9000";
    end.players = {newcomer, keeperEnd};
    ASSERT_TRUE(Load(start, end));

    // One row per player of either file, in position order; the export's
    // decimal points read as commas.
    const TextTable& ru = G(GridId::StringGrid_ru);
    ASSERT_EQ(ru.RowCount(), 3);
    EXPECT_EQ(ru.RowCells(0), (std::vector<std::string>{"Кипер", "3", "GK", "25", "71,2", "25", "72,7", "1,5"}));
    EXPECT_EQ(ru.RowCells(1), (std::vector<std::string>{"Ушедший", "3", "CD", "25", "60,5", "n/a", "n/a", "n/a"}));
    EXPECT_EQ(ru.RowCells(2), (std::vector<std::string>{"Новичок", "3", "FW", "n/a", "n/a", "25", "60,5", "n/a"}));
    EXPECT_EQ(G(GridId::StringGrid_pay).RowCount(), 3);
    EXPECT_EQ(G(GridId::StringGrid_nat).RowCount(), 3);
    EXPECT_EQ(G(GridId::StringGrid_pr).RowCount(), 4);
    EXPECT_EQ(G(GridId::StringGrid_pr).Cell(0, 3), "Новичок");
    // Every row of a player page leads back to its player's id; headers,
    // rows beyond the players and the other pages lead nowhere.
    const std::vector<std::string> ids = {"1", "2", "3"};
    for (GridId id : {GridId::StringGrid_ru, GridId::StringGrid_pay, GridId::StringGrid_nat, GridId::StringGrid_pr}) {
        const int first = id == GridId::StringGrid_pr ? 1 : 0;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(PlayerIdOfRow(cmp.TotalPlay(), id, first + i), ids[static_cast<std::size_t>(i)])
                << InfoOf(id).name;
        EXPECT_EQ(PlayerIdOfRow(cmp.TotalPlay(), id, first + 3), std::nullopt);
        EXPECT_EQ(PlayerIdOfRow(cmp.TotalPlay(), id, first - 1), std::nullopt);
    }
    EXPECT_EQ(PlayerIdOfRow(cmp.TotalPlay(), GridId::StringGrid1, 1), std::nullopt);

    // The pages' totals and counters reach the result.
    const ComparisonResult& r = cmp.Result();
    EXPECT_EQ(r.payroll.start, "22.345");
    EXPECT_EQ(r.payroll.change, "-8.345");
    EXPECT_EQ(r.payroll.shape, ShapeColour::Favourable);
    EXPECT_EQ(r.values.end, "3.500.000");
    EXPECT_EQ(r.values.shape, ShapeColour::Unfavourable);
    EXPECT_EQ(r.national.start, (std::array<int, 4>{1, 0, 0, 1}));
    EXPECT_EQ(r.national.end, (std::array<int, 4>{0, 0, 1, 1}));
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid_nat, 3, 0).image, CellImage::StatusGold);

    // Only the player present at both dates can be chosen.
    EXPECT_EQ(cmp.ComboBox3(), (std::vector<std::string>{"Кипер, GK"}));
    EXPECT_EQ(cmp.ListBox1(), (std::vector<std::string>{"1"}));
    EXPECT_EQ(cmp.ChosenIndex(), -1);
    EXPECT_EQ(cmp.ComboBox3Text(), "");
}

TEST_F(LoadRun, TeamFileOfFifteenLinesGetsTheChampionshipRows) {
    ExportFolder start, end;
    start.team = TeamLines("1500000");
    start.team.erase(start.team.begin() + 3, start.team.begin() + 5);
    ASSERT_EQ(start.team.size(), 15u);
    end.team = TeamLines("1250000");
    ASSERT_TRUE(Load(start, end));
    const TextTable& g = G(GridId::StringGrid1);
    EXPECT_EQ(g.Cell(0, 3), "Чемпионат");
    EXPECT_EQ(g.Cell(1, 3), "<нет данных>");
    EXPECT_EQ(g.Cell(2, 3), "Высшая лига");
    EXPECT_EQ(g.Cell(0, 4), "ИД Чемпионата");
    EXPECT_EQ(g.Cell(1, 4), "<нет данных>");
    EXPECT_EQ(g.Cell(0, 5), "Страна");
    EXPECT_EQ(g.Cell(0, 9), "Бюджет");
    EXPECT_EQ(g.Cell(3, 9), "-250.000");
    EXPECT_EQ(g.Cell(0, 16), "Место в рейтинге");
    EXPECT_EQ(g.Cell(3, 16), "0");
    // The decimal point of the export reads as a comma.
    EXPECT_EQ(g.Cell(1, 13), "25,4");
    EXPECT_EQ(g.Cell(3, 13), "0");
}

TEST_F(LoadRun, TeamFileOfSixteenLinesIsUsedUnchanged) {
    ExportFolder start, end;
    start.team = TeamLines();
    start.team.erase(start.team.begin() + 3);
    ASSERT_TRUE(Load(start, end));
    EXPECT_EQ(G(GridId::StringGrid1).Cell(0, 3), "ИД Чемпионата");
    EXPECT_EQ(G(GridId::StringGrid1).Cell(0, 16), "");
    EXPECT_EQ(G(GridId::StringGrid1).Cell(3, 16), "-");
}

TEST_F(LoadRun, StructureFileMissingBuildingsGetsZeroLines) {
    ExportFolder start, end;
    start.structure = {"Строение;Уровень;Износ;", "Стадион;25000;12.50;", "Клубный центр;3;1.00;", "Магазин;2;0.5;"};
    ASSERT_TRUE(Load(start, end));
    const TextTable& g = G(GridId::StringGrid2);
    const char* names[] = {"Стадион",           "Спортивная База", "Клубный центр", "Тренировочные поля",
                           "Медицинский центр", "Магазин",         "ДЮСШ"};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(g.Cell(0, k), names[k]) << k;
    EXPECT_EQ(g.Cell(2, 1), "0,00");
    EXPECT_EQ(g.Cell(2, 2), "1,00");
    EXPECT_EQ(g.Cell(2, 5), "0,5");
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid2, 1, 1).image, CellImage::Stars0);
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid2, 1, 2).image, CellImage::Stars3);
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid2, 1, 5).image, CellImage::Stars2);
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid2, 3, 1).image, CellImage::Stars3);
    // The missing base shows its whole end level as progress.
    EXPECT_EQ(g.Cell(5, 1), "3");
    EXPECT_EQ(g.Cell(5, 2), "-1");
    EXPECT_EQ(g.Cell(5, 6), "2");
    EXPECT_EQ(g.Cell(1, 0), "25.000 мест");
}

TEST_F(LoadRun, HeaderOnlyStructureFileGetsEveryBuildingAtItsRow) {
    ExportFolder start, end;
    start.structure = {"Строение;Уровень;Износ;"};
    ASSERT_TRUE(Load(start, end));
    const TextTable& g = G(GridId::StringGrid2);
    EXPECT_EQ(g.Cell(0, 1), "Спортивная База");
    EXPECT_EQ(g.Cell(0, 6), "ДЮСШ");
    EXPECT_EQ(g.Cell(1, 0), " мест");
    EXPECT_EQ(g.Cell(5, 1), "3");
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid2, 1, 4).image, CellImage::Stars0);
}

TEST_F(LoadRun, NonNumericValuesNeverStopTheRun) {
    ExportFolder start, end;
    PlayerSpec p{"1", "Странный", "CM"};
    p.salary = "много";
    p.value = "x";
    p.level = "abc";
    p.talent = "?";
    start.players = {p};
    end.players = {p};
    start.team = TeamLines("abc");
    start.structure = StructureLines("x");
    ASSERT_TRUE(Load(start, end));
    // Every page is filled, the last one of the run too.
    EXPECT_EQ(G(GridId::StringGrid2).Cell(5, 1), "");
    EXPECT_EQ(G(GridId::StringGrid1).Cell(3, 9), "-");
    EXPECT_EQ(cmp.Result().payroll.start, "0");
    EXPECT_EQ(cmp.Result().values.change, "0");
    EXPECT_EQ(G(GridId::StringGrid_ru).RowCells(0),
              (std::vector<std::string>{"Странный", "?", "CM", "25", "abc", "25", "abc", "n/a"}));
}

TEST_F(LoadRun, EmptyPlayersFilesGiveOneEmptyRowAndZeroTotals) {
    ExportFolder start, end;
    ASSERT_TRUE(Load(start, end));
    EXPECT_EQ(cmp.TotalPlay().RowCount(), 2);
    EXPECT_EQ(G(GridId::StringGrid_ru).RowCount(), 1);
    EXPECT_EQ(G(GridId::StringGrid_ru).Cell(0, 0), "");
    EXPECT_EQ(G(GridId::StringGrid_ru).Cell(7, 0), "n/a");
    EXPECT_EQ(G(GridId::StringGrid_pay).RowCount(), 1);
    EXPECT_EQ(G(GridId::StringGrid_pr).RowCount(), 2);
    EXPECT_EQ(G(GridId::StringGrid_nat).RowCount(), 1);
    const ComparisonResult& r = cmp.Result();
    for (const TotalsLine* line : {&r.payroll, &r.values}) {
        EXPECT_EQ(line->start, "0");
        EXPECT_EQ(line->end, "0");
        EXPECT_EQ(line->change, "0");
        EXPECT_EQ(line->shape, ShapeColour::ButtonFace);
    }
    EXPECT_EQ(r.national.start, (std::array<int, 4>{}));
    EXPECT_EQ(r.national.end, (std::array<int, 4>{}));
    EXPECT_TRUE(cmp.ComboBox3().empty());
}

TEST_F(LoadRun, MissingEndPlayersFileMakesEveryoneALeaver) {
    ExportFolder start, end;
    start.players = {{"1", "Первый", "GK"}, {"2", "Второй", "LD"}};
    end.writePlayers = false;
    ASSERT_TRUE(Load(start, end));
    const TextTable& ru = G(GridId::StringGrid_ru);
    ASSERT_EQ(ru.RowCount(), 2);
    EXPECT_EQ(ru.Cell(6, 0), "n/a");
    EXPECT_EQ(ru.Cell(6, 1), "n/a");
    EXPECT_TRUE(cmp.ComboBox3().empty());
    EXPECT_EQ(cmp.Result().payroll.end, "0");
    EXPECT_EQ(cmp.Result().payroll.start, "20.000");
}

TEST_F(LoadRun, SecondLoadWithFewerPlayersKeepsNothingOfTheFirst) {
    ExportFolder start, end;
    start.players = {{"1", "Альфа", "GK"}, {"2", "Бета", "CD"}, {"3", "Гамма", "CM"}, {"4", "Дельта", "FW"}};
    start.players[1].nat = "1";
    start.players[3].nat = "-1";
    end.players = start.players;
    end.players.push_back({"5", "Эпсилон", "FW"});
    start.skills = {SkillsLine(1, "1", "GK", 10), SkillsLine(2, "2", "CD", 10)};
    end.skills = {SkillsLine(1, "1", "GK", 12), SkillsLine(2, "2", "CD", 12)};
    ASSERT_TRUE(Load(start, end));
    ASSERT_EQ(G(GridId::StringGrid_ru).RowCount(), 5);
    ASSERT_EQ(G(GridId::StringGrid2).Cell(5, 1), "0");
    cmp.ChoosePlayer(1);
    ASSERT_EQ(G(GridId::StringGrid3).Cell(3, 1), "2");

    ExportFolder start2, end2;
    start2.players = {{"9", "Омега", "RM"}};
    end2.players = start2.players;
    start2.structure = StructureLines("x");
    ASSERT_TRUE(Load(start2, end2));

    EXPECT_EQ(cmp.TotalPlay().RowCount(), 2);
    for (GridId id : {GridId::StringGrid_ru, GridId::StringGrid_pay, GridId::StringGrid_nat}) {
        ASSERT_EQ(G(id).RowCount(), 1);
        EXPECT_EQ(G(id).Cell(0, 0), "Омега");
    }
    ASSERT_EQ(G(GridId::StringGrid_pr).RowCount(), 2);
    EXPECT_EQ(G(GridId::StringGrid_pr).Cell(0, 1), "Омега");
    for (int row = 1; row < 5; ++row) {
        EXPECT_EQ(cmp.DrawCell(GridId::StringGrid_nat, 3, row).image, CellImage::None) << row;
        EXPECT_EQ(cmp.NatStatusOf(row)[0], "") << row;
    }
    EXPECT_EQ(cmp.Result().national.start, (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_EQ(cmp.ComboBox3(), (std::vector<std::string>{"Омега, RM"}));
    EXPECT_EQ(cmp.ComboBox3Text(), "");
    // The skills grid shows no value of the earlier choice, and no line colour.
    for (int k = 1; k <= 24; ++k) {
        for (int c = 1; c < 4; ++c)
            EXPECT_EQ(G(GridId::StringGrid3).Cell(c, k), "") << c << "," << k;
        EXPECT_FALSE(cmp.DrawCell(GridId::StringGrid3, 0, k).text.has_value()) << k;
    }
    // A progress that cannot be formed this time is empty, not the earlier one.
    EXPECT_EQ(G(GridId::StringGrid2).Cell(5, 1), "");
}

TEST_F(LoadRun, PlayerChoiceFillsTheSkillsGridAndThePanel) {
    ExportFolder start, end;
    PlayerSpec a{"11", "Защитник Первый", "CD"};
    PlayerSpec b{"22", "Второй", "FW"};
    start.players = {a, b};
    b.talent = "5";
    b.age = "26";
    end.players = {b, a};
    // Player 22 has a start skills row only; player 11 has both, skill 1 up by 3.
    start.skills = {SkillsLine(1, "11", "CD", 50), SkillsLine(2, "22", "FW", 40)};
    end.skills = {SkillsLine(1, "11", "CD", 50, 3)};
    ASSERT_TRUE(Load(start, end));
    ASSERT_EQ(cmp.ComboBox3(), (std::vector<std::string>{"Второй, FW", "Защитник Первый, CD"}));
    EXPECT_FALSE(cmp.PanelToggleEnabled());

    cmp.ChoosePlayer(1);
    EXPECT_TRUE(cmp.PanelToggleEnabled());
    EXPECT_EQ(cmp.ComboBox3Text(), "Защитник Первый, CD");
    const TextTable& g = G(GridId::StringGrid3);
    EXPECT_EQ(g.RowCells(1), (std::vector<std::string>{"Навесы", "50", "53", "3"}));
    // The skills grid is coloured by the chosen player's line.
    EXPECT_EQ(cmp.DrawCell(GridId::StringGrid3, 0, 6).text, (Rgb{0, 128, 0}));
    const auto& v = cmp.ExInfo().values;
    EXPECT_EQ(v[0], "Защитник Первый");
    EXPECT_EQ(v[5], "Навесы (3)");

    // Talent and age come from the end players table.
    cmp.ChoosePlayer(0);
    EXPECT_EQ(cmp.ComboBox3Text(), "Второй, FW");
    EXPECT_EQ(g.Cell(2, 1), "");
    EXPECT_EQ(v[2], "5");
    EXPECT_EQ(v[3], "26");
    EXPECT_EQ(v[5], "нет");
}

TEST_F(LoadRun, ChoosingBeyondTheChooserIsRefused) {
    ExportFolder start, end;
    start.players = {{"1", "Кипер", "GK"}};
    end.players = start.players;
    ASSERT_TRUE(Load(start, end));
    EXPECT_THROW(cmp.ChoosePlayer(1), std::out_of_range);
    EXPECT_THROW(cmp.ChoosePlayer(-1), std::out_of_range);
    EXPECT_EQ(cmp.ComboBox3Text(), "");
}

}  // namespace
}  // namespace cadrix
