#include "import/archive_file.h"

#include <cerrno>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

#include "import/archive_error.h"

namespace cadrix {

ArchiveFile ArchiveFile::Open(const std::filesystem::path& path) {
    if (path.empty())
        throw ArchiveError::BlankFileName();
    ArchiveFile file;
    // Non-blocking so that a named pipe given as the archive cannot hang the open.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.IsOpen()) {
        const int error = errno;
        if (error == ENOENT)
            return file;  // nothing to read: an archive without entries, and no file is made
        throw FileOpenError(std::filesystem::absolute(path), error);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw FileOpenError(std::filesystem::absolute(path));
    std::optional<Mapping> bytes = Mapping::ReadOnly(fd.Get(), static_cast<std::size_t>(st.st_size));
    if (!bytes)
        throw FileReadError(std::filesystem::absolute(path));
    file.m_fd = std::move(fd);
    file.m_bytes = std::move(*bytes);
    file.m_archive = ZipArchive(std::as_bytes(file.m_bytes.Bytes()), path);
    return file;
}

}  // namespace cadrix
