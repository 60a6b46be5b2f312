// Writes a picture as raw pixels, which the program copies at start instead
// of decoding: its width, its height and whether it has an alpha channel (0 or
// 1) as three 32-bit numbers, then its rows of 32-bit pixels (QImage's
// Format_RGB32, or Format_ARGB32 with the alpha channel), all in the byte order
// of the machine that builds it, which is the one that runs the program. Part
// of the build: the PNG files stay the source.
// Usage: unpack_picture INPUT OUTPUT

#include <cstdint>
#include <cstdio>

#include <QImage>
#include <QString>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: unpack_picture INPUT OUTPUT\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "unpack_picture: cannot read %s\n", argv[1]);
        return 1;
    }
    const bool alpha = picture.hasAlphaChannel();
    const QImage pixels = picture.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const std::uint32_t size[3] = {static_cast<std::uint32_t>(pixels.width()),
                                   static_cast<std::uint32_t>(pixels.height()), alpha ? 1U : 0U};
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::fprintf(stderr, "unpack_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    bool written = std::fwrite(size, sizeof size, 1, out) == 1;
    const auto rowBytes = static_cast<std::size_t>(pixels.width()) * 4;
    for (int row = 0; written && row < pixels.height(); ++row)
        written = std::fwrite(pixels.constScanLine(row), rowBytes, 1, out) == 1;
    if (std::fclose(out) != 0 || !written) {
        std::remove(argv[2]);
        std::fprintf(stderr, "unpack_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
