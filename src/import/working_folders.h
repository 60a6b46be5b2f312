#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/fd.h"

namespace cadrix {

// The two snapshots of a comparison: the start and the end of the period.
enum class SnapshotSide { Start, End };

// The folder of the running program file.
std::filesystem::path ExecutableFolder();

// $XDG_DATA_HOME/cadrix, else ~/.local/share/cadrix.
std::filesystem::path UserDataFolder();

// $XDG_CACHE_HOME/cadrix, else ~/.cache/cadrix: the working folders of an
// installed program, which are a cache.
std::filesystem::path UserCacheFolder();

// Whether the program keeps its working folders beside itself: it runs from
// the tree it was built in, or a file cadrix.portable stands beside it.
bool IsPortable(const std::filesystem::path& executableFolder);

// The folder under which the working folders lie: `workDir` when given;
// otherwise the executable's folder when the program is portable and the
// folder can be written to, else the per-user cache folder. An installed
// program never writes beside itself, whoever runs it.
std::filesystem::path BaseFolder(const std::filesystem::path& executableFolder,
                                 const std::optional<std::filesystem::path>& workDir);

// base/Tmp/old for the start snapshot, base/Tmp/new for the end snapshot.
std::filesystem::path WorkingFolder(const std::filesystem::path& base, SnapshotSide side);

// A working folder that must not be used: a symbolic link below the base
// folder, or folders that another program holds. The text names the folder.
class WorkingFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Opens base/Tmp/old or base/Tmp/new without following a symbolic link below
// `base` (the base folder itself may be one: the user chose it). None when the
// folder is missing or cannot be opened; a Tmp or working folder that is a
// symbolic link throws WorkingFolderError.
std::optional<Fd> OpenWorkingFolder(const std::filesystem::path& base, SnapshotSide side);

enum class FileKinds { Regular, RegularAndLinks };

// The names of the entries directly in `folder` that match `mask` and are of
// `kinds`, in name order, so that the first of several is always the same.
std::vector<std::string> MatchingNames(const Fd& folder, std::string_view mask, FileKinds kinds);

// Deletes the files matching "*.csv" directly in the working folder of `side`;
// other files and sub-folders stay, and a symbolic link is deleted itself,
// never followed. A missing folder has nothing to delete. A file that cannot
// be deleted ends the emptying with std::runtime_error naming it.
void EmptyWorkingFolder(const std::filesystem::path& base, SnapshotSide side);

// The exclusive lock on the working folders under one base folder: a flock on
// base/Tmp/cadrix.lock, held by one program at a time and released when this
// is destroyed or the program ends. A lock that cannot be taken for another
// reason than another program's hold (a link at the lock file's name, a Tmp
// that cannot be made, a file system without locks) throws
// WorkingFolderError naming cadrix.lock and the system's reason.
class WorkFolderLock {
public:
    // Takes the lock when it is free; none when another program holds it.
    static std::optional<WorkFolderLock> TryAcquire(const std::filesystem::path& base);
    // Waits up to `patience` for the lock; throws WorkingFolderError when
    // another program holds it longer.
    static WorkFolderLock Acquire(const std::filesystem::path& base, std::chrono::milliseconds patience);

private:
    explicit WorkFolderLock(Fd file) : m_file(std::move(file)) {}

    Fd m_file;
};

// The base folder of a window with its lock. The window reads both working
// folders again at each choice, so it holds the lock for its whole life. When
// another window holds the executable's folder, the per-user data folder is
// used instead; a folder named with --work-dir is never swapped for another.
// Then, and when the per-user folder is held too, WorkingFolderError says so.
struct LockedBaseFolder {
    std::filesystem::path base;
    std::shared_ptr<const WorkFolderLock> lock;
};
LockedBaseFolder LockBaseFolder(const std::filesystem::path& executableFolder,
                                const std::optional<std::filesystem::path>& workDir);

}  // namespace cadrix
