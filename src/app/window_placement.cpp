#include "window_placement.h"

#include <algorithm>

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

QPoint InsideScreen(const QWidget& window, const QRect& frame) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return frame.topLeft();
    const QRect area = screen->availableGeometry();
    QPoint at = frame.topLeft();
    // Left and up first: a window larger than the area keeps its top-left
    // corner, title bar included, inside it.
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - frame.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - frame.height())));
    return at;
}

void KeepInsideScreen(QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QPoint at = InsideScreen(window, frame);
    // move() places the frame's corner of a window shown already.
    if (at != frame.topLeft())
        window.move(window.pos() + (at - frame.topLeft()));
}

}  // namespace cadrix::app
