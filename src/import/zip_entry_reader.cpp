#include "import/zip_entry_reader.h"

#include <algorithm>
#include <string_view>

#include <libdeflate.h>
#include <zlib.h>

#include "core/codepage.h"
#include "core/utf8.h"
#include "import/archive_error.h"
#include "import/mapped_read.h"

namespace cadrix {

namespace {

// Traditional PKWARE encryption puts 12 bytes before the data.
constexpr std::size_t kEncryptionHeaderSize = 12;

// Deflate codes at most 258 bytes in two bits: an entry declaring more per
// compressed byte cannot be what it says.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

constexpr std::size_t kInputChunk = 256 * 1024;
constexpr std::size_t kOutputChunk = 1024 * 1024;

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

// An entry's stored bytes, handed out chunk by chunk and decrypted on the way
// once keys are set.
class EntrySource {
public:
    EntrySource(std::span<const std::uint8_t> data, const ZipArchive& archive) : m_data(data), m_archive(archive) {}

    std::uint64_t Remaining() const { return m_data.size(); }
    void SetKeys(const PkwareKeys& keys) {
        m_keys = keys;
        m_encrypted = true;
    }

    // Reads up to `buffer.size()` bytes; returns how many.
    std::size_t Read(std::span<std::uint8_t> buffer) {
        const std::size_t n = std::min(m_data.size(), buffer.size());
        if (!ReadMapped([&] { std::copy_n(m_data.begin(), n, buffer.begin()); }))
            m_archive.ThrowReadError();
        if (m_encrypted)
            m_keys.Decrypt(buffer.data(), n);
        m_data = m_data.subspan(n);
        return n;
    }

private:
    std::span<const std::uint8_t> m_data;
    const ZipArchive& m_archive;
    PkwareKeys m_keys{""};
    bool m_encrypted = false;
};

// Writes an entry's data out while counting it and summing its CRC-32. More
// bytes than the central directory declares fail the entry at once, so that a
// lying size cannot fill the disk.
class EntrySink {
public:
    EntrySink(EntryOutput& out, std::uint64_t declaredSize) : m_out(out), m_declared(declaredSize) {}

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
    EntryOutput& m_out;
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
    if ((entry.flags & kZipFlagStrongEncryption) || entry.method == kZipMethodAes)
        return Decryption::Abandoned;
    if (source.Remaining() < kEncryptionHeaderSize)
        throw ArchiveError::InvalidEntry();
    std::uint8_t header[kEncryptionHeaderSize];
    source.Read(header);
    // With a data descriptor the CRC was not known when the header was
    // written, so the check byte comes from the modification time.
    const std::uint8_t checkByte = (entry.flags & kZipFlagDataDescriptor)
                                       ? static_cast<std::uint8_t>(entry.dosTime >> 8)
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
    if (const int rc = inflateInit2(&zs, -MAX_WBITS); rc != Z_OK)
        throw ArchiveError::CannotDecompress(zError(rc));
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
    return entry.method != kZipMethodDeflated || entry.uncompressedSize <= entry.compressedSize * kMaxDeflateRatio;
}

// Decompresses a whole entry in one call into `bytes` and checks its CRC-32;
// false when the data is damaged. Throws when the archive cannot be read.
bool DecompressWhole(const ZipEntry& entry, const ZipArchive& archive, std::span<std::uint8_t> bytes,
                     libdeflate_decompressor& decompressor) {
    const std::span<const std::uint8_t> data = archive.StoredData(entry);
    // An empty entry has no bytes; the calls below still want a place.
    std::uint8_t none = 0;
    if (bytes.empty())
        bytes = std::span<std::uint8_t>(&none, 0);
    bool good = false;
    const bool read = ReadMapped([&] {
        if (entry.method == kZipMethodStored)
            std::copy(data.begin(), data.end(), bytes.begin());
        else if (libdeflate_deflate_decompress(&decompressor, data.data(), data.size(), bytes.data(), bytes.size(),
                                               nullptr) != LIBDEFLATE_SUCCESS)
            return;
        good = libdeflate_crc32(0, bytes.data(), bytes.size()) == entry.crc32;
    });
    if (!read)
        archive.ThrowReadError();
    return good;
}

}  // namespace

EntryReader::EntryReader(const ZipArchive& archive, ExtractQuestions& questions)
    : m_archive(archive),
      m_questions(questions) {}

EntryReader::~EntryReader() = default;

void EntryReader::FreeDecompressor::operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }

libdeflate_decompressor& EntryReader::Decompressor() {
    if (!m_decompressor) {
        m_decompressor.reset(libdeflate_alloc_decompressor());
        if (!m_decompressor)
            throw ArchiveError::CannotDecompress(zError(Z_MEM_ERROR));
    }
    return *m_decompressor;
}

void EntryReader::CheckReadable(const ZipEntry& entry) const {
    if (!entry.dataOffset)
        throw ArchiveError::InvalidEntry();
    if (entry.uncompressedSize > kMaxEntrySize)
        throw ArchiveError::EntryTooLarge(m_archive.Source(), entry.name, entry.uncompressedSize, kMaxEntrySize);
}

// Decompresses a whole entry in one call from the archive's bytes into the
// output's room. False when the output has no room for it.
bool EntryReader::ReadWhole(const ZipEntry& entry, EntryOutput& out) {
    const auto size = static_cast<std::size_t>(entry.uncompressedSize);
    if (entry.method == kZipMethodStored && entry.compressedSize != size)
        throw ArchiveError::InvalidEntry();
    const std::optional<std::span<std::uint8_t>> room = out.Room(size);
    if (!room)
        return false;
    if (!DecompressWhole(entry, m_archive, *room, Decompressor()))
        throw ArchiveError::InvalidEntry();
    out.Filled();
    return true;
}

// Entries whose sizes can be trusted up front and that are not encrypted are
// decompressed in one call; the others, and any for which the output has no
// room, are inflated as a stream with zlib.
EntryRead EntryReader::Read(const ZipEntry& entry, EntryOutput& out) {
    CheckReadable(entry);
    EntrySource source(m_archive.StoredData(entry), m_archive);
    const bool encrypted = (entry.flags & kZipFlagEncrypted) != 0;
    if (encrypted && SetUpDecryption(entry, source, m_questions, m_password) == Decryption::Abandoned)
        return EntryRead::Abandoned;
    if (entry.method == kZipMethodDeflate64)
        throw ArchiveError::Deflate64Unsupported();
    if (entry.method != kZipMethodStored && entry.method != kZipMethodDeflated)
        throw ArchiveError::InvalidEntry();
    if (!encrypted && SizesKnownUpFront(entry) && ReadWhole(entry, out))
        return EntryRead::Done;
    m_input.resize(kInputChunk);
    m_output.resize(kOutputChunk);
    EntrySink sink(out, entry.uncompressedSize);
    if (entry.method == kZipMethodStored)
        CopyStored(source, sink, m_input);
    else
        Inflate(source, sink, m_input, m_output);
    sink.CheckComplete(entry.crc32);
    return EntryRead::Done;
}

}  // namespace cadrix
