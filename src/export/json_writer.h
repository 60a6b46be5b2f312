#pragma once

#include <string>
#include <string_view>

namespace cadrix {

// A minimal streaming JSON writer: enough for the report's nested objects and
// arrays of strings, with commas placed by the writer.
class JsonWriter {
public:
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);
    void String(std::string_view value);
    void Null();
    void Int(long long value);

    const std::string& Text() const { return m_out; }

private:
    void Separate();
    void Open(char bracket);
    void Close(char bracket);
    // A string, number or null, already written as JSON.
    void Scalar(std::string_view text);

    std::string m_out;
    bool m_needComma = false;
    bool m_afterKey = false;
};

std::string JsonEscape(std::string_view text);

}  // namespace cadrix
