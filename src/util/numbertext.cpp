#include "util/numbertext.h"

#include "util/formattext.h"

#include "util/numberparser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

// The shortest digits come from std::to_chars (they always read back to the same
// double); they are then laid out as printf's "%.Ng" would with N the larger of six
// and their count. A million-row import writes three million of these, so no
// printf and no parse runs per number.
namespace {

bool ReadsBackTo(const std::string& text, double value)
{
    double parsed = 0;
    return ParseNumber(text, parsed) && std::memcmp(&parsed, &value, sizeof value) == 0;
}

// "%g", then more digits until the text reads back.
std::string GrowingPrecisionText(double value)
{
    std::string text = FormatText("%g", value);
    for (int digits = 7; digits <= 17 && !ReadsBackTo(text, value); ++digits)
        text = FormatText("%.*g", digits, value);
    return text;
}

} // namespace

std::string ShortestNumberText(double value)
{
    // Subnormals are spaced so widely that six printed digits may read back when
    // fewer shortest digits exist; the printf way keeps their text as it was.
    if (!std::isfinite(value) || (value != 0 && std::fabs(value) < DBL_MIN))
        return std::isnan(value) ? FormatText("%g", value) : GrowingPrecisionText(value);
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (error != std::errc())
        return FormatText("%.17g", value);
    // [-]d[.ddd]e±XX
    std::string_view scientific(buffer, static_cast<size_t>(end - buffer));
    std::string text;
    if (scientific.front() == '-') {
        text += '-';
        scientific.remove_prefix(1);
    }
    const size_t e = scientific.find('e');
    std::string digits(1, scientific[0]);
    if (e > 1)
        digits.append(scientific.substr(2, e - 2));
    const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
    const int count = static_cast<int>(digits.size());
    const int precision = std::max(count, 6);

    if (exponent < -4 || exponent >= precision) {
        text += digits[0];
        if (count > 1) {
            text += '.';
            text.append(digits, 1);
        }
        const int magnitude = std::abs(exponent);
        text += exponent < 0 ? "e-" : "e+";
        if (magnitude < 10)
            text += '0';
        text += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const size_t whole = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            text += digits;
            text.append(whole - digits.size(), '0');
        } else {
            text.append(digits, 0, whole);
            text += '.';
            text.append(digits, whole);
        }
    } else {
        text += "0.";
        text.append(static_cast<size_t>(-exponent - 1), '0');
        text += digits;
    }
    return text;
}
