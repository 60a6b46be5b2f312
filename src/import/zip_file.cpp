#include "import/zip_file.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <span>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "core/codepage.h"
#include "core/file_masks.h"
#include "core/utf8.h"
#include "core/wildcard.h"
#include "import/archive_error.h"
#include "import/byte_cursor.h"

namespace cadrix {

namespace {

// Record signatures and fixed lengths of the PKWARE format (APPNOTE 4.3).
constexpr std::uint32_t kEndOfCentralDirSignature = 0x06054b50;
constexpr std::uint32_t kCentralFileHeaderSignature = 0x02014b50;
constexpr std::uint32_t kLocalFileHeaderSignature = 0x04034b50;
constexpr std::size_t kEndOfCentralDirSize = 22;
constexpr std::size_t kLocalFileHeaderSize = 30;
constexpr std::size_t kLocalNameLengthOffset = 26;  // name length, then extra length
// The end record is searched for in the file's last bytes: its own 22 bytes,
// a comment of at most 65,535 bytes, and some slack for what follows it.
constexpr std::uint64_t kEndSearchWindow = 65600;

// General purpose flag bits.
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
constexpr std::uint16_t kFlagUtf8Name = 0x0800;

// Compression methods.
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::uint16_t kMethodDeflate64 = 9;
constexpr std::uint16_t kMethodAes = 99;  // WinZip AES: no password of ours opens it

// Traditional PKWARE encryption puts 12 bytes before the data.
constexpr std::size_t kEncryptionHeaderSize = 12;

// External attributes: the DOS bits sit in the low byte; Unix tools put the
// file mode in the high 16 bits and say so in the "made by" host.
constexpr std::uint32_t kDosReadOnly = 0x01;
constexpr std::uint32_t kDosDirectory = 0x10;
constexpr std::uint8_t kHostUnix = 3;

constexpr std::string_view kEntryFailureSuffix = ". File processing error, possibly disk is full";

constexpr std::size_t kInputChunk = 256 * 1024;
constexpr std::size_t kOutputChunk = 1024 * 1024;

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : m_fd(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = other.Release();
        }
        return *this;
    }
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    void Reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// Names are decoded as the game's managers' systems decode them: without the
// UTF-8 flag the bytes are OEM (866) text, turned into ANSI (1251); then bytes
// that are valid UTF-8 beyond ASCII are taken as UTF-8, all else as 1251.
std::string DecodeEntryName(std::string_view raw, std::uint16_t flags) {
    std::string bytes = (flags & kFlagUtf8Name) ? std::string(raw) : Cp866ToCp1251(raw);
    if (!IsAscii(bytes) && IsValidUtf8(bytes))
        return bytes;
    return Cp1251ToUtf8(bytes);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The folders and file name of an entry, or none for a name that could reach
// outside the target folder: "..", a drive colon, a leading or doubled
// separator, a NUL. Such entries are passed over. A "." step stays where it
// is and is dropped (bsdtar keeps the "./" of the paths it is given); a name
// that ends in one, or holds nothing else, names no file and is passed over.
std::optional<std::vector<std::string>> SplitEntryName(std::string_view name) {
    if (name.empty() || IsSeparator(name.front()))
        return std::nullopt;
    if (name.find(':') != std::string_view::npos || name.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "..")
            return std::nullopt;
        if (part == ".") {
            if (end == name.size())
                return std::nullopt;
        } else {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    if (parts.empty())
        return std::nullopt;
    return parts;
}

std::optional<std::time_t> DosToLocalTime(std::uint16_t dosDate, std::uint16_t dosTime) {
    std::tm tm{};
    tm.tm_sec = (dosTime & 0x1f) * 2;
    tm.tm_min = (dosTime >> 5) & 0x3f;
    tm.tm_hour = dosTime >> 11;
    tm.tm_mday = dosDate & 0x1f;
    tm.tm_mon = ((dosDate >> 5) & 0x0f) - 1;
    tm.tm_year = (dosDate >> 9) + 80;
    if (tm.tm_mday == 0 || tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_hour > 23 || tm.tm_min > 59 || tm.tm_sec > 59)
        return std::nullopt;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return t;
}

bool EntryIsReadOnly(const ZipEntry& entry) {
    const std::uint32_t unixMode = entry.externalAttributes >> 16;
    if ((entry.versionMadeBy >> 8) == kHostUnix && unixMode != 0)
        return (unixMode & S_IWUSR) == 0;
    return (entry.externalAttributes & kDosReadOnly) != 0;
}

// Traditional PKWARE encryption (APPNOTE 6.1).
class PkwareKeys {
public:
    explicit PkwareKeys(std::string_view password) {
        for (char c : password)
            Update(static_cast<std::uint8_t>(c));
    }

    void Decrypt(std::uint8_t* data, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t t = (m_k2 | 2) & 0xffff;
            data[i] ^= static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
            Update(data[i]);
        }
    }

private:
    static std::uint32_t Crc(std::uint32_t crc, std::uint8_t b) {
        static const z_crc_t* table = get_crc_table();
        return static_cast<std::uint32_t>(table[(crc ^ b) & 0xff]) ^ (crc >> 8);
    }

    void Update(std::uint8_t c) {
        m_k0 = Crc(m_k0, c);
        m_k1 = (m_k1 + (m_k0 & 0xff)) * 134775813u + 1;
        m_k2 = Crc(m_k2, static_cast<std::uint8_t>(m_k1 >> 24));
    }

    std::uint32_t m_k0 = 0x12345678;
    std::uint32_t m_k1 = 0x23456789;
    std::uint32_t m_k2 = 0x34567890;
};

// Tries a password on the 12-byte encryption header; on success the keys are
// ready for the data that follows.
std::optional<PkwareKeys> TryPassword(std::string_view password, const std::uint8_t (&header)[kEncryptionHeaderSize],
                                      std::uint8_t checkByte) {
    PkwareKeys keys(password);
    std::uint8_t copy[kEncryptionHeaderSize];
    std::copy(std::begin(header), std::end(header), copy);
    keys.Decrypt(copy, kEncryptionHeaderSize);
    if (copy[kEncryptionHeaderSize - 1] != checkByte)
        return std::nullopt;
    return keys;
}

// The password as typed is UTF-8; archives made on the managers' systems hold
// it in code page 1251, so that spelling is tried as well.
std::optional<PkwareKeys> TryPasswordSpellings(const std::string& password,
                                               const std::uint8_t (&header)[kEncryptionHeaderSize],
                                               std::uint8_t checkByte) {
    if (auto keys = TryPassword(password, header, checkByte))
        return keys;
    if (!IsAscii(password))
        return TryPassword(Utf8ToCp1251(password), header, checkByte);
    return std::nullopt;
}

void WriteAll(int fd, const std::uint8_t* data, std::size_t n, const std::filesystem::path& target) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            throw ArchiveError::CannotCreateFile(target);
        }
        data += w;
        n -= static_cast<std::size_t>(w);
    }
}

}  // namespace

ZipFile::ZipFile(ExtractQuestions& questions) : m_questions(questions) {}

ZipFile::~ZipFile() { CloseArchive(); }

void ZipFile::CloseArchive() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_openedMissing = false;
    m_fileSize = 0;
    m_entries.clear();
}

void ZipFile::OpenArchive() {
    CloseArchive();
    if (m_fileName.empty())
        throw ArchiveError::BlankFileName();
    // Non-blocking so that a named pipe given as the archive cannot hang the open.
    const int fd = ::open(m_fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            // Nothing to read: an archive without entries, and no file is made.
            m_openedMissing = true;
            return;
        }
        throw FileOpenError(std::filesystem::absolute(m_fileName));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileOpenError(std::filesystem::absolute(m_fileName));
    }
    m_fd = fd;
    m_fileSize = static_cast<std::uint64_t>(st.st_size);
    try {
        ReadCentralDirectory();
    } catch (...) {
        CloseArchive();
        throw;
    }
}

void ZipFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (size > 0) {
        const ssize_t r = ::pread(m_fd, out, size, static_cast<off_t>(offset));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            throw FileReadError(std::filesystem::absolute(m_fileName));
        out += r;
        offset += static_cast<std::uint64_t>(r);
        size -= static_cast<std::size_t>(r);
    }
}

void ZipFile::ReadCentralDirectory() {
    const std::uint64_t tailSize = std::min(m_fileSize, kEndSearchWindow);
    const std::uint64_t tailStart = m_fileSize - tailSize;
    std::vector<std::uint8_t> tail(tailSize);
    ReadAt(tailStart, tail.data(), tail.size());

    struct EndRecord {
        std::uint16_t disk, centralDirDisk, entriesOnDisk, totalEntries;
        std::uint32_t centralDirSize, centralDirOffset;
    };
    std::optional<EndRecord> end;
    if (tailSize >= kEndOfCentralDirSize) {
        for (std::uint64_t pos = tailSize - kEndOfCentralDirSize + 1; pos-- > 0;) {
            ByteCursor c(std::span<const std::uint8_t>(tail).subspan(pos));
            if (c.U32() != kEndOfCentralDirSignature)
                continue;
            EndRecord r{};
            r.disk = c.U16();
            r.centralDirDisk = c.U16();
            r.entriesOnDisk = c.U16();
            r.totalEntries = c.U16();
            r.centralDirSize = c.U32();
            r.centralDirOffset = c.U32();
            const std::uint16_t commentLength = c.U16();
            const std::uint64_t at = tailStart + pos;
            if (!c.Ok() || r.totalEntries < r.entriesOnDisk || r.disk < r.centralDirDisk)
                continue;
            if (std::uint64_t{r.centralDirOffset} + r.centralDirSize > at)
                continue;
            if (at + kEndOfCentralDirSize + commentLength > m_fileSize)
                continue;
            end = r;
            break;
        }
    }
    if (!end)
        throw ArchiveError::ArchiveDamaged();
    if (end->disk != 0 || end->centralDirDisk != 0 || end->entriesOnDisk != end->totalEntries)
        throw ArchiveError::MultiVolumeUnsupported();

    std::vector<std::uint8_t> dir(end->centralDirSize);
    ReadAt(end->centralDirOffset, dir.data(), dir.size());
    ByteCursor c(dir);
    std::uint64_t compressedTotal = 0;
    m_entries.reserve(end->totalEntries);
    for (std::uint32_t i = 0; i < end->totalEntries; ++i) {
        ZipEntry e;
        const std::uint32_t signature = c.U32();
        e.versionMadeBy = c.U16();
        c.Skip(2);  // version needed to extract
        e.flags = c.U16();
        e.method = c.U16();
        e.dosTime = c.U16();
        e.dosDate = c.U16();
        e.crc32 = c.U32();
        e.compressedSize = c.U32();
        e.uncompressedSize = c.U32();
        const std::uint16_t nameLength = c.U16();
        const std::uint16_t extraLength = c.U16();
        const std::uint16_t commentLength = c.U16();
        const std::uint16_t diskStart = c.U16();
        c.Skip(2);  // internal attributes
        e.externalAttributes = c.U32();
        e.localHeaderOffset = c.U32();
        const std::string_view rawName = c.Bytes(nameLength);
        c.Skip(extraLength);
        c.Skip(commentLength);
        if (!c.Ok() || signature != kCentralFileHeaderSignature)
            throw ArchiveError::CentralDirDamaged();
        if (diskStart != 0)
            throw ArchiveError::MultiVolumeUnsupported();
        e.name = DecodeEntryName(rawName, e.flags);
        compressedTotal += e.compressedSize;
        m_entries.push_back(std::move(e));
    }
    if (compressedTotal > m_fileSize)
        throw ArchiveError::SizesExceedArchive();
    LocateEntryData(end->centralDirOffset);
}

// Finds where each entry's data lies and refuses entries whose bytes reach
// into the central directory or share bytes with another entry: a legitimate
// archive never does either, and overlapping entries are how a small archive
// pretends to hold terabytes.
void ZipFile::LocateEntryData(std::uint64_t centralDirOffset) {
    struct Span {
        std::uint64_t begin, end;
        std::size_t index;
    };
    std::vector<Span> spans;
    spans.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        ZipEntry& e = m_entries[i];
        if (e.localHeaderOffset + kLocalFileHeaderSize > centralDirOffset)
            continue;
        std::uint8_t header[kLocalFileHeaderSize];
        ReadAt(e.localHeaderOffset, header, sizeof header);
        ByteCursor c(header);
        if (c.U32() != kLocalFileHeaderSignature)
            continue;
        c.Skip(kLocalNameLengthOffset - 4);
        const std::uint16_t nameLength = c.U16();
        const std::uint16_t extraLength = c.U16();
        const std::uint64_t data = e.localHeaderOffset + kLocalFileHeaderSize + nameLength + extraLength;
        if (data + e.compressedSize > centralDirOffset)
            continue;
        e.dataOffset = data;
        spans.push_back({e.localHeaderOffset, data + e.compressedSize, i});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::uint64_t reach = 0;
    std::optional<std::size_t> reacher;
    for (const Span& s : spans) {
        if (reacher && s.begin < reach) {
            m_entries[s.index].dataOffset.reset();
            m_entries[*reacher].dataOffset.reset();
        }
        if (!reacher || s.end > reach) {
            reach = s.end;
            reacher = s.index;
        }
    }
}

void ZipFile::ExtractFiles() {
    if (m_fd < 0)
        return;
    m_password.reset();
    for (const ZipEntry& entry : m_entries) {
        std::string maskName = entry.name;
        std::replace(maskName.begin(), maskName.end(), '/', '\\');
        if (!MatchesMask(maskName, kCsvMask))
            continue;
        for (;;) {
            try {
                ExtractEntry(entry);
                break;
            } catch (const ArchiveError& e) {
                const EntryFailureAnswer answer =
                    m_questions.AskEntryFailure(e.what() + std::string(kEntryFailureSuffix));
                if (answer == EntryFailureAnswer::Retry)
                    continue;
                if (answer == EntryFailureAnswer::Abort)
                    return;
                break;
            }
        }
    }
}

ZipFile::EntryOutcome ZipFile::ExtractEntry(const ZipEntry& entry) {
    const auto parts = SplitEntryName(entry.name);
    if (!parts)
        return EntryOutcome::Skipped;
    const bool isFolder = (entry.externalAttributes & kDosDirectory) != 0 || IsSeparator(entry.name.back());
    const std::size_t folderCount = IsSeparator(entry.name.back()) ? parts->size() : parts->size() - 1;

    // Checks that need no output come first, so a refused entry writes nothing.
    if (!isFolder && (!entry.dataOffset || entry.uncompressedSize > kMaxEntrySize))
        throw ArchiveError::InvalidEntry();

    // Folders are made and entered one by one, never through a symbolic link,
    // so nothing an earlier entry or anyone else put there leads outside.
    std::filesystem::path folder = m_baseDir;
    std::error_code ec;
    std::filesystem::create_directories(m_baseDir, ec);
    Fd dir(::open(m_baseDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0)
        throw ArchiveError::CannotCreateDirectory(m_baseDir);
    for (std::size_t i = 0; i < folderCount; ++i) {
        const std::string& part = (*parts)[i];
        folder /= part;
        if (::mkdirat(dir.Get(), part.c_str(), 0777) != 0 && errno != EEXIST)
            throw ArchiveError::CannotCreateDirectory(folder);
        Fd sub(::openat(dir.Get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sub.Get() < 0)
            throw ArchiveError::CannotCreateDirectory(folder);
        dir = std::move(sub);
    }
    if (isFolder)
        return EntryOutcome::Skipped;

    const std::string& leaf = parts->back();
    const std::filesystem::path target = folder / leaf;
    // Replace whatever is there, read-only files included; a symbolic link is
    // removed itself, never written through.
    struct stat st {};
    if (::fstatat(dir.Get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode))
        ::unlinkat(dir.Get(), leaf.c_str(), 0);
    Fd out(::openat(dir.Get(), leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (out.Get() < 0)
        throw ArchiveError::CannotCreateFile(target);

    // From here on a failed or abandoned entry leaves no file behind.
    struct Discard {
        int dir;
        const std::string& leaf;
        Fd& out;
        bool armed = true;
        ~Discard() {
            if (!armed)
                return;
            out.Reset();
            ::unlinkat(dir, leaf.c_str(), 0);
        }
    } discard{dir.Get(), leaf, out};

    std::uint64_t dataOffset = *entry.dataOffset;
    std::uint64_t remaining = entry.compressedSize;
    std::optional<PkwareKeys> keys;
    if (entry.flags & kFlagEncrypted) {
        if ((entry.flags & kFlagStrongEncryption) || entry.method == kMethodAes)
            return EntryOutcome::Abandoned;
        if (remaining < kEncryptionHeaderSize)
            throw ArchiveError::InvalidEntry();
        std::uint8_t header[kEncryptionHeaderSize];
        ReadAt(dataOffset, header, sizeof header);
        dataOffset += kEncryptionHeaderSize;
        remaining -= kEncryptionHeaderSize;
        // With a data descriptor the CRC was not known when the header was
        // written, so the check byte comes from the modification time.
        const std::uint8_t checkByte = (entry.flags & kFlagDataDescriptor)
                                           ? static_cast<std::uint8_t>(entry.dosTime >> 8)
                                           : static_cast<std::uint8_t>(entry.crc32 >> 24);
        if (m_password)
            keys = TryPasswordSpellings(*m_password, header, checkByte);
        while (!keys) {
            std::optional<std::string> typed = m_questions.AskPassword(entry.name);
            if (!typed)
                return EntryOutcome::Abandoned;
            if (CodePointCount(*typed) > kMaxPasswordLength)
                *typed = LeftChars(*typed, kMaxPasswordLength);
            keys = TryPasswordSpellings(*typed, header, checkByte);
            if (keys)
                m_password = *typed;
        }
    }

    if (entry.method == kMethodDeflate64)
        throw ArchiveError::Deflate64Unsupported();
    if (entry.method != kMethodStored && entry.method != kMethodDeflated)
        throw ArchiveError::InvalidEntry();

    m_input.resize(kInputChunk);
    m_output.resize(kOutputChunk);
    std::uint64_t written = 0;
    uLong crc = crc32(0, nullptr, 0);
    auto emit = [&](const std::uint8_t* data, std::size_t n) {
        written += n;
        if (written > entry.uncompressedSize)
            throw ArchiveError::InvalidEntry();
        crc = crc32_z(crc, data, n);
        WriteAll(out.Get(), data, n, target);
    };
    auto readChunk = [&]() -> std::size_t {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, m_input.size()));
        ReadAt(dataOffset, m_input.data(), n);
        if (keys)
            keys->Decrypt(m_input.data(), n);
        dataOffset += n;
        remaining -= n;
        return n;
    };

    if (entry.method == kMethodStored) {
        while (remaining > 0) {
            const std::size_t n = readChunk();
            emit(m_input.data(), n);
        }
    } else {
        z_stream zs{};
        if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
            throw std::bad_alloc();
        struct End {
            z_stream& zs;
            ~End() { inflateEnd(&zs); }
        } endGuard{zs};
        bool streamEnded = false;
        while (!streamEnded) {
            if (zs.avail_in == 0) {
                if (remaining == 0)
                    break;
                zs.avail_in = static_cast<uInt>(readChunk());
                zs.next_in = m_input.data();
            }
            zs.next_out = m_output.data();
            zs.avail_out = static_cast<uInt>(m_output.size());
            const int rc = inflate(&zs, Z_NO_FLUSH);
            const std::size_t produced = m_output.size() - zs.avail_out;
            if (produced > 0)
                emit(m_output.data(), produced);
            if (rc == Z_STREAM_END)
                streamEnded = true;
            else if (rc == Z_BUF_ERROR && zs.avail_in == 0)
                continue;  // needs more input; a stream cut short ends the loop above
            else if (rc != Z_OK)
                throw ArchiveError::InvalidEntry();
        }
        if (!streamEnded)
            throw ArchiveError::InvalidEntry();
    }
    // Sizes and CRC-32 are checked for every entry, encrypted or not.
    if (written != entry.uncompressedSize || static_cast<std::uint32_t>(crc) != entry.crc32)
        throw ArchiveError::InvalidEntry();

    if (const auto when = DosToLocalTime(entry.dosDate, entry.dosTime)) {
        const struct timespec times[2] = {{*when, 0}, {*when, 0}};
        ::futimens(out.Get(), times);
    }
    if (EntryIsReadOnly(entry) && ::fstat(out.Get(), &st) == 0)
        ::fchmod(out.Get(), st.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH));
    if (::close(out.Release()) != 0)
        throw ArchiveError::CannotCreateFile(target);
    discard.armed = false;
    return EntryOutcome::Extracted;
}

}  // namespace cadrix
