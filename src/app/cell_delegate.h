#pragma once

#include <QStyledItemDelegate>

#include "views/cell_style.h"
#include "views/grids.h"

namespace cadrix::app {

// Paints a page grid's cell from the roles of its model. The grid's look
// goes beyond what Qt's item views offer in three ways, and only these are
// drawn here: fixed cells stand out like buttons, a colour the page's rule
// chose stays on a selected cell, and a star strip or status star may lie
// over the text. The style paints the fill and the text, which starts
// 2 pixels inside the cell's left, top and right edges.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CellDelegate(GridId grid, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }

    bool isFixed(int col, int row) const { return row < m_info.fixedRows || col < m_info.fixedCols; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const GridInfo& m_info;
};

// The picture of a cell image; null for CellImage::None.
QPixmap CellImagePixmap(CellImage image);

// The small star of a status picture, as the national page's counters and
// legend show it; null for any other picture.
QPixmap SmallStarPixmap(CellImage image);

}  // namespace cadrix::app
