#pragma once

#include <cstdint>

namespace cadrix {

// A colour as the window and the report name it: 8-bit red, green and blue.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace cadrix
