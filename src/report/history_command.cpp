#include "report/history_command.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/utf8.h"
#include "export/json_writer.h"
#include "history/history.h"
#include "history/latest_pair.h"
#include "history/stored_choice.h"
#include "report/history_tables.h"

namespace cadrix {

namespace {

namespace fs = std::filesystem;

constexpr int kFailure = 2;

const char* const kUsage = "usage: cadrix-report history add [--db FILE] ARCHIVE|FOLDER...\n"
                           "       cadrix-report history list [--db FILE] [--format text|json]\n"
                           "       cadrix-report history remove [--db FILE] ID...\n"
                           "       cadrix-report history player [--db FILE] [--format text|json|csv] PLAYER_ID\n"
                           "       cadrix-report history club [--db FILE] [--format text|json] [CLUB]\n"
                           "       cadrix-report history improvers [--db FILE] [--club CLUB] [--from @ID] [--to @ID]\n"
                           "                                        [--format text|json|csv]\n"
                           "  improvers: the players present at both snapshots (default the club's oldest\n"
                           "             and newest) ranked by their real level's change per week\n"
                           "  FILE: the history database (default $XDG_DATA_HOME/cadrix/history.sqlite,\n"
                           "        else ~/.local/share/cadrix/history.sqlite)\n";

// Options of the comparison that take a value; the operand search skips them.
constexpr std::string_view kValueOptions[] = {"--db", "--format", "--work-dir", "--choose", "--club", "--from", "--to"};

struct HistoryOptions {
    bool help = false;
    std::optional<fs::path> db;
    std::optional<TableFormat> format;  // set when --format was given
    std::optional<std::string> club;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::string command;
    std::vector<std::string> operands;

    bool json() const { return format == TableFormat::Json; }
};

std::optional<TableFormat> FormatNamed(std::string_view name) {
    if (name == "text")
        return TableFormat::Text;
    if (name == "json")
        return TableFormat::Json;
    if (name == "csv")
        return TableFormat::Csv;
    return std::nullopt;
}

bool TakesValue(std::string_view option) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), option) != std::end(kValueOptions);
}

// Fills `o` from the command line; false on a misuse.
bool ParseHistoryArgs(int argc, char** argv, HistoryOptions& o) {
    std::vector<std::string> operands;
    bool onlyOperands = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (onlyOperands || a.empty() || a[0] != '-' || a == "-") {
            operands.push_back(a);
        } else if (a == "--") {
            onlyOperands = true;
        } else if (a == "-h" || a == "--help") {
            o.help = true;
        } else if (TakesValue(a) && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--db")
                o.db = v;
            else if (a == "--club")
                o.club = v;
            else if (a == "--from")
                o.from = v;
            else if (a == "--to")
                o.to = v;
            else if (a == "--format" && FormatNamed(v))
                o.format = FormatNamed(v);
            else
                return false;
        } else {
            return false;
        }
    }
    if (o.help)
        return true;
    if (operands.size() < 2 || operands[0] != "history")
        return false;
    o.command = operands[1];
    o.operands.assign(operands.begin() + 2, operands.end());
    return true;
}

std::optional<SnapshotId> ParseId(std::string_view text) {
    SnapshotId id = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (ec != std::errc() || end != text.data() + text.size() || id <= 0)
        return std::nullopt;
    return id;
}

std::string IsoTime(std::int64_t seconds) { return TimeText(seconds, Clock::Utc, "%Y-%m-%dT%H:%M:%SZ"); }

fs::path DatabaseFile(const HistoryOptions& o) { return o.db ? *o.db : DefaultHistoryFile(); }

void Field(JsonWriter& w, const char* key, std::string_view text) {
    w.Key(key);
    w.String(text);
}

void Field(JsonWriter& w, const char* key, long long number) {
    w.Key(key);
    w.Int(number);
}

// An array with an object per item, its members written by `members`.
template <typename Items, typename Members>
void ObjectArray(JsonWriter& w, const Items& items, Members members) {
    w.BeginArray();
    for (const auto& item : items) {
        w.BeginObject();
        members(item);
        w.EndObject();
    }
    w.EndArray();
}

void Fail(const std::string& text) { std::cerr << "cadrix-report: " << text << "\n"; }

// ---- history add ----

// The archives the operands name: an archive itself, or every "*.zip" directly
// in a folder, in name order. A missing operand is reported and counted.
std::vector<fs::path> ExpandArchives(const std::vector<std::string>& operands, bool& failed) {
    std::vector<fs::path> archives;
    for (const auto& operand : operands) {
        std::error_code ec;
        if (fs::is_directory(operand, ec)) {
            const auto found = ArchivesIn(operand);
            if (found.empty())
                std::cerr << "cadrix-report: " << operand << ": no archives (*.zip) in this folder\n";
            archives.insert(archives.end(), found.begin(), found.end());
        } else if (fs::exists(operand, ec)) {
            archives.emplace_back(operand);
        } else {
            Fail(operand + ": no such file or folder");
            failed = true;
        }
    }
    return archives;
}

// The database failed (in use by another program, damaged, full): the
// archive at `from` and those after it were not stored. Each transaction
// stores an archive whole or not at all, so trying them again is safe.
void ReportNotStored(const std::vector<fs::path>& archives, std::size_t from, const std::string& error) {
    std::cout.flush();
    Fail(error);
    for (std::size_t i = from; i < archives.size(); ++i)
        Fail(archives[i].string() + ": not stored");
    if (from < archives.size())
        Fail("nothing of these archives is stored; adding them again later is safe");
}

int Add(const HistoryOptions& o) {
    if (o.operands.empty() || o.format)
        return -1;
    bool failed = false;
    const auto archives = ExpandArchives(o.operands, failed);
    UnattendedQuestions questions;
    std::size_t next = 0;
    try {
        History history = History::Open(DatabaseFile(o));
        for (; next < archives.size(); ++next) {
            const fs::path& archive = archives[next];
            const AddOutcome outcome = history.Add(archive, questions);
            switch (outcome.status) {
            case AddStatus::Added:
                std::cout << "added " << outcome.snapshot.id << " " << outcome.snapshot.date << " "
                          << outcome.snapshot.club << "\n";
                break;
            case AddStatus::StoredAlready: std::cout << "stored already " << outcome.snapshot.id << "\n"; break;
            case AddStatus::Failed:
                std::cout.flush();
                Fail(archive.string() + ": " + outcome.error);
                failed = true;
                break;
            }
        }
    } catch (const HistoryError& e) {
        ReportNotStored(archives, next, e.what());
        return kFailure;
    }
    return failed ? kFailure : 0;
}

// ---- history list ----

int List(const std::optional<History>& history, const HistoryOptions& o) {
    if (!o.operands.empty())
        return -1;
    const auto snapshots = history ? history->Snapshots() : std::vector<StoredSnapshot>{};
    if (o.json()) {
        JsonWriter w;
        ObjectArray(w, snapshots, [&](const StoredSnapshot& s) {
            Field(w, "id", s.id);
            Field(w, "club", s.club);
            Field(w, "date", s.date);
            Field(w, "file", s.fileName);
            Field(w, "sha256", s.sha256);
            Field(w, "players", s.players);
            Field(w, "added", IsoTime(s.addedAt));
        });
        std::cout << w.Text() << "\n";
        return 0;
    }
    std::vector<std::vector<std::string>> rows = {{"id", "date", "club", "players", "file", "added"}};
    for (const auto& s : snapshots)
        rows.push_back(
            {std::to_string(s.id), s.date, s.club, std::to_string(s.players), s.fileName, IsoTime(s.addedAt)});
    PrintColumns(std::cout, rows);
    return 0;
}

// ---- history remove ----

int Remove(std::optional<History>& history, const HistoryOptions& o) {
    if (o.operands.empty() || o.format)
        return -1;
    int status = 0;
    for (const auto& operand : o.operands) {
        const auto id = ParseId(operand);
        if (!id) {
            Fail(operand + ": not a snapshot id");
            status = kFailure;
        } else if (!history || !history->Remove(*id)) {
            Fail(DatabaseFile(o).string() + ": no stored snapshot " + operand);
            status = kFailure;
        } else {
            std::cout << "removed " << *id << "\n";
        }
    }
    return status;
}

// ---- history player ----

int Player(const std::optional<History>& history, const HistoryOptions& o) {
    if (o.operands.size() != 1)
        return -1;
    const PlayerSeries series = history ? history->Player(o.operands[0]) : PlayerSeries{};
    if (series.points.empty()) {
        Fail(DatabaseFile(o).string() + ": no stored snapshot holds player " + o.operands[0]);
        return kFailure;
    }
    PrintPlayerTable(std::cout, BuildPlayerTable(series, history->Snapshots()), o.format.value_or(TableFormat::Text));
    return 0;
}

// ---- history improvers ----

// The snapshot "@ID" names; none with the reason reported.
std::optional<StoredSnapshot> Named(const History& history, const HistoryOptions& o, const std::string& ref) {
    const auto id = IsStoredSnapshotRef(ref) ? ParseId(std::string_view(ref).substr(1)) : std::nullopt;
    if (!id) {
        Fail(ref + ": not a stored snapshot (@ID)");
        return std::nullopt;
    }
    auto found = history.Find(*id);
    if (!found)
        Fail(DatabaseFile(o).string() + ": no stored snapshot " + ref.substr(1));
    return found;
}

// The club: the one asked for, else that of a snapshot named, else the newest
// snapshot's.
std::optional<std::string> ImproversClub(const History& history, const HistoryOptions& o) {
    if (o.club)
        return o.club;
    for (const auto* ref : {&o.from, &o.to}) {
        if (*ref) {
            const auto s = Named(history, o, **ref);
            return s ? std::optional<std::string>(s->club) : std::nullopt;
        }
    }
    const auto all = history.Snapshots();
    if (all.empty()) {
        Fail(DatabaseFile(o).string() + ": no snapshot is stored");
        return std::nullopt;
    }
    return all.back().club;
}

// The snapshot "@ID" names, which must be of the club; the default when none.
std::optional<StoredSnapshot> Endpoint(const History& history, const HistoryOptions& o,
                                       const std::optional<std::string>& ref, const StoredSnapshot& fallback) {
    if (!ref)
        return fallback;
    auto s = Named(history, o, *ref);
    if (s && s->club != fallback.club) {
        Fail(*ref + ": a snapshot of " + s->club + ", not of " + fallback.club);
        return std::nullopt;
    }
    return s;
}

int RankedImprovers(const std::optional<History>& history, const HistoryOptions& o) {
    if (!o.operands.empty())
        return -1;
    if (!history) {
        Fail(DatabaseFile(o).string() + ": no snapshot is stored");
        return kFailure;
    }
    const auto club = ImproversClub(*history, o);
    if (!club)
        return kFailure;
    const auto snapshots = history->Snapshots(*club);
    if (snapshots.empty()) {
        Fail(DatabaseFile(o).string() + ": no stored snapshot of the club " + *club);
        return kFailure;
    }
    const auto from = Endpoint(*history, o, o.from, snapshots.front());
    const auto to = Endpoint(*history, o, o.to, snapshots.back());
    if (!from || !to)
        return kFailure;
    PrintImprovers(std::cout, RankImprovers(*history, *from, *to), o.format.value_or(TableFormat::Text));
    return 0;
}

// ---- history club ----

int Club(const std::optional<History>& history, const HistoryOptions& o) {
    if (o.operands.size() > 1)
        return -1;
    std::string club;
    if (!o.operands.empty()) {
        club = o.operands[0];
    } else {
        const auto snapshots = history ? history->Snapshots() : std::vector<StoredSnapshot>{};
        if (snapshots.empty()) {
            Fail(DatabaseFile(o).string() + ": no snapshot is stored");
            return kFailure;
        }
        club = snapshots.back().club;
    }
    const ClubSeries series = history ? history->Club(club) : ClubSeries{};
    if (series.points.empty()) {
        Fail(DatabaseFile(o).string() + ": no stored snapshot of the club " + club);
        return kFailure;
    }
    if (o.json()) {
        JsonWriter w;
        w.BeginObject();
        Field(w, "club", series.club);
        w.Key("series");
        ObjectArray(w, series.points, [&](const ClubPoint& p) {
            Field(w, "snapshot", p.snapshot);
            Field(w, "date", p.date);
            w.Key("figures");
            w.BeginArray();
            for (const auto& f : p.figures) {
                w.BeginArray();
                w.String(f.caption);
                w.String(f.value);
                w.EndArray();
            }
            w.EndArray();
        });
        w.EndObject();
        std::cout << w.Text() << "\n";
        return 0;
    }
    std::cout << series.club << "\n";
    for (const auto& p : series.points) {
        std::cout << "\n== " << p.snapshot << " " << p.date << "\n";
        std::vector<std::vector<std::string>> rows;
        for (const auto& f : p.figures)
            rows.push_back({f.caption, f.value});
        PrintColumns(std::cout, rows);
    }
    return 0;
}

}  // namespace

bool IsHistoryCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (TakesValue(a)) {
            ++i;
            continue;
        }
        if (a.empty() || a[0] != '-' || a == "-")
            return a == "history";
    }
    return false;
}

int RunHistoryCommand(int argc, char** argv) {
    HistoryOptions o;
    if (!ParseHistoryArgs(argc, argv, o)) {
        std::cerr << kUsage;
        return kFailure;
    }
    if (o.help) {
        std::cout << kUsage;
        return 0;
    }
    const bool tables = o.command == "player" || o.command == "improvers";
    if ((o.format == TableFormat::Csv && !tables) || ((o.club || o.from || o.to) && o.command != "improvers")) {
        std::cerr << kUsage;
        return kFailure;
    }
    try {
        int status = -1;
        if (o.command == "add") {
            status = Add(o);
        } else {
            // Reading needs no database file: a history never written to is
            // empty. Only removal writes; the others read a file they cannot
            // write as well.
            std::optional<History> history = History::OpenExisting(
                DatabaseFile(o), o.command == "remove" ? HistoryAccess::Write : HistoryAccess::Read);
            if (o.command == "list")
                status = List(history, o);
            else if (o.command == "remove")
                status = Remove(history, o);
            else if (o.command == "player")
                status = Player(history, o);
            else if (o.command == "club")
                status = Club(history, o);
            else if (o.command == "improvers")
                status = RankedImprovers(history, o);
        }
        if (status < 0) {
            std::cerr << kUsage;
            return kFailure;
        }
        return status;
    } catch (const std::exception& e) {
        std::cout.flush();
        Fail(e.what());
        return kFailure;
    }
}

namespace {

// "@last" and "@prev": the newest snapshot of the newest snapshot's club and
// the one before it.
constexpr std::string_view kLastRef = "@last";
constexpr std::string_view kPreviousRef = "@prev";

SnapshotId RefId(const History& history, std::string_view ref) {
    if (ref != kLastRef && ref != kPreviousRef)
        return *ParseId(ref.substr(1));
    const auto pair = LatestPair(history);
    if (!pair)
        throw HistoryError(history.File().string() + ": fewer than two stored snapshots of one club for " +
                           std::string(ref));
    return ref == kLastRef ? pair->latest.id : pair->previous.id;
}

}  // namespace

bool IsStoredSnapshotRef(std::string_view arg) {
    return arg == kLastRef || arg == kPreviousRef ||
           (arg.size() > 1 && arg[0] == '@' && ParseId(arg.substr(1)).has_value());
}

StoredSnapshotChooser StoredSnapshotsOf(std::optional<fs::path> db) {
    auto history = std::make_shared<std::optional<History>>();
    return [db = std::move(db), history](SnapshotChoice& choice, std::string_view ref, const fs::path& base) {
        const fs::path file = db ? *db : DefaultHistoryFile();
        if (!*history) {
            *history = History::OpenExisting(file);
            if (!*history)
                throw HistoryError(file.string() + ": no such history database");
        }
        return ChooseStoredSnapshot(choice, **history, RefId(**history, ref), base);
    };
}

}  // namespace cadrix
