#include "row_drag.h"

#include <algorithm>
#include <cstdlib>

#include <QEvent>
#include <QMouseEvent>
#include <QTableView>

namespace cadrix::app {

namespace {
// How near a row's bottom line the pointer grabs it, and the least height a
// row can be dragged to.
constexpr int kEdgeGrip = 2;
constexpr int kMinRowHeight = 1;
}  // namespace

RowDrag::RowDrag(QTableView& view) : QObject(&view), m_view(view) {
    view.viewport()->setMouseTracking(true);
    view.viewport()->installEventFilter(this);
}

int RowDrag::rowEdgeAt(int y) const {
    for (int row = 0; row < m_view.model()->rowCount(); ++row) {
        const int bottom = m_view.rowViewportPosition(row) + m_view.rowHeight(row) - 1;
        if (std::abs(y - bottom) <= kEdgeGrip)
            return row;
    }
    return -1;
}

bool RowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view.viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = mouse->button() == Qt::LeftButton ? rowEdgeAt(mouse->position().toPoint().y()) : -1;
        if (row < 0)
            break;
        m_row = row;
        m_startY = mouse->position().toPoint().y();
        m_startHeight = m_view.rowHeight(row);
        return true;
    }
    case QEvent::MouseMove: {
        const int y = static_cast<QMouseEvent*>(event)->position().toPoint().y();
        if (m_row >= 0) {
            m_view.setRowHeight(m_row, std::max(kMinRowHeight, m_startHeight + y - m_startY));
            return true;
        }
        if (rowEdgeAt(y) >= 0)
            m_view.viewport()->setCursor(Qt::SplitVCursor);
        else
            m_view.viewport()->unsetCursor();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_row >= 0) {
            m_row = -1;
            return true;
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace cadrix::app
