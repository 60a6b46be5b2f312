#pragma once

#include <string>
#include <string_view>

#include "export/output_file.h"

namespace cadrix {

// A minimal streaming JSON writer: enough for the report's nested objects and
// arrays of strings, with commas placed by the writer. Given a sink, it hands
// the text on as it goes instead of holding it.
class JsonWriter {
public:
    JsonWriter() = default;
    explicit JsonWriter(OutputSink& sink) : m_sink(&sink) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);
    void String(std::string_view value);
    void Null();
    void Int(long long value);
    // The shortest text that reads back as the same double; null when not finite.
    void Number(double value);

    // Everything written, without a sink.
    const std::string& Text() const { return m_out; }
    // Hands what is held to the sink.
    void Flush();

private:
    static constexpr std::size_t kSpillSize = 64 * 1024;
    void Spill() {
        if (m_sink && m_out.size() >= kSpillSize)
            Flush();
    }

    void Separate();
    void Open(char bracket);
    void Close(char bracket);
    // A string, number or null, already written as JSON.
    void Scalar(std::string_view text);

    OutputSink* m_sink = nullptr;
    std::string m_out;
    bool m_needComma = false;
    bool m_afterKey = false;
};

std::string JsonEscape(std::string_view text);

}  // namespace cadrix
