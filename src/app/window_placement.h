#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace cadrix::app {

// Places a window so that its client area stands in the middle of the screen
// it is on, wherever the main window has been moved, at the same place each
// time it is shown.
void CentreOnScreen(QWidget& window);

// Moves a window left or up, or right or down, as little as it takes for its
// frame to stand inside the available area of the screen it is on (the
// desktop without its panels), where it would cross that area's edge.
void KeepInsideScreen(QWidget& window);

// Where a window whose frame has `frame`'s size should stand, near
// `frame`'s place, so that it stays inside the available area of `window`'s
// screen: the top-left corner of its frame.
QPoint InsideScreen(const QWidget& window, const QRect& frame);

}  // namespace cadrix::app
