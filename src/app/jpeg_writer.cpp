#include "jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <QByteArray>
#include <QImage>
#include <QSaveFile>
#include <QString>

extern "C" {
#include <jpeglib.h>
}

namespace cadrix::app {

namespace {

constexpr int kQuality = 90;

// libjpeg reports errors through a callback that must not return; it jumps
// back into Compress instead, with the library's message.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->text);
    std::longjmp(manager->jump, 1);
}

// Compresses `rgb` (RGB888) into `buffer`, which libjpeg allocates and the
// caller frees, also after a failure. Nothing here needs a destructor, as a
// failure jumps back into this function.
bool Compress(const QImage& rgb, unsigned char*& buffer, unsigned long& size, ErrorManager& errors) {
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* line = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

std::string Quoted(const QString& path) { return "\"" + path.toStdString() + "\""; }

}  // namespace

void WriteJpeg(const QImage& image, const QString& target) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    ErrorManager errors{};
    const bool compressed = Compress(rgb, buffer, size, errors);
    QByteArray data;
    if (compressed)
        data = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    if (!compressed)
        throw std::runtime_error("Cannot write file " + Quoted(target) + ". " + errors.text);

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Cannot create file " + Quoted(target) + ". " + file.errorString().toStdString());
    if (file.write(data) != data.size() || !file.commit())
        throw std::runtime_error("Cannot write file " + Quoted(target) + ". " + file.errorString().toStdString());
}

}  // namespace cadrix::app
