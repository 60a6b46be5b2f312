#include "history/history_schema.h"

#include <string>

namespace cadrix {

namespace {

// PRAGMA application_id marks the file as ours ("CDRX"), so that a SQLite
// database of another program is not taken for an empty history.
constexpr std::int64_t kApplicationId = 0x43445258;

// Version 1. Snapshots are ordered by export day, then id. The files' bytes
// lie in snapshot_data, apart from the small rows that lists read. The chart
// rows are kept small (stored_rows.h): columns without a type hold an integer
// where the cell's text is one, skills take a byte each, and names and
// captions are ids of shared_text.
constexpr const char* kSchemaV1 = R"sql(
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
CREATE TABLE snapshot_file (
    snapshot_id INTEGER NOT NULL,
    role        INTEGER NOT NULL,
    name        TEXT    NOT NULL,
    modified    TEXT    NOT NULL,
    size        INTEGER NOT NULL,
    PRIMARY KEY (snapshot_id, role)
) WITHOUT ROWID;
CREATE TABLE snapshot_data (
    snapshot_id INTEGER PRIMARY KEY,
    packed      BLOB NOT NULL
);
CREATE TABLE shared_text (
    id   INTEGER PRIMARY KEY,
    text TEXT NOT NULL UNIQUE
);
CREATE TABLE player_point (
    player_id   NOT NULL,
    snapshot_id INTEGER NOT NULL,
    name_id     INTEGER NOT NULL,
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
    snapshot_id INTEGER NOT NULL,
    row         INTEGER NOT NULL,
    caption_id  INTEGER NOT NULL,
    value       NOT NULL,
    PRIMARY KEY (snapshot_id, row)
) WITHOUT ROWID;
)sql";

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
        db.Exec(kSchemaV1);
        version = 1;
    }
    // A later schema adds its step here: if (version == 1) { ...; version = 2; }
    db.Exec(("PRAGMA user_version = " + std::to_string(version)).c_str());
    db.Exec(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
    transaction.Commit();
}

}  // namespace cadrix
