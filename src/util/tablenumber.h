#pragma once

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstddef>
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

// The number at first when it groups its thousands with commas, as a machine export
// writes a quoted value ("2,296.97510", "-12,500"): an optional sign, digits, one or
// more groups of a comma and three digits, and an optional decimal point with its
// digits, up to a character that no number holds. Without its commas it is read as a
// table cell's number ('+' allowed, then as ScanTableNumber). When
// lone_comma_is_decimal, one comma and no point are refused: they write a decimal
// comma, not a group. Anything else (an exponent, a group of two or four digits, a
// text too long for a reading) is refused too.
//
// Returns the end of the number, or nullptr when there is none.
inline const char* ScanGroupedTableNumber(const char* first, const char* last, double& value,
                                          bool lone_comma_is_decimal)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    // The text without its commas; no reading is longer, and one bound on the text
    // keeps every copy inside.
    constexpr ptrdiff_t kLongest = 48;
    char plain[kLongest];
    char* out = plain;
    const char* p = first;
    const char* const limit = last - first > kLongest ? first + kLongest : last;
    if (p != limit && (*p == '-' || *p == '+'))
        *out++ = *p++;
    const char* const digits = p;
    while (p != limit && digit(*p))
        *out++ = *p++;
    if (p == digits)
        return nullptr;
    int groups = 0;
    for (; limit - p >= 4 && p[0] == ',' && digit(p[1]) && digit(p[2]) && digit(p[3]); p += 4, ++groups) {
        out[0] = p[1];
        out[1] = p[2];
        out[2] = p[3];
        out += 3;
    }
    const bool point = p != limit && *p == '.';
    if (groups == 0 || (lone_comma_is_decimal && groups == 1 && !point))
        return nullptr;
    if (point)
        for (*out++ = *p++; p != limit && digit(*p);)
            *out++ = *p++;
    if (p != last && (digit(*p) || *p == '.' || *p == ',' || *p == '-' || *p == '+' || *p == 'e' || *p == 'E'))
        return nullptr;
    const char* number = plain[0] == '+' ? plain + 1 : plain;
    return ScanTableNumber(number, out, value) == out ? p : nullptr;
}
