#include "chart/chartrenderer.h"

#include "chart/chartfont.h"
#include "chart/chartpen.h"
#include "chart/curvepainter.h"
#include "chart/curvereducer.h"
#include "chart/legendlayout.h"
#include "chart/xychart.h"

#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QValueAxis>

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace OrvaneChart {

namespace {

// A background, an edge line and, for a raised effect, a light top-left and a
// dark bottom-right bevel inside the edge.
void DrawFrame(QPainter& painter, const XYChart& chart)
{
    const QRect all(0, 0, chart.getWidth(), chart.getHeight());
    if (chart.background() != Transparent)
        painter.fillRect(all, ToQColor(chart.background()));
    QRect inner = all;
    if (chart.edgeColor() != Transparent) {
        painter.setPen(QPen(ToQColor(chart.edgeColor()), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(all.adjusted(0, 0, -1, -1));
        inner = all.adjusted(1, 1, -1, -1);
    }
    for (int i = 0; i < chart.raisedEffect(); ++i) {
        const QRect ring = inner.adjusted(i, i, -i - 1, -i - 1);
        painter.setPen(QColor(255, 255, 255));
        painter.drawLine(ring.topLeft(), ring.topRight());
        painter.drawLine(ring.topLeft(), ring.bottomLeft());
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(ring.bottomLeft(), ring.bottomRight());
        painter.drawLine(ring.topRight(), ring.bottomRight());
    }
}

// The plot's background and edge, and a band across it between two x values (the
// elastic range), all under the curves.
void DrawPlotArea(QPainter& painter, const XYChart& chart)
{
    const PlotArea* plot = chart.getPlotArea();
    const QRect plotRect(plot->getLeftX(), plot->getTopY(), plot->getWidth(), plot->getHeight());
    if (plot->background() != Transparent)
        painter.fillRect(plotRect, ToQColor(plot->background()));
    if (plot->edgeColor() != Transparent) {
        painter.setPen(LinePen(plot->edgeColor(), 1));
        painter.drawRect(plotRect);
    }
    double low = 0, high = 0;
    if (!chart.xBand(low, high))
        return;
    const Axis& x = *chart.xAxis();
    const int left = std::max(plot->getLeftX(), static_cast<int>(std::lround(x.pixelOf(low))));
    const int right = std::min(plot->getRightX(), static_cast<int>(std::lround(x.pixelOf(high))));
    if (right > left)
        painter.fillRect(QRect(left, plot->getTopY() + 1, right - left, plot->getHeight() - 1),
                         QColor(0x33, 0x99, 0xff, 40));
}

QValueAxis* MakeAxis(const Axis& axis, Color gridColor)
{
    auto* qaxis = new QValueAxis;
    // Qt Charts finds the ticks by adding up the interval, which can overshoot the
    // upper end by a rounding error and drop its tick; a range longer by a billionth
    // keeps it and moves nothing by a visible amount.
    qaxis->setRange(axis.minValue(), axis.maxValue() + (axis.maxValue() - axis.minValue()) * 1e-9);
    // Ticks at every step carry grid lines; labels go on every labelStep-th of them,
    // which Qt Charts expresses as major ticks with unlabelled minor ticks between.
    const int labelStep = axis.labelStep();
    qaxis->setTickType(QValueAxis::TicksDynamic);
    qaxis->setTickAnchor(axis.firstTick() + axis.labelOffset() * axis.tickStep());
    qaxis->setTickInterval(axis.tickStep() * labelStep);
    qaxis->setMinorTickCount(labelStep - 1);
    qaxis->setLabelFormat(QStringLiteral("%g"));

    const TextStyle& labels = axis.labelStyle();
    qaxis->setLabelsFont(ChartFont::Make(labels.font, labels.size));
    qaxis->setLabelsColor(ToQColor(labels.color));
    const TextStyle& title = axis.titleStyle();
    qaxis->setTitleText(QString::fromStdString(axis.title()));
    qaxis->setTitleFont(ChartFont::Make(title.font, title.size));
    qaxis->setTitleBrush(ToQColor(title.color));

    qaxis->setLinePen(LinePen(axis.color(), axis.width()));
    qaxis->setLineVisible(axis.width() > 0);
    const bool grid = gridColor != Transparent;
    qaxis->setGridLineVisible(grid);
    qaxis->setMinorGridLineVisible(grid);
    if (grid) {
        QPen gridPen(ToQColor(gridColor), 1);
        qaxis->setGridLinePen(gridPen);
        qaxis->setMinorGridLinePen(gridPen);
    }
    qaxis->setShadesVisible(false);
    return qaxis;
}

} // namespace

ChartRenderer::DrawnRows ChartRenderer::ReduceCurves(const XYChart& chart, double detail)
{
    chart.layout();
    const Axis* xAxis = chart.xAxis();
    const double scale = std::clamp(detail, 1.0, 16.0);
    const int columns = std::max(1, static_cast<int>(std::lround(chart.getPlotArea()->getWidth() * scale)));
    DrawnRows drawn(static_cast<size_t>(chart.getLayerCount()));
    for (int l = 0; l < chart.getLayerCount(); ++l) {
        const LineLayer* layer = chart.getLayerByZ(l);
        std::vector<double> indexX; // a layer without x data plots reading i at x = i
        const double* x = layer->xData().data();
        for (int d = 0; d < layer->getDataSetCount(); ++d) {
            const DataSet* dataSet = layer->getDataSetByZ(d);
            int count = dataSet->size();
            if (layer->xData().empty()) {
                if (static_cast<int>(indexX.size()) < count) {
                    indexX.resize(static_cast<size_t>(count));
                    for (int i = 0; i < count; ++i)
                        indexX[static_cast<size_t>(i)] = i;
                }
                x = indexX.data();
            } else {
                count = std::min(count, static_cast<int>(layer->xData().size()));
            }
            drawn[static_cast<size_t>(l)].push_back(
                CurveReducer::Reduce(x, dataSet->values().data(), count, xAxis->minValue(), xAxis->maxValue(),
                                     columns, dataSet->keepIndices(),
                                     layer->xData().empty() ? nullptr : &layer->blocksOf(d)));
        }
    }
    return drawn;
}

QImage ChartRenderer::Render(const XYChart& chart, qreal devicePixelRatio, DrawnRows* rows)
{
    chart.layout();
    const int width = chart.getWidth();
    const int height = chart.getHeight();
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage image(QSize(std::lround(width * ratio), std::lround(height * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    Paint(chart, painter, rows);
    painter.end();
    return image;
}

QImage ChartRenderer::RenderScaled(const XYChart& chart, QSize pixels)
{
    chart.layout();
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // Across and down apart, so the chart fills the picture to its last pixel; the two
    // differ by less than a pixel in the chart's size, which no text shows.
    painter.scale(double(image.width()) / chart.getWidth(), double(image.height()) / chart.getHeight());
    Paint(chart, painter);
    painter.end();
    return image;
}

void ChartRenderer::Paint(const XYChart& chart, QPainter& painter, DrawnRows* rows)
{
    chart.layout();
    const int width = chart.getWidth();
    const int height = chart.getHeight();
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawFrame(painter, chart);
    DrawPlotArea(painter, chart);
    const PlotArea* plot = chart.getPlotArea();
    const QRect plotRect(plot->getLeftX(), plot->getTopY(), plot->getWidth(), plot->getHeight());
    // The painter's scale to device pixels (a high-dpi screen, a picture at 300 dpi).
    const QTransform toDevice = painter.deviceTransform();
    const DrawnRows drawn = ReduceCurves(chart, std::hypot(toDevice.m11(), toDevice.m12()));

    QGraphicsScene scene;
    auto* qchart = new QChart;
    scene.addItem(qchart); // the scene owns the chart, the chart its axes
    qchart->setAnimationOptions(QChart::NoAnimation);
    qchart->setBackgroundVisible(false);
    qchart->setDropShadowEnabled(false);
    qchart->setMargins(QMargins(0, 0, 0, 0));
    qchart->setGeometry(QRectF(0, 0, width, height));
    // The plot background is drawn here: Qt Charts keeps it where its own layout put
    // it, not in the fixed plot area.
    qchart->setPlotAreaBackgroundVisible(false);

    qchart->setTitle(QString::fromStdString(chart.title()));
    qchart->setTitleFont(ChartFont::Make(chart.titleStyle().font, chart.titleStyle().size));
    qchart->setTitleBrush(ToQColor(chart.titleStyle().color));

    QValueAxis* xAxis = MakeAxis(*chart.xAxis(), plot->verticalGridColor());
    QValueAxis* yAxis = MakeAxis(*chart.yAxis(), plot->horizontalGridColor());
    qchart->addAxis(xAxis, Qt::AlignBottom);
    qchart->addAxis(yAxis, Qt::AlignLeft);

    // The legend is drawn by LegendLayout: Qt Charts' own legend clips the entries
    // that need a second row in a narrow chart.
    qchart->legend()->setVisible(false);

    // Qt Charts lays out a fixed plot area without the title, so let it place the
    // title first, then fix the plot area and lay out the axes around it. Both passes
    // run now rather than on a posted layout request: the scene is drawn right away.
    qchart->layout()->activate();
    qchart->setPlotArea(QRectF(plotRect));
    qchart->layout()->invalidate();
    qchart->layout()->activate();

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    scene.render(&painter, QRectF(0, 0, width, height), QRectF(0, 0, width, height));
    CurvePainter::Draw(painter, chart, drawn);
    LegendLayout::Make(chart).paint(painter);

    if (rows)
        *rows = drawn;
}

} // namespace OrvaneChart
