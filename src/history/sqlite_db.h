#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "history/history_error.h"

namespace cadrix {

class SqliteStatement;

// One SQLite connection. Every failure throws HistoryError naming the file.
// Statements keep a pointer to their connection, so it never moves.
class SqliteDb {
public:
    // ReadOnly never writes the file nor creates one; on a read-only file
    // system the file is read as it lies, without the WAL's shared memory.
    enum class Mode { CreateIfMissing, ExistingOnly, ReadOnly };

    SqliteDb(const std::filesystem::path& file, Mode mode);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    const std::filesystem::path& File() const { return m_file; }
    bool IsReadOnly() const { return m_readOnly; }

    // Marks the database damaged and throws the damage error: `reason` says
    // what was found. Once damaged, no write transaction starts on it.
    [[noreturn]] void Damaged(const std::string& reason) const;
    // The damage found so far, as Damaged() reported it; empty while none.
    const std::string& Damage() const { return m_damage; }

    // Runs statements that return no rows.
    void Exec(const char* sql);
    // The same, but a statement refused as busy is tried again until the busy
    // timeout: SQLite refuses at once, without waiting, where two connections
    // could wait for each other, as when both switch a new file to WAL.
    void ExecWaiting(const char* sql);
    // Ends an open transaction without keeping its changes; never throws.
    void RollBack() noexcept;
    SqliteStatement Prepare(std::string_view sql) const;
    std::int64_t LastInsertId() const { return sqlite3_last_insert_rowid(m_db); }
    // The first column of the first row of a one-value query.
    std::int64_t QueryInt(std::string_view sql) const;

    // The error text for SQLite's result `code`: the file, a plain reason and
    // SQLite's own message.
    [[noreturn]] void Fail(int code) const;

private:
    sqlite3* m_db = nullptr;
    std::filesystem::path m_file;
    bool m_readOnly = false;
    mutable std::string m_damage;
};

// One prepared statement; parameters are numbered from 1, columns from 0.
class SqliteStatement {
public:
    SqliteStatement(const SqliteDb& db, sqlite3_stmt* stmt) : m_db(&db), m_stmt(stmt) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    SqliteStatement& operator=(SqliteStatement&&) = delete;

    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& BindBlob(int index, std::span<const std::uint8_t> bytes);
    SqliteStatement& BindNull(int index);

    // Steps once: true when a row is ready, false when the statement is done.
    bool Step();
    // Steps to the end of a statement that returns no rows.
    void Run();
    // Makes the statement ready to run again with new parameters.
    void Reset();

    std::int64_t Int(int column) const { return sqlite3_column_int64(m_stmt, column); }
    int Type(int column) const { return sqlite3_column_type(m_stmt, column); }
    bool IsNull(int column) const { return Type(column) == SQLITE_NULL; }
    std::string Text(int column) const;
    std::span<const std::uint8_t> Blob(int column) const;

    // What a read found that no write of this program stores: the damage
    // error of the statement's database.
    [[noreturn]] void Damaged(const std::string& reason) const { m_db->Damaged(reason); }

private:
    void Check(int code);

    const SqliteDb* m_db;
    sqlite3_stmt* m_stmt;
};

// BEGIN on construction, ROLLBACK on destruction unless committed: a write
// that fails half-way leaves the database as it was, and the reads of one
// transaction see one state of the file.
class SqliteTransaction {
public:
    // A write takes the write lock at once (BEGIN IMMEDIATE), so that it never
    // has to upgrade a read lock, which another writer could refuse. A write
    // on a database found damaged is refused with the damage error.
    enum class Kind { Read, Write };
    explicit SqliteTransaction(SqliteDb& db, Kind kind = Kind::Write);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void Commit();

private:
    SqliteDb& m_db;
    bool m_done = false;
};

}  // namespace cadrix
