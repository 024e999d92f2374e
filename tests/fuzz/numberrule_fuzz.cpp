// Any bytes as one table cell: the table number rule (fast_float) must accept
// exactly what std::from_chars accepts after the blanks and a '+' are taken off,
// with the same bits, and a finite value must be the strtod value of the same text.
#include "util/numberparser.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// The rule as it was first written, on std::from_chars.
bool Reference(std::string_view cell, double& value)
{
    constexpr std::string_view blanks = " \t\r\v\f";
    const size_t first = cell.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return false;
    cell = cell.substr(first, cell.find_last_not_of(blanks) - first + 1);
    if (cell.front() == '+') {
        cell.remove_prefix(1);
        if (!cell.empty() && (cell.front() == '-' || cell.front() == '+'))
            return false;
    }
    if (cell.empty())
        return false;
    const auto result = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return result.ec == std::errc() && result.ptr == cell.data() + cell.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view cell(reinterpret_cast<const char*>(data), size);
    double value = 0;
    double expected = 0;
    const bool accepted = ParseTableNumber(cell, value);
    if (accepted != Reference(cell, expected))
        std::abort();
    if (!accepted || std::isnan(value))
        return 0;
    if (std::memcmp(&value, &expected, sizeof value) != 0)
        std::abort();
    double by_strtod = 0;
    if (std::isfinite(value) && (!ParseCell(cell, by_strtod) || std::memcmp(&value, &by_strtod, sizeof value) != 0))
        std::abort();
    return 0;
}
