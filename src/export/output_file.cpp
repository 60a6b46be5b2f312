#include "export/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace cadrix {

namespace {

std::string Reason(int systemError) { return std::generic_category().message(systemError); }

// The mode a new file gets from the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
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

OutputFile::OutputFile(std::filesystem::path target) : m_target(std::move(target)) {
    // A link stays a link: the file it points to is replaced.
    std::error_code ec;
    if (std::filesystem::is_symlink(m_target, ec)) {
        auto resolved = std::filesystem::weakly_canonical(m_target, ec);
        if (!ec)
            m_target = std::move(resolved);
    }
    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    std::string pattern = (folder / ("." + m_target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = Fd(::mkstemp(name.data()));
    if (!m_fd.IsOpen())
        Fail(errno);
    m_temp = name.data();
}

OutputFile::~OutputFile() {
    if (m_committed)
        return;
    m_fd.Reset();
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
}

void OutputFile::Put(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd.Get(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(n < 0 ? errno : EIO);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void OutputFile::Commit() {
    Flush();
    // An existing file keeps its permissions; a new one gets the umask's.
    struct stat old {};
    const mode_t mode = ::stat(m_target.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    if (::fchmod(m_fd.Get(), mode) != 0 || ::fsync(m_fd.Get()) != 0)
        Fail(errno);
    if (::close(m_fd.Release()) != 0)
        Fail(errno);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0)
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
