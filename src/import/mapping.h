#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace cadrix {

// Owns one memory mapping of a file and unmaps it when it goes out of scope.
// An empty file has no mapping; its bytes are an empty span.
class Mapping {
public:
    Mapping() = default;
    ~Mapping() { Reset(); }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    Mapping(Mapping&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)),
          m_size(std::exchange(other.m_size, 0)) {}
    Mapping& operator=(Mapping&& other) noexcept {
        if (this != &other) {
            Reset();
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }

    // The first `size` bytes of `fd`, read-only; none when the system refuses.
    static std::optional<Mapping> ReadOnly(int fd, std::size_t size) { return Map(fd, size, PROT_READ, MAP_PRIVATE); }
    // The first `size` bytes of `fd` (opened for reading and writing), shared
    // with the file, so that what is stored in them lands in it. In ordinary
    // pages: huge ones save page faults but must each be found whole and
    // zeroed, which costs more than the faults (twice as much system time
    // when 400 MB are written, and runs that wait for fresh memory).
    static std::optional<Mapping> Writable(int fd, std::size_t size) {
        return Map(fd, size, PROT_READ | PROT_WRITE, MAP_SHARED);
    }

    std::span<const std::uint8_t> Bytes() const { return {m_data, m_size}; }
    std::span<std::uint8_t> WritableBytes() { return {m_data, m_size}; }

    void Reset() {
        if (m_data)
            ::munmap(m_data, m_size);
        m_data = nullptr;
        m_size = 0;
    }

private:
    static std::optional<Mapping> Map(int fd, std::size_t size, int protection, int flags) {
        Mapping m;
        if (size == 0)
            return m;
        void* p = ::mmap(nullptr, size, protection, flags, fd, 0);
        if (p == MAP_FAILED)
            return std::nullopt;
        m.m_data = static_cast<std::uint8_t*>(p);
        m.m_size = size;
        return m;
    }

    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace cadrix
