#include "chart/chartnavigator.h"

#include "chart/chartview.h"
#include "chart/chartviewer.h"
#include "chart/legendlayout.h"
#include "chart/xychart.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace OrvaneChart {

namespace {

constexpr int kSmallestZoom = 5; // pixels: a shorter drag is a click

bool InsidePlot(const XYChart& chart, QPoint at)
{
    const PlotArea* plot = chart.getPlotArea();
    return at.x() >= plot->getLeftX() && at.x() <= plot->getRightX() && at.y() >= plot->getTopY() &&
           at.y() <= plot->getBottomY();
}

} // namespace

ChartNavigator::ChartNavigator(CChartViewer* viewer)
    : QObject(viewer), m_viewer(viewer), m_band(new QRubberBand(QRubberBand::Rectangle, viewer))
{
    viewer->installEventFilter(this);
}

bool ChartNavigator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_viewer || !m_viewer->GetChart())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return Press(mouse->position().toPoint(), mouse->button(), mouse->modifiers());
    }
    case QEvent::MouseMove:
        if (m_drag != Drag::None)
            Move(static_cast<QMouseEvent*>(event)->position().toPoint());
        break; // the viewer's track line follows the mouse all the same
    case QEvent::MouseButtonRelease:
        if (m_drag != Drag::None) {
            Release(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (InsidePlot(*m_viewer->GetChart(), static_cast<QMouseEvent*>(event)->position().toPoint())) {
            Q_EMIT ResetRequested();
            return true;
        }
        break;
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint at = wheel->position().toPoint();
        const XYChart& chart = *m_viewer->GetChart();
        if (!InsidePlot(chart, at) || wheel->angleDelta().y() == 0)
            break;
        const double steps = wheel->angleDelta().y() / 120.0;
        Q_EMIT ZoomAround(chart.xAxis()->valueOf(at.x()), chart.yAxis()->valueOf(at.y()), std::pow(0.8, steps));
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ChartNavigator::Press(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const XYChart& chart = *m_viewer->GetChart();
    if (button == Qt::LeftButton) {
        const LegendLayout legend = LegendLayout::Make(chart);
        const auto& entries = legend.entries();
        for (size_t i = 0; i < entries.size(); ++i) {
            if ((entries[i].symbol | entries[i].text).contains(at)) {
                Q_EMIT LegendClicked(static_cast<int>(i));
                return true;
            }
        }
    }
    if (!InsidePlot(chart, at))
        return false;
    const bool pan = button == Qt::MiddleButton || (button == Qt::LeftButton && modifiers & Qt::ShiftModifier);
    if (!pan && button != Qt::LeftButton)
        return false;
    m_drag = pan ? Drag::Pan : Drag::Zoom;
    m_start = m_last = at;
    return true;
}

void ChartNavigator::Move(QPoint at)
{
    if (m_drag == Drag::Zoom) {
        m_band->setGeometry(QRect(m_start, at).normalized());
        m_band->show();
        return;
    }
    const XYChart& chart = *m_viewer->GetChart();
    const double dx = chart.xAxis()->valueOf(at.x()) - chart.xAxis()->valueOf(m_last.x());
    const double dy = chart.yAxis()->valueOf(at.y()) - chart.yAxis()->valueOf(m_last.y());
    m_last = at;
    if (dx != 0 || dy != 0)
        Q_EMIT PanBy(dx, dy);
}

void ChartNavigator::Release(QPoint at)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    m_band->hide();
    const QRect rect = QRect(m_start, at).normalized();
    if (drag != Drag::Zoom || rect.width() < kSmallestZoom || rect.height() < kSmallestZoom)
        return;
    const XYChart& chart = *m_viewer->GetChart();
    Q_EMIT ZoomToRect(chart.xAxis()->valueOf(rect.left()), chart.xAxis()->valueOf(rect.right()),
                      chart.yAxis()->valueOf(rect.bottom()), chart.yAxis()->valueOf(rect.top()));
}

ChartNavigator* ChartNavigator::Follow(CChartViewer* viewer, CChartView& view, std::function<void()> redraw)
{
    auto* navigator = new ChartNavigator(viewer);
    const auto shown = [viewer](double& xLow, double& xHigh, double& yLow, double& yHigh) {
        const XYChart* chart = viewer->GetChart();
        xLow = chart->xAxis()->minValue();
        xHigh = chart->xAxis()->maxValue();
        yLow = chart->yAxis()->minValue();
        yHigh = chart->yAxis()->maxValue();
    };
    connect(navigator, &ChartNavigator::ZoomToRect, viewer,
            [&view, redraw](double xLow, double xHigh, double yLow, double yHigh) {
                view.SetZoom(xLow, xHigh, yLow, yHigh);
                redraw();
            });
    connect(navigator, &ChartNavigator::ZoomAround, viewer, [&view, redraw, shown](double x, double y, double f) {
        double xLow, xHigh, yLow, yHigh;
        shown(xLow, xHigh, yLow, yHigh);
        view.SetZoom(x + (xLow - x) * f, x + (xHigh - x) * f, y + (yLow - y) * f, y + (yHigh - y) * f);
        redraw();
    });
    connect(navigator, &ChartNavigator::PanBy, viewer, [&view, redraw, shown](double dx, double dy) {
        double xLow, xHigh, yLow, yHigh;
        shown(xLow, xHigh, yLow, yHigh);
        view.SetZoom(xLow - dx, xHigh - dx, yLow - dy, yHigh - dy);
        redraw();
    });
    connect(navigator, &ChartNavigator::ResetRequested, viewer, [&view, redraw] {
        if (!view.Zoomed())
            return;
        view.ResetZoom();
        redraw();
    });
    connect(navigator, &ChartNavigator::LegendClicked, viewer, [&view, redraw](int curve) {
        std::vector<bool> hidden = view.Hidden();
        hidden.resize(std::max(hidden.size(), static_cast<size_t>(curve) + 1));
        hidden[static_cast<size_t>(curve)] = !hidden[static_cast<size_t>(curve)];
        view.SetHidden(std::move(hidden));
        redraw();
    });
    return navigator;
}

} // namespace OrvaneChart
