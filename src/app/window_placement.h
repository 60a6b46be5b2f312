#pragma once

class QWidget;

namespace cadrix::app {

// Places a window so that its client area stands in the middle of the screen
// it is on, wherever the main window has been moved, at the same place each
// time it is shown.
void CentreOnScreen(QWidget& window);

}  // namespace cadrix::app
