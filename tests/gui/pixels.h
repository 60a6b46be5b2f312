#pragma once

#include <QColor>

class QWidget;

// Whether the widget, as it paints itself now, shows the colour: some pixel
// lies within a small distance of it (antialiased text never reaches its
// colour everywhere, but its strokes' cores do).
bool PaintsColour(QWidget& widget, const QColor& colour);
