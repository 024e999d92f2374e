#pragma once

#include "chart/chartdefs.h"

#include <string>
#include <vector>

namespace OrvaneChart {

// One linear axis: its title, label and tick settings, and, once the chart is laid
// out, its scale and the pixel span it covers. The x axis runs along the bottom of
// the plot area, the y axis along its left edge.
class Axis {
public:
    explicit Axis(bool vertical);

    void setTitle(const std::string& text, const std::string& font = {}, double size = 8,
                  Color color = TextColor);
    const std::string& title() const { return m_title; }
    const TextStyle& titleStyle() const { return m_titleStyle; }

    void setLabelStyle(const std::string& font = {}, double size = 8, Color color = TextColor);
    const TextStyle& labelStyle() const { return m_labelStyle; }

    // A label on every majorStep-th tick, counted from the first tick plus
    // majorOffset; minorStep and minorOffset place unlabelled ticks (0: none).
    void setLabelStep(int majorStep, int minorStep = 0, int majorOffset = 0, int minorOffset = 0);
    int labelStep() const { return m_labelStep; }
    int labelOffset() const { return m_labelOffset; }

    void setWidth(int width);
    int width() const { return m_width; }
    void setColors(Color axisColor) { m_color = axisColor; }
    Color color() const { return m_color; }

    // Desired spacing of ticks in pixels; the scale picks a round step near it.
    void setTickDensity(int majorSpacing, int minorSpacing = -1);
    int tickDensity() const { return m_tickDensity; }

    void setLabelFormat(const std::string& format) { m_labelFormat = format; }
    const std::string& labelFormat() const { return m_labelFormat; }
    // The value as this axis labels it (format empty: the axis's label format).
    std::string getFormattedLabel(double value, const std::string& format = {}) const;

    // Fixes the scale instead of fitting it to the data.
    void setLinearScale(double lower, double upper, double tickStep = 0);
    // Shows exactly [low, high] (a zoomed view) with ticks at the round values inside
    // it, until the zoom is cleared.
    void setZoom(double low, double high);
    void clearZoom();
    bool isZoomed() const { return m_zoomed; }
    bool hasFixedScale() const { return m_fixedScale; }

    bool isVertical() const { return m_vertical; }
    // Pixel x of the axis line (vertical axis) or of its left end (horizontal axis).
    int getX() const { return m_vertical ? m_linePosition : m_pixelStart; }
    // Pixel y of the axis line (horizontal axis) or of its top end (vertical axis).
    int getY() const { return m_vertical ? m_pixelStart : m_linePosition; }
    // Left for a y axis left of the plot area, Bottom for an x axis below it.
    int getAlignment() const { return m_vertical ? Left : Bottom; }

    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }
    double tickStep() const { return m_tickStep; }
    // Values of every tick from the lower to the upper end of the scale, at whole
    // multiples of the step.
    std::vector<double> tickValues() const;
    double firstTick() const;
    // Whether the tick of that position (0 = lower end) carries a label.
    bool isLabelledTick(int tickIndex) const;

    // Pixel coordinate of a value, and the value at a pixel coordinate.
    double pixelOf(double value) const;
    double valueOf(double pixel) const;

    // Set by the chart's layout: where the axis lies in pixels and what range of
    // data it has to show.
    void placeAt(int linePosition, int pixelStart, int pixelLength);
    void fitScale(double dataMin, double dataMax);

    // Changes with every setting that affects the scale, so the chart knows to lay
    // itself out again.
    unsigned revision() const { return m_revision; }

private:
    bool m_vertical;
    std::string m_title;
    TextStyle m_titleStyle;
    TextStyle m_labelStyle;
    std::string m_labelFormat = "{value}";
    int m_labelStep = 1;
    int m_labelOffset = 0;
    int m_width = 1;
    Color m_color = LineColor;
    int m_tickDensity;
    bool m_fixedScale = false;
    bool m_zoomed = false;
    double m_zoomLow = 0;
    double m_zoomHigh = 1;
    double m_min = 0;
    double m_max = 1;
    double m_tickStep = 0.1;
    int m_linePosition = 0;
    int m_pixelStart = 0;
    int m_pixelLength = 1;
    unsigned m_revision = 0;
};

} // namespace OrvaneChart
