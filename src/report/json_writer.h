#pragma once

#include <string>
#include <string_view>

namespace cadrix {

// A minimal streaming JSON writer: enough for the report's nested objects and
// arrays of strings, with commas placed by the writer.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);
    void String(std::string_view value);
    void Null();
    void Int(long long value);

    const std::string& Text() const { return m_out; }

private:
    void Separate();

    std::string m_out;
    bool m_needComma = false;
    bool m_afterKey = false;
};

std::string JsonEscape(std::string_view text);

}  // namespace cadrix
