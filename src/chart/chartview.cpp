#include "chart/chartview.h"

#include "chart/legendlayout.h"
#include "chart/xychart.h"

#include <algorithm>

namespace OrvaneChart {

namespace {

constexpr int kPlotTop = 70;
constexpr int kLegendClearance = 8;

// The array as handed to the chart: never more than it holds, and shared when whole.
SharedSeries Usable(const SharedSeries& array, int count)
{
    count = std::clamp(count, 0, static_cast<int>(array->size()));
    if (count == static_cast<int>(array->size()))
        return array;
    return std::make_shared<const std::vector<double>>(array->begin(), array->begin() + count);
}

SharedSeries Share(std::vector<double> values) { return std::make_shared<const std::vector<double>>(std::move(values)); }

} // namespace

CChartView::CChartView() = default;

CChartView::~CChartView() { Clear(); }

Color CChartView::SeriesColor(int curve)
{
    const int size = static_cast<int>(SERIES_COLORS.size());
    return SERIES_COLORS[static_cast<size_t>(((curve % size) + size) % size)];
}

LineDash CChartView::SeriesDash(int curve)
{
    const int round = std::max(curve, 0) / static_cast<int>(SERIES_COLORS.size());
    return SERIES_DASHES[static_cast<size_t>(round) % SERIES_DASHES.size()];
}

void CChartView::Clear()
{
    m_pointCount = 0;
    m_names.clear();
    m_arrays.clear();
    m_lookups.clear();
    m_counts.clear();
    m_keepIndices.clear();
    m_dashed.clear();
    m_reference.clear();
    ++m_revision;
}

void CChartView::Reset()
{
    Clear();
    m_arrays.push_back(Share(std::vector<double>(static_cast<size_t>(m_pointCount), 0.0)));
    m_arrays.push_back(Share(std::vector<double>(static_cast<size_t>(m_pointCount), NoValue)));
    m_title = "graph";
    m_xTitle = "X";
    m_yTitle = "Y";
    m_names.push_back(m_xTitle);
    m_names.push_back("value");
    m_layout = 0;
    m_equalScale = false;
}

bool CChartView::SetData(const std::vector<std::vector<double>>& arrays,
                         const std::vector<std::string>& names)
{
    if (arrays.empty())
        return false;
    Clear();
    m_names = names;
    m_arrays.reserve(arrays.size());
    m_counts.reserve(arrays.size());
    for (const auto& array : arrays) {
        m_arrays.push_back(Share(array));
        m_counts.push_back(static_cast<int>(array.size()));
    }
    return true;
}

void CChartView::SetZoom(double xLow, double xHigh, double yLow, double yHigh)
{
    if (!(xLow < xHigh) || !(yLow < yHigh))
        return;
    m_zoomed = true;
    m_zoom[0] = xLow;
    m_zoom[1] = xHigh;
    m_zoom[2] = yLow;
    m_zoom[3] = yHigh;
    ++m_revision;
}

void CChartView::ResetZoom()
{
    m_zoomed = false;
    ++m_revision;
}

void CChartView::SetBand(double low, double high)
{
    m_band[0] = low;
    m_band[1] = high;
    ++m_revision;
}

void CChartView::SetHidden(std::vector<bool> hidden)
{
    m_hidden = std::move(hidden);
    ++m_revision;
}

void CChartView::SetEqualScale(bool equal)
{
    m_equalScale = equal;
    ++m_revision;
}

void CChartView::SetReference(std::vector<bool> reference)
{
    m_reference = std::move(reference);
    ++m_revision;
}

void CChartView::SetDashed(std::vector<bool> dashed)
{
    m_dashed = std::move(dashed);
    ++m_revision;
}

void CChartView::SetKeepIndices(std::vector<std::vector<int>> indices)
{
    m_keepIndices = std::move(indices);
    ++m_revision;
}

void CChartView::SetChartSize(int width, int height)
{
    if (width == m_chartWidth && height == m_chartHeight)
        return;
    m_chartWidth = width;
    m_chartHeight = height;
    ++m_revision;
}

void CChartView::SetTitle(const std::string& title)
{
    m_title = title;
    ++m_revision;
}

void CChartView::SetXTitle(const std::string& title)
{
    m_xTitle = title;
    ++m_revision;
}

void CChartView::SetYTitle(const std::string& title)
{
    m_yTitle = title;
    ++m_revision;
}

void CChartView::SetLayout(int layout)
{
    m_layout = layout;
    ++m_revision;
}

std::unique_ptr<XYChart> CChartView::CreateChart() const
{
    auto chart = std::make_unique<XYChart>(m_chartWidth, m_chartHeight, 0xf0f0ff, 0x000000, 1);
    const auto placePlot = [&](int top) {
        chart->setPlotArea(120, top, m_chartWidth - 200, m_chartHeight - 70 - top, 0xffffff, -1, -1, 0xcccccc,
                           0xcccccc);
    };
    placePlot(kPlotTop);
    chart->addTitle(m_title, "timesbi.ttf", 15, TextColor, Transparent, Transparent);
    LegendBox* legend = chart->addLegend(50, 33, false, "arialbd.ttf", 9);
    legend->setBackground(Transparent, Transparent, 0);
    chart->xAxis()->setTitle(m_xTitle, {}, 8, TextColor);
    chart->yAxis()->setTitle(m_yTitle, "arialbd.ttf", 9, TextColor);
    chart->xAxis()->setWidth(2);
    chart->yAxis()->setWidth(2);
    chart->setEqualScale(m_equalScale);
    if (m_zoomed) {
        chart->xAxis()->setZoom(m_zoom[0], m_zoom[1]);
        chart->yAxis()->setZoom(m_zoom[2], m_zoom[3]);
    }
    chart->setXBand(m_band[0], m_band[1]);
    AddCurves(*chart);
    // Names of many curves can need more rows than the room above the plot holds even
    // in the legend's smallest font: the plot moves down to make room for them, short
    // of the top y label, which stands half its height above the plot.
    const int legendBottom = LegendLayout::Make(*chart).bounds().bottom();
    if (legendBottom + kLegendClearance > kPlotTop)
        placePlot(std::min(legendBottom + kLegendClearance, m_chartHeight / 2));
    return chart;
}

void CChartView::AddCurves(XYChart& chart) const
{
    const auto name = [this](size_t i) { return i < m_names.size() ? m_names[i] : std::string(); };
    const auto keep = [this](size_t curve) {
        return curve < m_keepIndices.size() ? m_keepIndices[curve] : std::vector<int>();
    };
    const int arrayCount = static_cast<int>(m_arrays.size());
    const auto lookup = [this](size_t layer) {
        if (m_lookups.size() <= layer)
            m_lookups.resize(layer + 1);
        if (!m_lookups[layer])
            m_lookups[layer] = std::make_shared<XLookup>();
        return m_lookups[layer];
    };

    if (m_layout == 0) {
        LineLayer* layer = chart.addLineLayer(Overlay, 0);
        layer->setLineWidth(2);
        layer->setFastLineMode(true);
        if (arrayCount > 0)
            layer->setXData(Usable(m_arrays[0], m_pointCount));
        for (int i = 1; i < arrayCount; ++i) {
            DataSet* dataSet = layer->addDataSet(Usable(m_arrays[static_cast<size_t>(i)], m_pointCount),
                                                 SeriesColor(i), name(static_cast<size_t>(i)));
            dataSet->setDash(SeriesDash(i));
            dataSet->setKeepIndices(keep(static_cast<size_t>(i - 1)));
        }
    } else if (m_layout == 1) {
        // An odd last array has no partner and is left out.
        for (int k = 0; k + 1 < arrayCount; k += 2) {
            const auto& xs = m_arrays[static_cast<size_t>(k)];
            const auto& ys = m_arrays[static_cast<size_t>(k + 1)];
            const int xCount =
                k < static_cast<int>(m_counts.size()) ? m_counts[static_cast<size_t>(k)] : 0;
            const int yCount = k + 1 < static_cast<int>(m_counts.size())
                                   ? m_counts[static_cast<size_t>(k + 1)]
                                   : 0;
            LineLayer* layer = chart.addLineLayer(Overlay, 0);
            layer->setXData(Usable(xs, xCount));
            const size_t curve = static_cast<size_t>(k / 2);
            const bool reference = curve < m_reference.size() && m_reference[curve];
            DataSet* dataSet =
                layer->addDataSet(Usable(ys, yCount), reference ? Color(0x000000) : SeriesColor(k / 2), name(curve));
            layer->shareLookups(lookup(curve));
            dataSet->setKeepIndices(keep(curve));
            // The first reference dashed, the next dotted.
            const bool later =
                reference &&
                std::count(m_reference.begin(), m_reference.begin() + static_cast<std::ptrdiff_t>(curve), true) % 2;
            dataSet->setDash(reference ? (later ? LineDash::Dotted : LineDash::Dashed) : SeriesDash(k / 2));
            dataSet->setFaded(curve < m_dashed.size() && m_dashed[curve]);
            dataSet->setHidden(curve < m_hidden.size() && m_hidden[curve]);
            layer->setLineWidth(reference ? 2 : 1);
        }
    }
}

} // namespace OrvaneChart
