// Any bytes at all, read as an archive and every entry decoded in memory: the
// reader must end with entries or with an archive error, and never crash,
// hang, leak or read out of bounds. An entry that reads without error holds
// exactly the size its directory declares.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "import/archive_error.h"
#include "import/extract_questions.h"
#include "import/zip_archive.h"
#include "import/zip_entry_reader.h"

namespace {

// Ignores failed entries; offers one password per encrypted entry, so that
// decryption runs too, then gives up.
class FuzzQuestions : public cadrix::ExtractQuestions {
public:
    cadrix::EntryFailureAnswer AskEntryFailure(const cadrix::EntryFailure&) override {
        return cadrix::EntryFailureAnswer::Ignore;
    }
    std::optional<std::string> AskPassword(const std::string& entry) override {
        if (entry == m_lastEntry)
            return std::nullopt;
        m_lastEntry = entry;
        return std::string("secret");
    }
    std::string m_lastEntry;
};

// Keeps an entry's bytes in memory.
class MemoryOutput : public cadrix::EntryOutput {
public:
    void Write(const std::uint8_t* data, std::size_t n) override { bytes.insert(bytes.end(), data, data + n); }
    std::optional<std::span<std::uint8_t>> Room(std::size_t size) override {
        bytes.resize(size);
        return std::span<std::uint8_t>(bytes);
    }
    void Filled() override {}

    std::vector<std::uint8_t> bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzQuestions questions;
    try {
        const cadrix::ZipArchive archive(std::as_bytes(std::span(data, size)), {});
        cadrix::EntryReader reader(archive, questions);
        for (const cadrix::ZipEntry& entry : archive.Entries()) {
            MemoryOutput out;
            try {
                if (reader.Read(entry, out) == cadrix::EntryRead::Done && out.bytes.size() != entry.uncompressedSize) {
                    std::fprintf(stderr, "%s: %zu bytes read, %llu declared\n", entry.name.c_str(), out.bytes.size(),
                                 static_cast<unsigned long long>(entry.uncompressedSize));
                    __builtin_trap();
                }
            } catch (const cadrix::ArchiveError&) {
            }
        }
    } catch (const cadrix::ArchiveError&) {
    }
    return 0;
}
