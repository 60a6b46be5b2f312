#pragma once

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>

#include "views/cell_style.h"

class QWidget;

namespace cadrix::app {

// The program's own cursors: an arrow over the windows and panels, a
// pointing hand over what can be clicked. Both point from their top-left
// pixel.
QCursor ArrowCursor();
QCursor HandCursor();

// The program's icon, on each of its windows.
QIcon ProgramIcon();

// One of the window's pictures, which the build compiles in as raw pixels
// (":/images/grass.pixels", ":/stars/level3.pixels"): copied, not decoded.
// Made once and shared by all who show it. A null pixmap when the resource
// is missing or damaged.
QPixmap CompiledPicture(const QString& resource);

// The text colours of the link labels: blue until clicked, then purple.
inline const QColor kLinkBlue{0, 0, 255};
inline const QColor kVisitedPurple{128, 0, 128};

// Sets the colour a label's text is drawn in.
void SetTextColour(QWidget* label, const QColor& colour);

inline QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

}  // namespace cadrix::app
