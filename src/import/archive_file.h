#pragma once

#include <filesystem>

#include "core/fd.h"
#include "import/mapping.h"
#include "import/zip_archive.h"

namespace cadrix {

// An archive file, mapped where it lies and read as a ZipArchive. The file
// is only ever read.
class ArchiveFile {
public:
    // Opens `path` and reads its central directory. Throws ArchiveError,
    // FileOpenError or FileReadError. A path that names no file gives an
    // archive without entries.
    static ArchiveFile Open(const std::filesystem::path& path);

    ArchiveFile(ArchiveFile&&) noexcept = default;
    ArchiveFile& operator=(ArchiveFile&&) noexcept = default;

    const ZipArchive& Archive() const { return m_archive; }
    const std::vector<ZipEntry>& Entries() const { return m_archive.Entries(); }

private:
    ArchiveFile() = default;

    Fd m_fd;
    Mapping m_bytes;  // the archive reads these; a move keeps them where they are
    ZipArchive m_archive;
};

}  // namespace cadrix
