#include "history/history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <stdexcept>
#include <system_error>

#include "core/fd.h"
#include "core/file_io.h"
#include "core/wildcard.h"
#include "history/chart_series.h"
#include "history/history_schema.h"
#include "history/scratch_folder.h"
#include "history/sha256.h"
#include "history/snapshot_capture.h"
#include "history/stored_rows.h"
#include "import/archive_choice.h"
#include "import/archive_file.h"
#include "import/working_folders.h"
#include "import/zip_archive.h"
#include "import/zip_extract.h"

namespace cadrix {

namespace fs = std::filesystem;

namespace {

using Digest = std::array<std::uint8_t, 32>;

constexpr std::string_view kArchiveMask = "*.zip";
constexpr std::string_view kHistoryFileName = "history.sqlite";

constexpr std::string_view kListColumns =
    "SELECT id, club, export_date, export_day, file_name, archive_sha256, players, added_at FROM snapshot";
constexpr std::string_view kListOrder = " ORDER BY export_day, id";

AddOutcome Failure(const fs::path& archive, std::string error) {
    AddOutcome outcome;
    outcome.archive = archive;
    outcome.error = std::move(error);
    return outcome;
}

// A stored name is written only as a plain name inside the folder: the
// database is a file like any other and may have been edited.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// The date of a stored row: a date that does not exist is damage, never
// some other day.
std::string DateAt(const SqliteStatement& row, int column) {
    std::string date = row.Text(column);
    if (!DayOfDateText(date))
        row.Damaged("a stored date \"" + date + "\" that is no date");
    return date;
}

StoredSnapshot ReadListRow(const SqliteStatement& row) {
    StoredSnapshot s;
    s.id = row.Int(0);
    s.club = row.Text(1);
    s.date = DateAt(row, 2);
    s.day = row.Text(3);
    s.fileName = row.Text(4);
    if (s.day != s.date.substr(6, 4) + "-" + s.date.substr(3, 2) + "-" + s.date.substr(0, 2))
        row.Damaged("snapshot " + std::to_string(s.id) + " has two different dates");
    if (!IsPlainFileName(s.fileName))
        row.Damaged("snapshot " + std::to_string(s.id) + " has an archive name that is not a plain name");
    const auto digest = row.Blob(5);
    if (digest.size() != Digest{}.size())
        row.Damaged("snapshot " + std::to_string(s.id) + " has a digest of " + std::to_string(digest.size()) +
                    " bytes");
    Digest d{};
    std::copy(digest.begin(), digest.end(), d.begin());
    s.sha256 = HexText(d);
    if (row.Int(6) < 0 || row.Int(6) > std::numeric_limits<int>::max())
        row.Damaged("snapshot " + std::to_string(s.id) + " has a player count out of range");
    s.players = static_cast<int>(row.Int(6));
    s.addedAt = row.Int(7);
    return s;
}

std::optional<SnapshotId> FindStored(const SqliteDb& db, const Digest& archive, const Digest& content) {
    SqliteStatement stmt = db.Prepare("SELECT id FROM snapshot WHERE archive_sha256 = ?1 OR content_sha256 = ?2");
    stmt.BindBlob(1, archive).BindBlob(2, content);
    if (stmt.Step())
        return stmt.Int(0);
    return std::nullopt;
}

SnapshotId InsertSnapshot(SqliteDb& db, const fs::path& archive, const Digest& digest, const CapturedSnapshot& c) {
    SqliteStatement snapshot = db.Prepare(
        "INSERT INTO snapshot (file_name, archive_sha256, content_sha256, export_date, export_day, club, players, "
        "added_at) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    snapshot.Bind(1, archive.filename().string())
        .BindBlob(2, digest)
        .BindBlob(3, c.contentDigest)
        .Bind(4, c.date)
        .Bind(5, c.day)
        .Bind(6, c.club)
        .Bind(7, c.players)
        .Bind(8, static_cast<std::int64_t>(std::time(nullptr)));
    snapshot.Run();
    const SnapshotId id = db.LastInsertId();

    InsertSnapshotRows(db, id, c);
    return id;
}

void WriteStoredFile(const fs::path& file, std::string_view bytes, std::optional<std::time_t> modified) {
    Fd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    auto fail = [&](int error) {
        throw std::runtime_error("Cannot create file " + file.string() + ": " + std::strerror(error));
    };
    if (!fd.IsOpen())
        fail(errno);
    if (const int error = WriteAll(fd.Get(), bytes); error != 0)
        fail(error);
    if (modified) {
        const struct timespec times[2] = {{*modified, 0}, {*modified, 0}};
        if (::futimens(fd.Get(), times) != 0)
            fail(errno);
    }
    if (::close(fd.Release()) != 0)
        fail(errno);
}

}  // namespace

namespace {

// The checks of every opening, in one read transaction so that they see one
// state of a file that another program may be creating: the file must be a
// history this version reads, and its pages must hold together.
std::unique_ptr<SqliteDb> OpenChecked(const fs::path& file, SqliteDb::Mode mode) {
    auto db = std::make_unique<SqliteDb>(file, mode);
    // Per connection, and only outside a transaction.
    db->Exec("PRAGMA foreign_keys = ON");
    const SqliteTransaction reading(*db, SqliteTransaction::Kind::Read);
    CheckHistoryUsable(*db);
    CheckHistoryWhole(*db);
    return db;
}

}  // namespace

History History::Open(const fs::path& file) {
    if (file.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        if (ec)
            throw HistoryError(file.string() + ": cannot be written: the folder " + file.parent_path().string() +
                                   " cannot be made: " + ec.message(),
                               SQLITE_CANTOPEN);
    }
    auto db = OpenChecked(file, SqliteDb::Mode::CreateIfMissing);
    // WAL lets a reader go on while another program writes; NORMAL syncs at
    // checkpoints only, which still keeps every transaction whole.
    db->ExecWaiting("PRAGMA journal_mode = WAL");
    db->Exec("PRAGMA synchronous = NORMAL");
    MigrateHistory(*db);
    return History(std::move(db));
}

std::optional<History> History::OpenExisting(const fs::path& file, HistoryAccess access) {
    std::error_code ec;
    if (!fs::exists(file, ec))
        return std::nullopt;
    if (access == HistoryAccess::Write)
        return Open(file);
    auto db = OpenChecked(file, SqliteDb::Mode::ReadOnly);
    // A file made but never given its tables holds nothing yet.
    if (db->QueryInt("PRAGMA user_version") == 0)
        return std::nullopt;
    return History(std::move(db));
}

std::vector<StoredSnapshot> History::List(std::optional<std::string_view> club, std::optional<SnapshotId> id) const {
    std::string sql(kListColumns);
    if (club)
        sql += " WHERE club = ?1";
    else if (id)
        sql += " WHERE id = ?1";
    sql += kListOrder;
    SqliteStatement stmt = m_db->Prepare(sql);
    if (club)
        stmt.Bind(1, *club);
    else if (id)
        stmt.Bind(1, *id);
    std::vector<StoredSnapshot> list;
    while (stmt.Step())
        list.push_back(ReadListRow(stmt));
    return list;
}

std::vector<StoredSnapshot> History::Snapshots() const { return List(std::nullopt, std::nullopt); }

std::vector<StoredSnapshot> History::Snapshots(std::string_view club) const { return List(club, std::nullopt); }

std::optional<StoredSnapshot> History::Find(SnapshotId id) const {
    auto list = List(std::nullopt, id);
    if (list.empty())
        return std::nullopt;
    return list.front();
}

std::vector<std::string> History::Clubs() const {
    SqliteStatement stmt = m_db->Prepare("SELECT DISTINCT club FROM snapshot ORDER BY club");
    std::vector<std::string> clubs;
    while (stmt.Step())
        clubs.push_back(stmt.Text(0));
    return clubs;
}

AddOutcome History::Outcome(const fs::path& archive, AddStatus status, SnapshotId id) const {
    AddOutcome outcome;
    outcome.archive = archive;
    outcome.status = status;
    const auto snapshot = Find(id);
    if (!snapshot)
        m_db->Damaged("snapshot " + std::to_string(id) + " is not listed");
    outcome.snapshot = *snapshot;
    return outcome;
}

namespace {

// An unattended store: the first entry that cannot be extracted whole ends
// the extraction, and is remembered; a snapshot is kept whole or not at all.
class WholeEntriesOnly : public ExtractQuestions {
public:
    explicit WholeEntriesOnly(ExtractQuestions& passwords) : m_passwords(passwords) {}

    EntryFailureAnswer AskEntryFailure(const EntryFailure& failure) override {
        std::string reason = failure.errorText;
        if (!failure.systemReason.empty() && reason.find(failure.systemReason) == std::string::npos)
            reason += ": " + failure.systemReason;
        Remember(failure.entryName, reason);
        return EntryFailureAnswer::Abort;
    }
    std::optional<std::string> AskPassword(const std::string& entryName) override {
        auto password = m_passwords.AskPassword(entryName);
        if (!password)
            Remember(entryName, "it is encrypted and no password was given");
        return password;
    }
    // "the entry NAME cannot be extracted whole (REASON)", or none.
    const std::optional<std::string>& Failure() const { return m_failure; }

private:
    void Remember(const std::string& entry, const std::string& reason) {
        if (!m_failure)
            m_failure = "the entry " + entry + " cannot be extracted whole (" + reason + "); nothing of it is stored";
    }

    ExtractQuestions& m_passwords;
    std::optional<std::string> m_failure;
};

}  // namespace

AddOutcome History::Add(const fs::path& archive, ExtractQuestions& questions) {
    const FileDigest digest = Sha256OfFile(archive);
    if (!digest.digest)
        return Failure(archive, "cannot be read: " + digest.error);
    std::optional<ScratchFolder> scratch;
    WholeEntriesOnly whole(questions);
    try {
        scratch.emplace();
        const ArchiveFile zip = ArchiveFile::Open(archive);
        ExtractCsvEntries(zip.Archive(), scratch->Path(), whole);
    } catch (const std::exception& e) {
        return Failure(archive, e.what());
    }
    if (whole.Failure())
        return Failure(archive, *whole.Failure());
    return Store(archive, *digest.digest, scratch->Path());
}

AddOutcome History::AddExtracted(const fs::path& archive, const fs::path& folder) {
    const FileDigest digest = Sha256OfFile(archive);
    if (!digest.digest)
        return Failure(archive, "cannot be read: " + digest.error);
    return Store(archive, *digest.digest, folder);
}

AddOutcome History::Store(const fs::path& archive, const Digest& digest, const fs::path& folder) {
    std::optional<CapturedSnapshot> captured;
    try {
        captured = CaptureFolder(folder);
    } catch (const std::exception& e) {
        return Failure(archive, e.what());
    }
    if (!captured)
        return Failure(archive, std::string(kInvalidStatisticsText));
    if (!DayOfDateText(captured->date))
        return Failure(archive, "the players file's time gives no date");
    // Looked up in the transaction that stores it: another program may have
    // stored the same archive meanwhile.
    SqliteTransaction transaction(*m_db);
    if (const auto id = FindStored(*m_db, digest, captured->contentDigest))
        return Outcome(archive, AddStatus::StoredAlready, *id);
    const SnapshotId id = InsertSnapshot(*m_db, archive, digest, *captured);
    transaction.Commit();
    return Outcome(archive, AddStatus::Added, id);
}

std::vector<AddOutcome> History::Add(const std::vector<fs::path>& archives, ExtractQuestions& questions,
                                     const AddProgress& progress) {
    std::vector<AddOutcome> outcomes;
    for (std::size_t i = 0; i < archives.size(); ++i) {
        if (progress && !progress(i, archives.size()))
            return outcomes;
        outcomes.push_back(Add(archives[i], questions));
    }
    if (progress)
        progress(archives.size(), archives.size());
    return outcomes;
}

bool History::Remove(SnapshotId id) {
    SqliteTransaction transaction(*m_db);
    if (!Find(id))
        return false;
    DeleteSnapshotRows(*m_db, id);
    transaction.Commit();
    return true;
}

namespace {

// One stored file's row, each value checked: the database is a file like any
// other and may have been damaged or edited.
CapturedFile FileAt(const SqliteStatement& row) {
    CapturedFile f;
    const std::int64_t role = row.Int(0);
    if (role < static_cast<int>(StoredFileRole::Players) || role > static_cast<int>(StoredFileRole::Structure))
        row.Damaged("a stored file of an unknown kind");
    f.role = static_cast<StoredFileRole>(role);
    f.name = row.Text(1);
    if (!IsPlainFileName(f.name))
        row.Damaged("a stored file name \"" + f.name + "\" that is not a plain name");
    f.modified = row.Text(2);
    if (!WallTimeFromText(f.modified))
        row.Damaged("a stored file time \"" + f.modified + "\" that is no time");
    // No stored file is larger than an archive entry may be; a larger size
    // is damage, and trusting it would ask for any amount of memory.
    if (row.Int(3) < 0 || static_cast<std::uint64_t>(row.Int(3)) > kMaxEntrySize)
        row.Damaged("a stored file size of " + std::to_string(row.Int(3)) + " bytes");
    f.bytes.resize(static_cast<std::size_t>(row.Int(3)));  // the size, until the bytes are unpacked
    return f;
}

// The stored files of snapshot `id`, whole: they unpack to their sizes and
// give the digest stored with them.
std::vector<CapturedFile> StoredFiles(const SqliteDb& db, SnapshotId id) {
    SqliteStatement files =
        db.Prepare("SELECT role, name, modified, size FROM snapshot_file WHERE snapshot_id = ?1 ORDER BY role");
    files.Bind(1, id);
    std::vector<CapturedFile> stored;
    std::vector<std::size_t> sizes;
    while (files.Step()) {
        stored.push_back(FileAt(files));
        sizes.push_back(stored.back().bytes.size());
    }
    const std::string snapshot = "snapshot " + std::to_string(id);
    if (stored.empty() || stored.front().role != StoredFileRole::Players)
        db.Damaged(snapshot + " has no stored players file");
    SqliteStatement data =
        db.Prepare("SELECT d.packed, s.content_sha256 FROM snapshot_data d JOIN snapshot s ON s.id = d.snapshot_id "
                   "WHERE d.snapshot_id = ?1");
    data.Bind(1, id);
    if (!data.Step())
        db.Damaged(snapshot + " has no stored file data");
    auto bytes = UnpackFiles(data.Blob(0), sizes);
    if (!bytes)
        db.Damaged("the file data of " + snapshot + " does not unpack to the stored sizes");
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i].bytes = std::move((*bytes)[i]);
    const Digest digest = ContentDigest(stored);
    const auto kept = data.Blob(1);
    if (!std::equal(digest.begin(), digest.end(), kept.begin(), kept.end()))
        db.Damaged("the files of " + snapshot + " are not those that were stored");
    return stored;
}

}  // namespace

StoredSnapshot History::Materialise(SnapshotId id, const fs::path& folder) const {
    const auto snapshot = Find(id);
    if (!snapshot)
        throw HistoryError(File().string() + ": no stored snapshot " + std::to_string(id));
    const std::vector<CapturedFile> files = StoredFiles(*m_db, id);
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const CapturedFile& f : files)
        WriteStoredFile(folder / f.name, f.bytes, WallTimeFromText(f.modified));
    return *snapshot;
}

PlayerSeries History::Player(std::string_view playerId) const {
    SqliteStatement stmt = m_db->Prepare(
        "SELECT p.snapshot_id, s.export_date, n.text, p.position, p.talent, p.age, p.real_level, p.value, p.salary, "
        "p.skills FROM player_point p LEFT JOIN snapshot s ON s.id = p.snapshot_id LEFT JOIN shared_text n ON "
        "n.id = p.name_id WHERE p.player_id = ?1 ORDER BY s.export_day, s.id");
    BindCell(stmt, 1, playerId);
    PlayerSeries series;
    series.playerId = playerId;
    while (stmt.Step()) {
        // A row whose snapshot or name is gone would leave a gap nobody sees.
        if (stmt.IsNull(1) || stmt.IsNull(2))
            stmt.Damaged("a row of player " + std::string(playerId) + " without its snapshot or name");
        PlayerPoint p;
        p.snapshot = stmt.Int(0);
        p.date = DateAt(stmt, 1);
        ReadPlayerFigures(stmt, 2, p);
        series.points.push_back(std::move(p));
    }
    if (!series.points.empty())
        series.name = series.points.back().name;
    return series;
}

ClubSeries History::Club(std::string_view club) const {
    SqliteStatement stmt =
        m_db->Prepare("SELECT s.id, s.export_date, f.row, c.text, f.value FROM snapshot s LEFT JOIN club_figure f "
                      "ON f.snapshot_id = s.id LEFT JOIN shared_text c ON c.id = f.caption_id WHERE s.club = ?1 "
                      "ORDER BY s.export_day, s.id, f.row");
    stmt.Bind(1, club);
    ClubSeries series;
    series.club = club;
    // Every snapshot stores its figures in rows 1 to 16, none left out.
    std::int64_t expected = kClubFigureCount + 1;
    auto damaged = [&] {
        stmt.Damaged("the club figures of snapshot " + std::to_string(series.points.back().snapshot));
    };
    while (stmt.Step()) {
        const SnapshotId id = stmt.Int(0);
        if (series.points.empty() || series.points.back().snapshot != id) {
            if (expected != kClubFigureCount + 1)
                damaged();
            series.points.emplace_back();
            series.points.back().snapshot = id;
            series.points.back().date = DateAt(stmt, 1);
            expected = 1;
        }
        if (stmt.Int(2) != expected || stmt.IsNull(3))
            damaged();
        series.points.back().figures[static_cast<std::size_t>(expected - 1)] = {stmt.Text(3), CellAt(stmt, 4)};
        ++expected;
    }
    if (!series.points.empty() && expected != kClubFigureCount + 1)
        damaged();
    return series;
}

std::vector<fs::path> ArchivesIn(const fs::path& folder) { return ListMatching(folder, kArchiveMask); }

fs::path DefaultHistoryFile() { return UserDataFolder() / kHistoryFileName; }

}  // namespace cadrix
