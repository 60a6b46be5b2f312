#include "views/page_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "load_run.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

// Two players at both dates: a keeper called up to the main team at the end
// and a defender who stays uncalled.
class PageTextTest : public LoadRun {
protected:
    void SetUp() override {
        LoadRun::SetUp();
        ExportFolder start, end;
        start.players = {{"1", "Кипер", "GK"}, {"2", "Защитник", "CD"}};
        end.players = start.players;
        end.players[0].nat = "1";
        end.players[0].salary = "12000";
        end.structure = StructureLines("4");
        start.skills = {SkillsLine(1, "1", "GK", 50), SkillsLine(2, "2", "CD", 40)};
        end.skills = {SkillsLine(1, "1", "GK", 50, 3), SkillsLine(2, "2", "CD", 40)};
        ASSERT_TRUE(Load(start, end));
    }
};

TEST_F(PageTextTest, CaptionsOverTheGridCarryTheDatesAndTotalsFollowTheRows) {
    const PageText pay = PageTextOf(cmp, GridId::StringGrid_pay);
    ASSERT_EQ(pay.header.size(), 2u);
    EXPECT_EQ(pay.header[0], (TextLine{"Игрок", "Поз.", "01.01.2026", "", "08.01.2026", "", "Разница"}));
    EXPECT_EQ(pay.header[1], (TextLine{"", "", "Зарплата", "Контракт", "Зарплата", "Контракт", ""}));
    ASSERT_EQ(pay.rows.size(), 2u);
    EXPECT_EQ(pay.rows[0], RowText(cmp, GridId::StringGrid_pay, 0));
    EXPECT_EQ(pay.rows[0][6], "2.000");
    EXPECT_EQ(pay.footer,
              (std::vector<TextLine>{{"Общая зарплата в ИД/Разница:", "", "20.000", "", "22.000", "", "2.000"}}));

    // A grid with a header row of its own keeps it as the header.
    const PageText values = PageTextOf(cmp, GridId::StringGrid_pr);
    ASSERT_EQ(values.header.size(), 1u);
    EXPECT_EQ(values.header[0][2], "01.01.2026");
    EXPECT_EQ(values.rows.size(), 2u);
    EXPECT_EQ(values.footer[0][0], "Общая стоимость игроков:");
}

TEST_F(PageTextTest, PicturesAreCopiedAsWhatTheySay) {
    // Level 3 then 4 on the first building: the star strips' levels.
    EXPECT_EQ(RowText(cmp, GridId::StringGrid2, 1), (TextLine{"Спортивная База", "3", "4,10", "4", "4,10", "1"}));
    EXPECT_EQ(CellText(cmp, GridId::StringGrid2, 1, 0), "25.000 мест");

    const PageText national = PageTextOf(cmp, GridId::StringGrid_nat);
    EXPECT_EQ(national.rows[0][3], "не вызван");
    EXPECT_EQ(national.rows[0][6], "основная сборная");
    // The counts under the status columns, as numbers.
    ASSERT_EQ(national.footer.size(), 5u);
    EXPECT_EQ(national.footer[1], (TextLine{"не вызван", "", "", "2", "", "", "1", ""}));
    EXPECT_EQ(national.footer[4], (TextLine{"основная сборная", "", "", "0", "", "", "1", ""}));
}

TEST_F(PageTextTest, SkillsPageNamesItsPlayer) {
    EXPECT_EQ(PageTextOf(cmp, GridId::StringGrid3).header.size(), 1u);
    cmp.ChoosePlayer(0);
    const PageText skills = PageTextOf(cmp, GridId::StringGrid3);
    ASSERT_EQ(skills.header.size(), 2u);
    EXPECT_EQ(skills.header[0], (TextLine{"Выбрать игрока:", cmp.ComboBox3Text(), "", ""}));
    EXPECT_EQ(skills.header[1], (TextLine{"Скилл", "01.01.2026", "08.01.2026", "Прогресс"}));
    EXPECT_EQ(skills.rows.size(), 24u);
    EXPECT_EQ(DetailPanelLines(cmp.ExInfo())[0], (TextLine{"Имя", cmp.ExInfo().values[0]}));
}

TEST(TabSeparated, TabsBetweenCellsALineBreakAfterEachLine) {
    EXPECT_EQ(TabSeparated({{"a", "", "b"}, {"c\td", "e\nf", "g\r\nh"}}), "a\t\tb\nc d\te f\tg  h\n");
    EXPECT_EQ(TabSeparated({}), "");
}

}  // namespace
}  // namespace cadrix
