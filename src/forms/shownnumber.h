#pragma once

#include <QString>

// A result as the result views show it: six significant digits, as "%g". Beside the
// quantities it belongs with, a value too small to reach their last shown digit is
// shown as 0: floating-point rounding leaves 1e-17 where a balanced stack has no
// coupling, and that must not read as a result. Small values of their own kind
// (a strain of 1e-9 in a table of such strains) keep their digits.
class ShownNumber {
public:
    // value in "%g".
    static QString Text(double value);
    // 0 when value rounds to zero at the last digit "%g" shows of reference (the
    // largest of the related quantities: 1 for a ratio, the largest strain of a
    // table); otherwise as Text(value).
    static QString Text(double value, double reference);
    static bool IsZero(double value, double reference);
};
