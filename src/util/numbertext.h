#pragma once

#include <string>

// The shortest text that reads back to the same double: "%g" when its six
// digits are enough (so 45 shows as 45 and 0.1 as 0.1), else more digits, at
// most 17. Refilling a form from its record therefore never alters a value.
std::string ShortestNumberText(double value);
// The same as a JSON value: "null" for a value JSON has no number for (NaN, infinite).
std::string JsonNumberText(double value);
