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

// First data row of a players table for each `player_id` cell text, built once
// so that matching stays linear in the number of players. An open-addressing
// table with the (short) keys stored in its slots: one look-up touches one
// place in memory, which keeps large squads fast.
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
    using namespace period;
    total.SetRowCount(0);
    total.SetRowCount(start.RowCount());
    const IdIndex endIndex(end);
    const IdIndex startIndex(start);

    const PositionGroups startGroups = GroupByPosition(start);
    const PositionGroups endGroups = GroupByPosition(end);

    int next = 1;
    for (std::size_t p = 0; p < startGroups.size(); ++p) {
        for (int k : startGroups[p]) {
            total.SetCell(kPlayerId, next, start.Cell(players::kPlayerId, k));
            total.SetCell(kRealLevelStart, next, start.Cell(players::kRealLevel, k));
            total.SetCell(kSalaryStart, next, start.Cell(players::kSalary, k));
            total.SetCell(kValueStart, next, start.Cell(players::kValue, k));
            total.SetCell(kAgeStart, next, start.Cell(players::kAge, k));
            total.SetCell(kCitizenshipStart, next, start.Cell(players::kCitizenship, k));
            total.SetCell(kNationalStatusStart, next, start.Cell(players::kNationalStatus, k));
            total.SetCell(kContractStart, next, start.Cell(players::kContract, k));
            total.SetCell(kTalent, next, start.Cell(players::kTalent, k));
            if (const int e = endIndex.Find(IdText(start.Cell(players::kPlayerId, k)))) {
                total.SetCell(kName, next, end.Cell(players::kName, e));
                total.SetCell(kPosition, next, end.Cell(players::kPosition, e));
                total.SetCell(kRealLevelEnd, next, end.Cell(players::kRealLevel, e));
                total.SetCell(kSalaryEnd, next, end.Cell(players::kSalary, e));
                total.SetCell(kValueEnd, next, end.Cell(players::kValue, e));
                total.SetCell(kAgeEnd, next, end.Cell(players::kAge, e));
                total.SetCell(kCitizenshipEnd, next, end.Cell(players::kCitizenship, e));
                total.SetCell(kNationalStatusEnd, next, end.Cell(players::kNationalStatus, e));
                total.SetCell(kContractEnd, next, end.Cell(players::kContract, e));
                total.SetCell(kTalent, next, end.Cell(players::kTalent, e));
                total.SetCell(kPresence, next, kInBoth);
            } else {
                total.SetCell(kPresence, next, kLeft);
                total.SetCell(kName, next, start.Cell(players::kName, k));
                total.SetCell(kPosition, next, start.Cell(players::kPosition, k));
                for (int c :
                     {kRealLevelEnd, kSalaryEnd, kValueEnd, kAgeEnd, kCitizenshipEnd, kNationalStatusEnd, kContractEnd})
                    total.SetCell(c, next, kNotAvailable);
            }
            ++next;
        }
        for (int l : endGroups[p]) {
            if (startIndex.Find(IdText(end.Cell(players::kPlayerId, l))))
                continue;
            total.AddRow();
            total.SetCell(kPlayerId, next, end.Cell(players::kPlayerId, l));
            total.SetCell(kName, next, end.Cell(players::kName, l));
            total.SetCell(kPosition, next, end.Cell(players::kPosition, l));
            total.SetCell(kRealLevelEnd, next, end.Cell(players::kRealLevel, l));
            total.SetCell(kSalaryEnd, next, end.Cell(players::kSalary, l));
            total.SetCell(kValueEnd, next, end.Cell(players::kValue, l));
            total.SetCell(kAgeEnd, next, end.Cell(players::kAge, l));
            total.SetCell(kCitizenshipEnd, next, end.Cell(players::kCitizenship, l));
            total.SetCell(kNationalStatusEnd, next, end.Cell(players::kNationalStatus, l));
            total.SetCell(kContractEnd, next, end.Cell(players::kContract, l));
            total.SetCell(kTalent, next, end.Cell(players::kTalent, l));
            for (int c : {kRealLevelStart, kSalaryStart, kValueStart, kAgeStart, kCitizenshipStart,
                          kNationalStatusStart, kContractStart})
                total.SetCell(c, next, kNotAvailable);
            total.SetCell(kPresence, next, kNewcomer);
            ++next;
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
