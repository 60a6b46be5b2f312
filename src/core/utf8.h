#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cadrix {

// Where the program counts characters it counts code points, never bytes.

void AppendUtf8(std::string& out, char32_t cp);

// Decodes UTF-8; a byte that starts no valid sequence decodes as U+FFFD.
std::vector<char32_t> DecodeUtf8(std::string_view text);
std::string EncodeUtf8(const std::vector<char32_t>& cps);

// Well-formed UTF-8: no stray bytes, no overlong forms, no surrogates.
bool IsValidUtf8(std::string_view bytes);

// `bytes` with every byte that starts no well-formed sequence replaced by
// U+FFFD: a file name, which Linux lets be any bytes, made fit to print.
std::string ValidUtf8(std::string_view bytes);

std::size_t CodePointCount(std::string_view text);

// The first / last n code points, and the text without its last n code points.
std::string LeftChars(std::string_view text, std::size_t n);
std::string RightChars(std::string_view text, std::size_t n);
std::string DropRightChars(std::string_view text, std::size_t n);

// Letter case folded for ASCII and the Cyrillic alphabet, as file names are
// compared on the systems the game's managers use.
char32_t FoldCase(char32_t cp);

}  // namespace cadrix
