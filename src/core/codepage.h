#pragma once

#include <string>
#include <string_view>

namespace cadrix {

// The game exports its files in Windows-1251; ZIP tools of the DOS lineage
// store names in code page 866. Inside the program all text is UTF-8.

std::string Cp1251ToUtf8(std::string_view bytes);
std::string Cp866ToUtf8(std::string_view bytes);

// Characters that code page 1251 cannot hold become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// Byte by byte, as the system's OEM-to-ANSI conversion does: a character of
// code page 866 that code page 1251 lacks (box drawing, for instance) becomes '?'.
std::string Cp866ToCp1251(std::string_view bytes);

bool IsAscii(std::string_view bytes);

}  // namespace cadrix
