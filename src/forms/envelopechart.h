#pragma once

#include "chart/chartview.h"

#include <QWidget>

#include <memory>

class StrengthAnalysis;
struct LaminateLoad;
namespace OrvaneChart {
class CChartViewer;
class XYChart;
}

// "Failure envelope": each criterion's first-ply failure envelope of in-plane loads
// as a closed curve in the (Nx, Ny) plane, and the load case's (Nx, Ny) as a small
// diamond; the track line gives each curve's Ny at the mouse's Nx.
class CEnvelopeChart : public QWidget {
    Q_OBJECT

public:
    explicit CEnvelopeChart(QWidget* parent = nullptr);

    // The analysis must have been run with envelope directions; nullptr: no chart.
    void Show(const StrengthAnalysis* analysis, const LaminateLoad* load);
    OrvaneChart::CChartViewer* Viewer() const { return m_viewer; }
    // The chart as shown, for the report and for tests; nullptr before any.
    std::unique_ptr<OrvaneChart::XYChart> ShownChart() const;
    bool HasCurves() const { return m_hasCurves; }

    // Fills a chart of the envelopes (the same as shown) for a report of this size.
    static bool FillView(const StrengthAnalysis& analysis, const LaminateLoad& load, OrvaneChart::CChartView& view);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateChart();

    OrvaneChart::CChartViewer* m_viewer;
    OrvaneChart::CChartView m_view;
    bool m_hasCurves = false;
};
