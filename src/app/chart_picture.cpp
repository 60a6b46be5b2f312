#include "chart_picture.h"

#include <algorithm>

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QRect>
#include <QVBoxLayout>

#include "player_chart_form.h"
#include "save_file.h"

namespace cadrix::app {

namespace {

constexpr int kLegendMargin = 10;
constexpr int kSwatchGap = 6;
constexpr int kItemGap = 18;

struct LegendItem {
    QRect swatch;
    QPoint text;
    const ChartLine* line = nullptr;
};

// The legend's items laid out in rows across `width`; `height` gets the
// legend's height.
std::vector<LegendItem> LayOut(const std::vector<ChartLine>& lines, const QFontMetrics& metrics, int width,
                               int& height) {
    std::vector<LegendItem> items;
    const int rowHeight = std::max(metrics.height(), kLegendSwatchHeight) + 4;
    int x = kLegendMargin, y = kLegendMargin;
    for (const ChartLine& line : lines) {
        if (!line.visible)
            continue;
        const int itemWidth = kLegendSwatchWidth + kSwatchGap + metrics.horizontalAdvance(line.name);
        if (x > kLegendMargin && x + itemWidth > width - kLegendMargin) {
            x = kLegendMargin;
            y += rowHeight;
        }
        LegendItem item;
        item.swatch = QRect(x, y + (rowHeight - kLegendSwatchHeight) / 2, kLegendSwatchWidth, kLegendSwatchHeight);
        item.text = QPoint(x + kLegendSwatchWidth + kSwatchGap, y + (rowHeight + metrics.ascent()) / 2 - 2);
        item.line = &line;
        items.push_back(item);
        x += itemWidth + kItemGap;
    }
    height = items.empty() ? 0 : y + rowHeight + kLegendMargin;
    return items;
}

}  // namespace

QImage ChartPicture(LineChart& chart, const std::vector<ChartLine>& lines, const QString& title, const QFont& font) {
    const QImage drawn = chart.picture();
    const QFontMetrics metrics(font);
    int legendHeight = 0;
    const auto items = LayOut(lines, metrics, drawn.width(), legendHeight);
    QImage picture(drawn.width(), drawn.height() + legendHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, drawn);
    painter.translate(0, drawn.height());
    painter.setFont(font);
    for (const LegendItem& item : items) {
        painter.fillRect(item.swatch, item.line->colour);
        painter.setPen(Qt::black);
        painter.drawText(item.text, item.line->name);
    }
    painter.end();
    picture.setText(QStringLiteral("Title"), title);
    return picture;
}

void SaveChartPicture(UiHost& host, QWidget* parent, const QImage& picture, const QString& name) {
    SaveUserFile(host, parent, name + QStringLiteral(".png"), kPngFilter, QStringLiteral("png"),
                 [&](QIODevice& file) { return picture.save(&file, "PNG"); });
}

void LayOutChartBeside(QWidget* host, QLayout* top, QWidget* list, QWidget* save, QWidget* chart) {
    auto* side = new QVBoxLayout;
    side->addLayout(top);
    side->addWidget(list, 1);
    side->addWidget(save);
    auto* layout = new QHBoxLayout(host);
    layout->addLayout(side);
    layout->addWidget(chart, 1);
}

}  // namespace cadrix::app
