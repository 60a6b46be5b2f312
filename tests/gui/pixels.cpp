#include "pixels.h"

#include <cstdlib>

#include <QImage>
#include <QWidget>

namespace {
// The sum of the three channel differences below which a pixel counts as the
// colour; far below what separates black or grey from any colour tested.
constexpr int kTolerance = 60;
}  // namespace

bool PaintsColour(QWidget& widget, const QColor& colour) {
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int distance = std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                                 std::abs(pixel.blue() - colour.blue());
            if (distance <= kTolerance)
                return true;
        }
    }
    return false;
}
