#include "core/numbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrix {
namespace {

TEST(GroupThousands, MatchesTheTable) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"0", "0"},
        {"123", "123"},
        {"1234", "1.234"},
        {"123456", "123.456"},
        {"1234567", "1.234.567"},
        {"1234567890", "1.234.567.890"},
        {"-1234567", "-1.234.567"},
        {"-123", "-123"},
        {"-12", "-12"},
        {"-", "-"},
        {"n/a", "n/a"},
        {"12,5", "1.2,5"},
        {"1234,75", "1.234.,75"},
        {"1234,5", "123.4,5"},
        {"-0", "-0"},
        {"-12345", "-12.345"},
        // Characters are counted as code points, not bytes.
        {"абвг", "а.бвг"},
        {"мест", "м.ест"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(GroupThousands(input), expected) << "input: " << input;
}

TEST(GroupThousands, PlacesDotsForEveryLengthUpToTwenty) {
    std::string digits;
    for (int len = 1; len <= 20; ++len) {
        digits.push_back(static_cast<char>('0' + len % 10));
        const std::string grouped = GroupThousands(digits);
        int dots = 0;
        for (char c : grouped)
            dots += c == '.';
        EXPECT_EQ(dots, (len - 1) / 3) << digits;
        EXPECT_NE(grouped.front(), '.') << digits;
        // Every dot is followed by exactly three digits before the next dot or the end.
        for (std::size_t i = 0; i < grouped.size(); ++i) {
            if (grouped[i] == '.') {
                EXPECT_TRUE(i + 4 == grouped.size() || grouped[i + 4] == '.') << grouped;
            }
        }
        EXPECT_EQ(GroupThousands("-" + digits), "-" + grouped);
    }
}

TEST(ParseWhole, AcceptsOnlySignAndDigitsWithin32Bits) {
    EXPECT_EQ(ParseWhole("0"), 0);
    EXPECT_EQ(ParseWhole("-15"), -15);
    EXPECT_EQ(ParseWhole("+15"), 15);
    EXPECT_EQ(ParseWhole("007"), 7);
    EXPECT_EQ(ParseWhole("2147483647"), 2147483647);
    EXPECT_EQ(ParseWhole("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "+", " 1", "1 ", "1,0", "1.0", "n/a", "2147483648", "-2147483649",
                            "99999999999999999999", "0x10", "$10", "1e3", "--1"})
        EXPECT_FALSE(ParseWhole(bad).has_value()) << bad;
}

TEST(ParseDecimal, TakesTheCommaButNotThePoint) {
    EXPECT_EQ(ParseDecimal("10,5"), 10.5L);
    EXPECT_EQ(ParseDecimal("-0,25"), -0.25L);
    EXPECT_EQ(ParseDecimal("47"), 47.0L);
    EXPECT_EQ(ParseDecimal(",5"), 0.5L);
    EXPECT_EQ(ParseDecimal("5,"), 5.0L);
    EXPECT_EQ(ParseDecimal("1,5E2"), 150.0L);
    for (const char* bad : {"", "-", ",", "10.5", "n/a", "<нет данных>", "1,2,3", " 1", "1e", "1,5x"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << bad;
}

TEST(Changes, AreEndMinusStartWithoutPlus) {
    EXPECT_EQ(WholeChange("1000", "1500"), "500");
    EXPECT_EQ(WholeChange("1500", "1000"), "-500");
    EXPECT_EQ(WholeChange("12", "12"), "0");
    EXPECT_FALSE(WholeChange("n/a", "12").has_value());
    EXPECT_FALSE(WholeChange("12", "").has_value());
    // The difference of two 32-bit values is written truly, never wrapped.
    EXPECT_EQ(WholeChange("-2147483648", "2147483647"), "4294967295");

    EXPECT_EQ(DecimalChange("45,3", "47,1"), "1,8");
    EXPECT_EQ(DecimalChange("50", "48,5"), "-1,5");
    EXPECT_EQ(DecimalChange("10,5", "11"), "0,5");
    EXPECT_EQ(DecimalChange("5", "3"), "-2");
    EXPECT_EQ(DecimalChange("1", "1,25"), "0,25");
    EXPECT_EQ(DecimalChange("12,7", "12,7"), "0");
    EXPECT_EQ(DecimalChange("1500000", "1250000"), "-250000");
    EXPECT_FALSE(DecimalChange("<нет данных>", "3").has_value());
}

// Both texts are exact decimals, so their difference is too: the binary
// rounding of large values must not show as trailing digits.
TEST(Changes, DecimalChangeOfLargeValuesShowsNoBinaryNoise) {
    const struct {
        const char* start;
        const char* end;
        const char* change;
    } cases[] = {
        {"9026112,6", "9026148,9", "36,3"},
        {"435307,65", "435307,61", "-0,04"},
        {"-23491,549", "-23491,81", "-0,261"},
        {"-78854,724", "-78853,933", "0,791"},
        {"-8436387,2", "-8437192,6", "-805,4"},
        {"125000000,5", "131400000,25", "6399999,75"},
        {"1", "1,000000000000001", "1E-15"},
        // Exponents say nothing of the decimals: left to the general format.
        {"0", "1e3", "1000"},
        {"0", "0,0000099", "9,9E-6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecimalChange(c.start, c.end), c.change) << c.start << " -> " << c.end;
}

TEST(GeneralText, KeepsFifteenSignificantDigits) {
    EXPECT_EQ(GeneralText(0.1L + 0.2L), "0,3");
    EXPECT_EQ(GeneralText(123456789012345.0L), "123456789012345");
    EXPECT_EQ(GeneralText(1234567890123456.0L), "1,23456789012346E15");
    EXPECT_EQ(GeneralText(0.0001L), "0,0001");
    EXPECT_EQ(GeneralText(-2.0L), "-2");
    EXPECT_EQ(GeneralText(1e-7L), "1E-7");
}

TEST(FixedText, RoundsHalfAwayFromZero) {
    EXPECT_EQ(FixedText(0.0L, 1), "0,0");
    EXPECT_EQ(FixedText(5 * 0.05L, 1), "0,3");
    EXPECT_EQ(FixedText(-3 * 0.125L, 1), "-0,4");
    // In double 43 x 0.05 lies just below 2.15; in extended it does not.
    EXPECT_EQ(FixedText(43 * 0.05L, 1), "2,2");
    EXPECT_EQ(FixedText(0.125L, 2), "0,13");
    EXPECT_EQ(FixedText(-0.25L, 2), "-0,25");
    EXPECT_EQ(FixedText(1.125L, 2), "1,13");
    EXPECT_EQ(FixedText(0.0L, 2), "0,00");
    EXPECT_EQ(FixedText(0.95L, 1), "1,0");
    EXPECT_EQ(FixedText(99.96L, 1), "100,0");
    EXPECT_EQ(FixedText(-0.04L, 1), "0,0");
    EXPECT_EQ(FixedText(static_cast<long double>(9 * 0.05f), 2), "0,45");
}

}  // namespace
}  // namespace cadrix
