#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadrix {

// Numbers stay text in every table; they are parsed only where a change or a
// total is computed, and turned back into text at once. The conventions are
// the Russian ones whatever the host locale: a decimal comma, "." only as the
// thousands mark that GroupThousands inserts.

// A whole number: an optional sign and decimal digits, within a signed 32-bit
// range. Anything else (blanks, a decimal comma, an empty text) is none.
std::optional<std::int32_t> ParseWhole(std::string_view text);

// A decimal number with a comma as its separator: an optional sign, digits
// with an optional fraction, an optional exponent. A point is not accepted.
std::optional<long double> ParseDecimal(std::string_view text);

// A whole number as a plain decimal text: "-" for a negative one, no "+".
std::string WholeText(std::int64_t value);

// General format with at most 15 significant digits, a decimal comma, no
// trailing zeros and no "+": -2, 0,25, 0.
std::string GeneralText(long double value);

// Fixed notation with exactly `decimals` fraction digits, rounded half away
// from zero on the value's 18-digit decimal form, with a decimal comma.
std::string FixedText(long double value, int decimals);

// End minus start of two whole-number texts, or none when either is not one.
std::optional<std::string> WholeChange(std::string_view start, std::string_view end);
// End minus start of two decimal texts, in GeneralText, or none. Without an
// exponent in either text the change is also rounded to the larger number of
// fraction digits of the two, so that it reads as the exact decimal difference.
std::optional<std::string> DecimalChange(std::string_view start, std::string_view end);

// Inserts "." before every complete group of three characters counted from
// the right, never at the front; a leading "-" stays in front. Characters are
// counted, not inspected: "12,5" becomes "1.2,5".
std::string GroupThousands(std::string_view text);

}  // namespace cadrix
