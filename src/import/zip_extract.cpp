#include "import/zip_extract.h"

#include <cerrno>
#include <ctime>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/fd.h"
#include "core/file_io.h"
#include "core/file_masks.h"
#include "core/wildcard.h"
#include "import/archive_error.h"
#include "import/mapped_read.h"
#include "import/mapping.h"
#include "import/zip_entry_reader.h"

namespace cadrix {

namespace {

// External attributes: the DOS bits sit in the low byte; Unix tools put the
// file mode in the high 16 bits and say so in the "made by" host.
constexpr std::uint32_t kDosReadOnly = 0x01;
constexpr std::uint32_t kDosDirectory = 0x10;
constexpr std::uint8_t kHostUnix = 3;

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
class EntryFile : public EntryOutput {
public:
    EntryFile(Fd folder, std::string name, std::filesystem::path path, Fd file)
        : m_folder(std::move(folder)),
          m_name(std::move(name)),
          m_path(std::move(path)),
          m_file(std::move(file)) {}
    EntryFile(const EntryFile&) = delete;
    EntryFile& operator=(const EntryFile&) = delete;
    ~EntryFile() override {
        if (m_kept)
            return;
        m_file.Reset();
        ::unlinkat(m_folder.Get(), m_name.c_str(), 0);
    }

    int Get() const { return m_file.Get(); }

    void Write(const std::uint8_t* data, std::size_t n) override {
        if (const int error = WriteAll(m_file.Get(), std::as_bytes(std::span(data, n))); error != 0)
            throw ArchiveError::CannotWriteFile(m_path, error);
    }

    // Entries up to kBufferedEntryLimit are decompressed into memory and
    // written with one write; larger ones straight into the file mapped at
    // its final size. None when the file cannot be mapped; it is then
    // written as a stream.
    std::optional<std::span<std::uint8_t>> Room(std::size_t size) override {
        if (size <= kBufferedEntryLimit) {
            m_buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
            m_bufferSize = size;
            return std::span<std::uint8_t>(m_buffer.get(), size);
        }
        std::optional<Mapping> mapped = MapAtSize(size);
        if (!mapped)
            return std::nullopt;
        m_mapped = std::move(*mapped);
        return m_mapped.WritableBytes();
    }

    void Filled() override {
        if (m_buffer) {
            Write(m_buffer.get(), m_bufferSize);
            m_buffer.reset();
        }
        m_mapped.Reset();
    }

    // Closes the file; a close that fails (a full disk shows here on some
    // file systems) fails the entry as a failed write does.
    void Keep() {
        if (::close(m_file.Release()) != 0)
            throw ArchiveError::CannotWriteFile(m_path, errno);
        m_kept = true;
    }

private:
    // Entries up to this size are written from memory: the file's blocks are
    // then allocated when the system writes it back, so a file replaced soon
    // after (a manager choosing again) costs nothing to remove, where blocks
    // reserved at once must be freed, and on a disk mounted with online
    // discard each freed file costs milliseconds.
    static constexpr std::size_t kBufferedEntryLimit = 16u << 20;

    // The file at its final size, mapped for writing. The size is reserved on
    // disk first, so that a full disk is reported here with its reason rather
    // than as a fault when the mapped bytes are stored.
    std::optional<Mapping> MapAtSize(std::size_t size) {
        int rc;
        while ((rc = ::posix_fallocate(m_file.Get(), 0, static_cast<off_t>(size))) == EINTR) {
        }
        if (rc != 0)
            throw ArchiveError::CannotWriteFile(m_path, rc);
        return Mapping::Writable(m_file.Get(), size);
    }

    Fd m_folder;
    std::string m_name;
    std::filesystem::path m_path;
    Fd m_file;
    bool m_kept = false;
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::size_t m_bufferSize = 0;
    Mapping m_mapped;
};

// Replaces whatever is at `name` in `folder`, read-only files included; a
// symbolic link is removed itself, never written through.
EntryFile OpenTarget(Fd folder, const std::filesystem::path& folderPath, const std::string& name) {
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
    return EntryFile(std::move(folder), name, path, std::move(file));
}

// The last steps of a good entry: the entry's date as the file's last-write
// time (read as local time), its read-only attribute, and the close that
// keeps the file.
void FinishFile(EntryFile& out, const ZipEntry& entry) {
    if (const auto when = DosToLocalTime(entry.dosDate, entry.dosTime)) {
        const struct timespec times[2] = {{*when, 0}, {*when, 0}};
        ::futimens(out.Get(), times);
    }
    struct stat st {};
    if (EntryIsReadOnly(entry) && ::fstat(out.Get(), &st) == 0)
        ::fchmod(out.Get(), st.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH));
    out.Keep();
}

// Writes one entry below the target: its folders, then its file. Checks
// that need no output come first, so a refused entry writes nothing.
void ExtractEntry(const ZipEntry& entry, EntryReader& reader, const std::filesystem::path& chainRoot,
                  const std::vector<std::string>& baseChain) {
    const auto parts = SplitEntryName(entry.name);
    if (!parts)
        return;  // a name that could lead outside is passed over
    const bool namesFolder = IsSeparator(entry.name.back());
    const bool isFolder = namesFolder || (entry.externalAttributes & kDosDirectory) != 0;
    if (!isFolder)
        reader.CheckReadable(entry);

    std::vector<std::string> folders = baseChain;
    folders.insert(folders.end(), parts->begin(), namesFolder ? parts->end() : parts->end() - 1);
    auto [folder, folderPath] = OpenFolderChain(chainRoot, folders);
    if (isFolder)
        return;
    EntryFile out = OpenTarget(std::move(folder), folderPath, parts->back());
    if (reader.Read(entry, out) == EntryRead::Done)
        FinishFile(out, entry);
}

}  // namespace

void ExtractCsvEntries(const ZipArchive& archive, const std::filesystem::path& folder, ExtractQuestions& questions,
                       const std::filesystem::path& root) {
    if (archive.Entries().empty())
        return;
    const BusGuard guard;
    EntryReader reader(archive, questions);
    const auto below = FoldersBelow(root, folder);
    const std::filesystem::path& chainRoot = below ? root : folder;
    const std::vector<std::string> baseChain = below.value_or(std::vector<std::string>{});
    for (const ZipEntry& entry : archive.Entries()) {
        // "*" also matches folder separators, so the stored folders of a name
        // do not change whether it matches.
        if (!MatchesMask(entry.name, kCsvMask))
            continue;
        for (;;) {
            try {
                ExtractEntry(entry, reader, chainRoot, baseChain);
                break;
            } catch (const ArchiveError& e) {
                const EntryFailureAnswer answer =
                    questions.AskEntryFailure({entry.name, e.what(), e.SystemReason(), e.WriteFailed()});
                if (answer == EntryFailureAnswer::Retry)
                    continue;
                if (answer == EntryFailureAnswer::Abort)
                    return;
                break;
            }
        }
    }
}

}  // namespace cadrix
