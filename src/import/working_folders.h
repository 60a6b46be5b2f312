#pragma once

#include <filesystem>
#include <optional>

namespace cadrix {

// The two snapshots of a comparison: the start and the end of the period.
enum class SnapshotSide { Start, End };

// The folder of the running program file.
std::filesystem::path ExecutableFolder();

// The folder under which the working folders lie: `workDir` when given;
// otherwise the executable's folder when it can be written to, else the
// per-user data folder ($XDG_DATA_HOME/cadrix or ~/.local/share/cadrix).
std::filesystem::path BaseFolder(const std::filesystem::path& executableFolder,
                                 const std::optional<std::filesystem::path>& workDir);

// base/Tmp/old for the start snapshot, base/Tmp/new for the end snapshot.
std::filesystem::path WorkingFolder(const std::filesystem::path& base, SnapshotSide side);

// Deletes the files matching "*.csv" directly in `folder`; other files and
// sub-folders stay. A missing folder has nothing to delete. A file that
// cannot be deleted ends the emptying with std::runtime_error naming it.
void EmptyCsvFiles(const std::filesystem::path& folder);

}  // namespace cadrix
