#pragma once

#include <string>

// printf-style formatting into a string of exactly the formatted length.
// Always formats in the "C" locale: logs and traces read the same everywhere.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
