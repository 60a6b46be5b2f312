#pragma once

#include <QString>

class QWidget;

namespace cadrix::app {

// Gives every control of `window` the font family, keeping each one's size,
// style and colour; with WindowFont::Too the window's own font as well.
enum class WindowFont { Keep, Too };
void ApplyFontFamily(QWidget* window, const QString& family, WindowFont windowFont);

}  // namespace cadrix::app
