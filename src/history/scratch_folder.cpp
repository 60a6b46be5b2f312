#include "history/scratch_folder.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace cadrix {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "cadrix-history-";

// The process id in a scratch folder's name; none for any other name.
std::optional<pid_t> OwnerOf(std::string_view name) {
    if (!name.starts_with(kPrefix))
        return std::nullopt;
    name.remove_prefix(kPrefix.size());
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (ec != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-')
        return std::nullopt;
    return pid;
}

bool IsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

int SweepAbandonedScratchFolders(const fs::path& parent) {
    int swept = 0;
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const auto owner = OwnerOf(it->path().filename().string());
        struct stat st {};
        // Only real folders of this user: a link or another user's folder of
        // that name is left alone.
        if (!owner || *owner == ::getpid() || ::lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::geteuid() || !IsGone(*owner))
            continue;
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
        swept += removeError ? 0 : 1;
    }
    return swept;
}

namespace {

// This process's name for its scratch folders, once those of processes that
// are gone have been swept away.
std::string SweptPrefix() {
    static std::once_flag swept;  // once a run: what this run leaves, it removes itself
    std::call_once(swept, [] { SweepAbandonedScratchFolders(fs::temp_directory_path()); });
    return std::string(kPrefix) + std::to_string(::getpid()) + "-";
}

}  // namespace

ScratchFolder::ScratchFolder() : m_folder(SweptPrefix()) {}

}  // namespace cadrix
