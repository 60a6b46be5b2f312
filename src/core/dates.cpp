#include "core/dates.h"

#include <chrono>
#include <ctime>

namespace cadrix {

namespace {

std::optional<int> Digits(std::string_view text) {
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

std::optional<std::int64_t> DayOfDateText(std::string_view date) {
    if (date.size() != 10 || date[2] != '.' || date[5] != '.')
        return std::nullopt;
    const auto d = Digits(date.substr(0, 2));
    const auto m = Digits(date.substr(3, 2));
    const auto y = Digits(date.substr(6, 4));
    if (!d || !m || !y)
        return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year(*y), std::chrono::month(static_cast<unsigned>(*m)),
                                          std::chrono::day(static_cast<unsigned>(*d))};
    if (!ymd.ok())
        return std::nullopt;
    return std::chrono::sys_days(ymd).time_since_epoch().count();
}

std::string TimeText(std::int64_t seconds, Clock clock, const char* format) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!(clock == Clock::Local ? ::localtime_r(&t, &tm) : ::gmtime_r(&t, &tm)))
        return {};
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, format, &tm));
}

}  // namespace cadrix
