#include "chart_lines.h"

#include <algorithm>
#include <array>
#include <limits>

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace cadrix::app {

namespace {

// Twelve qualitative colours dark enough to read on white, in an order where
// neighbours differ; black and grey are kept for the main figures.
constexpr std::array<QRgb, 12> kLineColours = {
    0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd, 0x8c564b,
    0xe377c2, 0x17becf, 0xbcbd22, 0x393b79, 0xad494a, 0x637939,
};
constexpr QRgb kRealLevelColour = 0x000000;
constexpr QRgb kValueColour = 0x808080;
constexpr qreal kMainWidth = 3.5;
constexpr qreal kSkillWidth = 1.8;

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

std::vector<ChartLine> PlayerChartLooks(const std::vector<ChartSeries>& figures, const std::vector<int>& first) {
    std::vector<ChartLine> lines;
    lines.push_back(ToChartLine(figures[kRealLevelLine], QColor(kRealLevelColour)));
    lines.push_back(ToChartLine(figures[kValueLine], QColor(kValueColour), ChartAxis::Right));
    for (ChartLine& main : lines)
        main.width = kMainWidth;
    // The skills in order: those of `first`, then the rest; the second dozen
    // repeats the colours, dashed.
    std::vector<int> order = first;
    for (int k = 1; k <= kSkillCount; ++k) {
        if (std::find(first.begin(), first.end(), k) == first.end())
            order.push_back(k);
    }
    std::vector<std::size_t> rank(kSkillCount);
    for (std::size_t i = 0; i < order.size(); ++i)
        rank[static_cast<std::size_t>(order[i] - 1)] = i;
    for (int k = 1; k <= kSkillCount; ++k) {
        const std::size_t r = rank[static_cast<std::size_t>(k - 1)];
        ChartLine line = ToChartLine(figures[kFirstSkillLine + static_cast<std::size_t>(k - 1)],
                                     QColor(kLineColours[r % kLineColours.size()]));
        line.width = kSkillWidth;
        line.style = r < kLineColours.size() ? Qt::SolidLine : Qt::DashLine;
        line.visible = r < first.size();
        lines.push_back(line);
    }
    return lines;
}

QString DateSpan(const std::vector<ChartSeries>& lines) {
    std::int64_t low = std::numeric_limits<std::int64_t>::max(), high = std::numeric_limits<std::int64_t>::min();
    QString from, to;
    for (const ChartSeries& line : lines) {
        for (const ChartPoint& p : line.points) {
            if (p.day < low) {
                low = p.day;
                from = QString::fromStdString(p.date);
            }
            if (p.day > high) {
                high = p.day;
                to = QString::fromStdString(p.date);
            }
        }
    }
    return from.isEmpty() ? QString() : from + QStringLiteral(" – ") + to;
}

}  // namespace cadrix::app
