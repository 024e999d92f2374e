#pragma once

#include <fast_float/fast_float.h>

#include <cmath>
#include <system_error>

// The number of one table cell at a position, read as std::from_chars reads a
// double: an optional '-', digits with an optional decimal point and exponent, or
// "inf", "infinity" and "nan" in any case; no '+', no white space, no hex. A text
// beyond double's range is refused rather than rounded to infinity or zero, again
// as std::from_chars does. fast_float gives the same bits; inline here, the table
// reader's inner loop pays no call for it.
//
// Returns the end of the number, or nullptr when there is none.
inline const char* ScanTableNumber(const char* first, const char* last, double& value, char decimal_point = '.')
{
    double parsed = 0;
    const fast_float::from_chars_result result = fast_float::from_chars_advanced(
        first, last, parsed, fast_float::parse_options(fast_float::chars_format::general, decimal_point));
    if (result.ec != std::errc())
        return nullptr;
    if (parsed == 0 || std::isinf(parsed)) [[unlikely]] {
        const char* p = first + (*first == '-' ? 1 : 0);
        if (std::isinf(parsed) && *p != 'i' && *p != 'I')
            return nullptr; // overflow: finite digits came out as infinity
        for (; parsed == 0 && p != result.ptr && *p != 'e' && *p != 'E'; ++p)
            if (*p >= '1' && *p <= '9')
                return nullptr; // underflow: a non-zero mantissa came out as zero
    }
    value = parsed;
    return result.ptr;
}
