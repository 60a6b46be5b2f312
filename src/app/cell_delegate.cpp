#include "cell_delegate.h"

#include <array>

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

namespace cadrix::app {

namespace {
// The text starts this far inside the cell's left, top and right edges.
constexpr int kTextInset = 2;

QColor ToColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

Qt::Alignment ToAlignment(Align align) {
    switch (align) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}
}  // namespace

QPixmap CellImagePixmap(CellImage image) {
    static const std::array<const char*, 12> kPaths = {
        nullptr,
        ":/stars/level0.png",
        ":/stars/level1.png",
        ":/stars/level2.png",
        ":/stars/level3.png",
        ":/stars/level4.png",
        ":/stars/level5.png",
        ":/stars/blank.png",
        ":/status/outline.png",
        ":/status/grey.png",
        ":/status/green.png",
        ":/status/gold.png",
    };
    const auto i = static_cast<std::size_t>(image);
    if (i >= kPaths.size() || !kPaths[i])
        return {};
    const QString path = QString::fromLatin1(kPaths[i]);
    QPixmap picture;
    if (!QPixmapCache::find(path, &picture)) {
        picture.load(path);
        QPixmapCache::insert(path, picture);
    }
    return picture;
}

CellDelegate::CellDelegate(const Comparison& comparison, GridId grid, QObject* parent)
    : QStyledItemDelegate(parent),
      m_comparison(comparison),
      m_info(InfoOf(grid)) {}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int col = index.column();
    const int row = index.row();
    const CellStyle style = m_comparison.DrawCell(m_info.id, col, row);
    const bool fixed = isFixed(col, row);
    const bool selected = !fixed && option.state.testFlag(QStyle::State_Selected);
    const QPalette& palette = option.palette;
    const QRect rect = option.rect;

    QColor background;
    switch (style.background) {
    case Background::Favourable: background = ToColor(kFavourableColour); break;
    case Background::Unfavourable: background = ToColor(kUnfavourableColour); break;
    case Background::Grid:
        background = fixed      ? palette.color(QPalette::Button)
                     : selected ? palette.color(QPalette::Highlight)
                                : palette.color(QPalette::Base);
        break;
    }

    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, background);
    if (fixed) {
        // Header cells stand out like buttons: a light edge on the top and
        // left, a dark one on the bottom and right.
        painter->setPen(palette.color(QPalette::Light));
        painter->drawLine(rect.topLeft(), rect.topRight());
        painter->drawLine(rect.topLeft(), rect.bottomLeft());
        painter->setPen(palette.color(QPalette::Mid));
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->drawLine(rect.topRight(), rect.bottomRight());
    }

    QColor textColour = selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    if (fixed)
        textColour = palette.color(QPalette::ButtonText);
    if (style.text)
        textColour = ToColor(*style.text);
    painter->setPen(textColour);
    painter->setFont(option.font);
    const QRect textRect = rect.adjusted(kTextInset, kTextInset, -kTextInset, 0);
    painter->drawText(textRect, ToAlignment(style.align) | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());

    if (style.image != CellImage::None) {
        const QPixmap picture = CellImagePixmap(style.image);
        painter->drawPixmap(rect.topLeft() + QPoint(style.imageX, style.imageY), picture);
    }
    painter->restore();
}

}  // namespace cadrix::app
