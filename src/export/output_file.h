#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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

// A file written under a temporary name beside its target and renamed into
// place by Commit, so that the target is either the old file, untouched, or
// the whole new one. Dropped without Commit (an error on the way), the
// temporary file is removed. Every failure throws with a message that names
// the target and the system's reason.
class OutputFile : public OutputSink {
public:
    explicit OutputFile(std::filesystem::path target);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Commit();

protected:
    void Put(std::string_view bytes) override;

private:
    [[noreturn]] void Fail(int systemError) const;

    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    Fd m_fd;
    bool m_committed = false;
};

// Writes `text` to `target` through an OutputFile.
void WriteWholeFile(const std::filesystem::path& target, std::string_view text);

}  // namespace cadrix
