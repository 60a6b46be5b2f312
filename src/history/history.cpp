#include "history/history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <system_error>

#include "core/wildcard.h"
#include "history/history_schema.h"
#include "history/sha256.h"
#include "history/snapshot_capture.h"
#include "history/stored_rows.h"
#include "import/archive_choice.h"
#include "core/fd.h"
#include "import/working_folders.h"
#include "import/zip_file.h"

namespace cadrix {

namespace fs = std::filesystem;

namespace {

using Digest = std::array<std::uint8_t, 32>;

constexpr std::string_view kArchiveMask = "*.zip";
constexpr std::string_view kHistoryFileName = "history.sqlite";

constexpr std::string_view kListColumns =
    "SELECT id, club, export_date, export_day, file_name, archive_sha256, players, added_at FROM snapshot";
constexpr std::string_view kListOrder = " ORDER BY export_day, id";

// A folder of its own under the system's temporary folder, removed with
// everything in it when it goes.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "cadrix-history-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("Cannot create a temporary folder in " + fs::temp_directory_path().string() +
                                     ": " + std::strerror(errno));
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

AddOutcome Failure(const fs::path& archive, std::string error) {
    AddOutcome outcome;
    outcome.archive = archive;
    outcome.error = std::move(error);
    return outcome;
}

StoredSnapshot ReadListRow(const SqliteStatement& row) {
    StoredSnapshot s;
    s.id = row.Int(0);
    s.club = row.Text(1);
    s.date = row.Text(2);
    s.day = row.Text(3);
    s.fileName = row.Text(4);
    const auto digest = row.Blob(5);
    if (digest.size() == Digest{}.size()) {
        Digest d{};
        std::copy(digest.begin(), digest.end(), d.begin());
        s.sha256 = HexText(d);
    }
    s.players = static_cast<int>(row.Int(6));
    s.addedAt = row.Int(7);
    return s;
}

std::optional<SnapshotId> FindStored(const SqliteDb& db, const Digest& archive, const Digest* content) {
    SqliteStatement stmt = db.Prepare("SELECT id FROM snapshot WHERE archive_sha256 = ?1 OR content_sha256 = ?2");
    stmt.BindBlob(1, archive);
    if (content)
        stmt.BindBlob(2, *content);
    else
        stmt.BindNull(2);
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

// A stored name is written only as a plain name inside the folder: the
// database is a file like any other and may have been edited.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

void WriteStoredFile(const fs::path& file, std::string_view bytes, std::optional<std::time_t> modified) {
    Fd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    auto fail = [&] { throw std::runtime_error("Cannot create file " + file.string() + ": " + std::strerror(errno)); };
    if (!fd.IsOpen())
        fail();
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail();
        done += static_cast<std::size_t>(n);
    }
    if (modified) {
        const struct timespec times[2] = {{*modified, 0}, {*modified, 0}};
        if (::futimens(fd.Get(), times) != 0)
            fail();
    }
    if (::close(fd.Release()) != 0)
        fail();
}

}  // namespace

History History::Open(const fs::path& file) {
    std::error_code ec;
    if (file.has_parent_path())
        fs::create_directories(file.parent_path(), ec);  // when it fails, opening names the file and the reason
    SqliteDb db(file, SqliteDb::Mode::CreateIfMissing);
    {
        // One read transaction, so that the checks see one state of a file
        // that another program may be creating.
        const SqliteTransaction reading(db, SqliteTransaction::Kind::Read);
        CheckHistoryUsable(db);
    }
    // WAL lets a reader go on while another program writes; NORMAL syncs at
    // checkpoints only, which still keeps every transaction whole.
    db.ExecWaiting("PRAGMA journal_mode = WAL");
    db.Exec("PRAGMA synchronous = NORMAL");
    MigrateHistory(db);
    return History(std::move(db));
}

std::optional<History> History::OpenExisting(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec))
        return std::nullopt;
    return Open(file);
}

std::vector<StoredSnapshot> History::List(std::optional<std::string_view> club, std::optional<SnapshotId> id) const {
    std::string sql(kListColumns);
    if (club)
        sql += " WHERE club = ?1";
    else if (id)
        sql += " WHERE id = ?1";
    sql += kListOrder;
    SqliteStatement stmt = m_db.Prepare(sql);
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
    SqliteStatement stmt = m_db.Prepare("SELECT DISTINCT club FROM snapshot ORDER BY club");
    std::vector<std::string> clubs;
    while (stmt.Step())
        clubs.push_back(stmt.Text(0));
    return clubs;
}

AddOutcome History::Outcome(const fs::path& archive, AddStatus status, SnapshotId id) const {
    AddOutcome outcome;
    outcome.archive = archive;
    outcome.status = status;
    outcome.snapshot = *Find(id);
    return outcome;
}

AddOutcome History::Add(const fs::path& archive, ExtractQuestions& questions) {
    const FileDigest digest = Sha256OfFile(archive);
    if (!digest.digest)
        return Failure(archive, "cannot be read: " + digest.error);
    if (const auto id = FindStored(m_db, *digest.digest, nullptr))
        return Outcome(archive, AddStatus::StoredAlready, *id);
    const ScratchFolder scratch;
    try {
        ZipFile zip(questions);
        zip.SetBaseDir(scratch.Path());
        zip.SetFileName(archive);
        zip.OpenArchive();
        zip.ExtractFiles();
        zip.CloseArchive();
    } catch (const std::exception& e) {
        return Failure(archive, e.what());
    }
    return Store(archive, *digest.digest, scratch.Path());
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
    SqliteTransaction transaction(m_db);
    // Looked up again inside the transaction: another program may have
    // stored the same archive meanwhile.
    if (const auto id = FindStored(m_db, digest, &captured->contentDigest))
        return Outcome(archive, AddStatus::StoredAlready, *id);
    const SnapshotId id = InsertSnapshot(m_db, archive, digest, *captured);
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
    SqliteTransaction transaction(m_db);
    if (!Find(id))
        return false;
    DeleteSnapshotRows(m_db, id);
    SqliteStatement stmt = m_db.Prepare("DELETE FROM snapshot WHERE id = ?1");
    stmt.Bind(1, id);
    stmt.Run();
    transaction.Commit();
    return true;
}

StoredSnapshot History::Materialise(SnapshotId id, const fs::path& folder) const {
    const auto snapshot = Find(id);
    if (!snapshot)
        throw HistoryError(File().string() + ": no stored snapshot " + std::to_string(id));
    auto damaged = [&](const std::string& what) {
        return HistoryError(File().string() + ": the stored files of snapshot " + std::to_string(id) +
                            " are damaged (" + what + ")");
    };

    struct FileRow {
        std::string name, modified;
        std::size_t size;
    };
    std::vector<FileRow> rows;
    std::vector<std::size_t> sizes;
    SqliteStatement files =
        m_db.Prepare("SELECT name, modified, size FROM snapshot_file WHERE snapshot_id = ?1 ORDER BY role");
    files.Bind(1, id);
    while (files.Step()) {
        // No stored file is larger than an archive entry may be; a larger size
        // is damage, and trusting it would ask for any amount of memory.
        if (files.Int(2) < 0 || static_cast<std::uint64_t>(files.Int(2)) > ZipFile::kMaxEntrySize)
            throw damaged("a file size out of range");
        rows.push_back({files.Text(0), files.Text(1), static_cast<std::size_t>(files.Int(2))});
        if (!IsPlainFileName(rows.back().name))
            throw damaged("a file name that is not a plain name");
        sizes.push_back(rows.back().size);
    }
    SqliteStatement data = m_db.Prepare("SELECT packed FROM snapshot_data WHERE snapshot_id = ?1");
    data.Bind(1, id);
    if (!data.Step())
        throw damaged("no file data");
    const auto bytes = UnpackFiles(data.Blob(0), sizes);
    if (!bytes)
        throw damaged("the file data does not unpack to the stored sizes");

    std::error_code ec;
    fs::create_directories(folder, ec);
    for (std::size_t i = 0; i < rows.size(); ++i)
        WriteStoredFile(folder / rows[i].name, (*bytes)[i], WallTimeFromText(rows[i].modified));
    return *snapshot;
}

PlayerSeries History::Player(std::string_view playerId) const {
    SqliteStatement stmt = m_db.Prepare(
        "SELECT p.snapshot_id, s.export_date, n.text, p.position, p.talent, p.age, p.real_level, p.value, p.salary, "
        "p.skills FROM player_point p JOIN snapshot s ON s.id = p.snapshot_id JOIN shared_text n ON n.id = p.name_id "
        "WHERE p.player_id = ?1 ORDER BY s.export_day, s.id");
    BindCell(stmt, 1, playerId);
    PlayerSeries series;
    series.playerId = playerId;
    while (stmt.Step()) {
        PlayerPoint p;
        p.snapshot = stmt.Int(0);
        p.date = stmt.Text(1);
        p.name = stmt.Text(2);
        p.position = stmt.Text(3);
        p.talent = CellAt(stmt, 4);
        p.age = CellAt(stmt, 5);
        p.realLevel = stmt.Text(6);
        p.value = CellAt(stmt, 7);
        p.salary = CellAt(stmt, 8);
        p.skills = SkillsAt(stmt, 9);
        series.points.push_back(std::move(p));
    }
    if (!series.points.empty())
        series.name = series.points.back().name;
    return series;
}

ClubSeries History::Club(std::string_view club) const {
    SqliteStatement stmt =
        m_db.Prepare("SELECT s.id, s.export_date, f.row, c.text, f.value FROM snapshot s JOIN club_figure f ON "
                     "f.snapshot_id = s.id JOIN shared_text c ON c.id = f.caption_id WHERE s.club = ?1 "
                     "ORDER BY s.export_day, s.id, f.row");
    stmt.Bind(1, club);
    ClubSeries series;
    series.club = club;
    while (stmt.Step()) {
        const SnapshotId id = stmt.Int(0);
        if (series.points.empty() || series.points.back().snapshot != id) {
            series.points.emplace_back();
            series.points.back().snapshot = id;
            series.points.back().date = stmt.Text(1);
        }
        const std::int64_t row = stmt.Int(2);
        if (row >= 1 && row <= kClubFigureCount)
            series.points.back().figures[static_cast<std::size_t>(row - 1)] = {stmt.Text(3), CellAt(stmt, 4)};
    }
    return series;
}

std::vector<fs::path> ArchivesIn(const fs::path& folder) { return ListMatching(folder, kArchiveMask); }

fs::path DefaultHistoryFile() { return UserDataFolder() / kHistoryFileName; }

}  // namespace cadrix
