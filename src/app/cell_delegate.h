#pragma once

#include <QStyledItemDelegate>

#include "views/comparison.h"

namespace cadrix::app {

// Paints a page grid's cell as its draw rule decides, asked at painting time:
// the fill, the text on one line inside the cell less 2 pixels left, top and
// right, clipped and aligned, then the star strip or status star.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CellDelegate(const Comparison& comparison, GridId grid, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }

    bool isFixed(int col, int row) const { return row < m_info.fixedRows || col < m_info.fixedCols; }

private:
    const Comparison& m_comparison;
    const GridInfo& m_info;
};

// The picture of a cell image; null for CellImage::None.
QPixmap CellImagePixmap(CellImage image);

}  // namespace cadrix::app
