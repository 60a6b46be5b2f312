#pragma once

class QImage;
class QString;

namespace cadrix::app {

// Writes `image` to `target` as a baseline 24-bit JPEG of quality 90. The
// picture is compressed in memory and saved through a temporary file that
// takes the target's place only when all of it is written, so a failure (no
// permission, full disk) leaves neither a half-written file nor a changed old
// one. Throws with the message to show, which names the file and the reason.
void WriteJpeg(const QImage& image, const QString& target);

}  // namespace cadrix::app
