#pragma once

#include <filesystem>

#include "core/file_io.h"

namespace cadrix {

// A folder of its own under the system's temporary folder, removed with
// everything in it when it goes. Its name carries the process id
// ("cadrix-history-PID-XXXXXX"), so that a folder left by a process that was
// killed is known as such: the first one a run makes sweeps away those of
// this user whose process is gone, and never touches any other.
class ScratchFolder {
public:
    ScratchFolder();

    const std::filesystem::path& Path() const { return m_folder.Path(); }

private:
    TempFolder m_folder;
};

// Removes the scratch folders in `parent` left by processes that no longer
// run; returns how many went.
int SweepAbandonedScratchFolders(const std::filesystem::path& parent);

}  // namespace cadrix
