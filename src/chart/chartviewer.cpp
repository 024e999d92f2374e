#include "chart/chartviewer.h"

#include "chart/chartview.h"

#include <QSvgGenerator>

#include "chart/chartrenderer.h"
#include "chart/xychart.h"
#include "guibase/savedfile.h"

#include <QBuffer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace OrvaneChart {

CChartViewer::CChartViewer(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    // The cached image covers the whole widget; nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CChartViewer::~CChartViewer() = default;

void CChartViewer::SetChart(std::unique_ptr<XYChart> chart)
{
    m_chart = std::move(chart);
    m_image = QPixmap();
    m_imageRatio = 0;
    m_drawnRows.clear();
    m_track = TrackLine();
    m_trackBounds = QRect();
    if (m_chart) {
        // Fit the scales and build the x lookup tables now, not on the first mouse move.
        m_chart->layout();
        resize(m_chart->getWidth(), m_chart->getHeight());
    }
    updateGeometry();
    update();
}

std::unique_ptr<XYChart> CChartViewer::TakeChart()
{
    std::unique_ptr<XYChart> chart = std::move(m_chart);
    SetChart(nullptr);
    return chart;
}

QSize CChartViewer::sizeHint() const
{
    return m_chart ? QSize(m_chart->getWidth(), m_chart->getHeight()) : QSize(20, 20);
}

QSize CChartViewer::minimumSizeHint() const { return QSize(20, 20); }

void CChartViewer::EnsureRendered()
{
    if (!m_chart)
        return;
    const qreal ratio = devicePixelRatioF();
    if (!m_image.isNull() && m_imageRatio == ratio)
        return;
    m_image = QPixmap::fromImage(ChartRenderer::Render(*m_chart, ratio, &m_drawnRows));
    m_imageRatio = ratio;
    ++m_renderCount;
}

void CChartViewer::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    if (!m_chart) {
        painter.fillRect(dirty, palette().window());
        return;
    }
    EnsureRendered();
    // Only the dirty part: a track line move repaints a few small rectangles.
    const QRect chartRect(0, 0, m_chart->getWidth(), m_chart->getHeight());
    const QRect source = dirty & chartRect;
    if (!source.isEmpty()) {
        painter.drawPixmap(source, m_image,
                           QRectF(source.topLeft() * m_imageRatio, source.size() * m_imageRatio));
    }
    const QRegion outside = QRegion(dirty) - QRegion(chartRect);
    for (const QRect& rect : outside)
        painter.fillRect(rect, palette().window());
    if (!m_track.isEmpty() && m_trackBounds.intersects(dirty))
        m_track.paint(painter);
}

void CChartViewer::TrackLineAt(int x)
{
    if (!m_chart)
        return;
    const QRect before = m_trackBounds;
    m_track = TrackLine::Build(*m_chart, x);
    m_trackBounds = m_track.bounds();
    // The line and labels move; repaint where they were and where they are now.
    if (before.isValid())
        update(before);
    if (m_trackBounds.isValid())
        update(m_trackBounds);
}

void CChartViewer::RemoveTrackLine()
{
    if (m_trackBounds.isValid())
        update(m_trackBounds);
    m_track = TrackLine();
    m_trackBounds = QRect();
}

int CChartViewer::GetPlotAreaMouseX() const
{
    if (!m_chart)
        return m_mouseX;
    const PlotArea* plot = m_chart->getPlotArea();
    return std::clamp(m_mouseX, plot->getLeftX(), plot->getRightX());
}

bool CChartViewer::InsidePlotArea(QPoint position) const
{
    if (!m_chart)
        return false;
    const PlotArea* plot = m_chart->getPlotArea();
    return position.x() >= plot->getLeftX() && position.x() <= plot->getRightX() &&
           position.y() >= plot->getTopY() && position.y() <= plot->getBottomY();
}

void CChartViewer::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    m_mouseX = position.x();
    if (InsidePlotArea(position)) {
        m_mouseInPlot = true;
        emit MouseMovePlotArea(GetPlotAreaMouseX());
    } else if (m_mouseInPlot) {
        LeavePlotArea();
    }
    QWidget::mouseMoveEvent(event);
}

void CChartViewer::leaveEvent(QEvent* event)
{
    if (m_mouseInPlot)
        LeavePlotArea();
    QWidget::leaveEvent(event);
}

void CChartViewer::LeavePlotArea()
{
    m_mouseInPlot = false;
    RemoveTrackLine();
    emit MouseLeavePlotArea();
}

} // namespace OrvaneChart

namespace OrvaneChart {

bool CChartViewer::ExportSvg(const QString& path) const { return m_chart && ExportSvg(*m_chart, path); }

bool CChartViewer::ExportSvg(const XYChart& chart, const QString& path)
{
    // Drawn in memory, then written whole: a failed export never cuts the old file short.
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(chart.getWidth(), chart.getHeight()));
    generator.setViewBox(QRect(0, 0, chart.getWidth(), chart.getHeight()));
    generator.setResolution(kScreenDpi);
    generator.setTitle(QString::fromStdString(chart.title()));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    ChartRenderer::Paint(chart, painter);
    return painter.end() && WriteSavedFile(path, buffer.data()).isEmpty();
}

bool CChartViewer::ExportPng(const XYChart& chart, const QString& path, int dpi, QSize pixels)
{
    if (dpi <= 0)
        dpi = kScreenDpi;
    if (pixels.isEmpty()) {
        const double scale = double(dpi) / kScreenDpi;
        pixels = QSize(static_cast<int>(std::lround(chart.getWidth() * scale)),
                       static_cast<int>(std::lround(chart.getHeight() * scale)));
    }
    QImage image = ChartRenderer::RenderScaled(chart, pixels);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QBuffer buffer;
    return !image.isNull() && buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") &&
           WriteSavedFile(path, buffer.data()).isEmpty();
}

bool CChartViewer::ExportView(CChartView& view, const QString& path, QSize pixels, int dpi)
{
    const double scale = double(std::max(dpi, 1)) / kScreenDpi;
    const QSize shown(view.ChartWidth(), view.ChartHeight());
    view.SetChartSize(std::max(1, int(std::lround(pixels.width() / scale))),
                      std::max(1, int(std::lround(pixels.height() / scale))));
    std::unique_ptr<XYChart> chart = view.CreateChart();
    chart->xAxis()->setTickDensity(50);
    view.SetChartSize(shown.width(), shown.height());
    return path.endsWith(".svg", Qt::CaseInsensitive) ? ExportSvg(*chart, path) : ExportPng(*chart, path, dpi, pixels);
}

} // namespace OrvaneChart
