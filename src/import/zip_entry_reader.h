#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "import/extract_questions.h"
#include "import/zip_archive.h"

struct libdeflate_decompressor;

namespace cadrix {

// Where the bytes of one entry go as it is read: a file, or memory.
class EntryOutput {
public:
    virtual ~EntryOutput() = default;

    // Takes the next decoded bytes; throws an ArchiveError when it cannot.
    virtual void Write(const std::uint8_t* data, std::size_t n) = 0;
    // Room for the whole entry at its final size, so that it is decoded in one
    // call; none when the output has no such room, and the bytes then come
    // through Write. Filled is called once the room holds the checked entry.
    virtual std::optional<std::span<std::uint8_t>> Room(std::size_t size) = 0;
    virtual void Filled() = 0;
};

enum class EntryRead { Done, Abandoned };

// Reads the entries of one archive: decrypts traditionally encrypted ones
// with a password asked through the questions (the one that fitted last is
// tried first), inflates deflated ones, and checks every entry's size and
// CRC-32. An entry whose data fails its checks throws ArchiveError; nothing
// beyond its declared size is ever produced.
class EntryReader {
public:
    EntryReader(const ZipArchive& archive, ExtractQuestions& questions);
    ~EntryReader();
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    // What must hold before any output is made for a file entry: its data
    // lies where it may, and it is not larger than a statistics file may be.
    void CheckReadable(const ZipEntry& entry) const;
    // Decodes `entry` into `out`. Abandoned when the entry is encrypted in a
    // way no password of ours opens, or the password question was cancelled.
    EntryRead Read(const ZipEntry& entry, EntryOutput& out);

private:
    bool ReadWhole(const ZipEntry& entry, EntryOutput& out);
    libdeflate_decompressor& Decompressor();

    struct FreeDecompressor {
        void operator()(libdeflate_decompressor* d) const;
    };

    const ZipArchive& m_archive;
    ExtractQuestions& m_questions;
    std::optional<std::string> m_password;  // the last password that fitted
    std::vector<std::uint8_t> m_input;
    std::vector<std::uint8_t> m_output;
    std::unique_ptr<libdeflate_decompressor, FreeDecompressor> m_decompressor;
};

}  // namespace cadrix
