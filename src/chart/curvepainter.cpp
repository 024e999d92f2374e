#include "chart/curvepainter.h"

#include "chart/chartpen.h"
#include "chart/xychart.h"

#include <QPaintEngine>

#include <algorithm>
#include <cmath>

namespace OrvaneChart {

namespace {

// Liang-Barsky: cuts the line from a to b to bounds; false when none of it is inside.
bool ClipLine(QPointF& a, QPointF& b, const QRectF& bounds)
{
    double enter = 0, leave = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - bounds.left(), bounds.right() - a.x(), a.y() - bounds.top(), bounds.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return false;
    const QPointF from = a;
    a = from + QPointF(dx, dy) * enter;
    b = from + QPointF(dx, dy) * leave;
    return true;
}

} // namespace

std::vector<QPolygonF> CurvePainter::Clip(const QPolygonF& line, const QRectF& bounds)
{
    std::vector<QPolygonF> parts;
    bool open = false; // the last part ends at the previous point
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        QPointF a = line[i], b = line[i + 1];
        if (!ClipLine(a, b, bounds)) {
            open = false;
            continue;
        }
        if (!open || a != line[i]) {
            parts.emplace_back();
            parts.back() << a;
        }
        parts.back() << b;
        open = b == line[i + 1];
    }
    return parts;
}

void CurvePainter::Draw(QPainter& painter, const XYChart& chart, const DrawnRows& drawn)
{
    const PlotArea* plot = chart.getPlotArea();
    const QRectF plotRect(plot->getLeftX(), plot->getTopY(), plot->getWidth(), plot->getHeight());
    // A line's width past the edge, so the clip below cuts it square at the plot.
    const QRectF bounds = plotRect.adjusted(-4, -4, 4, 4);
    painter.save();
    painter.setClipRect(plotRect);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    const Axis& xAxis = *chart.xAxis();
    // In pixels (the screen, a PNG) cosmetic pens are the fastest Qt has for long
    // polylines, but keep their width whatever the painter's scale: a painter scaled
    // beyond the device's pixel ratio (a picture at 300 dpi) widens them by as much,
    // so they stay as thick in millimetres as on the screen. Vectors (SVG, a report's
    // recording) take ordinary pens, which scale with the drawing wherever it goes.
    const bool raster = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    const QTransform toDevice = painter.deviceTransform();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const qreal scale = std::hypot(toDevice.m11(), toDevice.m12()) / ratio;
    for (int l = 0; l < chart.getLayerCount() && l < static_cast<int>(drawn.size()); ++l) {
        const LineLayer* layer = chart.getLayerByZ(l);
        for (int d = 0; d < layer->getDataSetCount() && d < static_cast<int>(drawn[l].size()); ++d) {
            const DataSet* dataSet = layer->getDataSetByZ(d);
            if (dataSet->hidden() || dataSet->getDataColor() == Transparent || layer->lineWidth() <= 0)
                continue;
            const Axis& yAxis = dataSet->getUseYAxis() ? *dataSet->getUseYAxis() : *chart.yAxis();
            QPen pen = CurvePen(dataSet->drawnColor(), layer->lineWidth(), dataSet->dash());
            if (raster) {
                pen.setCosmetic(true);
                pen.setWidthF(pen.widthF() * scale);
            }
            painter.setPen(pen);
            // A missing reading ends one line and the next reading starts another, so
            // gaps stay gaps.
            QPolygonF line;
            const auto flush = [&] {
                for (const QPolygonF& part : Clip(line, bounds))
                    painter.drawPolyline(part);
                line.clear();
            };
            for (const int row : drawn[l][d]) {
                const double x = layer->xAt(row), y = dataSet->getPosition(row);
                if (IsNoValue(x) || IsNoValue(y))
                    flush();
                else
                    line << QPointF(xAxis.pixelOf(x), yAxis.pixelOf(y));
            }
            flush();
        }
    }
    painter.restore();
}

} // namespace OrvaneChart
