// The number rules: of the forms and ribbon edits, of grid cells and readings
// tables, and the count rule of "Apply".
#include "testsupport.h"
#include "util/numberparser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

using namespace testing_support;

namespace {

struct NumberCase {
    const char* text;
    bool is_number;
    double value;
};

void ExpectNumberRule()
{
    const NumberCase cases[] = {
        {"0.01", true, 0.01}, {"1e-2", true, 0.01},  {"", true, 0},       {" 0.5", true, 0.5},
        {"0.5 ", false, 0},   {"abc", false, 0},     {"1,5", false, 0},   {"1.5a", false, 0},
        {"-3", true, -3},     {"+3", true, 3},       {".5", true, 0.5},   {"5.", true, 5},
        {"0x10", true, 16},   {"1e400", true, HUGE_VAL},                  {"숫자", false, 0},
        {"1.5\n", false, 0},  {"\t2", true, 2},      {"-", false, 0},     {"e5", false, 0},
    };
    for (const NumberCase& c : cases) {
        double value = -1;
        EXPECT_EQ(ParseNumber(c.text, value), c.is_number) << '"' << c.text << '"';
        if (c.is_number) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
    double value = 0;
    EXPECT_FALSE(ParseNumber(std::string("1\0" "2", 3), value)) << "embedded NUL";
    EXPECT_TRUE(ParseNumber("nan", value));
    EXPECT_TRUE(std::isnan(value));
}

} // namespace

// The same under a comma-decimal locale, where one is installed.
TEST(NumberRule, WholeTextMustBeANumberUnderAnyLocale)
{
    ExpectNumberRule();
    CommaDecimalLocale comma;
    if (comma.Active())
        ExpectNumberRule();
}

TEST(NumberRule, GridCellsAreTrimmedFirst)
{
    double value = 0;
    EXPECT_TRUE(ParseCell(" 1.5 ", value));
    EXPECT_EQ(value, 1.5);
    EXPECT_TRUE(ParseCell("\t\r\n", value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(ParseCell(" 1,5 ", value));
    EXPECT_EQ(TrimWhitespace("  a b \n"), "a b");
    // Readings take a decimal comma too, as a comma-decimal spreadsheet copies them.
    EXPECT_TRUE(ParseReadingCell(" 0,12 ", value));
    EXPECT_EQ(value, 0.12);
    EXPECT_TRUE(ParseReadingCell(" 1,5e3 ", value));
    EXPECT_EQ(value, 1500);
    for (const char* text : {"1,004.5", "1.5,2", "1,2,3", "1.5.2", "0x1p-2,5", "abc"})
        EXPECT_FALSE(ParseReadingCell(text, value)) << text;
}

// The rule of readings tables: std::from_chars' double after blanks and a '+'.
TEST(TableNumberRule, CellsOfAReadingsTable)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> good[] = {
        {"1.5", 1.5}, {" 1.5 ", 1.5}, {"\t-2.5e-3\r", -2.5e-3}, {"+1", 1}, {" +7 ", 7}, {"1e3", 1000},
        {"1E-3", 1e-3}, {".5", 0.5}, {"5.", 5}, {"inf", inf}, {"-inf", -inf}, {"+inf", inf}, {"Infinity", inf},
        {"4.9e-324", 4.9e-324}, {"1.7976931348623157e308", 1.7976931348623157e308}, {"-0e999999", -0.0},
    };
    for (const auto& [cell, expected] : good) {
        double value = -12345;
        EXPECT_TRUE(ParseTableNumber(cell, value)) << '"' << cell << '"';
        EXPECT_EQ(value, expected) << '"' << cell << '"';
    }
    // Beyond double's range either way is refused, not rounded; the last is a
    // full-width digit one.
    for (const char* cell : {"+-1", "-+1", "++1", "+", "-", "", "   ", "1,5", "1 5", "1.5.2", "1e", "e3", "1.5x",
                             "x1.5", "1'000", "0x10", "1.5\n", "1e400", "-1e400", "1.7976931348623159e308", "1e-400",
                             "2.4703282292062327e-324", "\xEF\xBC\x91"}) {
        double value = 0;
        EXPECT_FALSE(ParseTableNumber(cell, value)) << '"' << cell << '"';
    }
    double value = 0;
    EXPECT_TRUE(ParseTableNumber("nan", value));
    EXPECT_TRUE(std::isnan(value));
    CommaDecimalLocale comma;
    EXPECT_TRUE(ParseTableNumber("1.25", value) && value == 1.25);
    EXPECT_FALSE(ParseTableNumber("1,25", value));
}

// Its agreement with std::from_chars on any text is the number rule fuzz target's job.

// Only ASCII digits: no sign, point, blank, nor other scripts' digits.
TEST(CountRule, DigitsOnlyPositiveAndBounded)
{
    struct CountCase {
        const char* text;
        CountStatus status;
        int count;
    };
    const CountCase cases[] = {
        {"-2", CountStatus::NotDigits, 0},   {"+3", CountStatus::NotDigits, 0},
        {"3a", CountStatus::NotDigits, 0},   {" 3", CountStatus::NotDigits, 0},
        {"1.0", CountStatus::NotDigits, 0},  {"1 2", CountStatus::NotDigits, 0},
        {"삼", CountStatus::NotDigits, 0},   {"３", CountStatus::NotDigits, 0},
        {"", CountStatus::NotPositive, 0},   {"0", CountStatus::NotPositive, 0},
        {"000", CountStatus::NotPositive, 0}, {"007", CountStatus::Ok, 7},
        {"10000", CountStatus::Ok, 10000},   {"10001", CountStatus::TooLarge, 0},
        {"2147483648", CountStatus::TooLarge, 0},
        {"99999999999999999999999999999", CountStatus::TooLarge, 0},
        {"0000000000000000000000000000012", CountStatus::Ok, 12},
    };
    for (const CountCase& c : cases) {
        int count = -1;
        EXPECT_EQ(ParseCount(c.text, count), c.status) << '"' << c.text << '"';
        if (c.status == CountStatus::Ok) {
            EXPECT_EQ(count, c.count) << c.text;
        }
    }
}
