#include "look.h"

#include <cstdint>
#include <cstring>

#include <QImage>
#include <QPixmapCache>
#include <QResource>
#include <QWidget>

namespace cadrix::app {

QCursor ArrowCursor() { return QCursor(CompiledPicture(QStringLiteral(":/cursors/arrow.pixels")), 0, 0); }

QCursor HandCursor() { return QCursor(CompiledPicture(QStringLiteral(":/cursors/hand.pixels")), 0, 0); }

QIcon ProgramIcon() { return QIcon(CompiledPicture(QStringLiteral(":/icons/cadrix.pixels"))); }

QPixmap CompiledPicture(const QString& resource) {
    QPixmap picture;
    if (QPixmapCache::find(resource, &picture))
        return picture;
    // Three 32-bit numbers, the width, the height and whether there is an
    // alpha channel, then the rows of 32-bit pixels, as unpack_picture writes
    // them.
    const QResource file(resource);
    std::uint32_t size[3] = {};
    if (file.compressionAlgorithm() != QResource::NoCompression || file.size() < qint64{sizeof size})
        return picture;
    std::memcpy(size, file.data(), sizeof size);
    const qint64 bytes = qint64{size[0]} * size[1] * 4;
    if (size[0] == 0 || size[1] == 0 || size[0] > 0x4000 || size[1] > 0x4000 || size[2] > 1 ||
        file.size() != qint64{sizeof size} + bytes)
        return picture;
    const uchar* data = file.data() + sizeof size;
    const int width = static_cast<int>(size[0]);
    const int height = static_cast<int>(size[1]);
    // The pixmap reads the pixels where the program holds them; they are
    // copied only when they do not lie on a 32-bit boundary.
    QImage pixels(data, width, height, width * 4, size[2] != 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (reinterpret_cast<quintptr>(data) % alignof(std::uint32_t) != 0)
        pixels = pixels.copy();
    picture = QPixmap::fromImage(std::move(pixels));
    QPixmapCache::insert(resource, picture);
    return picture;
}

void SetTextColour(QWidget* label, const QColor& colour) {
    // A label writes in its foreground role, which otherwise follows the
    // background role it inherits: on a panel in the button colour that is
    // the button text, and a colour given to the window text would never show.
    label->setForegroundRole(QPalette::WindowText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace cadrix::app
