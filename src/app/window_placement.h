#pragma once

class QWidget;

namespace cadrix::app {

// Places a window so that its outer frame stands in the middle of the screen
// it is on, wherever the main window has been moved.
void CentreOnScreen(QWidget& window);

}  // namespace cadrix::app
