#include "views/summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "load_run.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

std::size_t KeyIndex(const std::vector<SummaryGroup>& groups, std::string_view key) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].key == key)
            return i;
    }
    return groups.size();
}

std::vector<std::string> Names(const auto& items) {
    std::vector<std::string> names;
    for (const auto& item : items)
        names.push_back(item.name);
    return names;
}

PlayerSpec Player(const std::string& id, const std::string& name, const std::string& position, const std::string& nat,
                  const std::string& level) {
    PlayerSpec p{id, name, position};
    p.nat = nat;
    p.level = level;
    return p;
}

TEST_F(LoadRun, SummaryListsEveryGroupOfAPeriod) {
    ExportFolder start, end;
    start.players = {Player("1", "Кипер", "GK", "0", "70"),    Player("2", "Ушедший", "CD", "0", "50"),
                     Player("3", "Борисов", "LD", "-1", "50"), Player("4", "Алексеев", "CM", "2", "60"),
                     Player("5", "Яковлев", "CM", "1", "60"),  Player("6", "Быков", "RM", "0", "55"),
                     Player("7", "Белов", "FW", "0", "40"),    Player("8", "Власов", "LM", "0", "45")};
    end.players = {Player("1", "Кипер", "GK", "1", "71.5"),  Player("3", "Борисов", "LD", "-2", "51.5"),
                   Player("4", "Алексеев", "CM", "0", "61"), Player("5", "Яковлев", "CM", "1", "62"),
                   Player("6", "Быков", "RM", "0", "55.5"),  Player("7", "Белов", "FW", "0", "40.2"),
                   Player("8", "Власов", "LM", "0", "44"),   Player("9", "Новичок", "FW", "0", "50")};
    end.players.back().salary = "20000";
    start.skills = {SkillsLine(1, "1", "GK", 40), SkillsLine(2, "3", "LD", 40), SkillsLine(3, "4", "CM", 40),
                    SkillsLine(4, "5", "CM", 40), SkillsLine(5, "6", "RM", 40), SkillsLine(6, "7", "FW", 40),
                    SkillsLine(7, "8", "LM", 40)};
    // Белов's second skill is no whole number at the end: it counts 0.
    std::string belov = SkillsLine(6, "7", "FW", 40, 2);
    belov.replace(belov.find(";40;"), 4, ";4.5;");
    end.skills = {SkillsLine(1, "1", "GK", 40, 3), SkillsLine(2, "3", "LD", 40, 3), SkillsLine(3, "4", "CM", 40, -2),
                  SkillsLine(4, "5", "CM", 40),    SkillsLine(5, "6", "RM", 40, 1), belov};
    end.team = TeamLines("130000000");
    end.team[10] = "Доход за сезон;нет данных;";  // a change that is "-" is left out
    end.structure = StructureLines("4");
    end.structure[3] = "Клубный центр;x;9.00;";  // a level that is no whole number is left out
    ASSERT_TRUE(Load(start, end));
    const PeriodSummary s = SummarisePeriod(cmp);

    ASSERT_EQ(s.arrivals.size(), 1u);
    EXPECT_EQ(s.arrivals[0].name, "Новичок");
    EXPECT_EQ(s.arrivals[0].position, "FW");
    EXPECT_EQ(Names(s.departures), std::vector<std::string>{"Ушедший"});

    // -1 and -2 are one meaning; the leaver and the newcomer have no change.
    ASSERT_EQ(s.national.size(), 2u);
    EXPECT_EQ(s.national[0].name, "Кипер");
    EXPECT_EQ(s.national[0].from, "не вызван");
    EXPECT_EQ(s.national[0].to, "основная сборная");
    EXPECT_EQ(s.national[1].name, "Алексеев");
    EXPECT_EQ(s.national[1].from, "молодежная сборная");

    // Six rises: the smallest is left out, the tie at 1,5 goes by name.
    EXPECT_EQ(Names(s.realLevelRises), (std::vector<std::string>{"Яковлев", "Борисов", "Кипер", "Алексеев", "Быков"}));
    EXPECT_EQ(s.realLevelRises[1].start, "50");
    EXPECT_EQ(s.realLevelRises[1].end, "51,5");
    EXPECT_EQ(s.realLevelRises[1].change, "1,5");
    ASSERT_EQ(s.realLevelFalls.size(), 1u);
    EXPECT_EQ(s.realLevelFalls[0].name, "Власов");
    EXPECT_EQ(s.realLevelFalls[0].change, "-1");

    // Власов has no end skills, Яковлев no change; a tie at 3 goes by name.
    EXPECT_EQ(Names(s.skillRises), (std::vector<std::string>{"Борисов", "Кипер", "Белов", "Быков"}));
    EXPECT_EQ(s.skillRises[2].sum, 2);
    ASSERT_EQ(s.skillFalls.size(), 1u);
    EXPECT_EQ(s.skillFalls[0].name, "Алексеев");
    EXPECT_EQ(s.skillFalls[0].position, "CM");
    EXPECT_EQ(s.skillFalls[0].sum, -2);

    EXPECT_EQ(s.payroll.change, cmp.Result().payroll.change);
    EXPECT_EQ(s.value.end, cmp.Result().values.end);
    ASSERT_EQ(s.club.size(), 1u);
    EXPECT_EQ(s.club[0].caption, "Бюджет");
    EXPECT_EQ(s.club[0].start, "125.000.000");
    EXPECT_EQ(s.club[0].change, "5.000.000");
    ASSERT_EQ(s.buildings.size(), 1u);
    EXPECT_EQ(s.buildings[0].name, "Спортивная База");
    EXPECT_EQ(s.buildings[0].start, 3);
    EXPECT_EQ(s.buildings[0].end, 4);

    // A reader's lines, each from the start to the end: the changes signed and
    // toned as their pages colour them.
    const std::vector<SummaryGroup> groups = SummaryGroups(s);
    const auto item = [&](std::string_view key, std::size_t i) { return groups.at(KeyIndex(groups, key)).items.at(i); };
    const struct {
        SummaryItem item;
        std::string line;
        Background tone;
    } lines[] = {
        {item("national", 0), "Кипер (GK): не вызван → основная сборная", Background::Grid},
        {item("real_level_rises", 1), "Борисов (LD): 50 → 51,5 (+1,5)", Background::Favourable},
        {item("real_level_falls", 0), "Власов (LM): 45 → 44 (-1)", Background::Unfavourable},
        {item("skill_rises", 2), "Белов (FW): сумма 24 скиллов: +2", Background::Favourable},
        {item("skill_falls", 0), "Алексеев (CM): сумма 24 скиллов: -2", Background::Unfavourable},
        {item("money", 0), "Зарплата: 80.000 → 90.000 (+10.000)", Background::Unfavourable},
        {item("club", 0), "Бюджет: 125.000.000 → 130.000.000 (+5.000.000)", Background::Favourable},
        {item("buildings", 0), "Спортивная База: 3 → 4", Background::Grid},
    };
    for (const auto& l : lines) {
        EXPECT_EQ(l.item.Line(), l.line);
        EXPECT_EQ(l.item.tone, l.tone) << l.line;
    }
}

TEST_F(LoadRun, SummaryCountsAPlayerListedTwiceOnce) {
    ExportFolder start, end;
    start.players = {Player("1", "Кипер", "GK", "0", "70")};
    end.players = {start.players[0], start.players[0]};
    start.skills = {SkillsLine(1, "1", "GK", 40)};
    end.skills = {SkillsLine(1, "1", "GK", 40, 3)};
    ASSERT_TRUE(Load(start, end));
    ASSERT_EQ(cmp.ListBox1().size(), 2u);
    EXPECT_EQ(Names(SummarisePeriod(cmp).skillRises), std::vector<std::string>{"Кипер"});
}

// As on the skills page, a player's first skills line at each date counts.
TEST_F(LoadRun, SummaryTakesTheFirstSkillsLineOfAnId) {
    ExportFolder start, end;
    start.players = {Player("1", "Кипер", "GK", "0", "70")};
    end.players = start.players;
    start.skills = {SkillsLine(1, "1", "GK", 40), SkillsLine(2, "1", "GK", 50)};
    end.skills = {SkillsLine(1, "1", "GK", 40, 3), SkillsLine(2, "1", "GK", 40, -2)};
    ASSERT_TRUE(Load(start, end));
    const PeriodSummary s = SummarisePeriod(cmp);
    ASSERT_EQ(s.skillRises.size(), 1u);
    EXPECT_EQ(s.skillRises[0].sum, 3);
    EXPECT_TRUE(s.skillFalls.empty());
}

TEST(SummaryHeading, NamesTheClubTheDatesAndTheDays) {
    const struct {
        Period period;
        std::string heading;
    } cases[] = {
        {{"Сокол", "01.09.2026", "30.11.2026"}, "Итоги периода: Сокол, 01.09.2026 – 30.11.2026 (90 дней)"},
        {{"Сокол", "01.09.2026", "02.09.2026"}, "Итоги периода: Сокол, 01.09.2026 – 02.09.2026 (1 день)"},
        {{"Сокол", "01.09.2026", "23.09.2026"}, "Итоги периода: Сокол, 01.09.2026 – 23.09.2026 (22 дня)"},
        {{"Сокол", "01.09.2026", "12.09.2026"}, "Итоги периода: Сокол, 01.09.2026 – 12.09.2026 (11 дней)"},
        {{"Сокол", "01.01.2026", "22.01.2026"}, "Итоги периода: Сокол, 01.01.2026 – 22.01.2026 (21 день)"},
        {{"", "01.09.2026", "01.09.2026"}, "Итоги периода: 01.09.2026 – 01.09.2026 (0 дней)"},
        {{"Сокол", "<date>", "30.11.2026"}, "Итоги периода: Сокол, <date> – 30.11.2026"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SummaryHeading(c.period), c.heading);
    EXPECT_EQ(ReportTitle(cases[0].period), "Итоги и сравнение: Сокол, 01.09.2026 – 30.11.2026");
    EXPECT_EQ(ReportTitle(cases[5].period), "Итоги и сравнение: 01.09.2026 – 01.09.2026");
}

TEST_F(LoadRun, SummaryOfAPeriodWithoutChangesSaysNothingInEveryGroupButMoney) {
    ExportFolder same;
    same.players = {Player("1", "Кипер", "GK", "0", "70")};
    same.skills = {SkillsLine(1, "1", "GK", 40)};
    ASSERT_TRUE(Load(same, same));
    const PeriodSummary s = SummarisePeriod(cmp);
    std::vector<std::string_view> keys;
    for (const SummaryGroup& group : SummaryGroups(s)) {
        keys.push_back(group.key);
        EXPECT_EQ(group.items.empty(), group.key != "money") << group.key;
    }
    EXPECT_EQ(keys, (std::vector<std::string_view>{"arrivals", "departures", "national", "real_level_rises",
                                                   "real_level_falls", "skill_rises", "skill_falls", "money", "club",
                                                   "buildings"}));
    const std::string text = SummaryText(s);
    EXPECT_EQ(text.rfind("== Итоги периода: Сокол, 01.01.2026 – 08.01.2026 (7 дней)\n-- Пришли в клуб\nнет\n"
                         "-- Ушли из клуба\nнет\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("-- Зарплаты и стоимость\nЗарплата: 10.000 → 10.000 (0)\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace cadrix
