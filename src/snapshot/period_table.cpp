#include "snapshot/period_table.h"

#include <array>
#include <functional>
#include <iterator>
#include <string_view>
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

// First data row of a players table for each `player_id` cell text, built once
// so that matching stays linear in the number of players. An open-addressing
// table with the (short) keys stored in its slots: one look-up touches one
// place in memory, which keeps large squads fast. (A std::unordered_map, with
// a node per key, made the period table of 40,000 players a third slower.)
class IdIndex {
public:
    explicit IdIndex(const TextTable& table) {
        std::size_t capacity = 16;
        while (capacity < 2 * static_cast<std::size_t>(table.RowCount()))
            capacity *= 2;
        m_slots.resize(capacity);
        m_mask = capacity - 1;
        for (int r = 1; r < table.RowCount(); ++r) {
            const std::string_view id = table.Cell(players::kPlayerId, r);
            const std::size_t hash = Hash(id);
            Slot& slot = m_slots[SlotOf(id, hash)];
            if (slot.count++ == 0) {
                slot.hash = hash;
                slot.key = id;
                slot.first = r;
            }
        }
    }
    // The first row whose cell equals `idText`, or 0 when there is none.
    int Find(std::string_view idText) const { return m_slots[SlotOf(idText, Hash(idText))].first; }
    // How many rows hold exactly `idText`.
    int Count(std::string_view idText) const { return m_slots[SlotOf(idText, Hash(idText))].count; }

private:
    struct Slot {
        std::size_t hash = 0;
        std::string key;
        int first = 0;
        int count = 0;  // 0: the slot is free
    };

    static std::size_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

    // The slot that holds `key`, or the free slot where it would go. The table
    // is never more than half full, so the probe always ends.
    std::size_t SlotOf(std::string_view key, std::size_t hash) const {
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.count == 0 || (slot.hash == hash && slot.key == key))
                return i;
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

// The data rows of a players table grouped by position code, each group in
// table order; rows of any other position are in no group.
using PositionGroups = std::array<std::vector<int>, std::size(kPositionOrder)>;

PositionGroups GroupByPosition(const TextTable& table) {
    PositionGroups groups;
    for (int r = 1; r < table.RowCount(); ++r) {
        const std::string_view position = table.Cell(players::kPosition, r);
        for (std::size_t p = 0; p < groups.size(); ++p) {
            if (position == kPositionOrder[p]) {
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
    total.SetRowCount(0);
    total.SetRowCount(start.RowCount());
    const IdIndex endIndex(end);
    const IdIndex startIndex(start);

    const PositionGroups startGroups = GroupByPosition(start);
    const PositionGroups endGroups = GroupByPosition(end);

    // Per position: the start table's players (staying or leaving) in start
    // order, then the newcomers in end order.
    int next = 1;
    for (std::size_t p = 0; p < startGroups.size(); ++p) {
        for (int k : startGroups[p]) {
            const int e = endIndex.Find(IdText(start.Cell(players::kPlayerId, k)));
            WritePlayer(start, end, {k, e}, total, next++);
        }
        for (int l : endGroups[p]) {
            if (startIndex.Find(IdText(end.Cell(players::kPlayerId, l))))
                continue;
            total.AddRow();
            WritePlayer(start, end, {0, l}, total, next++);
        }
    }
}

void FillPlayerChooser(const TextTable& start, const TextTable& end, std::vector<std::string>& items,
                       std::vector<std::string>& ids) {
    items.clear();
    ids.clear();
    const IdIndex startIndex(start);
    for (int i = 1; i < end.RowCount(); ++i) {
        // Every start row that holds the id text adds the player once more.
        const int matches = startIndex.Count(IdText(end.Cell(players::kPlayerId, i)));
        for (int m = 0; m < matches; ++m) {
            items.push_back(std::string(end.Cell(players::kName, i)) + ", " +
                            std::string(end.Cell(players::kPosition, i)));
            ids.emplace_back(end.Cell(players::kPlayerId, i));
        }
    }
}

}  // namespace cadrix
