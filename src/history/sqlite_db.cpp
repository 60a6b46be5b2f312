#include "history/sqlite_db.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

namespace cadrix {

namespace {

// How long a statement waits for another program's write to finish before it
// gives up: long enough for an import of a few hundred archives' single steps.
constexpr int kBusyTimeoutMs = 10000;
constexpr auto kBusyRetryPause = std::chrono::milliseconds(5);

const char* PlainReason(int code) {
    switch (code & 0xff) {
    case SQLITE_NOTADB: return "is not a history database";
    case SQLITE_CORRUPT: return "the database is damaged";
    case SQLITE_FULL: return "the disk is full";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "the database is in use by another program";
    case SQLITE_CANTOPEN: return "cannot be opened";
    case SQLITE_READONLY: return "cannot be written";
    case SQLITE_PERM: return "permission denied";
    case SQLITE_IOERR: return "a read or write failed";
    case SQLITE_NOMEM: return "out of memory";
    default: return nullptr;
    }
}

bool IsDamage(int code) { return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB; }

// What a user can do about a damaged file: it is never repaired in place.
std::string WithRecovery(const std::filesystem::path& file, std::string text) {
    return text + ". Nothing more is written to it. To start a new history, move " + file.string() +
           " aside; archives can still be compared without it";
}

std::string ErrorText(const std::filesystem::path& file, int code, sqlite3* db) {
    std::string text = file.string() + ": ";
    const char* reason = PlainReason(code);
    const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    text += reason ? reason : detail.c_str();
    if (reason && detail != reason)
        text += " (" + detail + ")";
    if ((code & 0xff) == SQLITE_CANTOPEN && db && sqlite3_system_errno(db) != 0)
        text += ": " + std::string(std::strerror(sqlite3_system_errno(db)));
    return IsDamage(code) ? WithRecovery(file, text) : text;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// A database is written through the file and the journal beside it, so both
// the file and its folder must take writes. Checked before SQLite tries, as
// SQLite falls back to other opens whose reason hides the system's own.
void CheckWritable(const std::filesystem::path& file) {
    auto refuse = [&](const std::string& what) {
        throw HistoryError(file.string() + ": cannot be written: " + what + std::strerror(errno), SQLITE_READONLY);
    };
    if (::access(file.c_str(), W_OK) != 0 && errno != ENOENT)
        refuse("");
    const std::filesystem::path folder = FolderOf(file);
    if (::access(folder.c_str(), W_OK | X_OK) != 0 && errno != ENOENT)
        refuse("the folder " + folder.string() + ": ");
}

// The file as a URI that SQLite reads as it lies: nothing can change it, so
// no shared memory and no locks are needed.
std::string ImmutableUri(const std::filesystem::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const unsigned char c : std::filesystem::absolute(file).string()) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '_' || c == '-' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0xf];
        }
    }
    return uri + "?immutable=1";
}

// A reader in a folder it cannot write (a read-only mount, another user's
// folder) cannot make the WAL's shared memory; with no WAL left beside the
// file, nobody writes it, and it is read as it lies.
bool ReadAsItLies(const std::filesystem::path& file) {
    std::error_code ec;
    return ::access(FolderOf(file).c_str(), W_OK) != 0 && !std::filesystem::exists(file.string() + "-wal", ec);
}

}  // namespace

SqliteDb::SqliteDb(const std::filesystem::path& file, Mode mode) : m_file(file), m_readOnly(mode == Mode::ReadOnly) {
    std::string name = file.string();
    int flags = SQLITE_OPEN_READWRITE | (mode == Mode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    if (m_readOnly) {
        flags = SQLITE_OPEN_READONLY;
        if (ReadAsItLies(file)) {
            name = ImmutableUri(file);
            flags |= SQLITE_OPEN_URI;
        }
    } else {
        CheckWritable(file);
    }
    const int code = sqlite3_open_v2(name.c_str(), &m_db, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string text = ErrorText(file, code, m_db);
        sqlite3_close_v2(m_db);  // the handle exists even when opening failed
        m_db = nullptr;
        throw HistoryError(text, code & 0xff);
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
}

SqliteDb::~SqliteDb() {
    if (m_db)
        sqlite3_close_v2(m_db);
}

void SqliteDb::Fail(int code) const {
    std::string text = ErrorText(m_file, code, m_db);
    if (IsDamage(code))
        m_damage = text;
    throw HistoryError(text, code & 0xff);
}

void SqliteDb::Damaged(const std::string& reason) const {
    m_damage = WithRecovery(m_file, m_file.string() + ": the database is damaged (" + reason + ")");
    throw HistoryError(m_damage, SQLITE_CORRUPT);
}

void SqliteDb::Exec(const char* sql) {
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        Fail(code);
}

void SqliteDb::ExecWaiting(const char* sql) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    while (true) {
        const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
        if (code == SQLITE_OK)
            return;
        if ((code & 0xff) != SQLITE_BUSY || std::chrono::steady_clock::now() > deadline)
            Fail(code);
        std::this_thread::sleep_for(kBusyRetryPause);
    }
}

void SqliteDb::RollBack() noexcept {
    // A failed write or COMMIT may have ended the transaction already.
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

SqliteStatement SqliteDb::Prepare(std::string_view sql) const {
    sqlite3_stmt* stmt = nullptr;
    const int code = sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(stmt);
        Fail(code);
    }
    return SqliteStatement(*this, stmt);
}

std::int64_t SqliteDb::QueryInt(std::string_view sql) const {
    SqliteStatement stmt = Prepare(sql);
    return stmt.Step() ? stmt.Int(0) : 0;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_stmt); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db),
      m_stmt(std::exchange(other.m_stmt, nullptr)) {}

void SqliteStatement::Check(int code) {
    if (code != SQLITE_OK)
        m_db->Fail(code);
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
    Check(sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, std::span<const std::uint8_t> bytes) {
    Check(sqlite3_bind_blob64(m_stmt, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(m_stmt, index));
    return *this;
}

bool SqliteStatement::Step() {
    const int code = sqlite3_step(m_stmt);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    m_db->Fail(code);
}

void SqliteStatement::Run() {
    while (Step()) {
    }
}

void SqliteStatement::Reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size)) : std::string();
}

std::span<const std::uint8_t> SqliteStatement::Blob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::span<const std::uint8_t>(data, static_cast<std::size_t>(size)) : std::span<const std::uint8_t>();
}

SqliteTransaction::SqliteTransaction(SqliteDb& db, Kind kind) : m_db(db) {
    if (kind == Kind::Write && !m_db.Damage().empty())
        throw HistoryError(m_db.Damage(), SQLITE_CORRUPT);
    m_db.Exec(kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
}

SqliteTransaction::~SqliteTransaction() {
    if (!m_done)
        m_db.RollBack();
}

void SqliteTransaction::Commit() {
    m_db.Exec("COMMIT");
    m_done = true;
}

}  // namespace cadrix
