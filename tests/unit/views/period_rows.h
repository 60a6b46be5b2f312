#pragma once

// Small builders for the tests of the player pages: a period player table of
// 20 columns whose data rows are given as (column, text) pairs.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/text_table.h"
#include "snapshot/period_table.h"

namespace cadrix::testing {

using Cells = std::vector<std::pair<int, std::string>>;

// Row 0 stays empty, as no reader uses it; data row i + 1 gets rows[i].
inline TextTable PeriodTable(const std::vector<Cells>& rows) {
    TextTable table(period::kColumns, static_cast<int>(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (const auto& [col, text] : rows[i])
            table.SetCell(col, static_cast<int>(i) + 1, text);
    }
    return table;
}

// A player in both snapshots with the given start and end cell of one pair of columns.
inline Cells InBoth(const std::string& name, const std::string& position, int startCol, const std::string& start,
                    int endCol, const std::string& end) {
    return {{period::kName, name},
            {period::kPosition, position},
            {period::kPresence, "1"},
            {startCol, start},
            {endCol, end}};
}

}  // namespace cadrix::testing
