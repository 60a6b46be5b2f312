#pragma once

#include "history/sqlite_db.h"

namespace cadrix {

// The schema version this program writes; PRAGMA user_version carries it.
inline constexpr int kHistorySchemaVersion = 2;

// Refuses, with HistoryError, a file that is not a SQLite database, a history
// of a newer schema and a database of another program. Writes nothing.
void CheckHistoryUsable(const SqliteDb& db);

// Creates the schema in a new database and brings an older one up to the
// current version in one transaction: the one place that knows the schema's
// past. The connection must have foreign keys on.
void MigrateHistory(SqliteDb& db);

// PRAGMA quick_check over the whole file: the damage error (naming the file,
// what was found and how to recover) when its pages do not hold together.
void CheckHistoryWhole(const SqliteDb& db);

}  // namespace cadrix
