#include "import/zip_archive.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "core/codepage.h"
#include "core/utf8.h"
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

// Bit 11 of the flags: the name is UTF-8.
constexpr std::uint16_t kFlagUtf8Name = 0x0800;

// Names are decoded as the game's managers' systems decode them: without the
// UTF-8 flag the bytes are OEM (866) text, turned into ANSI (1251); then bytes
// that are valid UTF-8 beyond ASCII are taken as UTF-8, all else as 1251.
std::string DecodeEntryName(std::string_view raw, std::uint16_t flags) {
    std::string bytes = (flags & kFlagUtf8Name) ? std::string(raw) : Cp866ToCp1251(raw);
    if (!IsAscii(bytes) && IsValidUtf8(bytes))
        return bytes;
    return Cp1251ToUtf8(bytes);
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

// The record's counts and places, whose widths differ between the classic
// end record and the Zip64 one; what follows them is read by the caller.
struct EndFieldWidths {
    std::uint8_t disk, count, offset;
};

EndRecord ReadEndFields(ByteCursor& c, EndFieldWidths w) {
    EndRecord r;
    r.disk = c.Unsigned(w.disk);
    r.centralDirDisk = c.Unsigned(w.disk);
    r.entriesOnDisk = c.Unsigned(w.count);
    r.totalEntries = c.Unsigned(w.count);
    r.centralDirSize = c.Unsigned(w.offset);
    r.centralDirOffset = c.Unsigned(w.offset);
    return r;
}

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
    EndRecord r = ReadEndFields(c, {4, 8, 8});
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
    EndRecord r = ReadEndFields(c, {2, 2, 4});
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
}  // namespace

ZipArchive::ZipArchive(std::span<const std::byte> bytes, std::filesystem::path source)
    : m_bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
      m_source(std::move(source)) {
    ReadCentralDirectory();
}

void ZipArchive::ThrowReadError() const { throw FileReadError(std::filesystem::absolute(m_source)); }

// The central directory is copied out of the mapping before it is read, so
// that a failed read of the file cuts off nothing but the copy.
void ZipArchive::ReadCentralDirectory() {
    const BusGuard guard;
    const std::span<const std::uint8_t> file = m_bytes;
    std::optional<EndRecord> end;
    if (!ReadMapped([&] { end = FindEndRecord(file); }))
        ThrowReadError();
    if (!end)
        throw ArchiveError::ArchiveDamaged();
    if (end->spansDisks || end->disk != 0 || end->centralDirDisk != 0 || end->entriesOnDisk != end->totalEntries)
        throw ArchiveError::MultiVolumeUnsupported();

    std::vector<std::uint8_t> dir(end->centralDirSize);
    const auto stored = file.subspan(end->centralDirOffset, end->centralDirSize);
    if (!ReadMapped([&] { std::copy(stored.begin(), stored.end(), dir.begin()); }))
        ThrowReadError();
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
void ZipArchive::LocateEntryData(std::uint64_t centralDirOffset) {
    const std::span<const std::uint8_t> file = m_bytes;
    if (!ReadMapped([&] {
            for (ZipEntry& e : m_entries)
                ReadLocalHeader(file, centralDirOffset, e);
        }))
        ThrowReadError();
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

}  // namespace cadrix
