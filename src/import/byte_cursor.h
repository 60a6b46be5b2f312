#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace cadrix {

// Reads little-endian fields from untrusted bytes. A read past the end reads
// nothing and marks the cursor failed, so a caller checks once at the end of a
// record instead of before every field.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint8_t U8() { return static_cast<std::uint8_t>(Read(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Read(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Read(4)); }
    std::uint64_t U64() { return Read(8); }
    // A field of `n` bytes, at most 8, for records whose widths vary.
    std::uint64_t Unsigned(std::size_t n) { return Read(n); }

    std::string_view Bytes(std::size_t n) {
        if (!Has(n)) {
            m_failed = true;
            return {};
        }
        std::string_view out(reinterpret_cast<const char*>(m_bytes.data() + m_pos), n);
        m_pos += n;
        return out;
    }

    std::span<const std::uint8_t> Span(std::size_t n) {
        if (!Has(n)) {
            m_failed = true;
            return {};
        }
        const auto out = m_bytes.subspan(m_pos, n);
        m_pos += n;
        return out;
    }

    void Skip(std::size_t n) {
        if (!Has(n)) {
            m_failed = true;
            return;
        }
        m_pos += n;
    }

    bool Ok() const { return !m_failed; }
    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }

private:
    bool Has(std::size_t n) const { return !m_failed && n <= m_bytes.size() - m_pos; }

    std::uint64_t Read(std::size_t n) {
        if (!Has(n)) {
            m_failed = true;
            return 0;
        }
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i)
            v |= static_cast<std::uint64_t>(m_bytes[m_pos + i]) << (8 * i);
        m_pos += n;
        return v;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

}  // namespace cadrix
