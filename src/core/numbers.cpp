#include "core/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "core/codepage.h"
#include "core/utf8.h"

namespace cadrix {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Appends the run of digits at `i` to `out`, moving `i` past it; returns its length.
std::size_t CopyDigits(std::string_view text, std::size_t& i, std::string& out) {
    const std::size_t from = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    out.append(text.substr(from, i - from));
    return i - from;
}

// A value as decimal digits: value = 0.d1d2d3... x 10^(pointPos), digits
// without a leading zero unless the value is zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // 18 significant digits, as the extended type holds
    int pointPos = 0;    // digits before the decimal point
};

constexpr int kExtendedDigits = 18;

DecimalDigits ToDecimalDigits(long double value) {
    DecimalDigits d;
    d.negative = std::signbit(value) && value != 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", kExtendedDigits - 1, std::fabs(value));
    // buf: d.ddddde[+-]xx
    std::string text(buf);
    const auto e = text.find('e');
    d.digits.push_back(text[0]);
    d.digits += text.substr(2, e - 2);
    d.pointPos = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero; may carry into
// a new leading digit, which moves the decimal point.
void RoundDigits(DecimalDigits& d, int keep) {
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    const bool roundUp = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (!roundUp)
        return;
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
        d.digits[static_cast<std::size_t>(i)] = '0';
        --i;
    }
    if (i >= 0) {
        ++d.digits[static_cast<std::size_t>(i)];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.pointPos;
    }
}

bool AllZero(const std::string& digits) {
    for (char c : digits) {
        if (c != '0')
            return false;
    }
    return true;
}

// The common case of GroupThousands, where characters are bytes.
std::string GroupAscii(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    if (!text.empty() && text[0] == '-') {
        out.push_back('-');
        i = 1;
    }
    const std::size_t n = text.size() - i;
    out.reserve(text.size() + n / 3);
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0 && (n - k) % 3 == 0)
            out.push_back('.');
        out.push_back(text[i + k]);
    }
    return out;
}

}  // namespace

std::optional<std::int32_t> ParseWhole(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<long double> ParseDecimal(std::string_view text) {
    std::size_t i = 0;
    std::string c_form;  // the same number in the C locale's notation
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        c_form.push_back(text[i++]);
    std::size_t digits = CopyDigits(text, i, c_form);
    if (i < text.size() && text[i] == ',') {
        c_form.push_back('.');
        ++i;
        digits += CopyDigits(text, i, c_form);
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        c_form.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            c_form.push_back(text[i++]);
        const std::size_t expDigits = CopyDigits(text, i, c_form);
        if (expDigits == 0 || expDigits > 5)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const long double value = std::strtold(c_form.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string WholeText(std::int64_t value) { return std::to_string(value); }

namespace {

// General format; with `maxDecimals` the value is also rounded to that many
// fraction digits, for a value known to have no more.
std::string GeneralTextWithin(long double value, std::optional<int> maxDecimals) {
    constexpr int kPrecision = 15;
    if (value == 0 || !std::isfinite(value))
        return "0";
    DecimalDigits d = ToDecimalDigits(value);
    RoundDigits(d, maxDecimals ? std::min(kPrecision, d.pointPos + *maxDecimals) : kPrecision);
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        return "0";
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.pointPos > kPrecision || d.pointPos < -4) {
        // Scientific notation: 1,5E20, 1E-7.
        out.push_back(d.digits[0]);
        if (n > 1) {
            out.push_back(',');
            out += d.digits.substr(1);
        }
        out += "E" + std::to_string(d.pointPos - 1);
        return out;
    }
    if (d.pointPos <= 0) {
        out += "0,";
        out.append(static_cast<std::size_t>(-d.pointPos), '0');
        out += d.digits;
    } else if (d.pointPos >= n) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.pointPos - n), '0');
    } else {
        out += d.digits.substr(0, static_cast<std::size_t>(d.pointPos));
        out += ',';
        out += d.digits.substr(static_cast<std::size_t>(d.pointPos));
    }
    return out;
}

// The fraction digits of a decimal text without an exponent, or none.
std::optional<int> FractionDigits(std::string_view text) {
    if (text.find_first_of("eE") != std::string_view::npos)
        return std::nullopt;
    const auto comma = text.find(',');
    return comma == std::string_view::npos ? 0 : static_cast<int>(text.size() - comma - 1);
}

}  // namespace

std::string GeneralText(long double value) { return GeneralTextWithin(value, std::nullopt); }

std::string FixedText(long double value, int decimals) {
    DecimalDigits d;
    if (value != 0 && std::isfinite(value)) {
        d = ToDecimalDigits(value);
        RoundDigits(d, d.pointPos + decimals);
    }
    // Lay the digits out on a grid of pointPos integer and `decimals` fraction places.
    std::string intPart;
    std::string fracPart(static_cast<std::size_t>(decimals), '0');
    for (int k = 0; k < static_cast<int>(d.digits.size()); ++k) {
        const int place = d.pointPos - 1 - k;  // power of ten of this digit
        if (place >= 0) {
            intPart.push_back(d.digits[static_cast<std::size_t>(k)]);
        } else if (-place <= decimals) {
            fracPart[static_cast<std::size_t>(-place - 1)] = d.digits[static_cast<std::size_t>(k)];
        }
    }
    if (d.pointPos > static_cast<int>(d.digits.size()) && !d.digits.empty())
        intPart.append(static_cast<std::size_t>(d.pointPos - static_cast<int>(d.digits.size())), '0');
    if (intPart.empty())
        intPart = "0";
    std::string out;
    if (d.negative && !(AllZero(intPart) && AllZero(fracPart)))
        out.push_back('-');
    out += intPart;
    if (decimals > 0)
        out += "," + fracPart;
    return out;
}

std::optional<std::string> WholeChange(std::string_view start, std::string_view end) {
    const auto s = ParseWhole(start);
    const auto e = ParseWhole(end);
    if (!s || !e)
        return std::nullopt;
    return WholeText(static_cast<std::int64_t>(*e) - *s);
}

std::optional<std::string> DecimalChange(std::string_view start, std::string_view end) {
    const auto s = ParseDecimal(start);
    const auto e = ParseDecimal(end);
    if (!s || !e)
        return std::nullopt;
    // The difference of two exact decimals has no more fraction digits than
    // they have. Rounding to that many removes the binary noise that large
    // values leave in the last of 15 digits (36,2999999999993 for 36,3).
    const auto sd = FractionDigits(start);
    const auto ed = FractionDigits(end);
    if (sd && ed)
        return GeneralTextWithin(*e - *s, std::max(*sd, *ed));
    return GeneralText(*e - *s);
}

std::string GroupThousands(std::string_view text) {
    if (IsAscii(text))
        return GroupAscii(text);
    std::vector<char32_t> cps = DecodeUtf8(text);
    bool minus = false;
    if (!cps.empty() && cps.front() == U'-') {
        minus = true;
        cps.erase(cps.begin());
    }
    std::vector<char32_t> out;
    out.reserve(cps.size() + cps.size() / 3 + 1);
    if (minus)
        out.push_back(U'-');
    const std::size_t n = cps.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t fromRight = n - i;
        if (i > 0 && fromRight % 3 == 0)
            out.push_back(U'.');
        out.push_back(cps[i]);
    }
    return EncodeUtf8(out);
}

}  // namespace cadrix
