#include "history/chart_series.h"

#include "core/numbers.h"

namespace cadrix {

namespace {

// The rating place: a club climbs as the number falls.
constexpr int kPlaceFigure = 16;

// Adds a point for `text` at `date` when the text reads as a number.
void AddPoint(ChartSeries& line, SnapshotId snapshot, const std::string& date, std::string_view text,
              std::string shown) {
    const auto day = DayOfDateText(date);
    const auto value = ParseDecimal(text);
    if (!day || !value)
        return;
    line.points.push_back({snapshot, date, *day, static_cast<double>(*value), std::move(shown)});
}

}  // namespace

std::vector<ChartSeries> PlayerChartLines(const PlayerSeries& series) {
    std::vector<ChartSeries> lines(kFirstSkillLine + kSkillCount);
    lines[kRealLevelLine].name = "Реальный уровень";
    lines[kValueLine].name = "Стоимость";
    for (int k = 1; k <= kSkillCount; ++k)
        lines[kFirstSkillLine + static_cast<std::size_t>(k - 1)].name = SkillName(k);
    for (const PlayerPoint& p : series.points) {
        AddPoint(lines[kRealLevelLine], p.snapshot, p.date, p.realLevel, p.realLevel);
        // The values page groups the value's digits; so does its tooltip.
        AddPoint(lines[kValueLine], p.snapshot, p.date, p.value, GroupThousands(p.value));
        for (std::size_t k = 0; k < p.skills.size(); ++k) {
            // Skills are whole numbers; anything else is no point.
            if (ParseWhole(p.skills[k]))
                AddPoint(lines[kFirstSkillLine + k], p.snapshot, p.date, p.skills[k], p.skills[k]);
        }
    }
    return lines;
}

std::vector<int> DefaultChartSkills(const PlayerSeries& series) {
    std::vector<int> skills;
    if (series.points.empty())
        return skills;
    const std::string_view position = series.points.back().position;
    const auto line = position.empty() ? std::nullopt : LineFromLetter(static_cast<unsigned char>(position.back()));
    if (!line)
        return skills;
    for (int k = 1; k <= kSkillCount; ++k) {
        if (ColourClass(*line, k) == SkillClass::Green)
            skills.push_back(k);
    }
    return skills;
}

std::vector<ChartSeries> ClubChartLines(const ClubSeries& series) {
    std::vector<ChartSeries> lines(kChartedFigureCount);
    for (int i = 0; i < kChartedFigureCount; ++i) {
        const int row = kFirstChartedFigure + i;
        ChartSeries& line = lines[static_cast<std::size_t>(i)];
        line.fallIsFavourable = row == kPlaceFigure;
        for (const ClubPoint& p : series.points) {
            const ClubFigure& figure = p.figures[static_cast<std::size_t>(row - 1)];
            AddPoint(line, p.snapshot, p.date, figure.value, figure.value);
        }
        if (!series.points.empty())
            line.name = series.points.back().figures[static_cast<std::size_t>(row - 1)].caption;
    }
    return lines;
}

}  // namespace cadrix
