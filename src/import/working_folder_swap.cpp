#include "import/working_folder_swap.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "core/fd.h"
#include "import/working_folders.h"

namespace cadrix {

namespace {

namespace fs = std::filesystem;

// Where the exchange cannot be done in one step, the start's folder waits
// under this name for the end's to take its place.
constexpr const char* kSwapName = "swap";

[[noreturn]] void Fail(const fs::path& base, int error) {
    throw std::runtime_error("Cannot exchange folders \"" + WorkingFolder(base, SnapshotSide::Start).string() +
                             "\" and \"" + WorkingFolder(base, SnapshotSide::End).string() +
                             "\": " + std::strerror(error));
}

bool IsFolder(const Fd& parent, const char* name) {
    struct stat st {};
    return ::fstatat(parent.Get(), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

void SwapWorkingFolders(const fs::path& base) {
    const fs::path tmp = WorkingFolder(base, SnapshotSide::Start).parent_path();
    const std::string start = WorkingFolder(base, SnapshotSide::Start).filename().string();
    const std::string end = WorkingFolder(base, SnapshotSide::End).filename().string();
    const Fd folder(::open(tmp.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.IsOpen())
        Fail(base, errno);
    if (!IsFolder(folder, start.c_str()) || !IsFolder(folder, end.c_str()))
        Fail(base, ENOTDIR);
    if (::renameat2(folder.Get(), start.c_str(), folder.Get(), end.c_str(), RENAME_EXCHANGE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        Fail(base, errno);
    // A file system without the exchange: three renames, undone on failure.
    if (::renameat(folder.Get(), start.c_str(), folder.Get(), kSwapName) != 0)
        Fail(base, errno);
    if (::renameat(folder.Get(), end.c_str(), folder.Get(), start.c_str()) != 0) {
        const int error = errno;
        ::renameat(folder.Get(), kSwapName, folder.Get(), start.c_str());
        Fail(base, error);
    }
    if (::renameat(folder.Get(), kSwapName, folder.Get(), end.c_str()) != 0) {
        const int error = errno;
        ::renameat(folder.Get(), start.c_str(), folder.Get(), end.c_str());
        ::renameat(folder.Get(), kSwapName, folder.Get(), start.c_str());
        Fail(base, error);
    }
}

}  // namespace cadrix
