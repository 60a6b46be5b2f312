#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cadrix {

// Native codes of the archive errors the reader raises. The numbers are the
// ones managers see in the error box, so they never change.
enum class ArchiveErrorCode : int {
    BlankFileName = 9,
    InvalidEntry = 8,  // bad size, check sum or method of one entry
    CannotCreateFile = 19,
    CannotCreateDirectory = 20,
    ArchiveDamaged = 48,     // no end of central directory record
    CentralDirDamaged = 50,  // a record of the central directory does not hold together
    MultiVolumeUnsupported = 51,
    EntryCountMismatch = 52,  // the end record counts other entries than the directory holds
    Deflate64Unsupported = 55,
    SizesExceedArchive = 57,
};

// An error of the archive reader: its text is what the user sees, word for word.
// An error of the file system also keeps the system's error number, so that a
// front end can name the reason beside the text.
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(ArchiveErrorCode code, const std::string& text, int systemError = 0, bool writeFailed = false);

    ArchiveErrorCode Code() const { return m_code; }
    int NativeCode() const { return static_cast<int>(m_code); }
    // errno of the failed call, 0 when none failed.
    int SystemError() const { return m_systemError; }
    // The system's reason ("No space left on device"), empty when none.
    std::string SystemReason() const;
    // The disk did not take the entry's data: it is full, over its quota or
    // failing. Extracting further entries cannot fare better.
    bool WriteFailed() const { return m_writeFailed; }

    static ArchiveError BlankFileName();
    static ArchiveError ArchiveDamaged();
    static ArchiveError CentralDirDamaged();
    static ArchiveError MultiVolumeUnsupported();
    static ArchiveError EntryCountMismatch(std::uint64_t declared, std::uint64_t found);
    static ArchiveError SizesExceedArchive();
    static ArchiveError CannotCreateDirectory(const std::filesystem::path& folder, int systemError = 0);
    static ArchiveError CannotCreateFile(const std::filesystem::path& file, int systemError = 0);
    // Writing or closing the file failed; the user sees error 19 as for a
    // file that cannot be created.
    static ArchiveError CannotWriteFile(const std::filesystem::path& file, int systemError);
    static ArchiveError InvalidEntry();
    // An entry declaring more bytes than a statistics file may hold; refused
    // before anything of it is decompressed.
    static ArchiveError EntryTooLarge(const std::filesystem::path& archive, const std::string& entry,
                                      std::uint64_t declared, std::uint64_t limit);
    // The decompressor could not be set up (zlib's or libdeflate's reason).
    static ArchiveError CannotDecompress(std::string_view reason);
    static ArchiveError Deflate64Unsupported();

private:
    ArchiveErrorCode m_code;
    int m_systemError;
    bool m_writeFailed;
};

// "ZipFile: <message> - Native error: 00048". Two errors carry no "ZipFile: "
// before their message (the compressed sizes beyond the archive's size, and
// Deflate64): managers quote these texts as they stand.
enum class ComponentName { Shown, Omitted };
std::string FormatArchiveErrorText(std::string_view message, ArchiveErrorCode code, ComponentName name);

// The archive file itself cannot be opened (no permission, not a plain file).
// Not an archive error, but it reaches the caller the same way.
// With the system's error number, its reason follows the text in brackets.
class FileOpenError : public std::runtime_error {
public:
    explicit FileOpenError(const std::filesystem::path& file, int systemError = 0);
};

// Reading the archive failed half-way (the file changed or the disk failed).
// Not asked about per entry: it ends the extraction.
class FileReadError : public std::runtime_error {
public:
    explicit FileReadError(const std::filesystem::path& file);
};

}  // namespace cadrix
