#include "import/archive_error.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

namespace cadrix {

namespace {

constexpr std::string_view kComponentName = "ZipFile";

}  // namespace

std::string FormatArchiveErrorText(std::string_view message, ArchiveErrorCode code, ComponentName name) {
    std::string text;
    if (name == ComponentName::Shown) {
        text += kComponentName;
        text += ": ";
    }
    text += message;
    text += " - Native error: ";
    // "%5d" with its blanks turned into zeros.
    char digits[16];
    std::snprintf(digits, sizeof digits, "%5d", static_cast<int>(code));
    for (char* c = digits; *c; ++c)
        if (*c == ' ')
            *c = '0';
    text += digits;
    return text;
}

ArchiveError::ArchiveError(ArchiveErrorCode code, const std::string& text, int systemError, bool writeFailed)
    : std::runtime_error(text),
      m_code(code),
      m_systemError(systemError),
      m_writeFailed(writeFailed) {}

std::string ArchiveError::SystemReason() const {
    return m_systemError ? std::generic_category().message(m_systemError) : std::string();
}

namespace {

ArchiveError Make(ArchiveErrorCode code, std::string_view message, ComponentName name = ComponentName::Shown) {
    return ArchiveError(code, FormatArchiveErrorText(message, code, name));
}

// A full or failing disk refuses new folders and files as well as data.
bool IsDiskFailure(int systemError) { return systemError == ENOSPC || systemError == EDQUOT || systemError == EIO; }

ArchiveError MakeSystem(ArchiveErrorCode code, const std::string& message, int systemError, bool writeFailed) {
    return ArchiveError(code, FormatArchiveErrorText(message, code, ComponentName::Shown), systemError,
                        writeFailed || IsDiskFailure(systemError));
}

}  // namespace

ArchiveError ArchiveError::BlankFileName() {
    return Make(ArchiveErrorCode::BlankFileName, "File name is blank. Specify appropriate file name");
}

ArchiveError ArchiveError::ArchiveDamaged() {
    return Make(ArchiveErrorCode::ArchiveDamaged, "Archive is damaged. Open failed");
}

ArchiveError ArchiveError::CentralDirDamaged() {
    return Make(ArchiveErrorCode::CentralDirDamaged, "Central directory is damaged. Open failed");
}

ArchiveError ArchiveError::MultiVolumeUnsupported() {
    return Make(ArchiveErrorCode::MultiVolumeUnsupported, "Multi-volume archives are not supported. Open failed");
}

ArchiveError ArchiveError::EntryCountMismatch(std::uint64_t declared, std::uint64_t found) {
    return Make(ArchiveErrorCode::EntryCountMismatch, "The end of the archive declares " + std::to_string(declared) +
                                                          " entries, its central directory holds " +
                                                          std::to_string(found) + ". Open failed");
}

ArchiveError ArchiveError::SizesExceedArchive() {
    return Make(ArchiveErrorCode::SizesExceedArchive, "Archive is damaged. Open failed", ComponentName::Omitted);
}

ArchiveError ArchiveError::CannotCreateDirectory(const std::filesystem::path& folder, int systemError) {
    return MakeSystem(ArchiveErrorCode::CannotCreateDirectory, "Cannot create directory \"" + folder.string() + "\"",
                      systemError, false);
}

ArchiveError ArchiveError::CannotCreateFile(const std::filesystem::path& file, int systemError) {
    return MakeSystem(ArchiveErrorCode::CannotCreateFile, "Cannot create file \"" + file.string() + "\"", systemError,
                      false);
}

ArchiveError ArchiveError::CannotWriteFile(const std::filesystem::path& file, int systemError) {
    return MakeSystem(ArchiveErrorCode::CannotCreateFile, "Cannot create file \"" + file.string() + "\"", systemError,
                      true);
}

ArchiveError ArchiveError::InvalidEntry() {
    return Make(ArchiveErrorCode::InvalidEntry, "Invalid size or check sum of file or unsupported compression format");
}

namespace {

// Whole mebibytes, rounded up, so that a size just past the limit is not
// shown as the limit itself.
std::string MebibyteText(std::uint64_t bytes) {
    constexpr std::uint64_t kMebibyte = 1024 * 1024;
    return std::to_string(bytes / kMebibyte + (bytes % kMebibyte != 0)) + " MiB";
}

}  // namespace

ArchiveError ArchiveError::EntryTooLarge(const std::filesystem::path& archive, const std::string& entry,
                                         std::uint64_t declared, std::uint64_t limit) {
    const std::string where =
        archive.empty() ? std::string("the archive") : "\"" + std::filesystem::absolute(archive).string() + "\"";
    return Make(ArchiveErrorCode::InvalidEntry, "File \"" + entry + "\" of " + where + " declares " +
                                                    MebibyteText(declared) + ", more than the " + MebibyteText(limit) +
                                                    " a statistics file may hold");
}

ArchiveError ArchiveError::CannotDecompress(std::string_view reason) {
    return Make(ArchiveErrorCode::InvalidEntry, "Cannot decompress file: " + std::string(reason));
}

ArchiveError ArchiveError::Deflate64Unsupported() {
    return Make(ArchiveErrorCode::Deflate64Unsupported, "Deflate64 compression method is not supported",
                ComponentName::Omitted);
}

FileOpenError::FileOpenError(const std::filesystem::path& file, int systemError)
    : std::runtime_error("Cannot open file " + file.string() +
                         (systemError ? " (" + std::generic_category().message(systemError) + ")" : "")) {}

FileReadError::FileReadError(const std::filesystem::path& file)
    : std::runtime_error("Cannot read file " + file.string()) {}

}  // namespace cadrix
