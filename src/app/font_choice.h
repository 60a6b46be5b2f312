#pragma once

#include <QString>

class QWidget;

namespace cadrix::app {

// Gives every control of `window` the font family, keeping each one's size,
// style and colour; with WindowFont::Too the window's own font as well.
enum class WindowFont { Keep, Too };
void ApplyFontFamily(QWidget* window, const QString& family, WindowFont windowFont);

// The families the settings offer, Tahoma being the one every start applies.
// The choice lasts for the life of the process; nothing is stored.
enum class FontFamily { MsSansSerif, Arial, Calibri, Tahoma };
struct FontFamilyLook {
    QString family;
    int skillsGridPoints;  // the skills grid's size follows the family
};
FontFamilyLook LookOf(FontFamily family);

}  // namespace cadrix::app
