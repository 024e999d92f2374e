#pragma once

#include <string>

namespace OrvaneChart {

// Formats numbers by a label template: literal text with "{value}" fields.
//   {value}     general notation, six significant digits, no trailing zeros ("%g")
//   {value|P4}  four significant digits in fixed notation, trailing zeros kept
//   {value|2}   two decimals
// Independent of the process locale: the decimal separator is always a point.
class ValueFormat {
public:
    static std::string Apply(double value, const std::string& format);
    static std::string General(double value);
    static std::string Significant(double value, int digits);
    static std::string Decimals(double value, int decimals);
};

} // namespace OrvaneChart
