#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadrix {

// The day of a date written dd.MM.yyyy, counted from 1 January 1970; none for
// any other text or a date that does not exist.
std::optional<std::int64_t> DayOfDateText(std::string_view date);

// A moment in seconds since 1970 written by strftime's `format`, on the
// host's local clock or in UTC; empty where the moment has no calendar date.
enum class Clock { Local, Utc };
std::string TimeText(std::int64_t seconds, Clock clock, const char* format);

}  // namespace cadrix
