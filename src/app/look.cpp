#include "look.h"

#include <QPixmap>
#include <QWidget>

namespace cadrix::app {

QCursor ArrowCursor() { return QCursor(QPixmap(QStringLiteral(":/cursors/arrow.png")), 0, 0); }

QCursor HandCursor() { return QCursor(QPixmap(QStringLiteral(":/cursors/hand.png")), 0, 0); }

void SetTextColour(QWidget* label, const QColor& colour) {
    // A label writes in its foreground role, which otherwise follows the
    // background role it inherits: on a panel in the button colour that is
    // the button text, and a colour given to the window text would never show.
    label->setForegroundRole(QPalette::WindowText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace cadrix::app
