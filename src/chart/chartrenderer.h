#pragma once

#include <QImage>
#include <QSize>

#include <vector>

class QPainter;

namespace OrvaneChart {

class XYChart;

// Draws an XYChart into an image: title, axes and grid with Qt Charts, the curves
// with CurvePainter (a Qt Charts line series traces its whole outline for mouse hits,
// which costs more than drawing it). Each curve is first reduced to what the plot's
// pixel columns can show (CurveReducer), so a million readings cost no more to draw
// than a few thousand.
class ChartRenderer {
public:
    // Rows drawn of each data set: [layer][data set] -> ascending row indices.
    using DrawnRows = std::vector<std::vector<std::vector<int>>>;

    // The readings of every curve that a drawing of the chart at its size keeps, with
    // detail times as many pixel columns (a drawing scaled up shows more).
    static DrawnRows ReduceCurves(const XYChart& chart, double detail = 1.0);
    // The chart image at its size times devicePixelRatio; rows, when given, receives
    // what was drawn of each curve.
    static QImage Render(const XYChart& chart, qreal devicePixelRatio = 1.0,
                         DrawnRows* rows = nullptr);
    // The chart scaled to fill an image of exactly that many pixels: text, lines,
    // margins and legend grow with it, so a chart made at the picture's size in
    // 96-dpi pixels gives a picture at any resolution that looks as the screen does.
    static QImage RenderScaled(const XYChart& chart, QSize pixels);
    // The same drawing on any painter (an SVG generator keeps it as vectors). A
    // painter that scales draws the whole chart larger, pens included.
    static void Paint(const XYChart& chart, QPainter& painter, DrawnRows* rows = nullptr);
};

} // namespace OrvaneChart
