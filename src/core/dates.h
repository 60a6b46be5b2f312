#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace cadrix {

// The day of a date written dd.MM.yyyy, counted from 1 January 1970; none for
// any other text or a date that does not exist.
std::optional<std::int64_t> DayOfDateText(std::string_view date);

}  // namespace cadrix
