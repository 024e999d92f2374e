#include "util/numbertext.h"

#include "util/formattext.h"
#include "util/numberparser.h"

#include <cmath>
#include <cstring>

namespace {

bool ReadsBackTo(const std::string& text, double value)
{
    double parsed = 0;
    if (!ParseNumber(text, parsed))
        return false;
    if (std::isnan(value))
        return std::isnan(parsed);
    return std::memcmp(&parsed, &value, sizeof value) == 0;
}

} // namespace

std::string ShortestNumberText(double value)
{
    std::string text = FormatText("%g", value);
    for (int digits = 7; digits <= 17 && !ReadsBackTo(text, value); ++digits)
        text = FormatText("%.*g", digits, value);
    return text;
}
