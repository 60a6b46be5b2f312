#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/codepage.h"
#include "core/utf8.h"
#include "core/wildcard.h"

namespace cadrix {
namespace {

TEST(Codepage, DecodesWindows1251AndCp866) {
    EXPECT_EQ(Cp1251ToUtf8("\xC8\xE2\xE0\xED\xEE\xE2 \xA8\xB8"), "Иванов Ёё");
    EXPECT_EQ(Cp1251ToUtf8("\xB9\x96"), "№–");
    EXPECT_EQ(Cp866ToUtf8("\x88\xa2\xa0\xad\xae\xa2 \xf0\xf1"), "Иванов Ёё");
    EXPECT_EQ(Cp866ToCp1251("\x88\xa2\xa0\xad\xae\xa2.csv"), "\xC8\xE2\xE0\xED\xEE\xE2.csv");
    EXPECT_EQ(Cp866ToCp1251("\xc9"), "?");  // box drawing has no place in 1251
    EXPECT_EQ(Utf8ToCp1251("Ёж №1"), "\xA8\xE6 \xB9"
                                     "1");
}

TEST(Utf8, ValidatesStrictly) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("Игрок"));
    EXPECT_FALSE(IsValidUtf8("\xC8\xE2"));      // 1251 bytes
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));      // cut short
    // Made fit to print: each byte that starts no well-formed sequence becomes U+FFFD.
    EXPECT_EQ(ValidUtf8("Игрок"), "Игрок");
    EXPECT_EQ(ValidUtf8("a\xC8\xE2z"), "a\uFFFD\uFFFDz");
    EXPECT_EQ(ValidUtf8("\xC0\xAF\xE2\x82"), "\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(Utf8, CountsCodePoints) {
    EXPECT_EQ(CodePointCount("Иван, FW"), 8u);
    EXPECT_EQ(DropRightChars("Иван, FW", 4), "Иван");
    EXPECT_EQ(RightChars("Иван, FW", 2), "FW");
    EXPECT_EQ(LeftChars("Спортивная База", 4), "Спор");
    EXPECT_EQ(DropRightChars("ab", 4), "");
    EXPECT_EQ(RightChars("ab", 4), "ab");
}

TEST(Wildcard, MatchesLikeTheFileDialogs) {
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    };
    const Case cases[] = {
        {"club_players.csv", "*players.csv", true},
        {"CLUB_PLAYERS.CSV", "*players.csv", true},
        {"club_players_skills.csv", "*players.csv", false},
        {"club_players_skills.csv", "*players_skills.csv", true},
        {"players.csv", "*players.csv", true},
        {"a_players.csv.bak", "*.csv", false},
        {"data\\a_players.csv", "*.csv", true},
        {"readme.txt", "*.csv", false},
        {"a.csv", "?.csv", true},
        {"ab.csv", "?.csv", false},
        {"Игроки.CSV", "*.csv", true},
        {"ИГРОКИ.csv", "игроки.csv", true},
        {"", "*", true},
        {"", "?", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

TEST(Wildcard, TakesTheFirstMatchInNameOrder) {
    const auto dir = std::filesystem::temp_directory_path() / "cadrix_wildcard_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "sub_players.csv");
    for (const char* name : {"b_players.csv", "a_players.csv", "a_players_skills.csv"})
        std::ofstream(dir / name) << "x";
    const auto first = FindFirstMatching(dir, "*players.csv");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->filename(), "a_players.csv");
    EXPECT_EQ(ListMatching(dir, "*players.csv").size(), 2u);  // a folder is no file
    EXPECT_FALSE(FindFirstMatching(dir / "missing", "*.csv").has_value());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cadrix
