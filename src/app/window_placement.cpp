#include "window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace cadrix::app {

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The client area is placed, not the outer frame: a window manager adds
    // a frame of its own size, unknown before the first showing, and moving
    // by the frame's corner lands a window that was shown before elsewhere
    // each time (a title bar lower on some window managers).
    QRect client(QPoint(0, 0), window.size());
    client.moveCenter(screen->availableGeometry().center());
    window.setGeometry(client);
}

}  // namespace cadrix::app
