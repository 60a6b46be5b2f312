#include "core/utf8.h"

namespace cadrix {

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

namespace {

// Length in bytes of the well-formed sequence at i, or 0 when there is none.
std::size_t SequenceAt(std::string_view text, std::size_t i, char32_t& cp) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t len;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2;
        cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3;
        cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

// Byte offsets at which each code point starts, plus the end.
std::vector<std::size_t> Boundaries(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() + 1);
    std::size_t i = 0;
    while (i < text.size()) {
        starts.push_back(i);
        char32_t cp;
        const std::size_t len = SequenceAt(text, i, cp);
        i += len == 0 ? 1 : len;
    }
    starts.push_back(text.size());
    return starts;
}

}  // namespace

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        const std::size_t len = SequenceAt(text, i, cp);
        if (len == 0) {
            out.push_back(0xFFFD);
            ++i;
        } else {
            out.push_back(cp);
            i += len;
        }
    }
    return out;
}

std::string EncodeUtf8(const std::vector<char32_t>& cps) {
    std::string out;
    out.reserve(cps.size());
    for (char32_t cp : cps)
        AppendUtf8(out, cp);
    return out;
}

namespace {

// The length of the well-formed sequence at `i`, or 0 where none starts.
std::size_t WellFormedAt(std::string_view bytes, std::size_t i) {
    static constexpr char32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t cp;
    const std::size_t len = SequenceAt(bytes, i, cp);
    if (len == 0 || cp < kMinForLength[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = WellFormedAt(bytes, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::string ValidUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = WellFormedAt(bytes, i);
        if (len == 0) {
            AppendUtf8(out, 0xFFFD);
            ++i;
        } else {
            out.append(bytes.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::size_t CodePointCount(std::string_view text) { return Boundaries(text).size() - 1; }

std::string LeftChars(std::string_view text, std::size_t n) {
    const auto b = Boundaries(text);
    const std::size_t count = b.size() - 1;
    return std::string(text.substr(0, b[n < count ? n : count]));
}

std::string RightChars(std::string_view text, std::size_t n) {
    const auto b = Boundaries(text);
    const std::size_t count = b.size() - 1;
    return std::string(text.substr(b[n < count ? count - n : 0]));
}

std::string DropRightChars(std::string_view text, std::size_t n) {
    const auto b = Boundaries(text);
    const std::size_t count = b.size() - 1;
    return std::string(text.substr(0, b[n < count ? count - n : 0]));
}

char32_t FoldCase(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z')
        return cp + ('a' - 'A');
    if (cp >= 0x0410 && cp <= 0x042F)  // А..Я
        return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F)  // Ѐ..Џ, Ё among them
        return cp + 0x50;
    if (cp == 0x0490)  // Ґ
        return 0x0491;
    return cp;
}

}  // namespace cadrix
