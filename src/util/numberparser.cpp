#include "util/numberparser.h"

#include "util/scopedclassiclocale.h"
#include "util/stringfunction.h"

#include <cstdlib>

bool ParseNumber(std::string_view text, double& value)
{
    // strtod needs a terminated string; an embedded NUL then ends the parse early
    // and the text is rightly not a number.
    const std::string copy(text);
    char* end = nullptr;
    const double parsed = strtod_l(copy.c_str(), &end, ScopedClassicLocale::Handle());
    if (end != copy.c_str() + copy.size())
        return false;
    value = parsed;
    return true;
}

bool ParseCell(std::string_view text, double& value)
{
    return ParseNumber(TrimWhitespace(text), value);
}

std::string_view TrimWhitespace(std::string_view text)
{
    constexpr std::string_view spaces = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(spaces);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(spaces);
    return text.substr(first, last - first + 1);
}

CountStatus ParseCount(std::string_view text, int& count, int maxCount)
{
    if (!CStringFunction().IsDigitString(text))
        return CountStatus::NotDigits;
    long long n = 0;
    for (const char c : text) {
        n = n * 10 + (c - '0');
        if (n > maxCount) // stop before the value could overflow
            return CountStatus::TooLarge;
    }
    if (n < 1)
        return CountStatus::NotPositive;
    count = static_cast<int>(n);
    return CountStatus::Ok;
}
