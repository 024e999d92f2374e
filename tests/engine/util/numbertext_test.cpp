// The shortest text that reads back to the same double, as forms and exports show numbers.
#include "util/formattext.h"
#include "util/numberparser.h"
#include "util/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// The definition the fast layout must equal: "%g", then more digits until the text
// reads back to the same double.
std::string ReferenceShortestText(double value)
{
    const auto reads_back = [value](const std::string& text) {
        double parsed = 0;
        return ParseNumber(text, parsed) && std::memcmp(&parsed, &value, sizeof value) == 0;
    };
    std::string text = FormatText("%g", value);
    for (int digits = 7; digits <= 17 && !reads_back(text); ++digits)
        text = FormatText("%.*g", digits, value);
    return text;
}

} // namespace

TEST(NumberText, ShortestTextReadsBackExactly)
{
    struct Case {
        double value;
        const char* text;
    };
    for (const Case c : {Case{45, "45"}, Case{0.1, "0.1"}, Case{0.123456789, "0.123456789"}, Case{1e-5, "1e-05"},
                         Case{100000, "100000"}, Case{1e6, "1e+06"}, Case{1234567, "1234567"},
                         Case{1.0 / 3, "0.3333333333333333"}, Case{-0.0, "-0"}, Case{0.3, "0.3"}})
        EXPECT_EQ(ShortestNumberText(c.value), c.text);
    EXPECT_EQ(ShortestNumberText(std::nan("")), "nan");
    EXPECT_EQ(ShortestNumberText(HUGE_VAL), "inf");
    EXPECT_EQ(ShortestNumberText(-HUGE_VAL), "-inf");
}

TEST(NumberText, EqualsTheGrowingPrecisionDefinitionEverywhere)
{
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> decimals(0, 9);
    std::uniform_int_distribution<int> power(-320, 308);
    std::uniform_int_distribution<uint64_t> bits;
    std::vector<double> values;
    for (int i = 0; i < 50000; ++i) {
        // Readings as machines print them: a few decimals, any sign and size.
        const double scale = std::pow(10.0, decimals(random));
        values.push_back(std::round((unit(random) - 0.3) * 1e6 * scale) / scale / std::pow(10.0, decimals(random)));
        values.push_back(unit(random) * std::pow(10.0, power(random)));
        double any = 0;
        const uint64_t pattern = bits(random);
        std::memcpy(&any, &pattern, sizeof any);
        values.push_back(any);
    }
    // Where the layout changes: the exponent limits, powers of ten, subnormals.
    for (int p = -330; p <= 308; ++p) {
        const double ten = std::pow(10.0, p);
        values.insert(values.end(), {ten, std::nextafter(ten, 0.0), std::nextafter(ten, HUGE_VAL), -ten});
    }
    values.insert(values.end(), {0.0, -0.0, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 999999.5,
                                 9999995, 0.000099999, 0.0001, 123456, 1234567, 100000, 999999, 1000000});
    size_t mismatches = 0;
    for (const double v : values) {
        if (std::isnan(v) || std::isinf(v))
            continue;
        const std::string expected = ReferenceShortestText(v);
        const std::string actual = ShortestNumberText(v);
        if (actual != expected && ++mismatches <= 10)
            ADD_FAILURE() << std::hexfloat << v << ": " << actual << " instead of " << expected;
    }
    EXPECT_EQ(mismatches, 0u) << "of " << values.size();
}
