#pragma once

#include <QPainter>

#include <vector>

namespace OrvaneChart {

class XYChart;

// Draws the curves of a chart inside its plot area with a QPainter, through the
// rows a reduction kept of each. Lines leave the plot cut at its edge, and readings
// of a deep zoom lie millions of pixels away, so each line is cut to the plot in
// floating point before the painter sees it.
class CurvePainter {
public:
    using DrawnRows = std::vector<std::vector<std::vector<int>>>;

    static void Draw(QPainter& painter, const XYChart& chart, const DrawnRows& drawn);
    // Parts of the polyline inside bounds (each a polyline of its own).
    static std::vector<QPolygonF> Clip(const QPolygonF& line, const QRectF& bounds);
};

} // namespace OrvaneChart
