#pragma once

#include "chart/chartdefs.h"

#include <QColor>
#include <QPen>

namespace OrvaneChart {

// A chart colour (0xAARRGGBB, alpha 0 opaque) as Qt's.
inline QColor ToQColor(Color color)
{
    return QColor::fromRgb((color >> 16) & 0xff, (color >> 8) & 0xff, color & 0xff,
                           255 - static_cast<int>((color >> 24) & 0xff));
}

// The pen of a chart line: no pen for a transparent colour or no width.
inline QPen LinePen(Color color, int width)
{
    if (color == Transparent || width <= 0)
        return Qt::NoPen;
    QPen pen(ToQColor(color), width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::BevelJoin);
    pen.setCosmetic(true);
    return pen;
}

} // namespace OrvaneChart
