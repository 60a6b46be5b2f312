#include "import/working_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/file_masks.h"
#include "core/wildcard.h"

namespace cadrix {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDataFolderName = "cadrix";

bool CanWriteInto(const fs::path& folder) {
    // The working folders may already exist in a folder that is otherwise
    // closed to us; then they are what counts.
    const fs::path tmp = folder / "Tmp";
    std::error_code ec;
    if (fs::is_directory(tmp, ec))
        return ::access(tmp.c_str(), W_OK | X_OK) == 0;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return fs::path(xdg) / kDataFolderName;
    const char* home = std::getenv("HOME");
    std::string homeDir = home && *home ? home : "";
    if (homeDir.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            homeDir = pw->pw_dir;
    }
    return fs::path(homeDir) / ".local" / "share" / kDataFolderName;
}

}  // namespace

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path();
    return exe.parent_path();
}

fs::path BaseFolder(const fs::path& executableFolder, const std::optional<fs::path>& workDir) {
    if (workDir)
        return *workDir;
    if (CanWriteInto(executableFolder))
        return executableFolder;
    return UserDataFolder();
}

fs::path WorkingFolder(const fs::path& base, SnapshotSide side) {
    return base / "Tmp" / (side == SnapshotSide::Start ? "old" : "new");
}

void EmptyCsvFiles(const fs::path& folder) {
    // Delete the first match until none is left; a file that will not go
    // ends the loop with its name instead of spinning on it.
    while (const auto file = FindFirstMatching(folder, kCsvMask)) {
        std::error_code ec;
        if (!fs::remove(*file, ec) || ec)
            throw std::runtime_error("Cannot delete file \"" + file->string() + "\"");
    }
}

}  // namespace cadrix
