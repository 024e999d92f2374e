#pragma once

#include "chart/trackline.h"

#include <QPixmap>
#include <QWidget>

#include <memory>
#include <vector>

namespace OrvaneChart {

class CChartView;

class XYChart;

// Shows an XYChart: renders it once into a cached image (again only when a new
// chart is set or the screen's pixel ratio changes) and paints that image. Moving
// the mouse over the plot area emits MouseMovePlotArea; the owner answers with
// TrackLineAt, which draws the track line on an overlay above the cached image, so
// mouse moves never render the chart again. Leaving the plot area removes the track
// line and emits MouseLeavePlotArea.
class CChartViewer : public QWidget {
    Q_OBJECT

public:
    using TrackLabel = TrackLine::Label;
    using TrackDot = TrackLine::Dot;

    explicit CChartViewer(QWidget* parent = nullptr);
    ~CChartViewer() override;

    // Takes the chart, removes any track line and resizes the viewer to the chart.
    // Settle the chart's settings (the x tick density, say) before handing it over:
    // it is rendered as it stands at the next paint and not again.
    void SetChart(std::unique_ptr<XYChart> chart);
    XYChart* GetChart() const { return m_chart.get(); }
    std::unique_ptr<XYChart> TakeChart();

    // The last mouse x over the widget, clamped to the plot area's left and right edges.
    int GetPlotAreaMouseX() const;

    // Draws the track line for a mouse at x (chart pixels) and repaints what changed.
    void TrackLineAt(int x);
    // The chart as an SVG drawing (vectors, without the track line); false when it
    // cannot be written.
    bool ExportSvg(const QString& path) const;
    // Any chart as an SVG drawing (its size in millimetres that of the chart on a
    // 96-dpi screen), or as a PNG picture at a resolution: the chart's pixels are
    // 96-dpi pixels, so the picture has dpi / 96 times as many (or exactly pixels,
    // when given), its text and lines as large in millimetres as on the screen, and
    // it records the resolution.
    static bool ExportSvg(const XYChart& chart, const QString& path);
    static bool ExportPng(const XYChart& chart, const QString& path, int dpi, QSize pixels = {});
    // The view's chart, with its zoom and curves, as a picture of that size in pixels at
    // that resolution (an SVG drawing when the path ends in .svg): built at the size in
    // screen pixels and drawn at the resolution's scale, so its text and lines are as
    // large on paper as on the screen.
    static bool ExportView(CChartView& view, const QString& path, QSize pixels, int dpi);
    // The resolution a chart's own pixels stand for.
    static constexpr int kScreenDpi = 96;
    void RemoveTrackLine();
    bool HasTrackLine() const { return !m_track.isEmpty(); }
    // What the overlay shows now.
    const TrackLine& Track() const { return m_track; }
    QPoint TrackLineTop() const { return QPoint(m_track.x(), m_track.top()); }
    QPoint TrackLineBottom() const { return QPoint(m_track.x(), m_track.bottom()); }
    TrackLabel XLabel() const { return m_track.xLabel(); }
    std::vector<TrackLabel> ValueLabels() const { return m_track.valueLabels(); }
    std::vector<TrackDot> Dots() const { return m_track.dots(); }

    // Row indices drawn of each curve ([layer][data set]) by the last rendering.
    const std::vector<std::vector<std::vector<int>>>& DrawnRows() const { return m_drawnRows; }
    // How often a chart image was rendered (not painted) since construction.
    int RenderCount() const { return m_renderCount; }
    // Renders the chart now if its image is not cached yet.
    void EnsureRendered();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void MouseMovePlotArea(int x);
    void MouseLeavePlotArea();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool InsidePlotArea(QPoint position) const;
    void LeavePlotArea();

    std::unique_ptr<XYChart> m_chart;
    QPixmap m_image;
    qreal m_imageRatio = 0;
    std::vector<std::vector<std::vector<int>>> m_drawnRows;
    int m_renderCount = 0;
    TrackLine m_track;
    QRect m_trackBounds;
    bool m_mouseInPlot = false;
    int m_mouseX = 0;
};

} // namespace OrvaneChart
