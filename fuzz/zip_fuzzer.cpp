// Any bytes at all, opened as an archive and extracted into a scratch folder:
// the reader must end with entries or with an archive error, and never crash,
// hang, leak or read out of bounds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "import/archive_error.h"
#include "import/extract_questions.h"
#include "import/zip_file.h"

namespace {

namespace fs = std::filesystem;

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

// One scratch folder per process, removed when the fuzzer exits.
struct Scratch {
    fs::path root;
    Scratch() {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        root = base / ("cadrix-zip-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(root);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

fs::path ScratchRoot() {
    static const Scratch scratch;
    return scratch.root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path root = ScratchRoot();
    const fs::path archive = root / "input.zip";
    const fs::path target = root / "out";
    {
        std::ofstream f(archive, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    fs::create_directories(target);

    FuzzQuestions questions;
    cadrix::ZipFile zip(questions);
    zip.SetFileName(archive);
    zip.SetBaseDir(target);
    try {
        zip.OpenArchive();
        zip.ExtractFiles();
        zip.CloseArchive();
    } catch (const cadrix::ArchiveError&) {
    } catch (const cadrix::FileOpenError&) {
    } catch (const cadrix::FileReadError&) {
    }

    // Nothing may appear beside the scratch folder and the input.
    for (const auto& e : fs::directory_iterator(root)) {
        if (e.path() != archive && e.path() != target) {
            std::fprintf(stderr, "written outside the target folder: %s\n", e.path().c_str());
            __builtin_trap();
        }
    }
    fs::remove_all(target);
    return 0;
}
