#include "snapshot/period_table.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/numbers.h"
#include "snapshot/snapshot.h"

namespace cadrix {

namespace {

// A value the player has at both dates: one column of the players table,
// written to one column of the period table per date.
struct ColumnPair {
    int players;
    int start;
    int end;
};

constexpr ColumnPair kColumnPairs[] = {
    {players::kRealLevel, period::kRealLevelStart, period::kRealLevelEnd},
    {players::kSalary, period::kSalaryStart, period::kSalaryEnd},
    {players::kValue, period::kValueStart, period::kValueEnd},
    {players::kAge, period::kAgeStart, period::kAgeEnd},
    {players::kCitizenship, period::kCitizenshipStart, period::kCitizenshipEnd},
    {players::kNationalStatus, period::kNationalStatusStart, period::kNationalStatusEnd},
    {players::kContract, period::kContractStart, period::kContractEnd},
};

// One player's rows in the two players tables; 0 where he has none.
struct PlayerRows {
    int start = 0;
    int end = 0;
};

// Writes one row of the period table, column after column. The id is the
// one of the player's earliest row; name, position and talent are the ones
// of his latest row; a value missing at one date reads "n/a".
void WritePlayer(const TextTable& start, const TextTable& end, PlayerRows rows, TextTable& total, int row) {
    using namespace period;
    const TextTable& earliest = rows.start ? start : end;
    const TextTable& latest = rows.end ? end : start;
    const int earliestRow = rows.start ? rows.start : rows.end;
    const int latestRow = rows.end ? rows.end : rows.start;

    total.SetCell(kPlayerId, row, earliest.Cell(players::kPlayerId, earliestRow));
    total.SetCell(kName, row, latest.Cell(players::kName, latestRow));
    total.SetCell(kPosition, row, latest.Cell(players::kPosition, latestRow));
    for (const auto& pair : kColumnPairs) {
        total.SetCell(pair.start, row, rows.start ? start.Cell(pair.players, rows.start) : kNotAvailable);
        total.SetCell(pair.end, row, rows.end ? end.Cell(pair.players, rows.end) : kNotAvailable);
    }
    total.SetCell(kPresence, row, !rows.end ? kLeft : !rows.start ? kNewcomer : kInBoth);
    total.SetCell(kTalent, row, latest.Cell(players::kTalent, latestRow));
}

// The number a player is matched by: his `player_id` cell read as an
// integer, -1 when it holds none. His id text is this number written plainly.
std::int32_t IdOf(std::string_view cell) {
    const auto id = ParseWhole(cell);
    return id ? *id : -1;
}

// A player's id text is compared with the other table's `player_id` cells as
// text. Only a cell that is itself a number written plainly (no sign but a
// minus, no leading zero, no blank) can equal it; such a cell is indexed by
// that number, any other can match nobody.
std::optional<std::int32_t> PlainId(std::string_view cell) {
    const auto id = ParseWhole(cell);
    if (!id || WholeText(*id) != cell)
        return std::nullopt;
    return id;
}

// First data row of a players table for each plain id, and how many rows
// hold it, built once so that matching stays linear in the number of players.
class IdIndex {
public:
    explicit IdIndex(const TextTable& table) {
        m_rows.reserve(static_cast<std::size_t>(table.RowCount()));
        for (int r = 1; r < table.RowCount(); ++r) {
            if (const auto id = PlainId(table.Cell(players::kPlayerId, r)))
                ++m_rows.try_emplace(*id, Rows{r, 0}).first->second.count;
        }
    }
    // The first row whose cell is the id text of `id`, or 0 when there is none.
    int Find(std::int32_t id) const {
        const auto it = m_rows.find(id);
        return it == m_rows.end() ? 0 : it->second.first;
    }
    // How many rows hold the id text of `id`.
    int Count(std::int32_t id) const {
        const auto it = m_rows.find(id);
        return it == m_rows.end() ? 0 : it->second.count;
    }

private:
    struct Rows {
        int first;
        int count;
    };
    // The standard hash of an id is the id itself: where a players table is
    // in id order, so are the look-ups, which then walk the buckets in order.
    std::unordered_map<std::int32_t, Rows> m_rows;
};

// For each data row of `table`, the first row of the other table that holds
// the row's id text (0 for none), by row.
std::vector<int> MatchRows(const TextTable& table, const IdIndex& other) {
    std::vector<int> rows(static_cast<std::size_t>(std::max(table.RowCount(), 1)));
    for (int r = 1; r < table.RowCount(); ++r)
        rows[static_cast<std::size_t>(r)] = other.Find(IdOf(table.Cell(players::kPlayerId, r)));
    return rows;
}

// The data rows of a players table grouped by position code, each group in
// table order; rows of any other position are in no group.
using PositionGroups = std::array<std::vector<int>, std::size(kPositionOrder)>;

PositionGroups GroupByPosition(const TextTable& table) {
    PositionGroups groups;
    for (int r = 1; r < table.RowCount(); ++r) {
        const std::string_view position = table.Cell(players::kPosition, r);
        if (position.size() != 2)
            continue;
        for (std::size_t p = 0; p < groups.size(); ++p) {
            if (position[0] == kPositionOrder[p][0] && position[1] == kPositionOrder[p][1]) {
                groups[p].push_back(r);
                break;
            }
        }
    }
    return groups;
}

}  // namespace

std::string IdText(std::string_view cell) {
    const auto id = ParseWhole(cell);
    return WholeText(id ? *id : -1);
}

void BuildPeriodPlayerTable(const TextTable& start, const TextTable& end, TextTable& total) {
    // Each player is looked up once, in table order: the look-ups do not
    // wait for one another, which matters once the index outgrows the cache.
    const std::vector<int> endRowOfStart = MatchRows(start, IdIndex(end));
    const std::vector<int> startRowOfEnd = MatchRows(end, IdIndex(start));

    // Each player's row: per position, the start table's players (staying or
    // leaving) in start order, then the newcomers in end order. A player of
    // any other position gets none (0).
    const PositionGroups startGroups = GroupByPosition(start);
    const PositionGroups endGroups = GroupByPosition(end);
    std::vector<int> rowOfStart(endRowOfStart.size());
    std::vector<int> rowOfNewcomer(startRowOfEnd.size());
    int next = 1;
    int newcomers = 0;
    for (std::size_t p = 0; p < startGroups.size(); ++p) {
        for (int k : startGroups[p])
            rowOfStart[static_cast<std::size_t>(k)] = next++;
        for (int l : endGroups[p]) {
            if (!startRowOfEnd[static_cast<std::size_t>(l)]) {
                rowOfNewcomer[static_cast<std::size_t>(l)] = next++;
                ++newcomers;
            }
        }
    }

    // The rows are written in the order of the players tables, which reads
    // those front to back, and then laid out in row order for the pages.
    total.SetRowCount(0);
    // A start player outside the position order leaves an empty row at the end.
    total.SetRowCount(start.RowCount() + newcomers);
    for (int k = 1; k < start.RowCount(); ++k) {
        if (const int row = rowOfStart[static_cast<std::size_t>(k)])
            WritePlayer(start, end, {k, endRowOfStart[static_cast<std::size_t>(k)]}, total, row);
    }
    for (int l = 1; l < end.RowCount(); ++l) {
        if (const int row = rowOfNewcomer[static_cast<std::size_t>(l)])
            WritePlayer(start, end, {0, l}, total, row);
    }
    total.Pack();
}

void FillPlayerChooser(const TextTable& start, const TextTable& end, std::vector<std::string>& items,
                       std::vector<std::string>& ids) {
    items.clear();
    ids.clear();
    // Mostly one item a player; reserved so that a large club's list does
    // not leave half its room unused.
    items.reserve(static_cast<std::size_t>(end.RowCount()));
    ids.reserve(static_cast<std::size_t>(end.RowCount()));
    const IdIndex startIndex(start);
    for (int i = 1; i < end.RowCount(); ++i) {
        // Every start row that holds the id text adds the player once more.
        const int matches = startIndex.Count(IdOf(end.Cell(players::kPlayerId, i)));
        for (int m = 0; m < matches; ++m) {
            items.push_back(std::string(end.Cell(players::kName, i)) + ", " +
                            std::string(end.Cell(players::kPosition, i)));
            ids.emplace_back(end.Cell(players::kPlayerId, i));
        }
    }
}

}  // namespace cadrix
