#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

namespace cadrix {

// Writes all of `bytes` to `fd`, again after a signal cut a write short.
// Returns 0, or the errno of the write that failed (EIO for a write that
// took nothing).
int WriteAll(int fd, std::span<const std::byte> bytes);
inline int WriteAll(int fd, std::string_view bytes) { return WriteAll(fd, std::as_bytes(std::span(bytes))); }

// A folder of its own under the system's temporary folder, made by mkdtemp
// (so that nobody else can enter it) and removed with everything in it when
// it goes. Throws when it cannot be made, naming the folder and the reason.
class TempFolder {
public:
    explicit TempFolder(std::string_view prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace cadrix
