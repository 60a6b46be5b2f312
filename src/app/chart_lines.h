#pragma once

#include <cstddef>
#include <vector>

#include <QColor>
#include <QString>

#include "chart_kit.h"
#include "history/chart_series.h"

namespace cadrix::app {

// A line of the history's charts as the chart module draws it: every point at
// noon of its day in local time, so that the date axis shows that day in any
// time zone, with "date: value" as its tip.
ChartLine ToChartLine(const ChartSeries& series, const QColor& colour, ChartAxis axis = ChartAxis::Left);

// Colours that tell the lines of one chart apart, by the line's index.
QColor LineColour(std::size_t index);

// A player's 26 lines told apart: real level and value bold in black and
// grey, the skills of `first` (the green skills of his line) in the twelve
// colours of the palette, the remaining skills in the same colours dashed.
// `first` skills are on, the others off.
std::vector<ChartLine> PlayerChartLooks(const std::vector<ChartSeries>& figures, const std::vector<int>& first);

// "from – to" of the points of the lines: dd.MM.yyyy – dd.MM.yyyy; empty
// without points.
QString DateSpan(const std::vector<ChartSeries>& lines);

}  // namespace cadrix::app
