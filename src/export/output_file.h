#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fd.h"

namespace cadrix {

// Where a report's bytes go. Writers append small pieces; the sink gathers
// them and hands them on in large blocks.
class OutputSink {
public:
    virtual ~OutputSink() = default;

    void Write(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() >= kBlockSize)
            Flush();
    }
    void Flush();

protected:
    // Takes one block; throws with the message to show when it cannot.
    virtual void Put(std::string_view bytes) = 0;

private:
    static constexpr std::size_t kBlockSize = 1 << 20;
    std::string m_buffer;
};

// Gathers the whole output in memory.
class StringSink : public OutputSink {
public:
    // Everything written so far.
    const std::string& Text();

protected:
    void Put(std::string_view bytes) override { m_text.append(bytes); }

private:
    std::string m_text;
};

// Standard output.
class StdoutSink : public OutputSink {
protected:
    void Put(std::string_view bytes) override;
};

// The files a report reads, which none of its outputs may replace: input
// archives, the files of input folders, the history database and its -wal and
// -shm files. A file is known by its device and inode, links resolved, and
// one that does not exist yet by its path with links resolved.
class ReadFiles {
public:
    // A file, or a folder with every file directly in it.
    void Add(const std::filesystem::path& input);
    // The file added whose identity `st` (the output's, when it exists) or
    // `path` (links resolved) shares; none when no file does.
    std::optional<std::filesystem::path> Match(const struct stat* st, const std::filesystem::path& path) const;

private:
    struct Known {
        std::filesystem::path path;
        std::filesystem::path resolved;
        bool exists = false;
        unsigned long long device = 0, inode = 0;
    };
    std::vector<Known> m_files;
};

// A file written under a temporary name beside its target and renamed into
// place by Commit, so that the target is either the old file, untouched, or
// the whole new one. Dropped without Commit (an error on the way), or ended
// by SIGINT, SIGTERM or SIGHUP, the temporary file is removed. Every failure
// throws with a message that names the target and the system's reason; a
// target that is one of `reads` is refused, naming both.
class OutputFile : public OutputSink {
public:
    // A link at `target` stays a link: the file it points to is replaced.
    explicit OutputFile(std::filesystem::path target, const ReadFiles* reads = nullptr);
    // `name` in the open `folder` (shown as `folderPath`). A link standing at
    // the name is never followed: it is replaced, its target untouched.
    OutputFile(const Fd& folder, const std::filesystem::path& folderPath, const std::string& name,
               const ReadFiles* reads = nullptr);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Commit();

protected:
    void Put(std::string_view bytes) override;

private:
    void Create(const ReadFiles* reads, bool followLink);
    [[noreturn]] void Fail(int systemError) const;

    std::filesystem::path m_target;  // as shown in messages
    Fd m_folder;
    std::string m_name;
    std::string m_tempName;
    int m_pendingSlot = -1;  // where the signal handlers find the temporary file
    Fd m_fd;
    bool m_committed = false;
};

// Writes `text` to `target` through an OutputFile.
void WriteWholeFile(const std::filesystem::path& target, std::string_view text);

}  // namespace cadrix
