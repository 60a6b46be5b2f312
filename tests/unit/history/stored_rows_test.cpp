#include "history/stored_rows.h"

#include <gtest/gtest.h>

#include "history_test_support.h"

namespace cadrix {
namespace {

using testing::HistoryTest;

class StoredRows : public HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        m_db.emplace(m_root / "rows.sqlite", SqliteDb::Mode::CreateIfMissing);
        m_db->Exec("PRAGMA synchronous = OFF; CREATE TABLE t (cell, skills)");
    }
    // Stores one row and reads it back: its cell, the cell's storage type and the skills.
    std::tuple<std::string, int, std::array<std::string, kSkillCount>, int>
    RoundTrip(std::string_view cell, const std::optional<std::array<std::string, kSkillCount>>& skills) {
        m_db->Exec("DELETE FROM t");
        SqliteStatement insert = m_db->Prepare("INSERT INTO t VALUES (?1, ?2)");
        BindCell(insert, 1, cell);
        BindSkills(insert, 2, skills);
        insert.Run();
        SqliteStatement select = m_db->Prepare("SELECT cell, skills FROM t");
        EXPECT_TRUE(select.Step());
        return {CellAt(select, 0), select.Type(0), SkillsAt(select, 1), select.Type(1)};
    }
    std::optional<SqliteDb> m_db;
};

TEST_F(StoredRows, CellsComeBackAsTheyWereGiven) {
    struct Case {
        const char* text;
        int type;
    };
    const Case cases[] = {
        {"0", SQLITE_INTEGER},
        {"13400000", SQLITE_INTEGER},
        {"-16", SQLITE_INTEGER},
        {"007", SQLITE_TEXT},
        {"-0", SQLITE_TEXT},
        {"+5", SQLITE_TEXT},
        {"", SQLITE_TEXT},
        {"73,8", SQLITE_TEXT},
        {" 5", SQLITE_TEXT},
        {"n/a", SQLITE_TEXT},
        {"-", SQLITE_TEXT},
        {"99999999999999999999", SQLITE_TEXT},
        {"<нет данных>", SQLITE_TEXT},
    };
    for (const auto& c : cases) {
        const auto [text, type, skills, skillsType] = RoundTrip(c.text, std::nullopt);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(type, c.type) << c.text;
    }
}

TEST_F(StoredRows, SkillsComeBackAsTheyWereGiven) {
    std::array<std::string, kSkillCount> plain;
    for (int k = 0; k < kSkillCount; ++k)
        plain[static_cast<std::size_t>(k)] = std::to_string(k * 11);  // 0 to 253
    auto with = [&](const char* odd) {
        auto skills = plain;
        skills[5] = odd;
        return skills;
    };
    const std::pair<std::array<std::string, kSkillCount>, int> cases[] = {
        {plain, SQLITE_BLOB},    {with("256"), SQLITE_TEXT}, {with("07"), SQLITE_TEXT},
        {with(""), SQLITE_TEXT}, {with("-1"), SQLITE_TEXT},  {with("4.5"), SQLITE_TEXT},
    };
    for (const auto& [skills, type] : cases) {
        const auto [text, cellType, back, backType] = RoundTrip("1", skills);
        EXPECT_EQ(back, skills) << skills[5];
        EXPECT_EQ(backType, type) << skills[5];
    }
    const auto [text, cellType, none, noneType] = RoundTrip("1", std::nullopt);
    EXPECT_EQ(none, (std::array<std::string, kSkillCount>{}));
}

}  // namespace
}  // namespace cadrix
