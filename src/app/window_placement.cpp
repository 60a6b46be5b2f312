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
    // A window's position is that of its outer frame; before its first
    // showing the frame is not known yet and is taken as the client area.
    QRect centred(QPoint(0, 0), window.frameGeometry().size());
    centred.moveCenter(screen->availableGeometry().center());
    window.move(centred.topLeft());
}

}  // namespace cadrix::app
