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

constexpr int kBelowPlot = 6;    // the x label hangs this far under the plot area
constexpr int kLabelGap = 8;     // value boxes stand this far beside the line
constexpr int kColumnGap = 4;    // between columns of value boxes
constexpr int kChartEdge = 2;    // value boxes keep this far from the chart's top
constexpr int kSampleWidth = 24; // a pattern sample, as long as the legend's
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

// Where a label's text goes: after the pattern sample when the box starts at the anchor.
QPoint TextAnchor(const TrackLine::Label& label)
{
    const bool shifted = label.dash != LineDash::Solid && label.alignment == Left;
    return label.anchor + QPoint(shifted ? kSampleWidth : 0, 0);
}

} // namespace

QFont TrackLine::LabelFont()
{
    return ChartFont::Make("arialbd.ttf", 8);
}

QRect TrackLine::LabelBounds(const Label& label, const QFont& font)
{
    QRect bounds = MarkupText(label.markup).boundsAt(font, TextAnchor(label), label.alignment);
    if (label.dash != LineDash::Solid)
        bounds.setLeft(bounds.left() - kSampleWidth);
    return bounds;
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

    track.AddValueLabels(chart, *plot);
    track.PlaceValueLabels(*plot);
    return track;
}

void TrackLine::AddValueLabels(const XYChart& chart, const PlotArea& plot)
{
    // Collected first, then put in the order of their values, highest first.
    struct Found {
        double value;
        Dot dot;
        Label label;
    };
    std::vector<Found> found;
    ForEachCurveAt(chart, m_xValue, [&](const DataSet& dataSet, double value) {
        const Color color = dataSet.getDataColor();
        const int yCoor = chart.getYCoor(value, dataSet.getUseYAxis());
        if (yCoor < plot.getTopY() || yCoor > plot.getBottomY())
            return;
        const QString number = QString::fromStdString(chart.formatValue(value, "{value|P4}"));
        const QString name = QString::fromStdString(dataSet.getDataName());
        const QString markup = QStringLiteral("<*font,bgColor=") + QString::number(color, 16) + QStringLiteral("*> ") +
                               (name.isEmpty() ? number : name + QStringLiteral(": ") + number) +
                               QStringLiteral(" <*/font*>");
        Found curve{value, {QPoint(m_x, yCoor), kDotRadius, ToQColor(color)},
                    MakeLabel(markup, QPoint(m_x + kLabelGap, yCoor), Left)};
        curve.label.value = number;
        curve.label.dash = dataSet.dash();
        if (PrefersBlackText(ToQColor(color)))
            curve.label.textColor = Qt::black;
        found.push_back(std::move(curve));
    });
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.value > b.value; });
    for (Found& curve : found) {
        m_dots.push_back(curve.dot);
        m_valueLabels.push_back(std::move(curve.label));
    }
}

void TrackLine::StackLabels(size_t first, size_t last, int top, int bottom, int height)
{
    // Top down, each box below the one above it; then, from the bottom up, back
    // inside the room.
    int previous = INT_MIN / 2;
    for (size_t i = first; i < last; ++i) {
        int& y = m_valueLabels[i].anchor.ry();
        y = std::max(y, previous + height + 1);
        previous = y;
    }
    int next = bottom - height / 2 + height + 1;
    for (size_t i = last; i-- > first;) {
        int& y = m_valueLabels[i].anchor.ry();
        y = std::max(std::min(y, next - height - 1), top + height / 2);
        next = y;
    }
}

void TrackLine::PlaceValueLabels(const PlotArea& plot)
{
    if (m_valueLabels.empty())
        return;
    const QFont font = LabelFont();
    int widest = 0;
    int height = 0;
    for (const Label& label : m_valueLabels) {
        const QRect box = LabelBounds(label, font);
        widest = std::max(widest, box.width());
        height = std::max(height, box.height());
    }
    // Level with their dots when the plot holds them all; more boxes than that take
    // the chart above the plot too (its title and legend, for as long as the mouse
    // stays), and more than the chart holds go on in further columns.
    const int step = height + 1;
    const int count = static_cast<int>(m_valueLabels.size());
    int top = plot.getTopY();
    if (count * step > plot.getBottomY() - top + 1)
        top = std::min(top, kChartEdge);
    const int perColumn = std::max(1, (plot.getBottomY() - top + 1) / step);
    const int columns = (count + perColumn - 1) / perColumn;
    for (int c = 0; c < columns; ++c) {
        StackLabels(static_cast<size_t>(c * perColumn), static_cast<size_t>(std::min(count, (c + 1) * perColumn)), top,
                    plot.getBottomY(), height);
    }
    const int across = kLabelGap + columns * widest + (columns - 1) * kColumnGap;
    const bool right = m_x + across <= plot.getRightX() || m_x - plot.getLeftX() < plot.getRightX() - m_x;
    for (int i = 0; i < count; ++i) {
        Label& label = m_valueLabels[static_cast<size_t>(i)];
        const int offset = kLabelGap + (i / perColumn) * (widest + kColumnGap);
        label.anchor.setX(right ? m_x + offset : m_x - offset);
        label.alignment = right ? Left : Right;
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
        area |= LabelBounds(label, font);
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

    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Dot& dot : m_dots) {
        painter.setPen(QPen(dot.color, 1));
        painter.setBrush(dot.color);
        painter.drawEllipse(QPointF(dot.centre), dot.radius, dot.radius);
    }
    painter.setBrush(Qt::NoBrush);
    // The boxes over every dot: a box may stand where another curve's dot is.
    for (const Label& label : m_valueLabels) {
        if (label.dash != LineDash::Solid) {
            // The sample in the text's colour on the box's: the box tells the colour,
            // the sample the pattern.
            const QRect box = LabelBounds(label, font);
            const QRect sample(box.left(), box.top(), kSampleWidth, box.height());
            painter.fillRect(sample, label.box);
            QPen pen = CurvePen(0, 2, label.dash);
            pen.setColor(label.textColor);
            painter.setPen(pen);
            painter.drawLine(sample.left() + 3, sample.center().y(), sample.right(), sample.center().y());
        }
        MarkupText(label.markup).draw(painter, font, label.textColor, TextAnchor(label), label.alignment);
    }
    painter.restore();
}

} // namespace OrvaneChart
