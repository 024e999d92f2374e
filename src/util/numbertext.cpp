#include "util/numbertext.h"

#include "util/formattext.h"

#include "util/numberparser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// The shortest digits are laid out as printf's "%.Ng" would with N the larger of
// six and their count. A million-row import writes three million of these, so no
// printf and no parse runs per number, and readings as machines write them (a few
// decimals) take a short way to their digits.
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

// The digits (no trailing zeros) and decimal exponent of value, when value is an
// integer of at most 15 digits divided by a power of ten up to 10^9: the decimal
// read back gives value (an exact quotient, rounded once) and no shorter decimal
// lies as close, as 15-digit decimals are spaced wider than doubles.
bool FewDecimalDigits(double value, char* digits, int& count, int& exponent)
{
    static constexpr double kTens[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (value == 0) {
        digits[0] = '0';
        count = 1;
        exponent = 0;
        return true;
    }
    for (int k = 0; k < 10; ++k) {
        const double scaled = value * kTens[k];
        if (scaled >= 1e15)
            return false;
        if (scaled != std::floor(scaled) || scaled / kTens[k] != value)
            continue;
        char reversed[16] = {};
        int n = 0;
        for (auto whole = static_cast<std::uint64_t>(scaled); whole != 0; whole /= 10)
            reversed[n++] = static_cast<char>('0' + whole % 10);
        exponent = n - 1 - k;
        int skip = 0;
        while (reversed[skip] == '0')
            ++skip;
        count = 0;
        for (int i = n - 1; i >= skip; --i)
            digits[count++] = reversed[i];
        return true;
    }
    return false;
}

// The shortest digits std::to_chars finds (they always read back to value).
void ShortestDigits(double value, char* digits, int& count, int& exponent)
{
    char buffer[64];
    const char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    // d[.ddd]e±XX
    const char* const e = std::find(static_cast<const char*>(buffer), end, 'e');
    count = 0;
    digits[count++] = buffer[0];
    for (const char* d = buffer + 2; d < e; ++d)
        digits[count++] = *d;
    exponent = 0;
    for (const char* d = e + 2; d < end; ++d)
        exponent = exponent * 10 + (*d - '0');
    if (e[1] == '-')
        exponent = -exponent;
}

} // namespace

std::string ShortestNumberText(double value)
{
    // Subnormals are spaced so widely that six printed digits may read back when
    // fewer shortest digits exist; the printf way keeps their text as it was.
    if (!std::isfinite(value) || (value != 0 && std::fabs(value) < DBL_MIN))
        return std::isnan(value) ? FormatText("%g", value) : GrowingPrecisionText(value);
    char text[48];
    char* out = text;
    if (std::signbit(value))
        *out++ = '-';
    char digits[24] = {};
    int count = 0, exponent = 0;
    if (!FewDecimalDigits(std::fabs(value), digits, count, exponent))
        ShortestDigits(std::fabs(value), digits, count, exponent);
    const int precision = std::max(count, 6);
    const auto put = [&out](const char* from, int n) {
        std::memcpy(out, from, static_cast<size_t>(n));
        out += n;
    };

    if (exponent < -4 || exponent >= precision) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            put(digits + 1, count - 1);
        }
        const int magnitude = std::abs(exponent);
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        if (magnitude >= 100)
            *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent >= 0) {
        const int whole = exponent + 1;
        if (count <= whole) {
            put(digits, count);
            std::memset(out, '0', static_cast<size_t>(whole - count));
            out += whole - count;
        } else {
            put(digits, whole);
            *out++ = '.';
            put(digits + whole, count - whole);
        }
    } else {
        *out++ = '0';
        *out++ = '.';
        std::memset(out, '0', static_cast<size_t>(-exponent - 1));
        out += -exponent - 1;
        put(digits, count);
    }
    return std::string(text, out);
}

std::string JsonNumberText(double value) { return std::isfinite(value) ? ShortestNumberText(value) : "null"; }
