#pragma once

#include <QFont>

#include <string>

namespace OrvaneChart {

// Turns the chart's font names into Qt fonts. Charts name fonts by their Windows
// font files; the family each file stands for is mapped to a generic family so the
// chart looks the same whatever fonts the system has.
class ChartFont {
public:
    // "timesbi.ttf": bold italic serif; "arialbd.ttf": bold sans-serif; empty or
    // unknown: the plain sans-serif. Sizes are points.
    static QFont Make(const std::string& fontFile, double size);
};

} // namespace OrvaneChart
