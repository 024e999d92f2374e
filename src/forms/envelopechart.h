#pragma once

#include "chart/chartview.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class StrengthAnalysis;
struct LaminateLoad;
namespace OrvaneChart {
class CChartViewer;
class XYChart;
}

// "Failure envelope": each criterion's first-ply failure envelope of in-plane loads
// as a closed curve in the (Nx, Ny) plane, and the load case's (Nx, Ny) as a small
// diamond; the track line gives each curve's Ny at the mouse's Nx. The chart zooms and
// pans as the stress-strain chart does, and exports as a picture.
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
    // The project's files, which no export replaces.
    void SetInputFiles(std::function<std::vector<std::string>()> files) { m_inputFiles = std::move(files); }
    // Writes the chart as shown (zoom, hidden curves) as a PNG or SVG picture; false after a message.
    bool ExportImage(const QString& path, QSize size, int dpi);

    // Fills a chart of the envelopes (the same as shown) for a report of this size.
    static bool FillView(const StrengthAnalysis& analysis, const LaminateLoad& load, OrvaneChart::CChartView& view);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateChart();

    OrvaneChart::CChartViewer* m_viewer;
    OrvaneChart::CChartView m_view;
    bool m_hasCurves = false;
    std::function<std::vector<std::string>()> m_inputFiles;
};
