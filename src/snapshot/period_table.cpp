#include "snapshot/period_table.h"

#include <string_view>
#include <unordered_map>

#include "core/numbers.h"
#include "snapshot/snapshot.h"

namespace cadrix {

namespace {

// First data row of a players table for each `player_id` cell text, built once
// so that matching stays linear in the number of players.
// The index refers to the table's cells and lives no longer than the table.
class IdIndex {
public:
    explicit IdIndex(const TextTable& table) {
        m_rows.reserve(static_cast<std::size_t>(table.RowCount()));
        for (int r = 1; r < table.RowCount(); ++r) {
            auto [it, added] = m_rows.try_emplace(table.Cell(players::kPlayerId, r), Rows{r, 0});
            ++it->second.count;
        }
    }
    // The first row whose cell equals `idText`, or 0 when there is none.
    int Find(std::string_view idText) const {
        const auto it = m_rows.find(idText);
        return it == m_rows.end() ? 0 : it->second.first;
    }
    // How many rows hold exactly `idText`.
    int Count(std::string_view idText) const {
        const auto it = m_rows.find(idText);
        return it == m_rows.end() ? 0 : it->second.count;
    }

private:
    struct Rows {
        int first;
        int count;
    };
    std::unordered_map<std::string_view, Rows> m_rows;
};

}  // namespace

std::string IdText(const std::string& cell) {
    const auto id = ParseWhole(cell);
    return WholeText(id ? *id : -1);
}

void BuildPeriodPlayerTable(const TextTable& start, const TextTable& end, TextTable& total) {
    using namespace period;
    total.SetRowCount(0);
    total.SetRowCount(start.RowCount());
    const IdIndex endIndex(end);
    const IdIndex startIndex(start);

    int next = 1;
    for (const char* code : kPositionOrder) {
        for (int k = 1; k < start.RowCount(); ++k) {
            if (start.Cell(players::kPosition, k) != code)
                continue;
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
                for (int c : {kRealLevelEnd, kSalaryEnd, kValueEnd, kAgeEnd, kCitizenshipEnd, kNationalStatusEnd,
                              kContractEnd})
                    total.SetCell(c, next, kNotAvailable);
            }
            ++next;
        }
        for (int l = 1; l < end.RowCount(); ++l) {
            if (end.Cell(players::kPosition, l) != code)
                continue;
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
            items.push_back(end.Cell(players::kName, i) + ", " + end.Cell(players::kPosition, i));
            ids.push_back(end.Cell(players::kPlayerId, i));
        }
    }
}

}  // namespace cadrix
