#include "chart/trackline.h"

#include "chart/chartfont.h"
#include "chart/xychart.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace OrvaneChart {

namespace {

constexpr int kBelowPlot = 6; // the x label hangs this far under the plot area
constexpr int kLabelGap = 4;  // value labels stand this far off the y axis
constexpr int kDotRadius = 4;

QColor ToQColor(Color color)
{
    return QColor::fromRgb((color >> 16) & 0xff, (color >> 8) & 0xff, color & 0xff,
                           255 - static_cast<int>((color >> 24) & 0xff));
}

QPen DashPen(const QColor& color)
{
    QPen pen(color, 1);
    pen.setDashPattern({2, 2});
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// Calls visit(dataSet, value) for each drawn curve's point at x, layer by layer.
template <class Visit>
void ForEachDrawnPointAt(const XYChart& chart, double x, Visit visit)
{
    for (int l = 0; l < chart.getLayerCount(); ++l) {
        const LineLayer* layer = chart.getLayerByZ(l);
        const int index = layer->getXIndexOf(x, 0);
        for (int d = 0; d < layer->getDataSetCount(); ++d) {
            const DataSet* dataSet = layer->getDataSetByZ(d);
            const double value = dataSet->getPosition(index);
            if (!IsNoValue(value) && dataSet->getDataColor() != Transparent)
                visit(*dataSet, value);
        }
    }
}

} // namespace

QFont TrackLine::LabelFont() { return ChartFont::Make("arialbd.ttf", 8); }

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
    ForEachDrawnPointAt(chart, xValue, [&](const DataSet& dataSet, double value) {
        topY = std::min(topY, chart.getYCoor(value, dataSet.getUseYAxis()));
    });

    track.m_empty = false;
    track.m_xValue = xValue;
    track.m_x = xCoor;
    track.m_top = std::max(topY, plot->getTopY());
    track.m_bottom = plot->getBottomY() + kBelowPlot;
    track.m_xLabel =
        MakeLabel(QStringLiteral("<*font,bgColor=000000*> ") +
                      QString::fromStdString(chart.xAxis()->getFormattedLabel(xValue)) +
                      QStringLiteral(" <*/font*>"),
                  QPoint(xCoor, plot->getBottomY() + kBelowPlot), TopCenter);

    ForEachDrawnPointAt(chart, xValue, [&](const DataSet& dataSet, double value) {
        const Axis* axis = dataSet.getUseYAxis();
        const Color color = dataSet.getDataColor();
        const int yCoor = chart.getYCoor(value, axis);
        if (yCoor < plot->getTopY() || yCoor > plot->getBottomY())
            return;

        const bool leftAxis = axis->getAlignment() == Left;
        const int labelX = axis->getX() + (leftAxis ? -kLabelGap : kLabelGap);
        const QColor qcolor = ToQColor(color);
        track.m_leaders.push_back({xCoor, labelX, yCoor, qcolor});
        track.m_dots.push_back({QPoint(xCoor, yCoor), kDotRadius, qcolor});
        const QString markup = QStringLiteral("<*font,bgColor=") + QString::number(color, 16) + QStringLiteral("*> ") +
                               QString::fromStdString(chart.formatValue(value, "{value|P4}")) +
                               QStringLiteral(" <*/font*>");
        track.m_valueLabels.push_back(MakeLabel(markup, QPoint(labelX, yCoor), leftAxis ? Right : Left));
    });
    return track;
}

QRect TrackLine::bounds() const
{
    if (m_empty)
        return {};
    const QFont font = LabelFont();
    QRect area(QPoint(m_x - 1, m_top - 1), QPoint(m_x + 1, m_bottom + 1));
    area |= MarkupText(m_xLabel.markup).boundsAt(font, m_xLabel.anchor, m_xLabel.alignment);
    for (const Leader& leader : m_leaders) {
        area |= QRect(QPoint(std::min(leader.fromX, leader.toX) - 1, leader.y - 1),
                      QPoint(std::max(leader.fromX, leader.toX) + 1, leader.y + 1));
    }
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
    MarkupText(m_xLabel.markup)
        .draw(painter, font, m_xLabel.textColor, m_xLabel.anchor, m_xLabel.alignment);

    for (size_t i = 0; i < m_dots.size(); ++i) {
        const Leader& leader = m_leaders[i];
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(DashPen(leader.color));
        painter.drawLine(leader.fromX, leader.y, leader.toX, leader.y);

        const Dot& dot = m_dots[i];
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(dot.color, 1));
        painter.setBrush(dot.color);
        painter.drawEllipse(QPointF(dot.centre), dot.radius, dot.radius);
        painter.setBrush(Qt::NoBrush);

        const Label& label = m_valueLabels[i];
        MarkupText(label.markup)
            .draw(painter, font, label.textColor, label.anchor, label.alignment);
    }
    painter.restore();
}

} // namespace OrvaneChart
