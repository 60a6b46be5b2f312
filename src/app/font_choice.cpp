#include "font_choice.h"

#include <QWidget>

namespace cadrix::app {

void ApplyFontFamily(QWidget* window, const QString& family, WindowFont windowFont) {
    if (!window)
        return;
    // Every control gets the family explicitly, so that sizes it inherited
    // from the window stay as they are.
    for (QWidget* control : window->findChildren<QWidget*>()) {
        QFont font = control->font();
        font.setFamily(family);
        control->setFont(font);
    }
    if (windowFont == WindowFont::Too) {
        QFont font = window->font();
        font.setFamily(family);
        window->setFont(font);
    }
}

FontFamilyLook LookOf(FontFamily family) {
    switch (family) {
    case FontFamily::MsSansSerif:
        return {QStringLiteral("MS Sans Serif"), 7};
    case FontFamily::Arial:
        return {QStringLiteral("Arial"), 7};
    case FontFamily::Calibri:
        return {QStringLiteral("Calibri"), 8};
    case FontFamily::Tahoma:
        break;
    }
    return {QStringLiteral("Tahoma"), 8};
}

}  // namespace cadrix::app
