#pragma once

#include "chart/axis.h"
#include "chart/chartdefs.h"
#include "chart/legendbox.h"
#include "chart/linelayer.h"
#include "chart/plotarea.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace OrvaneChart {

// A chart of line layers over one x and one y axis: its size and decoration, the
// plot area, title, legend and data, and the pixel geometry derived from them.
// It draws nothing itself; CChartViewer renders it. Queries that need the scales
// (pixel coordinates, nearest x) lay the chart out on first use.
class XYChart {
public:
    XYChart(int width, int height, Color background = 0xffffff, Color edgeColor = Transparent,
            int raisedEffect = 0);
    ~XYChart();
    XYChart(const XYChart&) = delete;
    XYChart& operator=(const XYChart&) = delete;

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    Color background() const { return m_background; }
    Color edgeColor() const { return m_edgeColor; }
    int raisedEffect() const { return m_raisedEffect; }

    // -1 for altBackground or edgeColor keeps the default (none).
    PlotArea* setPlotArea(int x, int y, int width, int height, Color background = Transparent,
                          int altBackground = -1, int edgeColor = -1,
                          Color horizontalGrid = 0xc0c0c0, Color verticalGrid = Transparent);
    const PlotArea* getPlotArea() const;
    // The plot area as set, without laying the chart out (which sorts the readings the
    // first time): for what needs only its place, such as the legend.
    const PlotArea& plotArea() const { return m_plotArea; }
    // A shaded band between two x values; xBand is false when there is none.
    // One unit the same length on both axes (an envelope in the (Nx, Ny) plane): the
    // axis with less data per pixel is widened about its middle.
    void setEqualScale(bool equal) { m_equalScale = equal; }
    void setXBand(double low, double high)
    {
        m_bandLow = low;
        m_bandHigh = high;
    }
    bool xBand(double& low, double& high) const
    {
        low = m_bandLow;
        high = m_bandHigh;
        return m_bandLow < m_bandHigh;
    }

    void addTitle(const std::string& text, const std::string& font = {}, double size = 12,
                  Color color = TextColor, Color background = Transparent,
                  Color edgeColor = Transparent);
    const std::string& title() const { return m_title; }
    const TextStyle& titleStyle() const { return m_titleStyle; }

    LegendBox* addLegend(int x, int y, bool vertical = true, const std::string& font = {},
                         double size = 10);
    const LegendBox* getLegend() const { return m_legend ? &*m_legend : nullptr; }

    Axis* xAxis() { return &m_xAxis; }
    Axis* yAxis() { return &m_yAxis; }
    const Axis* xAxis() const { return &m_xAxis; }
    const Axis* yAxis() const { return &m_yAxis; }

    LineLayer* addLineLayer(int combineMethod = Overlay, int depth = 0);
    int getLayerCount() const { return static_cast<int>(m_layers.size()); }
    // Layers in drawing order; nullptr outside the range.
    LineLayer* getLayerByZ(int index) const;

    // Fits the axes to the data and the plot area and builds the x lookup tables.
    // Done again only after the chart changed.
    void layout() const;

    // The data x value nearest to a pixel x; NoValue when the chart has no readings.
    double getNearestXValue(double pixelX) const;
    int getXCoor(double value) const;
    // Pixel y of a value on an axis (the y axis when none is given).
    int getYCoor(double value, const Axis* axis = nullptr) const;
    std::string formatValue(double value, const std::string& format) const;

private:
    void invalidate() { m_laidOut = false; }
    // Sum of the revisions of everything the layout depends on.
    unsigned contentRevision() const;

    int m_width;
    int m_height;
    Color m_background;
    Color m_edgeColor;
    int m_raisedEffect;
    PlotArea m_plotArea;
    std::string m_title;
    TextStyle m_titleStyle;
    std::optional<LegendBox> m_legend;
    // Layout adjusts the scales, which are part of what a const chart reports.
    mutable Axis m_xAxis{false};
    mutable Axis m_yAxis{true};
    std::vector<std::unique_ptr<LineLayer>> m_layers;
    double m_bandLow = 0;
    double m_bandHigh = 0;
    mutable bool m_laidOut = false;
    bool m_equalScale = false;
    mutable unsigned m_laidOutRevision = 0;
};

} // namespace OrvaneChart
