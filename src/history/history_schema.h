#pragma once

#include "history/sqlite_db.h"

namespace cadrix {

// The schema version this program writes; PRAGMA user_version carries it.
inline constexpr int kHistorySchemaVersion = 1;

// Refuses, with HistoryError, a file that is not a SQLite database, a history
// of a newer schema and a database of another program. Writes nothing.
void CheckHistoryUsable(const SqliteDb& db);

// Creates the schema in a new database and brings an older one up to the
// current version: the one place that knows the schema's past.
void MigrateHistory(SqliteDb& db);

}  // namespace cadrix
