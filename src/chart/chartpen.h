#pragma once

#include "chart/chartdefs.h"

#include <QColor>
#include <QList>
#include <QPen>

namespace OrvaneChart {

// A chart colour (0xAARRGGBB, alpha 0 opaque) as Qt's.
inline QColor ToQColor(Color color)
{
    return QColor::fromRgb((color >> 16) & 0xff, (color >> 8) & 0xff, color & 0xff,
                           255 - static_cast<int>((color >> 24) & 0xff));
}

// The pen of a chart line: no pen for a transparent colour or no width. Not cosmetic,
// so a painter scaled for a picture at a higher resolution (or a printer) draws the
// line as thick in millimetres as the screen does.
inline QPen LinePen(Color color, double width)
{
    if (color == Transparent || width <= 0)
        return Qt::NoPen;
    QPen pen(ToQColor(color), width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::BevelJoin);
    return pen;
}

// Dashes and gaps of a pattern in pixels of a 96-dpi chart; empty for a solid line.
// Long enough that a dash still reads as a dash on a noisy curve.
inline QList<qreal> DashLengths(LineDash dash)
{
    switch (dash) {
    case LineDash::Dashed: return {7, 4};
    case LineDash::Dotted: return {2, 3};
    case LineDash::DashDot: return {9, 3, 2, 3};
    case LineDash::DashDotDot: return {9, 3, 2, 3, 2, 3};
    case LineDash::Solid: break;
    }
    return {};
}

// The pen of a curve, its sample in the legend or its swatch in a list: Qt measures
// dashes in pen widths, so the lengths are divided by the width to look the same on
// a thick sample as on the thin curve.
inline QPen CurvePen(Color color, double width, LineDash dash)
{
    QPen pen = LinePen(color, width);
    const QList<qreal> lengths = DashLengths(dash);
    if (pen.style() == Qt::NoPen || lengths.isEmpty())
        return pen;
    QList<qreal> pattern;
    for (const qreal length : lengths)
        pattern << length / width;
    pen.setDashPattern(pattern);
    return pen;
}

} // namespace OrvaneChart
