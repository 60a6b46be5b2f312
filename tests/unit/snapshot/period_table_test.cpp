#include "snapshot/period_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "snapshot/snapshot.h"

namespace cadrix {
namespace {

struct Player {
    std::string id;
    std::string name;
    std::string position;
    std::string level = "50";
    std::string salary = "1000";
};

TextTable PlayersTable(const std::vector<Player>& players) {
    TextTable t(Snapshot::kPlayersColumns, std::max<int>(2, static_cast<int>(players.size()) + 1));
    t.SetCell(players::kPlayerId, 0, "player_id");
    for (std::size_t i = 0; i < players.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        const Player& p = players[i];
        t.SetCell(players::kPlayerId, r, p.id);
        t.SetCell(players::kName, r, p.name);
        t.SetCell(players::kPosition, r, p.position);
        t.SetCell(players::kRealLevel, r, p.level);
        t.SetCell(players::kSalary, r, p.salary);
        t.SetCell(players::kTalent, r, p.name + "-talent");
        t.SetCell(players::kAge, r, "20");
    }
    return t;
}

// The names of the period table's rows from row 1, "" for an empty row.
std::vector<std::string> Names(const TextTable& total) {
    std::vector<std::string> names;
    for (int r = 1; r < total.RowCount(); ++r)
        names.push_back(
            std::string(total.Cell(period::kName, r)) +
            (total.Cell(period::kPresence, r).empty() ? "" : "/" + std::string(total.Cell(period::kPresence, r))));
    return names;
}

TEST(PeriodPlayerTable, GroupsByStartPositionAndAppendsNewcomersPerPosition) {
    const TextTable start = PlayersTable({
        {"1", "fw1", "FW"},
        {"2", "gk1", "GK"},
        {"3", "cd1", "CD"},
        {"4", "left", "CD"},
        {"5", "fw2", "FW"},
    });
    const TextTable end = PlayersTable({
        {"7", "newfw", "FW"},
        {"5", "fw2", "FW"},
        {"3", "cd1-now-ld", "LD"},
        {"1", "fw1", "FW"},
        {"2", "gk1", "GK"},
        {"8", "newgk", "GK"},
    });
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(start, end, total);
    EXPECT_EQ(Names(total),
              (std::vector<std::string>{"gk1/1", "newgk/2", "cd1-now-ld/1", "left/0", "fw1/1", "fw2/1", "newfw/2"}));
    EXPECT_EQ(total.RowCount(), 6 + 2);
    // The position changer stays in the CD group with his end position shown.
    EXPECT_EQ(total.Cell(period::kPosition, 3), "LD");
}

TEST(PeriodPlayerTable, MarksMissingValuesWithNotAvailable) {
    const TextTable start = PlayersTable({{"4", "left", "CD", "47,5", "900"}});
    const TextTable end = PlayersTable({{"9", "new", "FW", "51", "1200"}});
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(start, end, total);
    ASSERT_EQ(total.RowCount(), 3);

    EXPECT_EQ(total.Cell(period::kPlayerId, 1), "4");
    EXPECT_EQ(total.Cell(period::kRealLevelStart, 1), "47,5");
    EXPECT_EQ(total.Cell(period::kSalaryStart, 1), "900");
    EXPECT_EQ(total.Cell(period::kTalent, 1), "left-talent");
    for (int c : {4, 6, 8, 10, 12, 14, 18})
        EXPECT_EQ(total.Cell(c, 1), "n/a") << "column " << c;

    EXPECT_EQ(total.Cell(period::kPlayerId, 2), "9");
    EXPECT_EQ(total.Cell(period::kRealLevelEnd, 2), "51");
    for (int c : {3, 5, 7, 9, 11, 13, 17})
        EXPECT_EQ(total.Cell(c, 2), "n/a") << "column " << c;
    EXPECT_EQ(total.Cell(16, 1), "");
    EXPECT_EQ(total.Cell(16, 2), "");
}

TEST(PeriodPlayerTable, TakesTheEndTalentForAPlayerInBothSnapshots) {
    const TextTable start = PlayersTable({{"1", "a", "GK"}});
    TextTable end = PlayersTable({{"1", "b", "GK"}});
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(start, end, total);
    EXPECT_EQ(total.Cell(period::kTalent, 1), "b-talent");
    EXPECT_EQ(total.Cell(period::kName, 1), "b");
}

TEST(PeriodPlayerTable, MatchesIdsByTheirIntegerText) {
    // Start 007, end 7: the start id text is 7 and matches; the end id text 7
    // does not equal the start cell 007, so the same player also comes as a newcomer.
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(PlayersTable({{"007", "p", "FW"}}), PlayersTable({{"7", "p", "FW"}}), total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"p/1", "p/2"}));

    std::vector<std::string> items, ids;
    FillPlayerChooser(PlayersTable({{"007", "p", "FW"}}), PlayersTable({{"7", "p", "FW"}}), items, ids);
    EXPECT_TRUE(items.empty());

    // Start 7, end 007: the player left and nobody arrived; the chooser lists him.
    BuildPeriodPlayerTable(PlayersTable({{"7", "p", "FW"}}), PlayersTable({{"007", "p", "FW"}}), total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"p/0"}));
    FillPlayerChooser(PlayersTable({{"7", "p", "FW"}}), PlayersTable({{"007", "p", "FW"}}), items, ids);
    EXPECT_EQ(items, (std::vector<std::string>{"p, FW"}));
    EXPECT_EQ(ids, (std::vector<std::string>{"007"}));
}

// A start id is written back plainly and compared with the end cell as text,
// so an end cell in any other spelling of the number never matches.
TEST(PeriodPlayerTable, MatchesOnlyThePlainSpellingOfTheStartNumber) {
    struct Case {
        const char* start;
        const char* end;
        bool matched;
    };
    const Case cases[] = {
        {"+7", "7", true},
        {"7", "+7", false},
        {"-0", "0", true},
        {"0", "-0", false},
        {"7", " 7", false},
        {" 7", "-1", true},          // no blanks: not a number
        {"2147483648", "-1", true},  // beyond 32 bits: not a number
        {"-2147483648", "-2147483648", true},
    };
    for (const auto& c : cases) {
        TextTable total(period::kColumns);
        BuildPeriodPlayerTable(PlayersTable({{c.start, "p", "GK"}}), PlayersTable({{c.end, "p", "GK"}}), total);
        EXPECT_EQ(total.Cell(period::kPresence, 1), c.matched ? "1" : "0") << c.start << " / " << c.end;
    }
}

TEST(PeriodPlayerTable, NonIntegerIdsMatchOnlyMinusOne) {
    TextTable total(period::kColumns);
    // Start "x" reads as -1 and finds the end cell "-1"; the end id -1 does
    // not find the start cell "x", so the end player is a newcomer as well.
    BuildPeriodPlayerTable(PlayersTable({{"x", "a", "GK"}}), PlayersTable({{"-1", "b", "GK"}}), total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"b/1", "b/2"}));
    BuildPeriodPlayerTable(PlayersTable({{"x", "a", "GK"}}), PlayersTable({{"x", "b", "GK"}}), total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"a/0", "b/2"}));
}

TEST(PeriodPlayerTable, DuplicateStartIdsGiveTwoRowsAndTwoChooserItems) {
    const TextTable start = PlayersTable({{"5", "a", "CM"}, {"5", "a2", "CM"}});
    const TextTable end = PlayersTable({{"5", "e", "CM"}, {"6", "f", "CM"}});
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(start, end, total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"e/1", "e/1", "f/2"}));
    std::vector<std::string> items, ids;
    FillPlayerChooser(start, end, items, ids);
    EXPECT_EQ(items, (std::vector<std::string>{"e, CM", "e, CM"}));
}

TEST(PeriodPlayerTable, UnknownPositionsLeaveEmptyRowsAtTheEnd) {
    const TextTable start = PlayersTable({{"1", "odd", "ST"}, {"2", "gk", "GK"}, {"3", "lower", "fw"}});
    const TextTable end = PlayersTable({{"1", "odd", "ST"}, {"2", "gk", "GK"}, {"9", "alien", "XX"}});
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(start, end, total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"gk/1", "", ""}));
    std::vector<std::string> items, ids;
    FillPlayerChooser(start, end, items, ids);
    // The player of an unknown position is in neither group but in the chooser.
    EXPECT_EQ(items, (std::vector<std::string>{"odd, ST", "gk, GK"}));
}

TEST(PeriodPlayerTable, EmptyTables) {
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(PlayersTable({}), PlayersTable({{"1", "n1", "LM"}, {"2", "n2", "GK"}}), total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"n2/2", "n1/2", ""}));

    BuildPeriodPlayerTable(PlayersTable({}), PlayersTable({}), total);
    EXPECT_EQ(total.RowCount(), 2);
    EXPECT_EQ(Names(total), (std::vector<std::string>{""}));
    std::vector<std::string> items{"stale"}, ids{"stale"};
    FillPlayerChooser(PlayersTable({}), PlayersTable({}), items, ids);
    EXPECT_TRUE(items.empty());
    EXPECT_TRUE(ids.empty());
}

TEST(PeriodPlayerTable, RebuildingDropsTheRowsOfAnEarlierBuild) {
    TextTable total(period::kColumns);
    BuildPeriodPlayerTable(PlayersTable({{"1", "a", "GK"}, {"2", "b", "GK"}, {"3", "c", "GK"}}), PlayersTable({}),
                           total);
    BuildPeriodPlayerTable(PlayersTable({{"1", "a", "GK"}}), PlayersTable({{"1", "a", "GK"}}), total);
    EXPECT_EQ(Names(total), (std::vector<std::string>{"a/1"}));
    EXPECT_EQ(total.Cell(period::kRealLevelEnd, 1), "50");
}

TEST(PeriodPlayerTable, ChooserFollowsTheEndTableOrder) {
    const TextTable start = PlayersTable({{"1", "a", "GK"}, {"2", "b", "FW"}, {"3", "c", "CD"}});
    const TextTable end = PlayersTable({{"3", "c", "LD"}, {"4", "new", "GK"}, {"1", "a", "GK"}});
    std::vector<std::string> items, ids;
    FillPlayerChooser(start, end, items, ids);
    EXPECT_EQ(items, (std::vector<std::string>{"c, LD", "a, GK"}));
    EXPECT_EQ(ids, (std::vector<std::string>{"3", "1"}));
}

}  // namespace
}  // namespace cadrix
