#pragma once

#include <QObject>

class QTableView;

namespace cadrix::app {

// Lets the rows of a table without a row header be made taller or shorter by
// dragging their bottom lines, as a row header would. Owned by the view.
class RowDrag : public QObject {
    Q_OBJECT
public:
    explicit RowDrag(QTableView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The row whose bottom line lies under y (viewport coordinates), or -1.
    int rowEdgeAt(int y) const;

    QTableView& m_view;
    // The row being dragged, with where the drag began.
    int m_row = -1;
    int m_startY = 0;
    int m_startHeight = 0;
};

}  // namespace cadrix::app
