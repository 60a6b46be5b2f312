#include "core/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "core/utf8.h"

namespace cadrix {

namespace {

// A run of Cyrillic letters in a code page, in Unicode's order.
struct LetterRun {
    unsigned char firstByte;
    unsigned char count;
    char32_t firstLetter;
};

// The code points of the bytes 0x80 to 0xFF: the letter runs, and in byte
// order the characters of every other byte, as code page charts show them.
template <std::size_t N>
constexpr std::array<char32_t, 128> UpperHalf(const LetterRun (&runs)[N], std::u32string_view others) {
    std::array<char32_t, 128> table{};
    for (const LetterRun& run : runs) {
        for (unsigned i = 0; i < run.count; ++i)
            table[run.firstByte - 0x80u + i] = run.firstLetter + i;
    }
    std::size_t next = 0;
    for (char32_t& c : table) {
        if (c == 0)
            c = others.at(next++);  // too few characters fail to compile
    }
    return next == others.size() ? table : throw "a character too many";
}

// 0x98 is not assigned in code page 1251; it decodes to the replacement
// character.
constexpr LetterRun kCp1251Letters[] = {{0xC0, 64, U'А'}};
constexpr std::array<char32_t, 128> kCp1251 = UpperHalf(kCp1251Letters, U"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏ"
                                                                        U"ђ‘’“”•–—\uFFFD™љ›њќћџ"
                                                                        U"\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї"
                                                                        U"°±Ііґµ¶·ё№є»јЅѕї");

constexpr LetterRun kCp866Letters[] = {{0x80, 48, U'А'}, {0xE0, 16, U'р'}};
constexpr std::array<char32_t, 128> kCp866 = UpperHalf(kCp866Letters, U"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
                                                                      U"└┴┬├─┼╞╟╚╔╩╦╠═╬╧"
                                                                      U"╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
                                                                      U"ЁёЄєЇїЎў°∙·√№¤■\u00A0");

bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

std::string DecodeSingleByte(std::string_view bytes, const std::array<char32_t, 128>& high) {
    // A high byte takes at most three bytes in UTF-8; runs of ASCII, most of
    // a statistics file, are copied as they are.
    const auto highBytes = static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), IsHigh));
    std::string out;
    out.reserve(bytes.size() + 2 * highBytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t ascii = i;
        while (i < bytes.size() && !IsHigh(bytes[i]))
            ++i;
        out.append(bytes.data() + ascii, i - ascii);
        for (; i < bytes.size() && IsHigh(bytes[i]); ++i)
            AppendUtf8(out, high[static_cast<unsigned char>(bytes[i]) - 0x80u]);
    }
    return out;
}

char EncodeCp1251(char32_t cp) {
    if (cp < 0x80)
        return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kCp1251.size(); ++i) {
        if (kCp1251[i] == cp && cp != 0xFFFD)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
    // Fast path for the common case of a line that is plain ASCII.
    if (IsAscii(bytes))
        return std::string(bytes);
    return DecodeSingleByte(bytes, kCp1251);
}

std::string Cp866ToUtf8(std::string_view bytes) { return DecodeSingleByte(bytes, kCp866); }

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char32_t cp : DecodeUtf8(utf8))
        out.push_back(EncodeCp1251(cp));
    return out;
}

std::string Cp866ToCp1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        out.push_back(b < 0x80 ? static_cast<char>(b) : EncodeCp1251(kCp866[b - 0x80]));
    return out;
}

bool IsAscii(std::string_view bytes) {
    for (unsigned char b : bytes) {
        if (b >= 0x80)
            return false;
    }
    return true;
}

}  // namespace cadrix
