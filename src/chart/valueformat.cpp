#include "chart/valueformat.h"

#include "chart/chartdefs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace OrvaneChart {

namespace {

std::string ToChars(double value, std::chars_format style, int precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, style, precision);
    if (result.ec != std::errc())
        return {};
    return std::string(buffer, result.ptr);
}

// "-0.00" reads as a negative number that is not there.
double WithoutNegativeZero(double value) { return value == 0 ? 0.0 : value; }

std::string ApplyField(double value, const std::string& options)
{
    if (options.empty())
        return ValueFormat::General(value);
    char* end = nullptr;
    if (options[0] == 'P' || options[0] == 'p') {
        const long digits = std::strtol(options.c_str() + 1, &end, 10);
        if (end != options.c_str() + 1)
            return ValueFormat::Significant(value, static_cast<int>(digits));
    } else {
        const long decimals = std::strtol(options.c_str(), &end, 10);
        if (end != options.c_str())
            return ValueFormat::Decimals(value, static_cast<int>(decimals));
    }
    return ValueFormat::General(value);
}

} // namespace

std::string ValueFormat::General(double value)
{
    if (IsNoValue(value))
        return {};
    // The same text as printf's "%g" in the C locale.
    return ToChars(WithoutNegativeZero(value), std::chars_format::general, 6);
}

std::string ValueFormat::Significant(double value, int digits)
{
    if (IsNoValue(value))
        return {};
    digits = std::clamp(digits, 1, 17);
    value = WithoutNegativeZero(value);
    if (value == 0)
        return ToChars(0.0, std::chars_format::fixed, digits - 1);
    // The exponent after rounding decides the decimals, so 99.996 becomes "100.0".
    const std::string scientific = ToChars(value, std::chars_format::scientific, digits - 1);
    const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
    return ToChars(value, std::chars_format::fixed, std::max(0, digits - 1 - exponent));
}

std::string ValueFormat::Decimals(double value, int decimals)
{
    if (IsNoValue(value))
        return {};
    return ToChars(WithoutNegativeZero(value), std::chars_format::fixed,
                   std::clamp(decimals, 0, 30));
}

std::string ValueFormat::Apply(double value, const std::string& format)
{
    std::string text;
    size_t position = 0;
    while (position < format.size()) {
        const size_t open = format.find("{value", position);
        if (open == std::string::npos)
            break;
        const size_t close = format.find('}', open);
        if (close == std::string::npos)
            break;
        const size_t afterName = open + 6;
        if (afterName != close && format[afterName] != '|') { // e.g. "{values}": literal
            text.append(format, position, afterName - position);
            position = afterName;
            continue;
        }
        text.append(format, position, open - position);
        const std::string options =
            afterName < close ? format.substr(afterName + 1, close - afterName - 1) : std::string();
        text += ApplyField(value, options);
        position = close + 1;
    }
    text.append(format, position, std::string::npos);
    return text;
}

} // namespace OrvaneChart
