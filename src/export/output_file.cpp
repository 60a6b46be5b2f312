#include "export/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <random>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "core/file_io.h"

namespace cadrix {

namespace {

std::string Reason(int systemError) { return std::generic_category().message(systemError); }

// The mode a new file gets from the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}


// The temporary files that a signal ending the program must not leave behind.
// The handler may only read what was prepared before: fixed slots of paths,
// each armed once its path is complete.
struct PendingRemoval {
    std::atomic<bool> claimed{false};
    std::atomic<bool> armed{false};
    char path[PATH_MAX] = {};
};
PendingRemoval g_pending[8];
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemovePendingAndEnd(int signal) {
    const int savedErrno = errno;
    for (PendingRemoval& pending : g_pending) {
        if (pending.armed.load())
            ::unlink(pending.path);
    }
    errno = savedErrno;
    // The handler was reset on entry and the signal is not blocked: this ends
    // the program as the signal would have.
    ::raise(signal);
}

// Installed once, and only over the default action: a signal the caller
// ignores (nohup) or handles itself stays so.
void InstallSignalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : kEndingSignals) {
            struct sigaction old {};
            if (::sigaction(signal, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL)
                continue;
            struct sigaction action {};
            action.sa_handler = RemovePendingAndEnd;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND | SA_NODEFER;
            ::sigaction(signal, &action, nullptr);
        }
    });
}

// The slot that now holds `path`; -1 when none is free or the path is too long.
int ArmPendingRemoval(const std::filesystem::path& path) {
    InstallSignalHandlers();
    const std::string text = path.string();
    if (path.empty() || text.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < static_cast<int>(std::size(g_pending)); ++i) {
        bool expected = false;
        if (!g_pending[i].claimed.compare_exchange_strong(expected, true))
            continue;
        std::memcpy(g_pending[i].path, text.c_str(), text.size() + 1);
        g_pending[i].armed.store(true);
        return i;
    }
    return -1;
}

void DisarmPendingRemoval(int slot) {
    if (slot < 0)
        return;
    g_pending[slot].armed.store(false);
    g_pending[slot].claimed.store(false);
}
}  // namespace

void OutputSink::Flush() {
    if (m_buffer.empty())
        return;
    Put(m_buffer);
    m_buffer.clear();
}

const std::string& StringSink::Text() {
    Flush();
    return m_text;
}

void StdoutSink::Put(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("Cannot write to standard output: " + Reason(errno));
}

void ReadFiles::Add(const std::filesystem::path& input) {
    std::error_code ec;
    std::vector<std::filesystem::path> files{input};
    if (std::filesystem::is_directory(input, ec)) {
        files.clear();
        for (const auto& entry : std::filesystem::directory_iterator(input, ec))
            files.push_back(entry.path());
    }
    for (const auto& file : files) {
        Known known{file, std::filesystem::weakly_canonical(file, ec)};
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0) {
            known.exists = true;
            known.device = st.st_dev;
            known.inode = st.st_ino;
        }
        m_files.push_back(std::move(known));
    }
}

std::optional<std::filesystem::path> ReadFiles::Match(const struct stat* st, const std::filesystem::path& path) const {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    for (const Known& known : m_files) {
        const bool sameFile = st && known.exists && known.device == st->st_dev && known.inode == st->st_ino;
        if (sameFile || (!known.resolved.empty() && known.resolved == resolved))
            return known.path;
    }
    return std::nullopt;
}

OutputFile::OutputFile(std::filesystem::path target, const ReadFiles* reads) : m_target(std::move(target)) {
    // A link stays a link: the file it points to is replaced.
    std::error_code ec;
    if (std::filesystem::is_symlink(m_target, ec)) {
        auto resolved = std::filesystem::weakly_canonical(m_target, ec);
        if (!ec)
            m_target = std::move(resolved);
    }
    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    m_folder = Fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_folder.IsOpen())
        Fail(errno);
    m_name = m_target.filename().string();
    Create(reads, true);
}

OutputFile::OutputFile(const Fd& folder, const std::filesystem::path& folderPath, const std::string& name,
                       const ReadFiles* reads)
    : m_target(folderPath / name), m_folder(::fcntl(folder.Get(), F_DUPFD_CLOEXEC, 0)), m_name(name) {
    if (!m_folder.IsOpen())
        Fail(errno);
    Create(reads, false);
}

void OutputFile::Create(const ReadFiles* reads, bool followLink) {
    if (reads) {
        struct stat st {};
        const bool exists = ::fstatat(m_folder.Get(), m_name.c_str(), &st, followLink ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
        if (const auto input = reads->Match(exists ? &st : nullptr, m_target))
            throw std::runtime_error("Cannot write file \"" + m_target.string() + "\": it is \"" + input->string() +
                                     "\", which this report reads");
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !m_fd.IsOpen(); ++attempt) {
        m_tempName = "." + m_name + "." + std::to_string(random() % 1000000000u);
        m_fd = Fd(::openat(m_folder.Get(), m_tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           0600));
        if (!m_fd.IsOpen() && errno != EEXIST)
            Fail(errno);
    }
    if (!m_fd.IsOpen())
        Fail(EEXIST);
    std::error_code ec;
    m_pendingSlot = ArmPendingRemoval(std::filesystem::absolute(m_target.parent_path() / m_tempName, ec));
}

OutputFile::~OutputFile() {
    DisarmPendingRemoval(m_pendingSlot);
    if (m_committed)
        return;
    m_fd.Reset();
    if (!m_tempName.empty() && m_folder.IsOpen())
        ::unlinkat(m_folder.Get(), m_tempName.c_str(), 0);
}

void OutputFile::Put(std::string_view bytes) {
    if (const int error = WriteAll(m_fd.Get(), bytes); error != 0)
        Fail(error);
}

void OutputFile::Commit() {
    Flush();
    // An existing file keeps its permissions; a new one, or one in a link's
    // place, gets the umask's.
    struct stat old {};
    const bool keep = ::fstatat(m_folder.Get(), m_name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
    const mode_t mode = keep ? (old.st_mode & 07777) : NewFileMode();
    if (::fchmod(m_fd.Get(), mode) != 0 || ::fsync(m_fd.Get()) != 0)
        Fail(errno);
    if (::close(m_fd.Release()) != 0)
        Fail(errno);
    if (::renameat(m_folder.Get(), m_tempName.c_str(), m_folder.Get(), m_name.c_str()) != 0)
        Fail(errno);
    m_committed = true;
}

void OutputFile::Fail(int systemError) const {
    throw std::runtime_error("Cannot write file \"" + m_target.string() + "\": " + Reason(systemError));
}

void WriteWholeFile(const std::filesystem::path& target, std::string_view text) {
    OutputFile file(target);
    file.Write(text);
    file.Commit();
}

}  // namespace cadrix
