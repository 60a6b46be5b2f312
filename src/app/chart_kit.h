#pragma once

#include <optional>
#include <vector>

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace cadrix::app {

// The charts live in a module of their own, loaded when the first chart is
// opened: Qt Charts and the OpenGL libraries it pulls in then cost nothing
// to a start that draws no chart. This header is all that the program and
// the module share; both are built from the same tree.

enum class ChartAxis { Left, Right };

// One line of a chart over dates.
struct ChartLine {
    QString name;
    QColor colour;
    QList<QPointF> points;  // x: milliseconds since the epoch
    QStringList tips;       // one per point, shown when the pointer rests on it
    ChartAxis axis = ChartAxis::Left;
    bool visible = true;
    qreal width = 2;                     // the main figures are drawn bolder
    Qt::PenStyle style = Qt::SolidLine;  // dashed where a colour is used twice
};

// Beyond this many points a line is drawn without markers, which would merge.
inline constexpr int kMaxMarkedPoints = 30;

struct ChartAxes {
    QString title;  // above the chart: who and when
    QString left;
    QString right;
    bool leftReversed = false;  // smaller is better: the best stands at the top
};

// A chart widget. Its texts follow the widget's font.
class LineChart : public QWidget {
public:
    using QWidget::QWidget;
    // Replaces every line.
    virtual void setLines(const std::vector<ChartLine>& lines, const ChartAxes& axes) = 0;
    virtual void setLineVisible(int line, bool visible) = 0;
    // Where point `index` of line `line` stands in this widget; none while
    // the line is hidden.
    virtual std::optional<QPoint> pointPosition(int line, int index) const = 0;
    // The chart as drawn now, title included.
    virtual QImage picture() = 0;
};

class ChartKit {
public:
    virtual ~ChartKit() = default;
    virtual LineChart* createLineChart(QWidget* parent) = 0;
};

// The module's one entry point: `extern "C" ChartKit* cadrix_chart_kit(int
// version)`, null when the module was built for another version of this
// header.
inline constexpr int kChartKitVersion = 2;
inline constexpr const char* kChartKitEntry = "cadrix_chart_kit";
using ChartKitEntry = ChartKit* (*)(int version);

}  // namespace cadrix::app
