#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

// One scratch folder per fuzzing process, named after the target, on the
// memory-backed /dev/shm where there is one; removed when the fuzzer exits.
// The first call's name holds for the process.
class Scratch {
public:
    explicit Scratch(const char* target) {
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        m_root = base / (std::string("cadrix-") + target + "-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_root);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& root() const { return m_root; }

private:
    std::filesystem::path m_root;
};

inline const std::filesystem::path& ScratchRoot(const char* target) {
    static const Scratch scratch(target);
    return scratch.root();
}
