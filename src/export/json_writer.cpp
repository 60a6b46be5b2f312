#include "export/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace cadrix {

std::string JsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    // Runs of characters that stand as they are are copied whole.
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        }
        }
    }
    out.append(text.substr(plain));
    out.push_back('"');
    return out;
}

void JsonWriter::Separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_needComma)
        m_out.push_back(',');
}

void JsonWriter::Open(char bracket) {
    Separate();
    m_out.push_back(bracket);
    m_needComma = false;
}

void JsonWriter::Close(char bracket) {
    m_out.push_back(bracket);
    m_needComma = true;
    Spill();
}

void JsonWriter::Scalar(std::string_view text) {
    Separate();
    m_out += text;
    m_needComma = true;
    Spill();
}

void JsonWriter::Flush() {
    if (!m_sink)
        return;
    m_sink->Write(m_out);
    m_out.clear();
}

void JsonWriter::Key(std::string_view key) {
    Separate();
    m_out += JsonEscape(key);
    m_out.push_back(':');
    m_afterKey = true;
}

void JsonWriter::String(std::string_view value) { Scalar(JsonEscape(value)); }

void JsonWriter::Null() { Scalar("null"); }

void JsonWriter::Int(long long value) { Scalar(std::to_string(value)); }

void JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    Scalar(std::string_view(text, static_cast<std::size_t>(end - text)));
}

}  // namespace cadrix
