#include "cell_delegate.h"

#include <array>

#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include "grid_model.h"
#include "look.h"

namespace cadrix::app {

namespace {

// The text starts this far inside the cell's left, top and right edges.
constexpr int kTextInset = 2;

// Header cells stand out like buttons: a light edge on the top and left, a
// dark one on the bottom and right.
void DrawBevel(QPainter* painter, const QRect& rect, const QPalette& palette) {
    painter->setPen(palette.color(QPalette::Light));
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(palette.color(QPalette::Mid));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
}

}  // namespace

QPixmap CellImagePixmap(CellImage image) {
    static const std::array<const char*, 12> kPaths = {
        nullptr,
        ":/stars/level0.pixels",
        ":/stars/level1.pixels",
        ":/stars/level2.pixels",
        ":/stars/level3.pixels",
        ":/stars/level4.pixels",
        ":/stars/level5.pixels",
        ":/stars/blank.pixels",
        ":/status/outline.pixels",
        ":/status/grey.pixels",
        ":/status/green.pixels",
        ":/status/gold.pixels",
    };
    const auto i = static_cast<std::size_t>(image);
    if (i >= kPaths.size() || !kPaths[i])
        return {};
    return CompiledPicture(QString::fromLatin1(kPaths[i]));
}

QPixmap SmallStarPixmap(CellImage image) {
    switch (image) {
    case CellImage::StatusOutline: return CompiledPicture(QStringLiteral(":/status/outline_small.pixels"));
    case CellImage::StatusGrey: return CompiledPicture(QStringLiteral(":/status/grey_small.pixels"));
    case CellImage::StatusGreen: return CompiledPicture(QStringLiteral(":/status/green_small.pixels"));
    case CellImage::StatusGold: return CompiledPicture(QStringLiteral(":/status/gold_small.pixels"));
    default: return {};
    }
}

CellDelegate::CellDelegate(GridId grid, QObject* parent) : QStyledItemDelegate(parent), m_info(InfoOf(grid)) {}

// Settles the cell's colours, so that the style only fills and writes: a
// fixed cell is never selected and has the button's colours; on a selected
// cell the rule's background and text colour win over the highlight.
void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool ruleBackground = option->backgroundBrush.style() != Qt::NoBrush;
    const bool ruleText = index.data(Qt::ForegroundRole).isValid();
    QPalette& palette = option->palette;
    const bool selected = option->state.testFlag(QStyle::State_Selected);
    option->state.setFlag(QStyle::State_Selected, false);
    if (isFixed(index.column(), index.row())) {
        if (!ruleBackground)
            option->backgroundBrush = palette.brush(QPalette::Button);
        if (!ruleText)
            palette.setColor(QPalette::Text, palette.color(QPalette::ButtonText));
    } else if (selected) {
        if (!ruleBackground)
            option->backgroundBrush = palette.brush(QPalette::Highlight);
        if (!ruleText)
            palette.setColor(QPalette::Text, palette.color(QPalette::HighlightedText));
    }
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    painter->save();
    painter->setClipRect(cell.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, cell.widget);
    if (isFixed(index.column(), index.row()))
        DrawBevel(painter, cell.rect, cell.palette);
    painter->setFont(cell.font);
    style->drawItemText(painter, cell.rect.adjusted(kTextInset, kTextInset, -kTextInset, 0),
                        static_cast<int>(cell.displayAlignment) | Qt::TextSingleLine, cell.palette, true, cell.text,
                        QPalette::Text);
    const auto image = static_cast<CellImage>(index.data(GridModel::ImageRole).toInt());
    if (image != CellImage::None)
        painter->drawPixmap(cell.rect.topLeft() + index.data(GridModel::ImageOffsetRole).toPoint(),
                            CellImagePixmap(image));
    painter->restore();
}

}  // namespace cadrix::app
