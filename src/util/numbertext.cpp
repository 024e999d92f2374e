#include "util/numbertext.h"

#include "util/formattext.h"

#include "util/numberparser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

// The shortest digits come from std::to_chars (they always read back to the
// same double); they are then laid out as printf's "%.Ng" would with N the
// larger of six and their count. A million-row import writes three million of
// these, so no printf and no parse runs per number.
namespace {

bool ReadsBackTo(const std::string &text, double value) {
  double parsed = 0;
  return ParseNumber(text, parsed) &&
         std::memcmp(&parsed, &value, sizeof value) == 0;
}

// "%g", then more digits until the text reads back.
std::string GrowingPrecisionText(double value) {
  std::string text = FormatText("%g", value);
  for (int digits = 7; digits <= 17 && !ReadsBackTo(text, value); ++digits)
    text = FormatText("%.*g", digits, value);
  return text;
}

} // namespace

std::string ShortestNumberText(double value) {
  // Subnormals are spaced so widely that six printed digits may read back when
  // fewer shortest digits exist; the printf way keeps their text as it was.
  if (!std::isfinite(value) || (value != 0 && std::fabs(value) < DBL_MIN))
    return std::isnan(value) ? FormatText("%g", value)
                             : GrowingPrecisionText(value);
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                          std::chars_format::scientific);
  if (error != std::errc())
    return FormatText("%.17g", value);
  // [-]d[.ddd]e±XX, taken apart and laid out in a buffer: no allocation but the
  // result's.
  const char *at = buffer;
  char text[48];
  char *out = text;
  if (*at == '-')
    *out++ = *at++;
  const char *const e = std::find(at, static_cast<const char *>(end), 'e');
  char digits[24];
  int count = 0;
  digits[count++] = *at;
  for (const char *d = at + 2; d < e; ++d)
    digits[count++] = *d;
  int exponent = 0;
  for (const char *d = e + 2; d < end; ++d)
    exponent = exponent * 10 + (*d - '0');
  if (e[1] == '-')
    exponent = -exponent;
  const int precision = std::max(count, 6);
  const auto put = [&out](const char *from, int n) {
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

std::vector<std::string>
RowMajorNumberTexts(const std::vector<const std::vector<double> *> &columns) {
  const size_t width = columns.size();
  const size_t rows = columns.empty() ? 0 : columns[0]->size();
  std::vector<std::string> texts(rows * width);
  const auto make = [&](size_t first, size_t last) {
    for (size_t row = first; row < last; ++row)
      for (size_t column = 0; column < width; ++column)
        texts[row * width + column] =
            ShortestNumberText((*columns[column])[row]);
  };
  // Threads only pay for themselves on long series.
  constexpr size_t kRowsPerThread = 50'000;
  const size_t threads =
      std::clamp<size_t>(rows / kRowsPerThread, 1,
                         std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> helpers;
  const size_t share = (rows + threads - 1) / threads;
  size_t first = share;
  for (; first < rows; first += share) {
    try {
      helpers.emplace_back(make, first, std::min(rows, first + share));
    } catch (const std::system_error &) {
      break; // no more threads: this one does the rest
    }
  }
  make(0, std::min(rows, share));
  if (first < rows)
    make(first, rows);
  for (std::thread &helper : helpers)
    helper.join();
  return texts;
}
