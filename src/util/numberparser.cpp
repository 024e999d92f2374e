#include "util/numberparser.h"

#include "util/scopedclassiclocale.h"
#include "util/stringfunction.h"
#include "util/tablenumber.h"

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

bool ParseReadingCell(std::string_view text, double& value)
{
    if (ParseCell(text, value))
        return true;
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find_first_of(",.", comma + 1) != std::string_view::npos ||
        text.substr(0, comma).find('.') != std::string_view::npos)
        return false;
    std::string point(text);
    point[comma] = '.';
    return ParseCell(point, value);
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

bool ParseTableNumber(std::string_view cell, double& value)
{
    // Not TrimWhitespace: a line break inside a cell is not a blank.
    constexpr std::string_view blanks = " \t\r\v\f";
    const size_t first = cell.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return false;
    cell = cell.substr(first, cell.find_last_not_of(blanks) - first + 1);
    if (cell.front() == '+') {
        cell.remove_prefix(1);
        if (cell.empty() || cell.front() == '-')
            return false;
    }
    const char* end = cell.data() + cell.size();
    return ScanTableNumber(cell.data(), end, value) == end;
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
