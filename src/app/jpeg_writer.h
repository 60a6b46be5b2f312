#pragma once

#include <filesystem>

class QImage;

namespace cadrix::app {

// Writes `image` as a baseline 24-bit JPEG of quality 90. The data go to a
// temporary file beside `target` that is renamed into place only when all of
// it is written, so a failure (no permission, full disk) leaves neither a
// half-written file nor a changed old one. Throws with the message to show.
void WriteJpeg(const QImage& image, const std::filesystem::path& target);

}  // namespace cadrix::app
