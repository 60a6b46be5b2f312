#include "import/zip_file.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "core/codepage.h"
#include "core/file_masks.h"
#include "core/utf8.h"
#include "core/wildcard.h"
#include "import/archive_error.h"
#include "import/byte_cursor.h"
#include "import/mapped_read.h"

namespace cadrix {

namespace {

// Record signatures and fixed lengths of the PKWARE format (APPNOTE 4.3).
constexpr std::uint32_t kEndOfCentralDirSignature = 0x06054b50;
constexpr std::uint32_t kCentralFileHeaderSignature = 0x02014b50;
constexpr std::uint32_t kLocalFileHeaderSignature = 0x04034b50;
constexpr std::size_t kEndOfCentralDirSize = 22;
constexpr std::size_t kLocalFileHeaderSize = 30;
constexpr std::size_t kCentralFileHeaderSize = 46;
// The end record is searched for in the file's last bytes: its own 22 bytes,
// a comment of at most 65,535 bytes, and some slack for what follows it.
constexpr std::uint64_t kEndSearchWindow = 65600;

// Zip64 (APPNOTE 4.3.14, 4.3.15, 4.5.3). A field of the ordinary records that
// holds all ones stands for a 64-bit value kept in the Zip64 records.
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64EndLocatorSignature = 0x07064b50;
constexpr std::size_t kZip64EndSize = 56;          // without its extensible data
constexpr std::size_t kZip64EndSizeFieldEnd = 12;  // its size counts the bytes after the size field
constexpr std::size_t kZip64EndLocatorSize = 20;
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint16_t kEscape16 = 0xffff;
constexpr std::uint32_t kEscape32 = 0xffffffff;

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

// Deflate codes at most 258 bytes in two bits: an entry declaring more per
// compressed byte cannot be what it says.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

constexpr std::size_t kInputChunk = 256 * 1024;
constexpr std::size_t kOutputChunk = 1024 * 1024;

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

// Whether `size` bytes from `offset` end at or before `limit`, without the
// sum overflowing on values a hostile archive chose.
bool FitsBefore(std::uint64_t offset, std::uint64_t size, std::uint64_t limit) {
    return offset <= limit && size <= limit - offset;
}

// --- The central directory ---------------------------------------------------

struct EndRecord {
    std::uint64_t disk = 0, centralDirDisk = 0, entriesOnDisk = 0, totalEntries = 0;
    std::uint64_t centralDirSize = 0, centralDirOffset = 0;
    std::uint64_t directoryLimit = 0;  // where the central directory must end: the start of the end records
    bool spansDisks = false;           // the Zip64 locator names more than one disk

    bool HasEscapes() const {
        return disk == kEscape16 || centralDirDisk == kEscape16 || entriesOnDisk == kEscape16 ||
               totalEntries == kEscape16 || centralDirSize == kEscape32 || centralDirOffset == kEscape32;
    }
};

bool HasZip64Locator(std::span<const std::uint8_t> file, std::uint64_t endAt) {
    if (endAt < kZip64EndLocatorSize)
        return false;
    ByteCursor c(file.subspan(endAt - kZip64EndLocatorSize));
    return c.U32() == kZip64EndLocatorSignature;
}

// The Zip64 end of central directory record, found through the locator just
// before the ordinary end record at `endAt`; none when the two do not hold
// together: the record must lie whole before its locator.
std::optional<EndRecord> ReadZip64End(std::span<const std::uint8_t> file, std::uint64_t endAt) {
    const std::uint64_t locatorAt = endAt - kZip64EndLocatorSize;
    ByteCursor locator(file.subspan(locatorAt, kZip64EndLocatorSize));
    locator.Skip(4);  // signature
    const std::uint32_t recordDisk = locator.U32();
    const std::uint64_t recordAt = locator.U64();
    const std::uint32_t diskCount = locator.U32();
    if (!FitsBefore(recordAt, kZip64EndSize, locatorAt))
        return std::nullopt;
    ByteCursor c(file.subspan(recordAt, locatorAt - recordAt));
    const std::uint32_t signature = c.U32();
    const std::uint64_t recordSize = c.U64();
    c.Skip(4);  // versions made by and needed to extract
    EndRecord r;
    r.disk = c.U32();
    r.centralDirDisk = c.U32();
    r.entriesOnDisk = c.U64();
    r.totalEntries = c.U64();
    r.centralDirSize = c.U64();
    r.centralDirOffset = c.U64();
    r.directoryLimit = recordAt;
    r.spansDisks = recordDisk != 0 || diskCount > 1;
    constexpr std::uint64_t fixedAfterSize = kZip64EndSize - kZip64EndSizeFieldEnd;
    if (!c.Ok() || signature != kZip64EndSignature || recordSize < fixedAfterSize ||
        recordSize - fixedAfterSize > c.Remaining())
        return std::nullopt;
    return r;
}

// The end record whose signature starts at `at`, if it is one: its counts
// and disk numbers agree, the directory it describes lies before it and its
// comment fits in the file. When its fields say so, and a Zip64 locator
// precedes it, the Zip64 record stands in for it and must hold together too.
std::optional<EndRecord> ReadEndRecord(std::span<const std::uint8_t> file, std::uint64_t at) {
    ByteCursor c(file.subspan(at));
    if (c.U32() != kEndOfCentralDirSignature)
        return std::nullopt;
    EndRecord r;
    r.disk = c.U16();
    r.centralDirDisk = c.U16();
    r.entriesOnDisk = c.U16();
    r.totalEntries = c.U16();
    r.centralDirSize = c.U32();
    r.centralDirOffset = c.U32();
    const std::uint16_t commentLength = c.U16();
    r.directoryLimit = at;
    if (!c.Ok() || commentLength > c.Remaining())
        return std::nullopt;
    if (r.HasEscapes() && HasZip64Locator(file, at)) {
        const std::optional<EndRecord> zip64 = ReadZip64End(file, at);
        if (!zip64)
            return std::nullopt;
        r = *zip64;
    }
    if (r.totalEntries < r.entriesOnDisk || r.disk < r.centralDirDisk)
        return std::nullopt;
    if (!FitsBefore(r.centralDirOffset, r.centralDirSize, r.directoryLimit))
        return std::nullopt;
    return r;
}

// Scans the file's last bytes backwards for the end of central directory
// record; the first candidate from the end that holds together wins.
std::optional<EndRecord> FindEndRecord(std::span<const std::uint8_t> file) {
    if (file.size() < kEndOfCentralDirSize)
        return std::nullopt;
    const std::uint64_t lowest = file.size() > kEndSearchWindow ? file.size() - kEndSearchWindow : 0;
    for (std::uint64_t at = file.size() - kEndOfCentralDirSize + 1; at-- > lowest;) {
        if (auto r = ReadEndRecord(file, at))
            return r;
    }
    return std::nullopt;
}

// The data of the extra field `id` among a header's extra fields. A field
// whose length runs past the others ends the search.
std::optional<std::span<const std::uint8_t>> FindExtraField(std::span<const std::uint8_t> extra, std::uint16_t id) {
    ByteCursor c(extra);
    while (c.Remaining() >= 4) {
        const std::uint16_t fieldId = c.U16();
        const std::span<const std::uint8_t> data = c.Span(c.U16());
        if (!c.Ok())
            break;
        if (fieldId == id)
            return data;
    }
    return std::nullopt;
}

// Replaces the fields of a header that hold all ones by the 64-bit values of
// its Zip64 extra field, which holds just those, in this order. Without that
// field the values stand as they are. False when the field is too short.
struct Zip64Fields {
    std::uint64_t& uncompressedSize;
    std::uint64_t& compressedSize;
    std::uint64_t* localHeaderOffset = nullptr;  // central records only
    std::uint32_t* diskStart = nullptr;
};

bool ApplyZip64Extra(std::span<const std::uint8_t> extra, const Zip64Fields& f) {
    const bool uncompressed = f.uncompressedSize == kEscape32;
    const bool compressed = f.compressedSize == kEscape32;
    const bool offset = f.localHeaderOffset && *f.localHeaderOffset == kEscape32;
    const bool disk = f.diskStart && *f.diskStart == kEscape16;
    if (!uncompressed && !compressed && !offset && !disk)
        return true;
    const auto field = FindExtraField(extra, kZip64ExtraId);
    if (!field)
        return true;
    ByteCursor c(*field);
    if (uncompressed)
        f.uncompressedSize = c.U64();
    if (compressed)
        f.compressedSize = c.U64();
    if (offset)
        *f.localHeaderOffset = c.U64();
    if (disk)
        *f.diskStart = c.U32();
    return c.Ok();
}

// One central directory file header (APPNOTE 4.3.12), its name decoded.
ZipEntry ReadCentralRecord(ByteCursor& c) {
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
    std::uint32_t diskStart = c.U16();
    c.Skip(2);  // internal attributes
    e.externalAttributes = c.U32();
    e.localHeaderOffset = c.U32();
    const std::string_view rawName = c.Bytes(nameLength);
    const std::span<const std::uint8_t> extra = c.Span(extraLength);
    c.Skip(commentLength);
    if (!c.Ok() || signature != kCentralFileHeaderSignature ||
        !ApplyZip64Extra(extra, {e.uncompressedSize, e.compressedSize, &e.localHeaderOffset, &diskStart}))
        throw ArchiveError::CentralDirDamaged();
    if (diskStart != 0)
        throw ArchiveError::MultiVolumeUnsupported();
    e.name = DecodeEntryName(rawName, e.flags);
    return e;
}

bool AtCentralRecord(ByteCursor c) { return c.U32() == kCentralFileHeaderSignature; }

// Finds where an entry's data starts, after its local header, and whether that
// header repeats the central directory's sizes. An entry whose header is
// unreadable or whose data would reach into the central directory gets no
// data offset.
void ReadLocalHeader(std::span<const std::uint8_t> file, std::uint64_t centralDirOffset, ZipEntry& e) {
    if (!FitsBefore(e.localHeaderOffset, kLocalFileHeaderSize, centralDirOffset))
        return;
    ByteCursor c(file.subspan(e.localHeaderOffset, centralDirOffset - e.localHeaderOffset));
    const std::uint32_t signature = c.U32();
    c.Skip(14);  // versions, flags, method, time, date, CRC-32
    std::uint64_t compressedSize = c.U32();
    std::uint64_t uncompressedSize = c.U32();
    const std::uint16_t nameLength = c.U16();
    const std::uint16_t extraLength = c.U16();
    c.Skip(nameLength);
    const std::span<const std::uint8_t> extra = c.Span(extraLength);
    if (!c.Ok() || signature != kLocalFileHeaderSignature)
        return;
    const std::uint64_t data = e.localHeaderOffset + c.Position();
    if (!FitsBefore(data, e.compressedSize, centralDirOffset))
        return;
    e.dataOffset = data;
    e.sizesConfirmed = ApplyZip64Extra(extra, {uncompressedSize, compressedSize}) &&
                       compressedSize == e.compressedSize && uncompressedSize == e.uncompressedSize;
}

// --- The steps of one entry's extraction -------------------------------------

// Creates and enters `folders` one by one below `root`, never through a
// symbolic link, so that nothing an earlier entry or anyone else put there
// leads outside. Returns the innermost folder with its path.
std::pair<Fd, std::filesystem::path> OpenFolderChain(const std::filesystem::path& root,
                                                     std::span<const std::string> folders) {
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    Fd dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.IsOpen())
        throw ArchiveError::CannotCreateDirectory(root, errno);
    std::filesystem::path path = root;
    for (const std::string& name : folders) {
        path /= name;
        if (::mkdirat(dir.Get(), name.c_str(), 0777) != 0 && errno != EEXIST)
            throw ArchiveError::CannotCreateDirectory(path, errno);
        Fd sub(::openat(dir.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!sub.IsOpen())
            throw ArchiveError::CannotCreateDirectory(path, errno);
        dir = std::move(sub);
    }
    return {std::move(dir), std::move(path)};
}

// The folders that lead from `root` down to `folder`; none when `folder` does
// not lie below `root`.
std::optional<std::vector<std::string>> FoldersBelow(const std::filesystem::path& root,
                                                     const std::filesystem::path& folder) {
    if (root.empty())
        return std::nullopt;
    const std::filesystem::path relative = folder.lexically_relative(root);
    if (relative.empty())
        return std::nullopt;
    std::vector<std::string> names;
    for (const auto& part : relative) {
        if (part == "..")
            return std::nullopt;
        if (part != ".")
            names.push_back(part.string());
    }
    return names;
}

// The file an entry is written to. Until Keep() succeeds the file is deleted
// again when this goes out of scope, so that a failed or abandoned entry
// leaves nothing behind.
class OutputFile {
public:
    OutputFile(Fd folder, std::string name, std::filesystem::path path, Fd file)
        : m_folder(std::move(folder)),
          m_name(std::move(name)),
          m_path(std::move(path)),
          m_file(std::move(file)) {}
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() {
        if (m_kept)
            return;
        m_file.Reset();
        ::unlinkat(m_folder.Get(), m_name.c_str(), 0);
    }

    int Get() const { return m_file.Get(); }

    // The file at its final size, mapped for writing. The size is reserved on
    // disk first, so that a full disk is reported here with its reason rather
    // than as a fault when the mapped bytes are stored. None when the file
    // cannot be mapped; it is then written as a stream.
    std::optional<Mapping> MapAtSize(std::size_t size) {
        if (size > 0) {
            int rc;
            while ((rc = ::posix_fallocate(m_file.Get(), 0, static_cast<off_t>(size))) == EINTR) {
            }
            if (rc != 0)
                throw ArchiveError::CannotWriteFile(m_path, rc);
        }
        return Mapping::Writable(m_file.Get(), size);
    }

    void Write(const std::uint8_t* data, std::size_t n) {
        while (n > 0) {
            const ssize_t w = ::write(m_file.Get(), data, n);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                throw ArchiveError::CannotWriteFile(m_path, errno);
            }
            data += w;
            n -= static_cast<std::size_t>(w);
        }
    }

    // Closes the file; a close that fails (a full disk shows here on some
    // file systems) fails the entry as a failed write does.
    void Keep() {
        if (::close(m_file.Release()) != 0)
            throw ArchiveError::CannotWriteFile(m_path, errno);
        m_kept = true;
    }

private:
    Fd m_folder;
    std::string m_name;
    std::filesystem::path m_path;
    Fd m_file;
    bool m_kept = false;
};

// Replaces whatever is at `name` in `folder`, read-only files included; a
// symbolic link is removed itself, never written through.
OutputFile OpenTarget(Fd folder, const std::filesystem::path& folderPath, const std::string& name) {
    const std::filesystem::path path = folderPath / name;
    struct stat st {};
    if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode))
            throw ArchiveError::CannotCreateFile(path, EISDIR);
        ::unlinkat(folder.Get(), name.c_str(), 0);
    }
    Fd file(::openat(folder.Get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.IsOpen())
        throw ArchiveError::CannotCreateFile(path, errno);
    return OutputFile(std::move(folder), name, path, std::move(file));
}

// An entry's stored bytes, handed out chunk by chunk and decrypted on the way
// once keys are set.
class EntrySource {
public:
    EntrySource(std::span<const std::uint8_t> data, const std::filesystem::path& archive)
        : m_data(data),
          m_archive(archive) {}

    std::uint64_t Remaining() const { return m_data.size(); }
    void SetKeys(const PkwareKeys& keys) {
        m_keys = keys;
        m_encrypted = true;
    }

    // Reads up to `buffer.size()` bytes; returns how many.
    std::size_t Read(std::span<std::uint8_t> buffer) {
        const std::size_t n = std::min(m_data.size(), buffer.size());
        if (!ReadMapped([&] { std::copy_n(m_data.begin(), n, buffer.begin()); }))
            throw FileReadError(std::filesystem::absolute(m_archive));
        if (m_encrypted)
            m_keys.Decrypt(buffer.data(), n);
        m_data = m_data.subspan(n);
        return n;
    }

private:
    std::span<const std::uint8_t> m_data;
    const std::filesystem::path& m_archive;
    PkwareKeys m_keys{""};
    bool m_encrypted = false;
};

// Writes an entry's data out while counting it and summing its CRC-32. More
// bytes than the central directory declares fail the entry at once, so that a
// lying size cannot fill the disk.
class EntrySink {
public:
    EntrySink(OutputFile& out, std::uint64_t declaredSize) : m_out(out), m_declared(declaredSize) {}

    void Write(const std::uint8_t* data, std::size_t n) {
        m_written += n;
        if (m_written > m_declared)
            throw ArchiveError::InvalidEntry();
        m_crc = libdeflate_crc32(m_crc, data, n);
        m_out.Write(data, n);
    }

    // Sizes and CRC-32 are checked for every entry, encrypted or not.
    void CheckComplete(std::uint32_t expectedCrc) const {
        if (m_written != m_declared || m_crc != expectedCrc)
            throw ArchiveError::InvalidEntry();
    }

private:
    OutputFile& m_out;
    std::uint64_t m_declared;
    std::uint64_t m_written = 0;
    std::uint32_t m_crc = 0;
};

enum class Decryption { Ready, Abandoned };

// Sets the source up for a traditionally encrypted entry: reads its 12-byte
// header and asks for the password until one fits. The password that fitted
// last is tried first. Strong or AES encryption, which no password of ours
// opens, and a cancelled question abandon the entry.
Decryption SetUpDecryption(const ZipEntry& entry, EntrySource& source, ExtractQuestions& questions,
                           std::optional<std::string>& password) {
    if ((entry.flags & kFlagStrongEncryption) || entry.method == kMethodAes)
        return Decryption::Abandoned;
    if (source.Remaining() < kEncryptionHeaderSize)
        throw ArchiveError::InvalidEntry();
    std::uint8_t header[kEncryptionHeaderSize];
    source.Read(header);
    // With a data descriptor the CRC was not known when the header was
    // written, so the check byte comes from the modification time.
    const std::uint8_t checkByte = (entry.flags & kFlagDataDescriptor) ? static_cast<std::uint8_t>(entry.dosTime >> 8)
                                                                       : static_cast<std::uint8_t>(entry.crc32 >> 24);
    std::optional<PkwareKeys> keys;
    if (password)
        keys = TryPasswordSpellings(*password, header, checkByte);
    while (!keys) {
        std::optional<std::string> typed = questions.AskPassword(entry.name);
        if (!typed)
            return Decryption::Abandoned;
        if (CodePointCount(*typed) > kMaxPasswordLength)
            *typed = LeftChars(*typed, kMaxPasswordLength);
        keys = TryPasswordSpellings(*typed, header, checkByte);
        if (keys)
            password = *typed;
    }
    source.SetKeys(*keys);
    return Decryption::Ready;
}

void CopyStored(EntrySource& source, EntrySink& sink, std::vector<std::uint8_t>& buffer) {
    while (source.Remaining() > 0) {
        const std::size_t n = source.Read(buffer);
        sink.Write(buffer.data(), n);
    }
}

// Inflates raw deflate data. The stream must end where the data says it does;
// damaged data or data cut short fails the entry.
void Inflate(EntrySource& source, EntrySink& sink, std::vector<std::uint8_t>& input,
             std::vector<std::uint8_t>& output) {
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
        throw std::bad_alloc();
    struct End {
        z_stream& zs;
        ~End() { inflateEnd(&zs); }
    } endGuard{zs};
    for (;;) {
        if (zs.avail_in == 0) {
            if (source.Remaining() == 0)
                throw ArchiveError::InvalidEntry();
            zs.avail_in = static_cast<uInt>(source.Read(input));
            zs.next_in = input.data();
        }
        zs.next_out = output.data();
        zs.avail_out = static_cast<uInt>(output.size());
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const std::size_t produced = output.size() - zs.avail_out;
        if (produced > 0)
            sink.Write(output.data(), produced);
        if (rc == Z_STREAM_END)
            return;
        if (rc == Z_BUF_ERROR && zs.avail_in == 0)
            continue;  // needs more input
        if (rc != Z_OK)
            throw ArchiveError::InvalidEntry();
    }
}

// Whether an entry's sizes can be trusted before its data is read: its local
// header repeats them, and for deflated data, deflate can produce that many
// bytes from that many. Otherwise the entry is inflated as a stream, which
// stops at the first byte beyond the declared size.
bool SizesKnownUpFront(const ZipEntry& entry) {
    if (!entry.sizesConfirmed)
        return false;
    return entry.method != kMethodDeflated || entry.uncompressedSize <= entry.compressedSize * kMaxDeflateRatio;
}

// Entries up to this size are decompressed into memory and written with one
// write: the file's blocks are then allocated when the system writes it back,
// so a file replaced soon after (a manager choosing again) costs nothing to
// remove, where blocks reserved at once must be freed, and on a disk mounted
// with online discard each freed file costs milliseconds. Larger entries go
// straight into the output file mapped at its final size.
constexpr std::size_t kBufferedEntryLimit = 16u << 20;

// Decompresses a whole entry in one call into `bytes` and checks its CRC-32;
// false when the data is damaged. Throws when the archive cannot be read.
bool DecompressWhole(const ZipEntry& entry, std::span<const std::uint8_t> data, std::span<std::uint8_t> bytes,
                     libdeflate_decompressor& decompressor, const std::filesystem::path& archive) {
    // An empty entry has no bytes; the calls below still want a place.
    std::uint8_t none = 0;
    if (bytes.empty())
        bytes = std::span<std::uint8_t>(&none, 0);
    bool good = false;
    const bool read = ReadMapped([&] {
        if (entry.method == kMethodStored)
            std::copy(data.begin(), data.end(), bytes.begin());
        else if (libdeflate_deflate_decompress(&decompressor, data.data(), data.size(), bytes.data(), bytes.size(),
                                               nullptr) != LIBDEFLATE_SUCCESS)
            return;
        good = libdeflate_crc32(0, bytes.data(), bytes.size()) == entry.crc32;
    });
    if (!read)
        throw FileReadError(std::filesystem::absolute(archive));
    return good;
}

// Decompresses a whole entry in one call from the archive's mapping, into
// memory or into the output file mapped at its final size. False when the
// output cannot be mapped.
bool ExtractWhole(const ZipEntry& entry, std::span<const std::uint8_t> data, OutputFile& out,
                  libdeflate_decompressor& decompressor, const std::filesystem::path& archive) {
    const auto size = static_cast<std::size_t>(entry.uncompressedSize);
    if (entry.method == kMethodStored && data.size() != size)
        throw ArchiveError::InvalidEntry();
    if (size <= kBufferedEntryLimit) {
        const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        if (!DecompressWhole(entry, data, {buffer.get(), size}, decompressor, archive))
            throw ArchiveError::InvalidEntry();
        out.Write(buffer.get(), size);
        return true;
    }
    std::optional<Mapping> output = out.MapAtSize(size);
    if (!output)
        return false;
    if (!DecompressWhole(entry, data, output->WritableBytes(), decompressor, archive))
        throw ArchiveError::InvalidEntry();
    return true;
}

// The last steps of a good entry: the entry's date as the file's last-write
// time (read as local time), its read-only attribute, and the close that
// keeps the file.
void FinishFile(OutputFile& out, const ZipEntry& entry) {
    if (const auto when = DosToLocalTime(entry.dosDate, entry.dosTime)) {
        const struct timespec times[2] = {{*when, 0}, {*when, 0}};
        ::futimens(out.Get(), times);
    }
    struct stat st {};
    if (EntryIsReadOnly(entry) && ::fstat(out.Get(), &st) == 0)
        ::fchmod(out.Get(), st.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH));
    out.Keep();
}

}  // namespace

ZipFile::ZipFile(ExtractQuestions& questions) : m_questions(questions) {}

ZipFile::~ZipFile() { CloseArchive(); }

void ZipFile::FreeDecompressor::operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }

libdeflate_decompressor& ZipFile::Decompressor() {
    if (!m_decompressor) {
        m_decompressor.reset(libdeflate_alloc_decompressor());
        if (!m_decompressor)
            throw std::bad_alloc();
    }
    return *m_decompressor;
}

void ZipFile::CloseArchive() {
    m_archive.Reset();
    m_fd.Reset();
    m_openedMissing = false;
    m_entries.clear();
}

void ZipFile::OpenArchive() {
    CloseArchive();
    if (m_fileName.empty())
        throw ArchiveError::BlankFileName();
    // Non-blocking so that a named pipe given as the archive cannot hang the open.
    Fd fd(::open(m_fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.IsOpen()) {
        if (errno == ENOENT) {
            // Nothing to read: an archive without entries, and no file is made.
            m_openedMissing = true;
            return;
        }
        throw FileOpenError(std::filesystem::absolute(m_fileName), errno);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw FileOpenError(std::filesystem::absolute(m_fileName));
    std::optional<Mapping> archive = Mapping::ReadOnly(fd.Get(), static_cast<std::size_t>(st.st_size));
    if (!archive)
        throw FileReadError(std::filesystem::absolute(m_fileName));
    m_fd = std::move(fd);
    m_archive = std::move(*archive);
    try {
        ReadCentralDirectory();
    } catch (...) {
        CloseArchive();
        throw;
    }
}

// The central directory is copied out of the mapping before it is read, so
// that a failed read of the file cuts off nothing but the copy.
void ZipFile::ReadCentralDirectory() {
    const BusGuard guard;
    const std::span<const std::uint8_t> file = m_archive.Bytes();
    std::optional<EndRecord> end;
    if (!ReadMapped([&] { end = FindEndRecord(file); }))
        throw FileReadError(std::filesystem::absolute(m_fileName));
    if (!end)
        throw ArchiveError::ArchiveDamaged();
    if (end->spansDisks || end->disk != 0 || end->centralDirDisk != 0 || end->entriesOnDisk != end->totalEntries)
        throw ArchiveError::MultiVolumeUnsupported();

    std::vector<std::uint8_t> dir(end->centralDirSize);
    const auto stored = file.subspan(end->centralDirOffset, end->centralDirSize);
    if (!ReadMapped([&] { std::copy(stored.begin(), stored.end(), dir.begin()); }))
        throw FileReadError(std::filesystem::absolute(m_fileName));
    ByteCursor c(dir);
    // Every record takes 46 bytes at least, which bounds what a count can ask for.
    m_entries.reserve(std::min<std::uint64_t>(end->totalEntries, end->centralDirSize / kCentralFileHeaderSize));
    std::uint64_t compressedTotal = 0;
    for (std::uint64_t i = 0; i < end->totalEntries; ++i) {
        if (c.Remaining() == 0)
            throw ArchiveError::EntryCountMismatch(end->totalEntries, i);
        m_entries.push_back(ReadCentralRecord(c));
        // Counted no further than one past the archive's size, so that sizes
        // a hostile archive chose cannot overflow the sum.
        const std::uint64_t beyond = file.size() + 1;
        compressedTotal = std::min(compressedTotal + std::min(m_entries.back().compressedSize, beyond), beyond);
    }
    // Records beyond the count would be left unread: the archive is not what
    // its end record says, and half of it is not read as the whole.
    if (AtCentralRecord(c)) {
        std::uint64_t found = end->totalEntries;
        for (; AtCentralRecord(c); ++found)
            ReadCentralRecord(c);
        throw ArchiveError::EntryCountMismatch(end->totalEntries, found);
    }
    if (compressedTotal > file.size())
        throw ArchiveError::SizesExceedArchive();
    LocateEntryData(end->centralDirOffset);
}

// Finds where each entry's data lies and refuses entries whose bytes reach
// into the central directory or share bytes with another entry: a legitimate
// archive never does either, and overlapping entries are how a small archive
// pretends to hold terabytes.
void ZipFile::LocateEntryData(std::uint64_t centralDirOffset) {
    const std::span<const std::uint8_t> file = m_archive.Bytes();
    if (!ReadMapped([&] {
            for (ZipEntry& e : m_entries)
                ReadLocalHeader(file, centralDirOffset, e);
        }))
        throw FileReadError(std::filesystem::absolute(m_fileName));
    struct Span {
        std::uint64_t begin, end;
        std::size_t index;
    };
    std::vector<Span> spans;
    spans.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (const ZipEntry& e = m_entries[i]; e.dataOffset)
            spans.push_back({e.localHeaderOffset, *e.dataOffset + e.compressedSize, i});
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
    if (!m_fd.IsOpen())
        return;
    m_password.reset();
    const BusGuard guard;
    const auto below = FoldersBelow(m_rootDir, m_baseDir);
    m_chainRoot = below ? m_rootDir : m_baseDir;
    m_baseChain = below.value_or(std::vector<std::string>{});
    for (const ZipEntry& entry : m_entries) {
        // "*" also matches folder separators, so the stored folders of a name
        // do not change whether it matches.
        if (!MatchesMask(entry.name, kCsvMask))
            continue;
        for (;;) {
            try {
                ExtractEntry(entry);
                break;
            } catch (const ArchiveError& e) {
                const EntryFailureAnswer answer =
                    m_questions.AskEntryFailure({entry.name, e.what(), e.SystemReason(), e.WriteFailed()});
                if (answer == EntryFailureAnswer::Retry)
                    continue;
                if (answer == EntryFailureAnswer::Abort)
                    return;
                break;
            }
        }
    }
}

// Entries whose sizes can be trusted up front and that are not encrypted are
// decompressed in one call into the mapped output; the others, and any whose
// output cannot be mapped, are inflated as a stream with zlib.
void ZipFile::ExtractEntry(const ZipEntry& entry) {
    const auto parts = SplitEntryName(entry.name);
    if (!parts)
        return;  // a name that could lead outside is passed over
    const bool namesFolder = IsSeparator(entry.name.back());
    const bool isFolder = namesFolder || (entry.externalAttributes & kDosDirectory) != 0;
    // Checks that need no output come first, so a refused entry writes nothing.
    if (!isFolder && (!entry.dataOffset || entry.uncompressedSize > kMaxEntrySize))
        throw ArchiveError::InvalidEntry();

    std::vector<std::string> folders = m_baseChain;
    folders.insert(folders.end(), parts->begin(), namesFolder ? parts->end() : parts->end() - 1);
    auto [folder, folderPath] = OpenFolderChain(m_chainRoot, folders);
    if (isFolder)
        return;
    OutputFile out = OpenTarget(std::move(folder), folderPath, parts->back());

    const std::span<const std::uint8_t> data = m_archive.Bytes().subspan(*entry.dataOffset, entry.compressedSize);
    EntrySource source(data, m_fileName);
    const bool encrypted = (entry.flags & kFlagEncrypted) != 0;
    if (encrypted && SetUpDecryption(entry, source, m_questions, m_password) == Decryption::Abandoned)
        return;
    if (entry.method == kMethodDeflate64)
        throw ArchiveError::Deflate64Unsupported();
    if (entry.method != kMethodStored && entry.method != kMethodDeflated)
        throw ArchiveError::InvalidEntry();

    if (!encrypted && SizesKnownUpFront(entry) && ExtractWhole(entry, data, out, Decompressor(), m_fileName)) {
        FinishFile(out, entry);
        return;
    }
    m_input.resize(kInputChunk);
    m_output.resize(kOutputChunk);
    EntrySink sink(out, entry.uncompressedSize);
    if (entry.method == kMethodStored)
        CopyStored(source, sink, m_input);
    else
        Inflate(source, sink, m_input, m_output);
    sink.CheckComplete(entry.crc32);
    FinishFile(out, entry);
}

}  // namespace cadrix
