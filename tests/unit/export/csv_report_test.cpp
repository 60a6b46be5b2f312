#include "export/csv_report.h"

#include <gtest/gtest.h>

#include <string>

namespace cadrix {
namespace {

// What a spreadsheet in a Russian locale makes of a cell: numbers it can sum,
// texts that cannot run as formulas.
TEST(CsvCell, NumbersLoseTheirGroupingAndFormulasAreNeutralised) {
    const struct {
        std::string shown;
        std::string written;
    } cases[] = {
        {"13.700.000", "13700000"},
        {"-90.500", "-90500"},
        {"1.234,5", "1234,5"},
        {"61,9", "61,9"},
        {"-0,4", "-0,4"},
        {"0", "0"},
        {"-", "-"},  // a change that is no number
        {"", ""},
        {"12.5", "12.5"},          // no group of three: a text
        {"1234.567", "1234.567"},  // a lead of more than three digits
        {"1.2345", "1.2345"},
        {"01.09.2026", "01.09.2026"},
        {"(3)", "(3)"},
        {"61,", "61,"},
        {"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
        {"@SUM(1+1)", "'@SUM(1+1)"},
        {"+79", "'+79"},
        {"-Иван", "'-Иван"},
        {"--", "'--"},
        {"\tA", "'\tA"},
        {"\rA", "'\rA"},
        {"Иван", "Иван"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvCell(c.shown), c.written) << c.shown;
}

}  // namespace
}  // namespace cadrix
