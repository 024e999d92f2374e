#include "chart/trackline.h"

#include "chart/chartfont.h"
#include "chart/chartpen.h"
#include "chart/xychart.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>

namespace OrvaneChart {

namespace {

constexpr int kBelowPlot = 6; // the x label hangs this far under the plot area
constexpr int kLabelGap = 8;  // value boxes stand this far beside the line
constexpr int kDotRadius = 4;

// Whether black text stands out more than white on this background (WCAG contrast):
// white is unreadable on the light series colours, yellow, cyan and green.
bool PrefersBlackText(const QColor& background)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double luminance = 0.2126 * linear(background.redF()) + 0.7152 * linear(background.greenF()) +
                             0.0722 * linear(background.blueF());
    return (luminance + 0.05) / 0.05 > 1.05 / (luminance + 0.05);
}

QPen DashPen(const QColor& color)
{
    QPen pen(color, 1);
    pen.setDashPattern({2, 2});
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// Calls visit(dataSet, value) for each drawn curve that spans x, with its value there.
template <class Visit> void ForEachCurveAt(const XYChart& chart, double x, Visit visit)
{
    for (int l = 0; l < chart.getLayerCount(); ++l) {
        const LineLayer* layer = chart.getLayerByZ(l);
        for (int d = 0; d < layer->getDataSetCount(); ++d) {
            const DataSet* dataSet = layer->getDataSetByZ(d);
            if (dataSet->getDataColor() == Transparent || dataSet->hidden())
                continue;
            const double value = layer->valueAt(x, *dataSet);
            if (!IsNoValue(value))
                visit(*dataSet, value);
        }
    }
}

} // namespace

QFont TrackLine::LabelFont()
{
    return ChartFont::Make("arialbd.ttf", 8);
}

TrackLine::Label TrackLine::MakeLabel(const QString& markup, QPoint anchor, int alignment)
{
    const MarkupText parsed(markup);
    Label label;
    label.markup = markup;
    label.text = parsed.text().trimmed();
    label.box = parsed.box();
    label.textColor = Qt::white;
    label.anchor = anchor;
    label.alignment = alignment;
    return label;
}

TrackLine TrackLine::Build(const XYChart& chart, int mouseX)
{
    TrackLine track;
    const PlotArea* plot = chart.getPlotArea();
    const double xValue = chart.getNearestXValue(mouseX);
    if (IsNoValue(xValue))
        return track;
    const int xCoor = chart.getXCoor(xValue);

    // The line starts at the highest curve point at that x, or at the plot top when a
    // point lies above the plot area.
    int topY = plot->getBottomY();
    ForEachCurveAt(chart, xValue, [&](const DataSet& dataSet, double value) {
        topY = std::min(topY, chart.getYCoor(value, dataSet.getUseYAxis()));
    });

    track.m_empty = false;
    track.m_xValue = xValue;
    track.m_x = xCoor;
    track.m_top = std::max(topY, plot->getTopY());
    track.m_bottom = plot->getBottomY() + kBelowPlot;
    track.m_xLabel =
        MakeLabel(QStringLiteral("<*font,bgColor=000000*> ") +
                      QString::fromStdString(chart.xAxis()->getFormattedLabel(xValue)) + QStringLiteral(" <*/font*>"),
                  QPoint(xCoor, plot->getBottomY() + kBelowPlot), TopCenter);

    ForEachCurveAt(chart, xValue, [&](const DataSet& dataSet, double value) {
        const Color color = dataSet.getDataColor();
        const int yCoor = chart.getYCoor(value, dataSet.getUseYAxis());
        if (yCoor < plot->getTopY() || yCoor > plot->getBottomY())
            return;
        track.m_dots.push_back({QPoint(xCoor, yCoor), kDotRadius, ToQColor(color)});
        const QString markup = QStringLiteral("<*font,bgColor=") + QString::number(color, 16) + QStringLiteral("*> ") +
                               QString::fromStdString(chart.formatValue(value, "{value|P4}")) +
                               QStringLiteral(" <*/font*>");
        track.m_valueLabels.push_back(MakeLabel(markup, QPoint(xCoor + kLabelGap, yCoor), Left));
        if (PrefersBlackText(ToQColor(color)))
            track.m_valueLabels.back().textColor = Qt::black;
    });
    track.PlaceValueLabels(plot->getTopY(), plot->getBottomY(), plot->getRightX());
    return track;
}

void TrackLine::PlaceValueLabels(int plotTop, int plotBottom, int plotRight)
{
    if (m_valueLabels.empty())
        return;
    const QFont font = LabelFont();
    std::vector<size_t> order(m_valueLabels.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return m_valueLabels[a].anchor.y() < m_valueLabels[b].anchor.y(); });
    int widest = 0;
    int height = 0;
    for (const Label& label : m_valueLabels) {
        const QRect box = MarkupText(label.markup).boundsAt(font, QPoint(0, 0), Left);
        widest = std::max(widest, box.width());
        height = std::max(height, box.height());
    }
    // Top down, each box below the one above it; then, from the bottom up, back
    // inside the plot.
    int previous = INT_MIN / 2;
    for (const size_t i : order) {
        int& y = m_valueLabels[i].anchor.ry();
        y = std::max(y, previous + height + 1);
        previous = y;
    }
    int next = plotBottom - height / 2 + height + 1;
    for (auto i = order.rbegin(); i != order.rend(); ++i) {
        int& y = m_valueLabels[*i].anchor.ry();
        y = std::max(std::min(y, next - height - 1), plotTop + height / 2);
        next = y;
    }
    if (m_x + kLabelGap + widest > plotRight) {
        for (Label& label : m_valueLabels) {
            label.anchor.setX(m_x - kLabelGap);
            label.alignment = Right;
        }
    }
}

QRect TrackLine::bounds() const
{
    if (m_empty)
        return {};
    const QFont font = LabelFont();
    QRect area(QPoint(m_x - 1, m_top - 1), QPoint(m_x + 1, m_bottom + 1));
    area |= MarkupText(m_xLabel.markup).boundsAt(font, m_xLabel.anchor, m_xLabel.alignment);
    for (const Dot& dot : m_dots) {
        area |= QRect(dot.centre - QPoint(dot.radius + 2, dot.radius + 2),
                      dot.centre + QPoint(dot.radius + 2, dot.radius + 2));
    }
    for (const Label& label : m_valueLabels)
        area |= MarkupText(label.markup).boundsAt(font, label.anchor, label.alignment);
    return area.adjusted(-1, -1, 1, 1);
}

void TrackLine::paint(QPainter& painter) const
{
    if (m_empty)
        return;
    const QFont font = LabelFont();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(DashPen(Qt::black));
    painter.drawLine(m_x, m_top, m_x, m_bottom);
    MarkupText(m_xLabel.markup).draw(painter, font, m_xLabel.textColor, m_xLabel.anchor, m_xLabel.alignment);

    for (size_t i = 0; i < m_dots.size(); ++i) {
        const Dot& dot = m_dots[i];
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(dot.color, 1));
        painter.setBrush(dot.color);
        painter.drawEllipse(QPointF(dot.centre), dot.radius, dot.radius);
        painter.setBrush(Qt::NoBrush);

        const Label& label = m_valueLabels[i];
        MarkupText(label.markup).draw(painter, font, label.textColor, label.anchor, label.alignment);
    }
    painter.restore();
}

} // namespace OrvaneChart
