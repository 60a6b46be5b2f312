#pragma once

#include <array>
#include <string>

namespace cadrix {

// The detail panel's two-column grid: a caption and a value per row.
struct DetailPanel {
    static constexpr int kRows = 11;
    static const std::array<std::string, kRows>& Captions();  // "Имя" .. "Единые"
    std::array<std::string, kRows> values;
};

}  // namespace cadrix
