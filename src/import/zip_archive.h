#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cadrix {

// One record of the central directory, as far as extraction needs it.
struct ZipEntry {
    std::string name;  // decoded to UTF-8
    std::uint16_t versionMadeBy = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc32 = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t uncompressedSize = 0;
    std::uint32_t externalAttributes = 0;
    std::uint64_t localHeaderOffset = 0;
    // Where the entry's data lies, found when the archive is opened; none when
    // its local header is unreadable or its bytes overlap another entry or the
    // central directory, which makes the entry fail its checks.
    std::optional<std::uint64_t> dataOffset;
    // The local header repeats the central directory's sizes, so that they can
    // be trusted before the data is read. Not so for an entry written with a
    // data descriptor, whose local header holds no sizes.
    bool sizesConfirmed = false;
};

// General purpose flag bits and compression methods that the readers of
// entries look at.
inline constexpr std::uint16_t kZipFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kZipFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kZipFlagStrongEncryption = 0x0040;
inline constexpr std::uint16_t kZipMethodStored = 0;
inline constexpr std::uint16_t kZipMethodDeflated = 8;
inline constexpr std::uint16_t kZipMethodDeflate64 = 9;
inline constexpr std::uint16_t kZipMethodAes = 99;  // WinZip AES: no password of ours opens it

// The largest file of a statistics export that is read: exports are
// kilobytes, and a few megabytes of compressed text must not unpack into
// gigabytes of memory when the snapshot is read.
inline constexpr std::uint64_t kMaxEntrySize = 64ull * 1024 * 1024;

// A PKWARE ZIP archive read from bytes: the whole mapped file, or memory.
// Everything the format lets a reader check before extraction is checked when
// it is made: the end records, the central directory, and where each entry's
// data lies. The bytes are only read and must outlive the archive.
class ZipArchive {
public:
    // An archive without entries.
    ZipArchive() = default;
    // Reads the central directory of `bytes`. Throws ArchiveError for an
    // archive that does not hold together, and FileReadError naming `source`
    // when the bytes cannot be read (a mapped file cut short under us).
    ZipArchive(std::span<const std::byte> bytes, std::filesystem::path source);

    const std::vector<ZipEntry>& Entries() const { return m_entries; }
    // The stored (compressed, perhaps encrypted) bytes of an entry that has a
    // data offset.
    std::span<const std::uint8_t> StoredData(const ZipEntry& entry) const {
        return m_bytes.subspan(*entry.dataOffset, entry.compressedSize);
    }
    // What the bytes are called in errors: the archive file, or empty.
    const std::filesystem::path& Source() const { return m_source; }
    // The error for bytes of the archive that could not be read.
    [[noreturn]] void ThrowReadError() const;

private:
    void ReadCentralDirectory();
    void LocateEntryData(std::uint64_t centralDirOffset);

    std::span<const std::uint8_t> m_bytes;
    std::filesystem::path m_source;
    std::vector<ZipEntry> m_entries;
};

}  // namespace cadrix
