#include "history/stored_rows.h"

#include <charconv>
#include <unordered_map>
#include <vector>

namespace cadrix {

namespace {

constexpr char kSkillSeparator = ';';
constexpr std::size_t kMaxIntegerDigits = 18;  // what fits an int64 whatever the digits
constexpr int kMaxSkillByte = 255;

// The integer a text is the plain decimal form of.
std::optional<std::int64_t> PlainInteger(std::string_view text, std::size_t maxDigits = kMaxIntegerDigits) {
    const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
    if (digits.empty() || digits.size() > maxDigits || (digits[0] == '0' && (digits.size() > 1 || digits != text)))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Texts that repeat across exports (names, captions), each stored once.
class SharedTexts {
public:
    explicit SharedTexts(SqliteDb& db)
        : m_upsert(db.Prepare("INSERT INTO shared_text (text) VALUES (?1) "
                              "ON CONFLICT (text) DO UPDATE SET text = excluded.text RETURNING id")) {}

    std::int64_t Id(const std::string& text) {
        if (const auto it = m_ids.find(text); it != m_ids.end())
            return it->second;
        m_upsert.Bind(1, text);
        m_upsert.Step();
        const std::int64_t id = m_upsert.Int(0);
        m_upsert.Reset();
        return m_ids[text] = id;
    }

private:
    SqliteStatement m_upsert;
    std::unordered_map<std::string, std::int64_t> m_ids;
};

void InsertFiles(SqliteDb& db, SnapshotId id, const CapturedSnapshot& c) {
    SqliteStatement file =
        db.Prepare("INSERT INTO snapshot_file (snapshot_id, role, name, modified, size) VALUES (?1, ?2, ?3, ?4, ?5)");
    for (const auto& f : c.files) {
        file.Bind(1, id)
            .Bind(2, static_cast<std::int64_t>(f.role))
            .Bind(3, f.name)
            .Bind(4, f.modified)
            .Bind(5, static_cast<std::int64_t>(f.bytes.size()));
        file.Run();
        file.Reset();
    }
    SqliteStatement data = db.Prepare("INSERT INTO snapshot_data (snapshot_id, packed) VALUES (?1, ?2)");
    data.Bind(1, id).BindBlob(2, c.packed);
    data.Run();
}

void InsertPlayers(SqliteDb& db, SnapshotId id, const CapturedSnapshot& c, SharedTexts& texts) {
    SqliteStatement player =
        db.Prepare("INSERT INTO player_point (player_id, snapshot_id, name_id, position, talent, age, real_level, "
                   "value, salary, skills) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    for (const auto& p : c.playerRows) {
        BindCell(player, 1, p.playerId);
        player.Bind(2, id).Bind(3, texts.Id(p.name)).Bind(4, p.position);
        BindCell(player, 5, p.talent);
        BindCell(player, 6, p.age);
        player.Bind(7, p.realLevel);
        BindCell(player, 8, p.value);
        BindCell(player, 9, p.salary);
        BindSkills(player, 10, p.skills);
        player.Run();
        player.Reset();
    }
}

void InsertFigures(SqliteDb& db, SnapshotId id, const CapturedSnapshot& c, SharedTexts& texts) {
    SqliteStatement figure =
        db.Prepare("INSERT INTO club_figure (snapshot_id, row, caption_id, value) VALUES (?1, ?2, ?3, ?4)");
    for (int r = 0; r < kClubFigureCount; ++r) {
        const ClubFigure& f = c.figures[static_cast<std::size_t>(r)];
        figure.Bind(1, id).Bind(2, r + 1).Bind(3, texts.Id(f.caption));
        BindCell(figure, 4, f.value);
        figure.Run();
        figure.Reset();
    }
}

}  // namespace

void BindCell(SqliteStatement& stmt, int index, std::string_view text) {
    if (const auto value = PlainInteger(text))
        stmt.Bind(index, *value);
    else
        stmt.Bind(index, text);
}

std::string CellAt(const SqliteStatement& row, int column) {
    if (row.Type(column) == SQLITE_INTEGER)
        return std::to_string(row.Int(column));
    if (row.Type(column) != SQLITE_TEXT)
        row.Damaged("a stored cell that is neither text nor a whole number");
    return row.Text(column);
}

void BindSkills(SqliteStatement& stmt, int index, const std::optional<std::array<std::string, kSkillCount>>& skills) {
    if (!skills) {
        stmt.BindNull(index);
        return;
    }
    std::array<std::uint8_t, kSkillCount> bytes{};
    bool compact = true;
    for (std::size_t k = 0; k < bytes.size() && compact; ++k) {
        const auto value = PlainInteger((*skills)[k], 3);
        compact = value && *value >= 0 && *value <= kMaxSkillByte;
        if (compact)
            bytes[k] = static_cast<std::uint8_t>(*value);
    }
    if (compact) {
        stmt.BindBlob(index, bytes);
        return;
    }
    std::string text;
    for (std::size_t k = 0; k < skills->size(); ++k)
        text += (k ? std::string(1, kSkillSeparator) : std::string()) + (*skills)[k];
    stmt.Bind(index, text);
}

std::array<std::string, kSkillCount> SkillsAt(const SqliteStatement& row, int column) {
    std::array<std::string, kSkillCount> skills;
    const int type = row.Type(column);
    if (type == SQLITE_NULL)
        return skills;
    if (type == SQLITE_BLOB) {
        const auto bytes = row.Blob(column);
        if (bytes.size() != skills.size())
            row.Damaged("a player's skills of " + std::to_string(bytes.size()) + " bytes");
        for (std::size_t k = 0; k < skills.size(); ++k)
            skills[k] = std::to_string(bytes[k]);
        return skills;
    }
    if (type != SQLITE_TEXT)
        row.Damaged("a player's skills that are neither bytes nor text");
    const std::string text = row.Text(column);
    std::size_t start = 0;
    for (std::size_t k = 0; k < skills.size(); ++k) {
        const std::size_t end = text.find(kSkillSeparator, start);
        if ((end == std::string::npos) != (k + 1 == skills.size()))
            row.Damaged("a player's skills that are not " + std::to_string(kSkillCount) + " texts");
        skills[k] = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end + 1;
    }
    return skills;
}

void InsertSnapshotRows(SqliteDb& db, SnapshotId id, const CapturedSnapshot& captured) {
    SharedTexts texts(db);
    InsertFiles(db, id, captured);
    InsertPlayers(db, id, captured, texts);
    InsertFigures(db, id, captured, texts);
}

void DeleteSnapshotRows(SqliteDb& db, SnapshotId id) {
    // The snapshot's texts, before its rows go: only these can fall out of use.
    std::vector<std::int64_t> texts;
    SqliteStatement used = db.Prepare("SELECT name_id FROM player_point WHERE snapshot_id = ?1 UNION "
                                      "SELECT caption_id FROM club_figure WHERE snapshot_id = ?1");
    used.Bind(1, id);
    while (used.Step())
        texts.push_back(used.Int(0));

    SqliteStatement snapshot = db.Prepare("DELETE FROM snapshot WHERE id = ?1");
    snapshot.Bind(1, id);
    snapshot.Run();  // its files, data, players and figures go with it

    SqliteStatement unused = db.Prepare(
        "DELETE FROM shared_text WHERE id = ?1 AND NOT EXISTS (SELECT 1 FROM player_point WHERE name_id = ?1) "
        "AND NOT EXISTS (SELECT 1 FROM club_figure WHERE caption_id = ?1)");
    for (const std::int64_t text : texts) {
        unused.Bind(1, text);
        unused.Run();
        unused.Reset();
    }
}

void ReadPlayerFigures(const SqliteStatement& row, int first, PlayerPoint& p) {
    p.name = row.Text(first);
    p.position = row.Text(first + 1);
    p.talent = CellAt(row, first + 2);
    p.age = CellAt(row, first + 3);
    p.realLevel = row.Text(first + 4);
    p.value = CellAt(row, first + 5);
    p.salary = CellAt(row, first + 6);
    p.skills = SkillsAt(row, first + 7);
}

}  // namespace cadrix
