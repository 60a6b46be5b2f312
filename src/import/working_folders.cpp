#include "import/working_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <thread>

#include "core/file_masks.h"
#include "core/wildcard.h"

namespace cadrix {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDataFolderName = "cadrix";
constexpr const char* kTmpName = "Tmp";
constexpr const char* kLockName = "cadrix.lock";
constexpr std::chrono::milliseconds kLockPoll{100};
// A file of this name beside the executable keeps the working folders there,
// for a copy of the program carried on a stick or unpacked in a folder.
constexpr const char* kPortableMarker = "cadrix.portable";
// The tree the program was built in; run from there it is portable too.
#ifdef CADRIX_BUILD_TREE
constexpr const char* kBuildTree = CADRIX_BUILD_TREE;
#else
constexpr const char* kBuildTree = "";
#endif

bool CanWriteInto(const fs::path& folder) {
    // The working folders may already exist in a folder that is otherwise
    // closed to us; then they are what counts.
    const fs::path tmp = folder / kTmpName;
    std::error_code ec;
    if (fs::is_directory(tmp, ec))
        return ::access(tmp.c_str(), W_OK | X_OK) == 0;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

const char* SideFolderName(SnapshotSide side) { return side == SnapshotSide::Start ? "old" : "new"; }

std::string Reason(int systemError) { return std::generic_category().message(systemError); }

// Opens the folder `name` in `parent` without following a symbolic link. None
// when it is missing or cannot be opened, errno holding the reason; a link is
// refused by name.
std::optional<Fd> OpenSubfolder(const Fd& parent, const char* name, const fs::path& path) {
    Fd sub(::openat(parent.Get(), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (sub.IsOpen())
        return sub;
    const int openError = errno;
    struct stat st {};
    if (::fstatat(parent.Get(), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        throw WorkingFolderError("Working folder \"" + path.string() + "\" is a symbolic link, which is not followed");
    errno = openError;
    return std::nullopt;
}

// base/Tmp, made when missing, or none when it cannot be made or opened; then
// errno holds the reason.
std::optional<Fd> OpenTmp(const fs::path& base) {
    std::error_code ec;
    fs::create_directories(base, ec);
    Fd dir(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.IsOpen())
        return std::nullopt;
    const int makeError = ::mkdirat(dir.Get(), kTmpName, 0777) == 0 ? 0 : errno;
    std::optional<Fd> tmp = OpenSubfolder(dir, kTmpName, base / kTmpName);
    // A Tmp that could not be made is missing for the reason of the making.
    if (!tmp && errno == ENOENT && makeError != 0)
        errno = makeError;
    return tmp;
}

WorkingFolderError CannotLock(const fs::path& base, int systemError) {
    return WorkingFolderError("Cannot lock the working folders with \"" + (base / kTmpName / kLockName).string() +
                              "\": " + Reason(systemError));
}

// The lock file, opened for reading and writing where we may, else for
// reading, which flock is content with. A lock file that cannot be opened (a
// link in its place, a Tmp that cannot be made) throws: running unlocked
// would let two runs mix their files.
Fd OpenLockFile(const fs::path& base) {
    const std::optional<Fd> tmp = OpenTmp(base);
    if (!tmp)
        throw CannotLock(base, errno);
    Fd file(::openat(tmp->Get(), kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.IsOpen())
        return file;
    const int writeError = errno;
    file = Fd(::openat(tmp->Get(), kLockName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!file.IsOpen())
        throw CannotLock(base, writeError);
    return file;
}

// False only when another program holds the lock; a lock the file system
// refuses throws.
bool TryLock(const Fd& file, const fs::path& base) {
    while (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            throw CannotLock(base, errno);
    }
    return true;
}

WorkingFolderError HeldByAnother(const fs::path& base) {
    return WorkingFolderError("Working folder \"" + (base / kTmpName).string() + "\" is in use by another Cadrix");
}

}  // namespace

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path();
    return exe.parent_path();
}

namespace {

// $XDG_<KIND>_HOME/cadrix when that is an absolute path, else ~/<fallback>/cadrix.
fs::path UserFolder(const char* variable, const fs::path& fallback) {
    if (const char* xdg = std::getenv(variable); xdg && *xdg == '/')
        return fs::path(xdg) / kDataFolderName;
    const char* home = std::getenv("HOME");
    std::string homeDir = home && *home ? home : "";
    if (homeDir.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            homeDir = pw->pw_dir;
    }
    return fs::path(homeDir) / fallback / kDataFolderName;
}

}  // namespace

fs::path UserDataFolder() { return UserFolder("XDG_DATA_HOME", fs::path(".local") / "share"); }

fs::path UserCacheFolder() { return UserFolder("XDG_CACHE_HOME", ".cache"); }

bool IsPortable(const fs::path& executableFolder) {
    std::error_code ec;
    if (fs::exists(executableFolder / kPortableMarker, ec))
        return true;
    const fs::path tree = kBuildTree;
    if (tree.empty())
        return false;
    const fs::path inside = executableFolder.lexically_normal().lexically_relative(tree.lexically_normal());
    return !inside.empty() && *inside.begin() != "..";
}

fs::path BaseFolder(const fs::path& executableFolder, const std::optional<fs::path>& workDir) {
    if (workDir)
        return *workDir;
    if (IsPortable(executableFolder) && CanWriteInto(executableFolder))
        return executableFolder;
    return UserCacheFolder();
}

fs::path WorkingFolder(const fs::path& base, SnapshotSide side) { return base / kTmpName / SideFolderName(side); }

std::optional<Fd> OpenWorkingFolder(const fs::path& base, SnapshotSide side) {
    Fd dir(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.IsOpen())
        return std::nullopt;
    fs::path path = base;
    for (const char* name : {kTmpName, SideFolderName(side)}) {
        path /= name;
        std::optional<Fd> sub = OpenSubfolder(dir, name, path);
        if (!sub)
            return std::nullopt;
        dir = std::move(*sub);
    }
    return dir;
}

std::vector<std::string> MatchingNames(const Fd& folder, std::string_view mask, FileKinds kinds) {
    std::vector<std::string> names;
    // The listing gets a descriptor of its own, which closedir closes.
    Fd own(::openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::unique_ptr<DIR, int (*)(DIR*)> listing(own.IsOpen() ? ::fdopendir(own.Get()) : nullptr, ::closedir);
    if (!listing)
        return names;
    own.Release();
    while (const dirent* entry = ::readdir(listing.get())) {
        struct stat st {};
        if (!MatchesMask(entry->d_name, mask) || ::fstatat(folder.Get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) || (kinds == FileKinds::RegularAndLinks && S_ISLNK(st.st_mode)))
            names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void EmptyWorkingFolder(const fs::path& base, SnapshotSide side) {
    const std::optional<Fd> folder = OpenWorkingFolder(base, side);
    if (!folder)
        return;
    // Delete the matches until none is left; a file that will not go ends the
    // emptying with its name instead of spinning on it.
    for (;;) {
        const std::vector<std::string> names = MatchingNames(*folder, kCsvMask, FileKinds::RegularAndLinks);
        if (names.empty())
            return;
        for (const std::string& name : names) {
            if (::unlinkat(folder->Get(), name.c_str(), 0) != 0 && errno != ENOENT) {
                const fs::path file = WorkingFolder(base, side) / name;
                throw std::runtime_error("Cannot delete file \"" + file.string() + "\": " + Reason(errno));
            }
        }
    }
}

std::optional<WorkFolderLock> WorkFolderLock::TryAcquire(const fs::path& base) {
    Fd file = OpenLockFile(base);
    if (!TryLock(file, base))
        return std::nullopt;
    return WorkFolderLock(std::move(file));
}

WorkFolderLock WorkFolderLock::Acquire(const fs::path& base, std::chrono::milliseconds patience) {
    Fd file = OpenLockFile(base);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!TryLock(file, base)) {
        if (std::chrono::steady_clock::now() >= deadline)
            throw HeldByAnother(base);
        std::this_thread::sleep_for(kLockPoll);
    }
    return WorkFolderLock(std::move(file));
}

LockedBaseFolder LockBaseFolder(const fs::path& executableFolder, const std::optional<fs::path>& workDir) {
    const fs::path base = BaseFolder(executableFolder, workDir);
    if (auto lock = WorkFolderLock::TryAcquire(base))
        return {base, std::make_shared<const WorkFolderLock>(std::move(*lock))};
    const fs::path own = UserCacheFolder();
    if (workDir || base == own)
        throw HeldByAnother(base);
    if (auto lock = WorkFolderLock::TryAcquire(own))
        return {own, std::make_shared<const WorkFolderLock>(std::move(*lock))};
    throw HeldByAnother(own);
}

}  // namespace cadrix
