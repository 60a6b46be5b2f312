#include "history/history_schema.h"

#include <string>

namespace cadrix {

namespace {

// PRAGMA application_id marks the file as ours ("CDRX"), so that a SQLite
// database of another program is not taken for an empty history.
constexpr std::int64_t kApplicationId = 0x43445258;

// Snapshots are ordered by export day, then id. The files' bytes lie in
// snapshot_data, apart from the small rows that lists read. The chart rows are
// kept small (stored_rows.h): columns without a type hold an integer where the
// cell's text is one, skills take a byte each, and names and captions are ids
// of shared_text. Version 1 had these tables without the links between them.
constexpr const char* kParentTables = R"sql(
CREATE TABLE snapshot (
    id             INTEGER PRIMARY KEY,
    file_name      TEXT    NOT NULL,
    archive_sha256 BLOB    NOT NULL UNIQUE,
    content_sha256 BLOB    NOT NULL UNIQUE,
    export_date    TEXT    NOT NULL,
    export_day     TEXT    NOT NULL,
    club           TEXT    NOT NULL,
    players        INTEGER NOT NULL,
    added_at       INTEGER NOT NULL
);
CREATE TABLE shared_text (
    id   INTEGER PRIMARY KEY,
    text TEXT NOT NULL UNIQUE
);
)sql";

// Version 2: every row of a snapshot goes with it (ON DELETE CASCADE), a name
// or caption in use cannot go, and what removal and the series look up by is
// indexed.
constexpr const char* kChildTables = R"sql(
CREATE TABLE snapshot_file (
    snapshot_id INTEGER NOT NULL REFERENCES snapshot (id) ON DELETE CASCADE,
    role        INTEGER NOT NULL,
    name        TEXT    NOT NULL,
    modified    TEXT    NOT NULL,
    size        INTEGER NOT NULL,
    PRIMARY KEY (snapshot_id, role)
) WITHOUT ROWID;
CREATE TABLE snapshot_data (
    snapshot_id INTEGER PRIMARY KEY REFERENCES snapshot (id) ON DELETE CASCADE,
    packed      BLOB NOT NULL
);
CREATE TABLE player_point (
    player_id   NOT NULL,
    snapshot_id INTEGER NOT NULL REFERENCES snapshot (id) ON DELETE CASCADE,
    name_id     INTEGER NOT NULL REFERENCES shared_text (id),
    position    TEXT    NOT NULL,
    talent      NOT NULL,
    age         NOT NULL,
    real_level  TEXT    NOT NULL,
    value       NOT NULL,
    salary      NOT NULL,
    skills,
    PRIMARY KEY (player_id, snapshot_id)
) WITHOUT ROWID;
CREATE TABLE club_figure (
    snapshot_id INTEGER NOT NULL REFERENCES snapshot (id) ON DELETE CASCADE,
    row         INTEGER NOT NULL,
    caption_id  INTEGER NOT NULL REFERENCES shared_text (id),
    value       NOT NULL,
    PRIMARY KEY (snapshot_id, row)
) WITHOUT ROWID;
CREATE INDEX player_point_snapshot ON player_point (snapshot_id);
CREATE INDEX player_point_name ON player_point (name_id);
CREATE INDEX club_figure_caption ON club_figure (caption_id);
CREATE INDEX snapshot_day ON snapshot (export_day, id);
CREATE INDEX snapshot_club ON snapshot (club, export_day, id);
)sql";

// Version 1 to 2: SQLite adds no link to a table, so the child tables are
// made anew and their rows copied; a row whose snapshot or text is gone
// belonged to nothing and stays behind.
constexpr const char* kChildTableNames[] = {"snapshot_file", "snapshot_data", "player_point", "club_figure"};
constexpr const char* kCopyFromVersion1 = R"sql(
INSERT INTO snapshot_file SELECT * FROM v1_snapshot_file WHERE snapshot_id IN (SELECT id FROM snapshot);
INSERT INTO snapshot_data SELECT * FROM v1_snapshot_data WHERE snapshot_id IN (SELECT id FROM snapshot);
INSERT INTO player_point SELECT * FROM v1_player_point
    WHERE snapshot_id IN (SELECT id FROM snapshot) AND name_id IN (SELECT id FROM shared_text);
INSERT INTO club_figure SELECT * FROM v1_club_figure
    WHERE snapshot_id IN (SELECT id FROM snapshot) AND caption_id IN (SELECT id FROM shared_text);
)sql";

void MigrateFromVersion1(SqliteDb& db) {
    for (const char* table : kChildTableNames)
        db.Exec(("ALTER TABLE " + std::string(table) + " RENAME TO v1_" + table).c_str());
    db.Exec(kChildTables);
    db.Exec(kCopyFromVersion1);
    for (const char* table : kChildTableNames)
        db.Exec(("DROP TABLE v1_" + std::string(table)).c_str());
}

std::int64_t Pragma(const SqliteDb& db, const char* name) { return db.QueryInt(std::string("PRAGMA ") + name); }

void Refuse(const SqliteDb& db, const std::string& reason) { throw HistoryError(db.File().string() + ": " + reason); }

}  // namespace

void CheckHistoryUsable(const SqliteDb& db) {
    const std::int64_t version = Pragma(db, "user_version");
    if (version > kHistorySchemaVersion)
        Refuse(db, "the history was written by a newer version of Cadrix (schema " + std::to_string(version) +
                       "; this version reads up to " + std::to_string(kHistorySchemaVersion) + ")");
    // Ours carry our mark; a new file is empty. Anything else belongs to another program.
    const std::int64_t appId = Pragma(db, "application_id");
    if (appId != kApplicationId && (appId != 0 || db.QueryInt("SELECT count(*) FROM sqlite_schema") != 0))
        Refuse(db, "is a database of another program, not a Cadrix history");
}

void MigrateHistory(SqliteDb& db) {
    if (Pragma(db, "user_version") == kHistorySchemaVersion)
        return;
    SqliteTransaction transaction(db);
    // Another program may have prepared it while this one waited for the lock.
    CheckHistoryUsable(db);
    std::int64_t version = Pragma(db, "user_version");
    if (version == 0) {
        db.Exec(kParentTables);
        db.Exec(kChildTables);
        version = kHistorySchemaVersion;
    }
    if (version == 1) {
        MigrateFromVersion1(db);
        version = 2;
    }
    // A later schema adds its step here: if (version == 2) { ...; version = 3; }
    db.Exec(("PRAGMA user_version = " + std::to_string(version)).c_str());
    db.Exec(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
    transaction.Commit();
}

void CheckHistoryWhole(const SqliteDb& db) {
    SqliteStatement check = db.Prepare("PRAGMA quick_check(1)");
    if (!check.Step())
        db.Damaged("the check of its pages gave no answer");
    const std::string answer = check.Text(0);
    if (answer != "ok")
        db.Damaged(answer);
}

}  // namespace cadrix
