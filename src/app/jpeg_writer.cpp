#include "jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include <QImage>

extern "C" {
#include <jpeglib.h>
}

namespace cadrix::app {

namespace fs = std::filesystem;

namespace {

constexpr int kQuality = 90;

// libjpeg reports errors through a callback that must not return; it jumps
// back into WriteJpeg instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->text);
    std::longjmp(manager->jump, 1);
}

std::string CreateError(const fs::path& path, int error) {
    return "Cannot create file \"" + path.string() + "\". " + std::strerror(error);
}

}  // namespace

void WriteJpeg(const QImage& image, const fs::path& target) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0)
        throw std::runtime_error(CreateError(target, errno));
    std::FILE* file = fdopen(descriptor, "wb");
    if (!file) {
        const int error = errno;
        close(descriptor);
        fs::remove(temporary);
        throw std::runtime_error(CreateError(target, error));
    }

    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::fclose(file);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw std::runtime_error("Cannot write file \"" + target.string() + "\". " + errors.text);
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
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

    // A full disk may show only when the buffered data are flushed.
    const bool written = std::fflush(file) == 0 && !std::ferror(file) && fsync(fileno(file)) == 0;
    const int error = errno;
    if (std::fclose(file) != 0 || !written) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw std::runtime_error("Cannot write file \"" + target.string() + "\". " +
                                 std::strerror(written ? errno : error));
    }
    // The temporary file was made private; the picture gets the rights of a
    // newly created file.
    const mode_t mask = umask(0);
    umask(mask);
    std::error_code ec;
    fs::permissions(temporary, static_cast<fs::perms>(0666 & ~mask), ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw std::runtime_error(CreateError(target, ec.value()));
    }
}

}  // namespace cadrix::app
