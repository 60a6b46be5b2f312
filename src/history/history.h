#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_error.h"
#include "history/sqlite_db.h"
#include "import/extract_questions.h"
#include "snapshot/skills.h"

namespace cadrix {

using SnapshotId = std::int64_t;

// The club page's sixteen figures: rows 1 to 16 of the team table.
inline constexpr int kClubFigureCount = 16;

// One stored export, as the list of the history shows it.
struct StoredSnapshot {
    SnapshotId id = 0;
    std::string club;          // row 1, column 1 of the team table
    std::string date;          // dd.MM.yyyy: the players file's date, as the date label shows it
    std::string day;           // yyyy-MM-dd: the same date, sortable
    std::string fileName;      // the archive's base name
    std::string sha256;        // hex digest of the archive file
    int players = 0;           // lines of the players file after its header
    std::int64_t addedAt = 0;  // when it was stored, seconds since the epoch
};

// One player at one stored date; every value the text of its table cell.
struct PlayerPoint {
    SnapshotId snapshot = 0;
    std::string date;
    std::string name;
    std::string position;
    std::string talent;
    std::string age;
    std::string realLevel;
    std::string value;
    std::string salary;
    std::array<std::string, kSkillCount> skills;  // all empty without a skills row
};

// A player of one stored snapshot.
struct SnapshotPlayer {
    std::string playerId;
    PlayerPoint point;
};

struct PlayerSeries {
    std::string playerId;
    std::string name;                 // in the newest snapshot that holds him
    std::vector<PlayerPoint> points;  // in list order
};

struct ClubFigure {
    std::string caption;
    std::string value;
};

struct ClubPoint {
    SnapshotId snapshot = 0;
    std::string date;
    std::array<ClubFigure, kClubFigureCount> figures;
};

struct ClubSeries {
    std::string club;
    std::vector<ClubPoint> points;  // in list order
};

enum class AddStatus { Added, StoredAlready, Failed };

struct AddOutcome {
    std::filesystem::path archive;
    AddStatus status = AddStatus::Failed;
    StoredSnapshot snapshot;  // the new or the earlier snapshot; empty on failure
    std::string error;        // on failure: the reason, without the archive's name
};

// Called before each archive of a batch with the number done so far and the
// total, and once more at the end; returning false stops the batch there.
using AddProgress = std::function<bool(std::size_t done, std::size_t total)>;

// How a history is opened: reading never writes the file, so that it works
// where the file cannot be written (a read-only folder or mount).
enum class HistoryAccess { Read, Write };

// The stored snapshots of one user: a SQLite database holding every export's
// four CSV files byte for byte, and rows derived from them for the charts.
// Every method throws HistoryError (naming the database file) when the
// database fails; a write that fails leaves the database as it was. A
// database found damaged, when opened (its pages are checked) or by any read
// (a value no write stores), is named with what was found and how to
// recover, and is never written again.
class History {
public:
    // Opens the database for writing, creating it and its folder when
    // missing, and brings an older schema up to date. A database of a newer
    // schema is refused.
    static History Open(const std::filesystem::path& file);
    // None when the file does not exist; nothing is created. Read access
    // leaves an older schema as it is (every schema so far reads alike).
    static std::optional<History> OpenExisting(const std::filesystem::path& file,
                                               HistoryAccess access = HistoryAccess::Read);

    const std::filesystem::path& File() const { return m_db->File(); }
    // A number that changes whenever another connection, of this program or
    // another, has committed a change to the database since the last call.
    std::int64_t ChangeCount() const { return m_db->QueryInt("PRAGMA data_version"); }

    // Ordered by export date, then id (the order of every list and series).
    std::vector<StoredSnapshot> Snapshots() const;
    std::vector<StoredSnapshot> Snapshots(std::string_view club) const;
    std::optional<StoredSnapshot> Find(SnapshotId id) const;
    // The clubs that have stored snapshots, in name order.
    std::vector<std::string> Clubs() const;

    // Stores an archive: extracts its CSV files into a temporary folder and
    // reads them as a load would. An archive stored already (the same bytes,
    // or the same files with the same names and times) is not stored again.
    // An archive that cannot be read, holds no players file or has an entry
    // that cannot be extracted whole fails, and nothing of it is stored; the
    // questions are asked for passwords only.
    AddOutcome Add(const std::filesystem::path& archive, ExtractQuestions& questions);
    // The same for an archive whose CSV files were extracted into `folder`
    // already (the working folder after a choice).
    AddOutcome AddExtracted(const std::filesystem::path& archive, const std::filesystem::path& folder);
    // Each archive in order, one transaction each.
    std::vector<AddOutcome> Add(const std::vector<std::filesystem::path>& archives, ExtractQuestions& questions,
                                const AddProgress& progress = {});

    // False when there is no such snapshot.
    bool Remove(SnapshotId id);

    // Writes the stored files of snapshot `id` into `folder` under their own
    // names and times, as extracting the archive would. Throws HistoryError
    // when there is no such snapshot, std::runtime_error naming the file when
    // a file cannot be written.
    StoredSnapshot Materialise(SnapshotId id, const std::filesystem::path& folder) const;

    // Every stored snapshot that holds the player (whatever its club); the
    // id is compared with the players table's cell exactly.
    PlayerSeries Player(std::string_view playerId) const;
    ClubSeries Club(std::string_view club) const;
    // The players of snapshot `id`, in name order, then id; none when there is
    // no such snapshot.
    std::vector<SnapshotPlayer> Players(SnapshotId id) const;

private:
    explicit History(std::unique_ptr<SqliteDb> db) : m_db(std::move(db)) {}

    AddOutcome Outcome(const std::filesystem::path& archive, AddStatus status, SnapshotId id) const;
    AddOutcome Store(const std::filesystem::path& archive, const std::array<std::uint8_t, 32>& digest,
                     const std::filesystem::path& folder);
    std::vector<StoredSnapshot> List(std::optional<std::string_view> club, std::optional<SnapshotId> id) const;

    std::unique_ptr<SqliteDb> m_db;  // statements point at it, so it stays where it is
};

// The archives of a folder: every "*.zip" directly in it, in name order.
std::vector<std::filesystem::path> ArchivesIn(const std::filesystem::path& folder);

// $XDG_DATA_HOME/cadrix/history.sqlite, else ~/.local/share/cadrix/history.sqlite.
std::filesystem::path DefaultHistoryFile();

}  // namespace cadrix
