#include "forms/shownnumber.h"

#include "util/formattext.h"

#include <cmath>

QString ShownNumber::Text(double value) { return QString::fromStdString(FormatText("%g", value)); }

QString ShownNumber::Text(double value, double reference)
{
    return IsZero(value, reference) ? QStringLiteral("0") : Text(value);
}

bool ShownNumber::IsZero(double value, double reference)
{
    reference = std::abs(reference);
    if (value == 0 || !std::isfinite(value) || !std::isfinite(reference) || reference == 0)
        return value == 0;
    // "%g" shows six significant digits: the last is 1e-5 of the reference's leading decade.
    const double lastDigit = std::pow(10.0, std::floor(std::log10(reference)) - 5);
    return std::abs(value) < lastDigit / 2;
}
