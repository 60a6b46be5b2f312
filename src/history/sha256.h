#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cadrix {

// SHA-256 (FIPS 180-4), fed in pieces. The history names every stored archive
// by the digest of its bytes, so that the same archive is stored once.
class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void Update(const void* data, std::size_t size);
    void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
    // Pads and returns the digest; the object must not be fed afterwards.
    Digest Finish();

private:
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_blockUsed = 0;
    std::uint64_t m_totalBytes = 0;
};

std::string HexText(const Sha256::Digest& digest);
std::string Sha256Hex(std::string_view bytes);

// The digest of a file's bytes, or the system's reason when it cannot be read.
struct FileDigest {
    std::optional<Sha256::Digest> digest;
    std::string error;
};
FileDigest Sha256OfFile(const std::filesystem::path& file);

}  // namespace cadrix
