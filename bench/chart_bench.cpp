// Timings of the stress-strain chart at the size the issue asks for: eight specimens
// of 125,000 readings each (a million points) in a 1200 x 700 chart. The viewer runs
// shown, offscreen; the curves are built once, outside the timed loops.
#include "benchdata.h"
#include "benchgui.h"

#include "chart/chartview.h"
#include "chart/chartviewer.h"
#include "chart/xychart.h"
#include "experiment/experimentspecimen.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSpecimens = 8;
constexpr size_t kReadings = 125'000;
constexpr int kWidth = 1200;
constexpr int kHeight = 700;

using OrvaneChart::CChartView;
using OrvaneChart::CChartViewer;
using OrvaneChart::XYChart;

// What the results view hands the chart view after a calculation: strain and stress
// of each specimen, the legend names and the two chord readings of each curve.
struct ChartInput {
    std::vector<std::vector<double>> arrays;
    std::vector<std::string> names;
    std::vector<std::vector<int>> keep;
};

const ChartInput& Input()
{
    static const ChartInput input = [] {
        ChartInput made;
        for (int k = 0; k < kSpecimens; ++k) {
            const benchdata::TensileCurve curve =
                benchdata::MakeTensileCurve(kReadings, 4711 + k, 1.0 - 0.05 * k);
            const ChordReadings chord =
                FindChordReadings(curve.strain, benchdata::kElasticMin, benchdata::kElasticMax);
            made.arrays.push_back(curve.strain);
            made.arrays.push_back(curve.stress);
            made.names.push_back("Lamina # " + std::to_string(k + 1));
            made.keep.push_back({chord.low, chord.high});
        }
        return made;
    }();
    return input;
}

// The results view's steps after a calculation, up to handing the data over.
void FillView(CChartView& view)
{
    view.SetLayout(1);
    view.SetTitle("Stress-Strain Curve");
    view.SetXTitle("Strain");
    view.SetYTitle("Stress");
    view.SetData(Input().arrays, Input().names);
    view.SetKeepIndices(Input().keep);
    view.SetChartSize(kWidth, kHeight);
}

std::unique_ptr<XYChart> BuildChart(const CChartView& view)
{
    std::unique_ptr<XYChart> chart = view.CreateChart();
    chart->xAxis()->setTickDensity(75);
    return chart;
}

// Shows the viewer and waits until the (offscreen) window can be painted.
void ShowExposed(CChartViewer& viewer)
{
    viewer.show();
    for (int i = 0; i < 100 && !(viewer.windowHandle() && viewer.windowHandle()->isExposed()); ++i)
        QApplication::processEvents();
    viewer.grab(); // the chart image is rendered here, outside any timed loop
    QApplication::processEvents();
}

// (a) From the data to the chart on screen: copy the series into the chart view,
// build the chart, give it to the viewer and paint it once.
void BM_BuildSetFirstPaint(benchmark::State& state)
{
    const ChartInput& input = Input();
    CChartViewer viewer;
    ShowExposed(viewer);
    size_t drawn = 0;
    for (auto _ : state) {
        CChartView view;
        FillView(view);
        viewer.SetChart(BuildChart(view));
        const QImage image = viewer.grab().toImage();
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        drawn = 0;
        for (const auto& layer : viewer.DrawnRows())
            drawn += layer.front().size();
        state.ResumeTiming();
    }
    size_t readings = 0;
    for (const auto& array : input.arrays)
        readings += array.size();
    state.counters["points"] = static_cast<double>(readings / 2);
    state.counters["drawn"] = static_cast<double>(drawn);
}
BENCHMARK(BM_BuildSetFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The three parts of (a) on their own.
void BM_CreateChart(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    for (auto _ : state) {
        std::unique_ptr<XYChart> chart = BuildChart(view);
        benchmark::DoNotOptimize(chart.get());
    }
}
BENCHMARK(BM_CreateChart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_SetChart(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    CChartViewer viewer;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<XYChart> chart = BuildChart(view);
        state.ResumeTiming();
        viewer.SetChart(std::move(chart)); // lays out: scales and sorted x tables
    }
}
BENCHMARK(BM_SetChart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_RenderChart(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    CChartViewer viewer;
    for (auto _ : state) {
        state.PauseTiming();
        viewer.SetChart(BuildChart(view));
        state.ResumeTiming();
        viewer.EnsureRendered();
    }
}
BENCHMARK(BM_RenderChart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// (b) One mouse move: the track line at a random x over the plot area, and the
// repaint of what it changed, as the event loop does it.
void BM_TrackLineMove(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    CChartViewer viewer;
    viewer.SetChart(BuildChart(view));
    ShowExposed(viewer);
    benchgui::PaintCounter counter;
    viewer.installEventFilter(&counter);

    const OrvaneChart::PlotArea* plot = viewer.GetChart()->getPlotArea();
    std::mt19937 random(99);
    std::uniform_int_distribution<int> column(plot->getLeftX(), plot->getRightX());
    size_t labels = 0;
    for (auto _ : state) {
        viewer.TrackLineAt(column(random));
        QApplication::processEvents();
        labels += viewer.ValueLabels().size();
    }
    viewer.removeEventFilter(&counter);
    state.counters["paints_per_move"] =
        benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    state.counters["labels_per_move"] =
        benchmark::Counter(static_cast<double>(labels), benchmark::Counter::kAvgIterations);
    state.counters["renders"] = viewer.RenderCount();
}
BENCHMARK(BM_TrackLineMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(500);

// (b) with the worst repaint: the whole viewer, image and overlay.
void BM_TrackLineMoveFullRepaint(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    CChartViewer viewer;
    viewer.SetChart(BuildChart(view));
    ShowExposed(viewer);
    benchgui::PaintCounter counter;
    viewer.installEventFilter(&counter);
    const OrvaneChart::PlotArea* plot = viewer.GetChart()->getPlotArea();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> column(plot->getLeftX(), plot->getRightX());
    for (auto _ : state) {
        viewer.TrackLineAt(column(random));
        viewer.repaint();
    }
    viewer.removeEventFilter(&counter);
    state.counters["paints_per_move"] =
        benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    state.counters["renders"] = viewer.RenderCount();
}
BENCHMARK(BM_TrackLineMoveFullRepaint)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(500);

// (c) One zoom or pan step as the results view takes it: a new zoom, the chart
// built from the data the view already holds, handed to the viewer and painted.
// Steps alternate between zooming into a fifth of the strains and panning it, so
// each one draws something new.
void BM_ZoomOrPanStep(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    CChartViewer viewer;
    viewer.SetChart(BuildChart(view));
    ShowExposed(viewer);
    double xLow = 0, xHigh = 0;
    viewer.GetChart()->getLayerByZ(0)->xRange(xLow, xHigh);
    const double span = xHigh - xLow;
    const double yHigh = viewer.GetChart()->yAxis()->maxValue();
    int step = 0;
    for (auto _ : state) {
        const double from = xLow + span * (0.2 + 0.01 * (step++ % 20));
        view.SetZoom(from, from + span / 5, 0, yHigh * 0.8);
        viewer.SetChart(BuildChart(view));
        viewer.repaint();
    }
    state.counters["renders"] = viewer.RenderCount();
}
BENCHMARK(BM_ZoomOrPanStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);

// The track line's own work, without painting: nearest x, exact-x lookups, labels.
void BM_TrackLineCompute(benchmark::State& state)
{
    CChartView view;
    FillView(view);
    CChartViewer viewer;
    viewer.SetChart(BuildChart(view));
    const OrvaneChart::PlotArea* plot = viewer.GetChart()->getPlotArea();
    std::mt19937 random(3);
    std::uniform_int_distribution<int> column(plot->getLeftX(), plot->getRightX());
    for (auto _ : state) {
        const auto track = OrvaneChart::TrackLine::Build(*viewer.GetChart(), column(random));
        benchmark::DoNotOptimize(track.x());
    }
}
BENCHMARK(BM_TrackLineCompute)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(2000);

} // namespace

int main(int argc, char** argv)
{
    benchgui::UseOffscreenPlatform();
    QApplication app(argc, argv);
    Input(); // the curves are made before any timing starts

    return benchgui::RunBenchmarks(argc, argv);
}
