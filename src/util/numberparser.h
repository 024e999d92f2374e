#pragma once

#include <string>
#include <string_view>

// The one number rule of every form and ribbon edit: the text is a number when the
// C library's strtod (in the "C" locale) consumes all of it. An empty text is 0.
// Leading white space is skipped by strtod itself; trailing white space is not.
bool ParseNumber(std::string_view text, double& value);

// Grid cells are trimmed of white space at both ends before the number rule.
bool ParseCell(std::string_view text, double& value);

// A reading typed or pasted into the readings grid: a grid cell, or, as a spreadsheet
// in a comma-decimal locale copies it, the same with one comma for the decimal point.
bool ParseReadingCell(std::string_view text, double& value);

std::string_view TrimWhitespace(std::string_view text);

// One cell of a numeric table (a readings file, a machine export): blanks around it
// and an optional '+' sign, then std::from_chars' reading of a double, whole cell
// consumed (see ScanTableNumber). Independent of the process locale.
bool ParseTableNumber(std::string_view cell, double& value);

enum class CountStatus { Ok, NotDigits, NotPositive, TooLarge };

// Largest lamina or specimen count a project may have. Keeps the menu tree and
// the memory of a project reasonable; no count text can overflow the integer.
constexpr int kMaxLaminaCount = 10000;

// A count is all digits (an empty text is 0), at least 1 and at most maxCount.
CountStatus ParseCount(std::string_view text, int& count, int maxCount = kMaxLaminaCount);
