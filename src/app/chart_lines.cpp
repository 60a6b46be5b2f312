#include "chart_lines.h"

#include <array>

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace cadrix::app {

namespace {

// Qualitative colours dark enough to read on white, in an order where
// neighbours differ.
constexpr std::array<QRgb, 13> kLineColours = {
    0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b, 0xe377c2,
    0x7f7f7f, 0xbcbd22, 0x17becf, 0x393b79, 0xad494a, 0x637939,
};

}  // namespace

ChartLine ToChartLine(const ChartSeries& series, const QColor& colour, ChartAxis axis) {
    ChartLine line;
    line.name = QString::fromStdString(series.name);
    line.colour = colour;
    line.axis = axis;
    const QDate epoch(1970, 1, 1);
    for (const ChartPoint& point : series.points) {
        const QDateTime noon(epoch.addDays(point.day), QTime(12, 0));
        line.points.append(QPointF(static_cast<double>(noon.toMSecsSinceEpoch()), point.value));
        line.tips.append(QStringLiteral("%1\n%2: %3")
                             .arg(line.name, QString::fromStdString(point.date), QString::fromStdString(point.text)));
    }
    return line;
}

QColor LineColour(std::size_t index) {
    const QColor base(kLineColours[index % kLineColours.size()]);
    // The second round of colours is a darker shade of the first.
    return index < kLineColours.size() ? base : base.darker(150);
}

}  // namespace cadrix::app
