#include "look.h"

#include <QPixmap>
#include <QWidget>

namespace cadrix::app {

QCursor ArrowCursor() { return QCursor(QPixmap(QStringLiteral(":/cursors/arrow.png")), 0, 0); }

QCursor HandCursor() { return QCursor(QPixmap(QStringLiteral(":/cursors/hand.png")), 0, 0); }

void SetTextColour(QWidget* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace cadrix::app
