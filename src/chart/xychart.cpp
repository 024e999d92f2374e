#include "chart/xychart.h"

#include "chart/valueformat.h"

#include <algorithm>
#include <cmath>

namespace OrvaneChart {

XYChart::XYChart(int width, int height, Color background, Color edgeColor, int raisedEffect) :
    m_width(std::max(1, width)),
    m_height(std::max(1, height)),
    m_background(background),
    m_edgeColor(edgeColor),
    m_raisedEffect(raisedEffect),
    m_plotArea(0, 0, m_width, m_height)
{
}

XYChart::~XYChart() = default;

PlotArea* XYChart::setPlotArea(int x, int y, int width, int height, Color background,
                               int altBackground, int edgeColor, Color horizontalGrid,
                               Color verticalGrid)
{
    m_plotArea = PlotArea(x, y, std::max(1, width), std::max(1, height));
    m_plotArea.setBackground(background, altBackground == -1 ? Transparent : Color(altBackground),
                             edgeColor == -1 ? Transparent : Color(edgeColor));
    m_plotArea.setGridColor(horizontalGrid, verticalGrid);
    invalidate();
    return &m_plotArea;
}

const PlotArea* XYChart::getPlotArea() const
{
    layout();
    return &m_plotArea;
}

void XYChart::addTitle(const std::string& text, const std::string& font, double size, Color color,
                       Color /*background*/, Color /*edgeColor*/)
{
    // Only the transparent title box is used, so it is not stored.
    m_title = text;
    m_titleStyle = {font, size, color};
}

LegendBox* XYChart::addLegend(int x, int y, bool vertical, const std::string& font, double size)
{
    m_legend.emplace(x, y, vertical, TextStyle{font, size, TextColor});
    return &*m_legend;
}

LineLayer* XYChart::addLineLayer(int /*combineMethod*/, int /*depth*/)
{
    m_layers.push_back(std::make_unique<LineLayer>(&m_yAxis));
    invalidate();
    return m_layers.back().get();
}

LineLayer* XYChart::getLayerByZ(int index) const
{
    if (index < 0 || index >= getLayerCount())
        return nullptr;
    return m_layers[static_cast<size_t>(index)].get();
}

unsigned XYChart::contentRevision() const
{
    unsigned revision = m_xAxis.revision() + m_yAxis.revision();
    for (const auto& layer : m_layers)
        revision += layer->revision();
    return revision;
}

void XYChart::layout() const
{
    const unsigned revision = contentRevision();
    if (m_laidOut && revision == m_laidOutRevision)
        return;
    m_laidOutRevision = revision;
    const PlotArea& plot = m_plotArea;
    m_xAxis.placeAt(plot.getBottomY(), plot.getLeftX(), plot.getWidth());
    m_yAxis.placeAt(plot.getLeftX(), plot.getTopY(), plot.getHeight());

    double xMin = NoValue, xMax = -NoValue, yMin = NoValue, yMax = -NoValue;
    for (const auto& layer : m_layers) {
        double lowest = 0, highest = 0;
        if (layer->xRange(lowest, highest)) { // also builds the layer's lookup table
            xMin = std::min(xMin, lowest);
            xMax = std::max(xMax, highest);
        }
        if (layer->yRange(lowest, highest)) {
            yMin = std::min(yMin, lowest);
            yMax = std::max(yMax, highest);
        }
    }
    m_xAxis.fitScale(xMin, xMax);
    m_yAxis.fitScale(yMin, yMax);
    if (m_equalScale && !m_xAxis.isZoomed() && !m_yAxis.isZoomed()) {
        // The axis with less per pixel shows exactly the range that gives it the other's
        // scale, about its middle; round ticks stay inside it.
        const double width = std::max(1, plot.getWidth()), height = std::max(1, plot.getHeight());
        const double xPer = (m_xAxis.maxValue() - m_xAxis.minValue()) / width;
        const double yPer = (m_yAxis.maxValue() - m_yAxis.minValue()) / height;
        Axis& narrower = xPer < yPer ? m_xAxis : m_yAxis;
        const double per = std::max(xPer, yPer), pixels = xPer < yPer ? width : height;
        const double middle = (narrower.minValue() + narrower.maxValue()) / 2;
        narrower.setZoom(middle - per * pixels / 2, middle + per * pixels / 2);
        narrower.fitScale(0, 0);
    }
    m_laidOut = true;
}

double XYChart::getNearestXValue(double pixelX) const
{
    layout();
    const double target = m_xAxis.valueOf(pixelX);
    double nearest = NoValue;
    for (const auto& layer : m_layers) {
        const double candidate = layer->nearestX(target);
        if (!IsNoValue(candidate) &&
            (IsNoValue(nearest) || std::fabs(candidate - target) < std::fabs(nearest - target)))
            nearest = candidate;
    }
    return nearest;
}

int XYChart::getXCoor(double value) const
{
    layout();
    return static_cast<int>(std::lround(m_xAxis.pixelOf(value)));
}

int XYChart::getYCoor(double value, const Axis* axis) const
{
    layout();
    const Axis* use = axis ? axis : &m_yAxis;
    const double pixel = use->pixelOf(value);
    // Far-off values would overflow an int; they lie outside the image anyway.
    return static_cast<int>(std::lround(std::clamp(pixel, -1e6, 1e6)));
}

std::string XYChart::formatValue(double value, const std::string& format) const
{
    return ValueFormat::Apply(value, format);
}

} // namespace OrvaneChart
