#pragma once

#include <QObject>

#include <functional>
#include <QPoint>

class QRubberBand;

namespace OrvaneChart {

class CChartView;

class CChartViewer;

// The mouse gestures that explore a chart on a viewer, turned into requests in data
// values for the owner to answer with a new chart: drag a rectangle with the left
// button to zoom into it, turn the wheel to zoom around the cursor, drag with the
// middle button or with Shift held to pan, double-click to see all again, click a
// legend entry to hide or show its curve.
class ChartNavigator : public QObject {
    Q_OBJECT

public:
    explicit ChartNavigator(CChartViewer* viewer);
    // A navigator on the viewer whose gestures zoom, pan and hide curves of the view;
    // redraw builds the chart again after each. Owned by the viewer.
    static ChartNavigator* Follow(CChartViewer* viewer, CChartView& view, std::function<void()> redraw);

Q_SIGNALS:
    void ZoomToRect(double xLow, double xHigh, double yLow, double yHigh);
    // factor < 1 zooms in: each end moves toward (x, y) by that share of its distance.
    void ZoomAround(double x, double y, double factor);
    void PanBy(double dx, double dy);
    void ResetRequested();
    void LegendClicked(int entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Press(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Move(QPoint at);
    void Release(QPoint at);

    CChartViewer* m_viewer;
    QRubberBand* m_band;
    enum class Drag { None, Zoom, Pan } m_drag = Drag::None;
    QPoint m_start;
    QPoint m_last;
};

} // namespace OrvaneChart
