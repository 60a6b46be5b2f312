#pragma once

#include <filesystem>

namespace cadrix {

// Exchanges the two working folders under `base` whole, so that what was
// extracted for the start is the end's and the other way round, as if the
// two archives had been chosen the other way round. Neither folder may be a
// symbolic link. A failure throws std::runtime_error naming the folders and
// the system's reason, with both folders as they were.
void SwapWorkingFolders(const std::filesystem::path& base);

}  // namespace cadrix
