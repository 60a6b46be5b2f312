#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "history/history.h"

namespace cadrix {

// What the charts of the history draw: one line per figure over the stored
// dates, every point read from a stored cell with the number rules of the
// pages. A cell that is not a number (an empty skills row, "n/a") gives no
// point, so the line has a gap there.
struct ChartPoint {
    SnapshotId snapshot = 0;
    std::string date;      // dd.MM.yyyy
    std::int64_t day = 0;  // days since 1 January 1970
    double value = 0;
    std::string text;  // the value as the pages show it
};

struct ChartSeries {
    std::string name;
    std::vector<ChartPoint> points;  // in list order
    bool fallIsFavourable = false;   // a falling line is good news (the rating place)
};

// A player's lines, in this order: real level, value, then skills 1 to 24.
inline constexpr std::size_t kRealLevelLine = 0;
inline constexpr std::size_t kValueLine = 1;
inline constexpr std::size_t kFirstSkillLine = 2;
std::vector<ChartSeries> PlayerChartLines(const PlayerSeries& series);

// The skills a player's chart shows at first: the green skills of the line of
// his newest position, as the skills grid colours them; none when that
// position names no line.
std::vector<int> DefaultChartSkills(const PlayerSeries& series);

// The club's numeric figures, rows 9 to 16 of its team table, one line each,
// named by the newest snapshot's captions.
inline constexpr int kFirstChartedFigure = 9;
inline constexpr int kChartedFigureCount = kClubFigureCount - kFirstChartedFigure + 1;
std::vector<ChartSeries> ClubChartLines(const ClubSeries& series);

}  // namespace cadrix
