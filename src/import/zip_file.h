#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/extract_questions.h"
#include "core/fd.h"
#include "import/mapping.h"

struct libdeflate_decompressor;

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

// Reads a statistics archive (PKWARE ZIP) and writes the entries matching
// "*.csv" into BaseDir. The archive is only ever read.
class ZipFile {
public:
    explicit ZipFile(ExtractQuestions& questions);
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    const std::filesystem::path& FileName() const { return m_fileName; }
    void SetFileName(const std::filesystem::path& path) { m_fileName = path; }
    // The folder the entries are written into; extraction writes straight
    // into it and needs no temporary file.
    const std::filesystem::path& BaseDir() const { return m_baseDir; }
    void SetBaseDir(const std::filesystem::path& path) { m_baseDir = path; }
    // The folder from which BaseDir is reached. It may be a symbolic link
    // itself (the user chose it), but the folders from it down to BaseDir are
    // created and entered without following one, as the entries' folders are.
    // Unset, BaseDir is its own root.
    void SetRootDir(const std::filesystem::path& path) { m_rootDir = path; }

    // Opens FileName for reading and reads its central directory. Throws
    // ArchiveError or FileOpenError; after an error the archive is closed.
    // A FileName that names no file gives an archive without entries.
    void OpenArchive();
    // Extracts every entry matching "*.csv". Failures of single entries are
    // settled through the questions; only a failed read of the archive throws.
    void ExtractFiles();
    void CloseArchive();

    bool IsOpen() const { return m_fd.IsOpen() || m_openedMissing; }
    const std::vector<ZipEntry>& Entries() const { return m_entries; }

    // Limits that keep a hostile archive from filling the disk.
    static constexpr std::uint64_t kMaxEntrySize = 512ull * 1024 * 1024;

private:
    void ReadCentralDirectory();
    void LocateEntryData(std::uint64_t centralDirOffset);
    void ExtractEntry(const ZipEntry& entry);
    libdeflate_decompressor& Decompressor();

    struct FreeDecompressor {
        void operator()(libdeflate_decompressor* d) const;
    };

    ExtractQuestions& m_questions;
    std::filesystem::path m_fileName;
    std::filesystem::path m_baseDir;
    std::filesystem::path m_rootDir;
    // Where each entry's folder chain starts, and the folders from there down
    // to BaseDir; set when the extraction starts.
    std::filesystem::path m_chainRoot;
    std::vector<std::string> m_baseChain;

    Fd m_fd;
    Mapping m_archive;  // the whole archive, read where it lies
    bool m_openedMissing = false;
    std::vector<ZipEntry> m_entries;
    std::optional<std::string> m_password;  // the last password that fitted
    std::vector<std::uint8_t> m_input;
    std::vector<std::uint8_t> m_output;
    std::unique_ptr<libdeflate_decompressor, FreeDecompressor> m_decompressor;
};

}  // namespace cadrix
