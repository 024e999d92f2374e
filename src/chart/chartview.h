#pragma once

#include "chart/chartdefs.h"
#include "chart/linelayer.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace OrvaneChart {

class XYChart;

// Line colours of the curves, 0xRRGGBB: a qualitative palette of mid tones, each at
// least 3:1 in contrast against the white plot and against the dark look's list
// background (so no white and no pale yellow), and far apart from one another in hue
// or lightness. The first ones differ most, as most series have only a few specimens.
inline constexpr std::array<Color, 12> SERIES_COLORS = {
    0x1f77b4, // blue
    0xd95f02, // orange
    0x2ca02c, // green
    0xd62728, // red
    0x9467bd, // purple
    0x7f7f7f, // grey
    0x808000, // olive
    0x00998f, // teal
    0xe7298a, // magenta
    0xa8572f, // brown
    0x9900ff, // violet
    0x0066ff, // azure
};

// Once every colour is taken, the curves after it take the colours again in the
// next pattern: curve 13 is blue and dashed, curve 25 blue and dotted.
inline constexpr std::array<LineDash, 5> SERIES_DASHES = {
    LineDash::Solid, LineDash::Dashed, LineDash::Dotted, LineDash::DashDot, LineDash::DashDotDot,
};

// Holds what the stress-strain chart shows: the series, legend names, titles,
// image size and layout, and builds an XYChart from them on request.
//
// Layout 0: array 0 holds the x values shared by all further arrays, which are y
// series (m_pointCount values each). Layout 1: the arrays come in pairs, x values
// then y values, one curve per pair, m_counts giving each array's length.
class CChartView {
public:
    CChartView();
    virtual ~CChartView();
    CChartView(const CChartView&) = delete;
    CChartView& operator=(const CChartView&) = delete;

    // The placeholder chart: title "graph", axes "X" and "Y", layout 0, one empty
    // series named "value".
    void Reset();
    // Drops names, arrays and counts.
    void Clear();
    // Replaces names, arrays and counts with copies of the given ones; false, with
    // nothing changed, when arrays is empty. Layout and titles stay. Clears the
    // keep indices, so set those afterwards.
    bool SetData(const std::vector<std::vector<double>>& arrays,
                 const std::vector<std::string>& names);
    // A new chart of the current data; the caller owns it.
    std::unique_ptr<XYChart> CreateChart() const;

    // Readings each curve's reduced drawing must keep (per curve, in curve order:
    // the pairs of layout 1, the y series of layout 0), e.g. the chord readings.
    void SetKeepIndices(std::vector<std::vector<int>> indices);
    // The data range shown (a zoom), or all of the data again.
    void SetZoom(double xLow, double xHigh, double yLow, double yHigh);
    void ResetZoom();
    bool Zoomed() const { return m_zoomed; }
    // A light band across the plot between two strains (the elastic range).
    void SetBand(double low, double high);
    // The curves not drawn, by their order; their legend entries stay, greyed.
    void SetHidden(std::vector<bool> hidden);
    const std::vector<bool>& Hidden() const { return m_hidden; }
    // The curves of specimens left out, by their order. They were once marked by
    // dashes; now that dashes tell curves apart, they are drawn faded instead, in
    // their own colour and pattern.
    void SetDashed(std::vector<bool> dashed);
    const std::vector<bool>& Dashed() const { return m_dashed; }
    // Curves that are no measurement (a prediction beside the tests), by their order:
    // drawn black, dashed then dotted, a little wider, so they never pass for a specimen's.
    void SetReference(std::vector<bool> reference);
    // One unit the same length on both axes, for a curve whose shape is the point.
    void SetEqualScale(bool equal);
    const std::vector<bool>& Reference() const { return m_reference; }
    const std::vector<std::vector<int>>& KeepIndices() const { return m_keepIndices; }

    void SetChartSize(int width, int height);
    int ChartWidth() const { return m_chartWidth; }
    int ChartHeight() const { return m_chartHeight; }
    void SetTitle(const std::string& title);
    void SetXTitle(const std::string& title);
    void SetYTitle(const std::string& title);
    const std::string& Title() const { return m_title; }
    const std::string& XTitle() const { return m_xTitle; }
    const std::string& YTitle() const { return m_yTitle; }
    void SetLayout(int layout);
    int Layout() const { return m_layout; }

    int PointCount() const { return m_pointCount; }
    const std::vector<std::string>& Names() const { return m_names; }
    const std::vector<int>& Counts() const { return m_counts; }

    // Changes whenever anything a chart is built from changes, so an owner can build a
    // new chart only when it would differ from the one on screen.
    unsigned Revision() const { return m_revision; }

    // Colour and pattern of curve k (from 0): the colours in turn, then the colours
    // again in the next pattern, and so on.
    static Color SeriesColor(int curve);
    static LineDash SeriesDash(int curve);

protected:
    int m_pointCount = 0;
    std::string m_title;
    std::string m_xTitle;
    std::string m_yTitle;
    std::vector<std::string> m_names;
    std::vector<SharedSeries> m_arrays;
    std::vector<bool> m_reference;
    bool m_equalScale = false;
    // One sorted x table per curve, shared by every chart of the same data.
    mutable std::vector<std::shared_ptr<XLookup>> m_lookups;
    std::vector<int> m_counts;
    int m_chartWidth = 300;
    int m_chartHeight = 500;
    int m_layout = 0;

private:
    // The curves as line layers and data sets, in their colours and patterns.
    void AddCurves(XYChart& chart) const;

    std::vector<std::vector<int>> m_keepIndices;
    std::vector<bool> m_dashed;
    std::vector<bool> m_hidden;
    bool m_zoomed = false;
    double m_zoom[4] = {0, 1, 0, 1};
    double m_band[2] = {0, 0};
    unsigned m_revision = 0;
};

} // namespace OrvaneChart
