#pragma once

#include <vector>

#include <QFont>
#include <QImage>
#include <QString>

#include "chart_kit.h"

class QLayout;
class QWidget;

namespace cadrix::app {

class UiHost;

// Where the legend's swatches stand in a chart's picture: below the chart,
// one per line shown, each filled with the line's colour.
inline constexpr int kLegendSwatchWidth = 24;
inline constexpr int kLegendSwatchHeight = 10;

// The chart as a picture that says what it shows: the chart as drawn (its
// title above it) and below it a legend of the lines shown. The picture's
// "Title" text, which PNG keeps in a text chunk, is `title`.
QImage ChartPicture(LineChart& chart, const std::vector<ChartLine>& lines, const QString& title, const QFont& font);

// Asks where to save `picture` as PNG, `name`.png offered, and saves it
// whole or not at all; says which.
void SaveChartPicture(UiHost& host, QWidget* parent, const QImage& picture, const QString& name);

// A chart window's face: `top` above the list of lines, the save button
// below it, and the chart taking the rest of `host` beside them.
void LayOutChartBeside(QWidget* host, QLayout* top, QWidget* list, QWidget* save, QWidget* chart);

}  // namespace cadrix::app
