// The chart module: line charts over dates drawn with Qt Charts.

#include <algorithm>
#include <cmath>
#include <limits>

#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QEvent>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QPen>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include "chart_kit.h"

namespace cadrix::app {

namespace {

constexpr double kDayMs = 24.0 * 60 * 60 * 1000;
// Room around the lines, as a share of their span.
constexpr double kMargin = 0.05;
// A date label needs about this width; the axis gets as many as fit.
constexpr int kDateLabelWidth = 120;
constexpr int kMinDateTicks = 2;
constexpr int kMaxDateTicks = 8;
constexpr qreal kMarkerSize = 5;
// The pointer shows a point's tip within this many pixels of it.
constexpr double kHoverReach = 10;

struct Span {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void take(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool empty() const { return low > high; }
    // The span with room around it; a single value gets `flat` on each side.
    std::pair<double, double> padded(double flat) const {
        if (empty())
            return {0, 1};
        const double room = high > low ? (high - low) * kMargin : flat;
        return {low - room, high + room};
    }
};

class QtLineChart final : public LineChart {
public:
    explicit QtLineChart(QWidget* parent) : LineChart(parent), m_chart(new QChart) {
        m_chart->legend()->hide();
        // Numbers in the Russian way, as the window writes them elsewhere: a
        // decimal comma, and the digits of large ones grouped.
        m_chart->setLocalizeNumbers(true);
        m_chart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
        m_time->setFormat(QStringLiteral("dd.MM.yyyy"));
        m_chart->addAxis(m_time, Qt::AlignBottom);
        m_chart->addAxis(m_left, Qt::AlignLeft);
        m_chart->addAxis(m_right, Qt::AlignRight);
        m_view = new QChartView(m_chart, this);
        m_view->setRenderHint(QPainter::Antialiasing);
        // The tips follow the pointer itself: a series' own hover signal
        // fires only on the thin line and misses the points between.
        m_view->viewport()->setMouseTracking(true);
        m_view->viewport()->installEventFilter(this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_view);
        applyFont();
    }

    void setLines(const std::vector<ChartLine>& lines, const ChartAxes& axes) override {
        m_chart->removeAllSeries();
        m_lines = lines;
        m_series.assign(m_lines.size(), nullptr);
        m_left->setTitleText(axes.left);
        m_right->setTitleText(axes.right);
        m_left->setReverse(axes.leftReversed);
        m_chart->setTitle(axes.title);
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            if (m_lines[i].visible)
                showSeries(i);
        }
        updateRanges();
    }

    void setLineVisible(int line, bool visible) override {
        if (line < 0 || static_cast<std::size_t>(line) >= m_lines.size())
            return;
        const auto i = static_cast<std::size_t>(line);
        m_lines[i].visible = visible;
        if (visible)
            showSeries(i);
        else if (m_series[i])
            m_series[i]->hide();
        updateRanges();
    }

    std::optional<QPoint> pointPosition(int line, int index) const override {
        if (line < 0 || static_cast<std::size_t>(line) >= m_lines.size())
            return std::nullopt;
        const QLineSeries* series = m_series[static_cast<std::size_t>(line)];
        if (!series || !series->isVisible() || index < 0 || index >= series->count())
            return std::nullopt;
        const QPointF scene = m_chart->mapToPosition(series->at(index), const_cast<QLineSeries*>(series));
        return m_view->mapTo(this, m_view->mapFromScene(m_chart->mapToScene(scene)));
    }

    QImage picture() override { return m_view->grab().toImage(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_view->viewport() && event->type() == QEvent::MouseMove)
            tipNear(static_cast<QMouseEvent*>(event)->position().toPoint());
        return LineChart::eventFilter(watched, event);
    }

    void resizeEvent(QResizeEvent* event) override {
        m_time->setTickCount(std::clamp(width() / kDateLabelWidth, kMinDateTicks, kMaxDateTicks));
        LineChart::resizeEvent(event);
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange)
            applyFont();
        LineChart::changeEvent(event);
    }

private:
    // A line's series is made when it is first shown: most lines of a
    // player's chart never are.
    void showSeries(std::size_t i) {
        if (!m_series[i]) {
            const ChartLine& line = m_lines[i];
            auto* series = new QLineSeries;
            series->setName(line.name);
            series->setPen(QPen(line.colour, line.width, line.style));
            series->setPointsVisible(line.points.size() <= kMaxMarkedPoints);
            series->setMarkerSize(kMarkerSize);
            series->replace(line.points);
            m_chart->addSeries(series);
            series->attachAxis(m_time);
            series->attachAxis(line.axis == ChartAxis::Left ? m_left : m_right);
            connect(series, &QLineSeries::hovered, this,
                    [this, i](const QPointF& point, bool state) { showTip(i, point, state); });
            m_series[i] = series;
        }
        m_series[i]->show();
    }

    void updateRanges() {
        Span time, left, right;
        for (const ChartLine& line : m_lines) {
            if (!line.visible)
                continue;
            for (const QPointF& p : line.points) {
                time.take(p.x());
                (line.axis == ChartAxis::Left ? left : right).take(p.y());
            }
        }
        const auto [from, to] = time.padded(kDayMs);
        m_time->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(from)),
                         QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(to)));
        for (auto [axis, span] : {std::pair{m_left, left}, std::pair{m_right, right}}) {
            auto [low, high] = span.padded(std::max(1.0, std::abs(span.high) * kMargin));
            // Figures that are never negative keep their axis above zero.
            if (!span.empty() && span.low >= 0)
                low = std::max(low, 0.0);
            axis->setRange(low, high);
            axis->applyNiceNumbers();
            if (!span.empty() && span.low >= 0 && axis->min() < 0)
                axis->setMin(0);
            // Whole numbers where the ticks stand far apart, one decimal where
            // they are close (a real level, an average age).
            const double step = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
            axis->setLabelFormat(step >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%.1f"));
            axis->setVisible(!span.empty() || axis == m_left);
        }
    }

    void showTip(std::size_t i, const QPointF& point, bool state) {
        const ChartLine& line = m_lines[i];
        if (!state || line.points.isEmpty()) {
            QToolTip::hideText();
            return;
        }
        // The point nearest in time to the pointer.
        qsizetype nearest = 0;
        for (qsizetype k = 1; k < line.points.size(); ++k) {
            if (std::abs(line.points[k].x() - point.x()) < std::abs(line.points[nearest].x() - point.x()))
                nearest = k;
        }
        if (nearest < line.tips.size())
            QToolTip::showText(QCursor::pos(), line.tips[nearest], m_view);
    }

    // The tip of the shown point nearest to `pos`, when one is near enough.
    void tipNear(const QPoint& pos) {
        double best = kHoverReach * kHoverReach;
        std::optional<std::pair<std::size_t, int>> found;
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            if (!m_series[i] || !m_series[i]->isVisible())
                continue;
            for (int k = 0; k < m_series[i]->count(); ++k) {
                const QPointF at = m_view->mapFromScene(
                    m_chart->mapToScene(m_chart->mapToPosition(m_series[i]->at(k), m_series[i])));
                const double dx = at.x() - pos.x(), dy = at.y() - pos.y();
                if (dx * dx + dy * dy <= best) {
                    best = dx * dx + dy * dy;
                    found = std::pair{i, k};
                }
            }
        }
        if (!found || found->second >= m_lines[found->first].tips.size()) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(m_view->viewport()->mapToGlobal(pos), m_lines[found->first].tips[found->second], m_view);
    }

    void applyFont() {
        QFont labels = font();
        QFont titles = font();
        titles.setBold(true);
        for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_time), static_cast<QAbstractAxis*>(m_left),
                                    static_cast<QAbstractAxis*>(m_right)}) {
            axis->setLabelsFont(labels);
            axis->setTitleFont(titles);
        }
        m_chart->setTitleFont(titles);
    }

    QChart* m_chart;
    QChartView* m_view = nullptr;
    QDateTimeAxis* m_time = new QDateTimeAxis;
    QValueAxis* m_left = new QValueAxis;
    QValueAxis* m_right = new QValueAxis;
    std::vector<ChartLine> m_lines;
    std::vector<QLineSeries*> m_series;
};

class QtChartKit final : public ChartKit {
public:
    LineChart* createLineChart(QWidget* parent) override { return new QtLineChart(parent); }
};

}  // namespace

}  // namespace cadrix::app

extern "C" Q_DECL_EXPORT cadrix::app::ChartKit* cadrix_chart_kit(int version) {
    static cadrix::app::QtChartKit kit;
    return version == cadrix::app::kChartKitVersion ? &kit : nullptr;
}
