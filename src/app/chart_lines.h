#pragma once

#include <cstddef>

#include <QColor>

#include "chart_kit.h"
#include "history/chart_series.h"

namespace cadrix::app {

// A line of the history's charts as the chart module draws it: every point at
// noon of its day in local time, so that the date axis shows that day in any
// time zone, with "date: value" as its tip.
ChartLine ToChartLine(const ChartSeries& series, const QColor& colour, ChartAxis axis = ChartAxis::Left);

// Colours that tell the lines of one chart apart, by the line's index.
QColor LineColour(std::size_t index);

}  // namespace cadrix::app
