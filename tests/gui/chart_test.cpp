// The stress-strain chart: what CChartView builds, how the viewer draws it, the track
// line that follows the mouse, and the reduced drawing of long curves.
#include "guitestsupport.h"

#include "chart/chartview.h"
#include "chart/chartviewer.h"
#include "chart/curvereducer.h"
#include "chart/legendlayout.h"
#include "chart/xychart.h"
#include "doc/plyforgedoc.h"
#include "experiment/experimentspecimen.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace OrvaneChart;

namespace {

struct Curve {
    std::vector<double> strain;
    std::vector<double> stress;
};

// A tensile curve as a testing machine records it: strain 0..2 % with a little
// noise (so neighbouring readings are not always in order), stress flattening
// towards the top.
Curve TensileCurve(int readings, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> strainNoise(-0.0003, 0.0003);
    std::uniform_real_distribution<double> stressNoise(-0.25, 0.25);
    Curve curve;
    for (int i = 0; i < readings; ++i) {
        const double nominal = 2.0 * i / (readings - 1);
        curve.strain.push_back(std::max(0.0, nominal + strainNoise(random)));
        curve.stress.push_back(480 * std::tanh(nominal / 1.2) + stressNoise(random));
    }
    return curve;
}

// Short curves whose strains are offset by 0.01 % per curve, so no two curves share
// an x and neighbouring readings lie a few pixels apart.
std::vector<Curve> ShortCurves(size_t count)
{
    std::vector<Curve> curves(count);
    for (size_t k = 0; k < count; ++k) {
        for (int i = 0; i <= 10; ++i) {
            curves[k].strain.push_back(0.2 * i + 0.01 * double(k + 1));
            curves[k].stress.push_back(40.0 * i + 5.0 * double(k));
        }
    }
    return curves;
}

// The results view's steps after a calculation: layout 1, its titles, the data.
void ShowCurves(CChartView& view, const std::vector<Curve>& curves, int width = 900,
                int height = 600)
{
    std::vector<std::vector<double>> arrays;
    std::vector<std::string> names;
    for (size_t k = 0; k < curves.size(); ++k) {
        arrays.push_back(curves[k].strain);
        arrays.push_back(curves[k].stress);
        names.push_back("Lamina # " + std::to_string(k + 1));
    }
    view.SetLayout(1);
    view.SetTitle("Stress-Strain Curve");
    QVERIFY(view.SetData(arrays, names));
    view.SetChartSize(width, height);
}

std::unique_ptr<XYChart> BuildChart(const CChartView& view)
{
    std::unique_ptr<XYChart> chart = view.CreateChart();
    chart->xAxis()->setTickDensity(75);
    return chart;
}

// A results chart on screen: the view holding the curves and the viewer showing them.
struct ShownChart {
    CChartView view;
    CChartViewer viewer;

    explicit ShownChart(const std::vector<Curve>& curves, int width = 900, int height = 600)
    {
        ShowCurves(view, curves, width, height);
        Rebuild();
    }
    // Hands the viewer a fresh chart of the view and renders it; the rows drawn of
    // its first curve.
    const std::vector<int>& Rebuild()
    {
        viewer.SetChart(BuildChart(view));
        viewer.EnsureRendered();
        return viewer.DrawnRows()[0][0];
    }
    const XYChart* chart() const { return viewer.GetChart(); }
};

QColor SeriesColour(size_t curve) { return QColor(QRgb(SERIES_COLORS[curve % 8])); }

void MoveMouse(QWidget* widget, QPoint position)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(position), widget->mapToGlobal(QPointF(position)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

bool IsReddish(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 160 && qBlue(pixel) < 160 &&
           qRed(pixel) - qGreen(pixel) > 80;
}

} // namespace

class ChartTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { IsolateSettings(); }

    void placeholderThenData()
    {
        CChartView view;
        view.Reset();
        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->title(), std::string("graph"));
        QCOMPARE(chart->xAxis()->title(), std::string("X"));
        QCOMPARE(chart->yAxis()->title(), std::string("Y"));
        QCOMPARE(chart->getLayerCount(), 1);
        const DataSet* value = chart->getLayerByZ(0)->getDataSetByZ(0);
        QCOMPARE(value->getDataName(), std::string("value"));
        QCOMPARE(value->size(), 0);

        // It draws (empty axes, legend entry) without tripping over the missing data.
        CChartViewer viewer;
        viewer.SetChart(view.CreateChart());
        QVERIFY(!viewer.grab().isNull());
        viewer.TrackLineAt(150);
        QVERIFY(!viewer.HasTrackLine());

        // Empty data is refused with nothing changed; other data is copied, and the
        // layout and titles stay.
        view.SetLayout(1);
        QVERIFY(!view.SetData({}, {"ignored"}));
        QCOMPARE(view.Names(), (std::vector<std::string>{"X", "value"}));
        QCOMPARE(view.Arrays().size(), size_t(2));
        std::vector<std::vector<double>> arrays{{0, 1}, {0, 10}};
        QVERIFY(view.SetData(arrays, {"Lamina # 4"}));
        arrays[1][1] = 99;
        QCOMPARE(view.Arrays()[1][1], 10.0);
        QCOMPARE(view.Layout(), 1);
        QCOMPARE(view.Title(), std::string("graph"));
    }

    void axisScalesRoundAndEndOnLabelledTick()
    {
        // Noise a hair past zero and past 2 % does not earn a whole extra tick.
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData({{0, 0.5, 1.0, 2.0003}, {-0.2, 150, 300, 448}}, {"Lamina # 1"}));
        view.SetChartSize(500, 450);
        std::unique_ptr<XYChart> chart = BuildChart(view);
        const PlotArea* plot = chart->getPlotArea();
        QCOMPARE(chart->xAxis()->minValue(), 0.0);
        QCOMPARE(chart->xAxis()->maxValue(), 2.0);
        QCOMPARE(chart->xAxis()->tickStep(), 0.5);
        QCOMPARE(chart->yAxis()->minValue(), 0.0);
        QVERIFY(chart->yAxis()->maxValue() >= 448);
        // The scales span the plot area exactly.
        QCOMPARE(chart->getXCoor(0), plot->getLeftX());
        QCOMPARE(chart->getXCoor(2), plot->getRightX());
        QCOMPARE(chart->getYCoor(chart->yAxis()->maxValue()), plot->getTopY());
        QCOMPARE(chart->getYCoor(0), plot->getBottomY());

        // Labels go on every second tick: the scale ends on a labelled one.
        QVERIFY(view.SetData({{0, 2.2}, {0, 100}}, {"Lamina # 1"}));
        view.SetChartSize(900, 600);
        chart = BuildChart(view);
        chart->layout();
        const Axis* x = chart->xAxis();
        const int steps =
            static_cast<int>(std::lround((x->maxValue() - x->minValue()) / x->tickStep()));
        QVERIFY(x->maxValue() >= 2.2);
        QCOMPARE(steps % 2, 0);
        QVERIFY(x->isLabelledTick(steps));
        QCOMPARE(x->getFormattedLabel(0.760002), std::string("0.760002"));
        QCOMPARE(x->getFormattedLabel(1.0 / 3), std::string("0.333333"));
    }

    void curvesInSeriesColoursWrappingAround()
    {
        // The eighth colour is grey: a white curve would vanish on the white plot.
        QVERIFY(std::find(SERIES_COLORS.begin(), SERIES_COLORS.end(), Color(0xffffff)) ==
                SERIES_COLORS.end());
        QCOMPARE(CChartView::SeriesColor(8 * 1000 + 2), SERIES_COLORS[2]);

        for (const size_t count : {3, 8, 10}) {
            CChartView view;
            const std::vector<Curve> curves = ShortCurves(count);
            ShowCurves(view, curves);
            const std::unique_ptr<XYChart> chart = view.CreateChart();
            QCOMPARE(size_t(chart->getLayerCount()), count);
            for (size_t k = 0; k < count; ++k) {
                const LineLayer* layer = chart->getLayerByZ(int(k));
                QCOMPARE(layer->getDataSetCount(), 1);
                const DataSet* dataSet = layer->getDataSetByZ(0);
                QCOMPARE(dataSet->getDataColor(), SERIES_COLORS[k % 8]);
                QCOMPARE(dataSet->getDataName(), "Lamina # " + std::to_string(k + 1));
                QCOMPARE(layer->xData(), curves[k].strain);
                QCOMPARE(dataSet->values(), curves[k].stress);
            }
        }

        // In layout 0 the colour index is the array index, wrapping the same way.
        CChartView view;
        std::vector<std::vector<double>> arrays(11, std::vector<double>{1, 2});
        QVERIFY(view.SetData(arrays, std::vector<std::string>(11, "n")));
        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->getLayerByZ(0)->getDataSetCount(), 10);
        QCOMPARE(chart->getLayerByZ(0)->getDataSetByZ(0)->getDataColor(), SERIES_COLORS[1]);
        QCOMPARE(chart->getLayerByZ(0)->getDataSetByZ(8)->getDataColor(), SERIES_COLORS[1]);
    }

    void emptySpecimenGivesEmptyLayerAndLegendEntry()
    {
        CPlyforgeDoc doc;
        ExperimentSpecimen& full = doc.FindOrCreateSpecimen(1);
        const Curve curve = ShortCurves(1)[0];
        full.strain_series = curve.strain;
        full.stress_series = curve.stress;
        doc.FindOrCreateSpecimen(2); // no readings

        std::vector<std::vector<double>> arrays;
        std::vector<std::string> names;
        doc.BuildChartSeries(arrays, names);
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData(arrays, names));
        CChartViewer viewer;
        viewer.SetChart(view.CreateChart());
        const XYChart* chart = viewer.GetChart();
        QCOMPARE(chart->getLayerCount(), 2);
        const DataSet* empty = chart->getLayerByZ(1)->getDataSetByZ(0);
        QCOMPARE(empty->size(), 0);
        QCOMPARE(empty->getDataName(), std::string("Lamina # 2"));
        QCOMPARE(empty->getDataColor(), SERIES_COLORS[1]);

        viewer.EnsureRendered();
        QCOMPARE(viewer.DrawnRows().size(), size_t(2));
        QVERIFY(viewer.DrawnRows()[1][0].empty());
        // The track line works over the other curve and ignores the empty one.
        viewer.TrackLineAt(chart->getXCoor(curve.strain[5]));
        QCOMPARE(viewer.ValueLabels().size(), size_t(1));
    }

    void trackLineLabelsDotsAndLine()
    {
        std::vector<Curve> curves = ShortCurves(7);
        const struct {
            size_t curve, row;
            double stress;
            const char* markup;
        } cases[] = {
            {1, 4, 80.12345, "<*font,bgColor=ff00*> 80.12 <*/font*>"},
            {2, 3, 0.000123456, "<*font,bgColor=ff*> 0.0001235 <*/font*>"},
            {6, 6, 99.996, "<*font,bgColor=0*> 100.0 <*/font*>"}, // rounds up a digit
            {0, 2, 1234.56, "<*font,bgColor=ff0000*> 1235 <*/font*>"},
        };
        for (const auto& c : cases)
            curves[c.curve].stress[c.row] = c.stress;
        // Curves 4 and 5 share their strains, curve 5 lying higher.
        curves[5].strain = curves[4].strain;
        for (double& stress : curves[5].stress)
            stress *= 2;
        ShownChart shown(curves);
        CChartViewer& viewer = shown.viewer;
        viewer.show();
        const XYChart* chart = shown.chart();
        const int bottom = chart->getPlotArea()->getBottomY();
        const int axisX = chart->yAxis()->getX();

        // A pixel off the reading still finds it: the nearest data x.
        viewer.TrackLineAt(chart->getXCoor(curves[1].strain[4]) + 1);
        QCOMPARE(viewer.Track().xValue(), curves[1].strain[4]);
        QCOMPARE(viewer.XLabel().markup, QStringLiteral("<*font,bgColor=000000*> 0.82 <*/font*>"));
        QCOMPARE(viewer.XLabel().text, QStringLiteral("0.82"));

        for (const auto& c : cases) {
            const double x = curves[c.curve].strain[c.row];
            const QPoint point(chart->getXCoor(x), chart->getYCoor(c.stress));
            const QColor colour = SeriesColour(c.curve);
            viewer.TrackLineAt(point.x());
            QCOMPARE(viewer.Track().xValue(), x);

            // Only this curve has a reading at exactly that strain; its value stands in
            // a box of its colour just left of the y axis, level with the point.
            const auto labels = viewer.ValueLabels();
            QCOMPARE(labels.size(), size_t(1));
            QCOMPARE(labels[0].markup, QString::fromLatin1(c.markup));
            QCOMPARE(labels[0].anchor.y(), point.y());
            QVERIFY(labels[0].anchor.x() < axisX && labels[0].alignment == Right);
            QCOMPARE(viewer.Dots().size(), size_t(1));
            QCOMPARE(viewer.Dots()[0].centre, point);
            QCOMPARE(viewer.Dots()[0].color, colour);
            QCOMPARE(viewer.Track().leaders().size(), size_t(1));

            // The line runs from the point down to just under the plot area, where the
            // x label hangs centred on it.
            QCOMPARE(viewer.TrackLineTop(), point);
            QVERIFY(viewer.TrackLineBottom().y() > bottom);
            QCOMPARE(viewer.XLabel().anchor, viewer.TrackLineBottom());
            QCOMPARE(viewer.XLabel().alignment, int(TopCenter));

            // What the overlay holds is on screen: the label box and the dot.
            const QImage image = viewer.grab().toImage();
            QCOMPARE(QColor(image.pixel(axisX - 6, point.y())), colour);
            QCOMPARE(QColor(image.pixel(point)), colour);
        }

        // A shared strain labels both curves in order; the line starts at the higher.
        viewer.TrackLineAt(chart->getXCoor(curves[4].strain[3]));
        QCOMPARE(viewer.Dots().size(), size_t(2));
        QCOMPARE(viewer.ValueLabels()[0].box, SeriesColour(4));
        QCOMPARE(viewer.ValueLabels()[1].box, SeriesColour(5));
        QCOMPARE(viewer.TrackLineTop().y(), chart->getYCoor(curves[5].stress[3]));

        QCOMPARE(chart->formatValue(-0.5, "{value|P4}"), std::string("-0.5000"));
        QCOMPARE(chart->formatValue(0, "{value|P4}"), std::string("0.000"));
        QCOMPARE(chart->formatValue(2.5, "Load {value|2} N"), std::string("Load 2.50 N"));
    }

    // Mouse moves draw the track line on an overlay; the chart itself is rendered once
    // per chart, not on every paint.
    void mouseTracksOverPlotAreaWithoutRendering()
    {
        ShownChart shown(ShortCurves(2), 700, 500);
        CChartViewer& viewer = shown.viewer;
        QObject::connect(&viewer, &CChartViewer::MouseMovePlotArea, &viewer,
                         &CChartViewer::TrackLineAt);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QImage before = viewer.grab().toImage();
        const PlotArea* plot = shown.chart()->getPlotArea();
        const int y = plot->getTopY() + 50;

        QSignalSpy moved(&viewer, &CChartViewer::MouseMovePlotArea);
        QSignalSpy left(&viewer, &CChartViewer::MouseLeavePlotArea);
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 100, y));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), plot->getLeftX() + 100);
        QVERIFY(viewer.HasTrackLine());
        viewer.repaint();
        QVERIFY(viewer.grab().toImage() != before);

        // On the plot's right edge the x is that edge; beyond it the mouse has left.
        MoveMouse(&viewer, QPoint(plot->getRightX(), y));
        QCOMPARE(moved.last().at(0).toInt(), plot->getRightX());
        QCOMPARE(viewer.GetPlotAreaMouseX(), plot->getRightX());
        QCOMPARE(left.count(), 0);
        MoveMouse(&viewer, QPoint(plot->getRightX() + 30, y));
        QCOMPARE(left.count(), 1);
        QVERIFY(!viewer.HasTrackLine());
        QCOMPARE(viewer.grab().toImage(), before);

        // Leaving the widget altogether does the same.
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 10, plot->getBottomY() - 10));
        QVERIFY(viewer.HasTrackLine());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&viewer, &leave);
        QCOMPARE(left.count(), 2);
        QVERIFY(!viewer.HasTrackLine());
        QCOMPARE(viewer.grab().toImage(), before);
        QCOMPARE(viewer.RenderCount(), 1);

        // A new chart (new data or size) is rendered once more, at its own size.
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 10, y));
        shown.view.SetChartSize(640, 480);
        viewer.SetChart(BuildChart(shown.view));
        QVERIFY(!viewer.HasTrackLine());
        viewer.grab();
        viewer.grab();
        QCOMPARE(viewer.RenderCount(), 2);
        QCOMPARE(viewer.size(), QSize(640, 480));
        QCOMPARE(viewer.sizeHint(), QSize(640, 480));
    }

    void renderedImageShowsRedCurve()
    {
        const Curve curve = ShortCurves(1)[0];
        ShownChart shown({curve}, 600, 400);
        const QImage image = shown.viewer.grab().toImage();
        const XYChart* chart = shown.chart();
        const auto redNear = [&](double x, double y) {
            bool found = false;
            for (int dy = -2; dy <= 2 && !found; ++dy)
                found = IsReddish(image.pixel(chart->getXCoor(x), chart->getYCoor(y) + dy));
            return found;
        };
        // Halfway between two readings the line passes the interpolated point...
        for (size_t i = 0; i + 1 < curve.strain.size(); ++i) {
            QVERIFY2(redNear((curve.strain[i] + curve.strain[i + 1]) / 2,
                             (curve.stress[i] + curve.stress[i + 1]) / 2),
                     qPrintable(QStringLiteral("no red after reading %1").arg(i)));
        }
        // ...and nowhere near a point it does not pass.
        QVERIFY(!redNear(1.0, 10.0));
    }

    void legendOneLineWhenWideNeverClipped()
    {
        CChartView view;
        ShowCurves(view, ShortCurves(8));
        for (const int width : {1200, 780, 520}) {
            view.SetChartSize(width, 420);
            const std::unique_ptr<XYChart> chart = BuildChart(view);
            const LegendLayout legend = LegendLayout::Make(*chart);
            QCOMPARE(legend.entries().size(), size_t(8));
            for (size_t k = 0; k < 8; ++k) {
                QCOMPARE(legend.entries()[k].name, QString("Lamina # %1").arg(k + 1));
                QCOMPARE(legend.entries()[k].color, SeriesColour(k));
            }
            // Too narrow for one line: more rows, still clear of the plot and the edge.
            if (width == 1200)
                QCOMPARE(legend.rows(), 1);
            else
                QVERIFY(legend.rows() >= 2);
            QVERIFY(legend.bounds().right() < width);
            QVERIFY(legend.bounds().bottom() < chart->getPlotArea()->getTopY());
            QVERIFY(legend.font().pointSizeF() >= 6);
        }
    }

    void backAndForthCurveKeepsRowOrder()
    {
        // Strain rises to 1.5 %, falls back to 0.5 % and rises again to 2 %: an unload
        // and reload. Strains are whole steps of 0.0001 %, so the legs share values.
        Curve curve;
        const auto leg = [&curve](int from, int to, double lift) {
            for (int k = from; k != to; k += from < to ? 1 : -1) {
                curve.strain.push_back(k * 1e-4);
                curve.stress.push_back(0.02 * k + lift);
            }
        };
        leg(0, 15000, 0);
        leg(15000, 5000, 10);
        leg(5000, 20001, 20);
        ShownChart shown({curve}, 800, 500);
        const std::vector<int>& drawn = shown.viewer.DrawnRows()[0][0];
        const XYChart* chart = shown.chart();

        const LineLayer* layer = chart->getLayerByZ(0);
        QCOMPARE(layer->xData(), curve.strain); // row order, not sorted by strain
        // A strain met on all three legs: the first reading in row order.
        QCOMPARE(curve.strain[20000], curve.strain[10000]);
        QCOMPARE(layer->getXIndexOf(curve.strain[10000], 0), 10000);
        QCOMPARE(layer->getXIndexOf(1.00002, 0), -1);
        QCOMPARE(layer->getXIndexOf(1.00002, 0.0001), 10000); // nearest within tolerance

        // The drawn readings stay in row order and keep both turning points.
        QVERIFY(std::is_sorted(drawn.begin(), drawn.end()));
        QVERIFY(drawn.size() < curve.strain.size() / 5);
        double highestOutward = 0;
        double lowestBack = 2;
        for (const int row : drawn) {
            if (row <= 20000)
                highestOutward = std::max(highestOutward, curve.strain[row]);
            if (row >= 15000 && row <= 30000)
                lowestBack = std::min(lowestBack, curve.strain[row]);
        }
        const double pixel = (chart->xAxis()->maxValue() - chart->xAxis()->minValue()) /
                             chart->getPlotArea()->getWidth();
        QVERIFY(highestOutward > 1.5 - pixel);
        QVERIFY(lowestBack < 0.5 + pixel);
    }

    // A long curve is drawn reduced to pixel columns, but tracked over all its readings.
    void longCurveDrawnReducedTrackedInFull()
    {
        const Curve curve = TensileCurve(125'000, 11);
        const ChordReadings chord = FindChordReadings(curve.strain, 0.1, 0.3);
        const int peak = static_cast<int>(
            std::max_element(curve.stress.begin(), curve.stress.end()) - curve.stress.begin());

        ShownChart shown({curve}, 1200, 700);
        const std::vector<int>* drawn = &shown.viewer.DrawnRows()[0][0];
        const XYChart* chart = shown.chart();
        const int columns = chart->getPlotArea()->getWidth();
        const auto has = [&drawn](int row) {
            return std::binary_search(drawn->begin(), drawn->end(), row);
        };

        QVERIFY(drawn->size() <= size_t(4 * columns + 16));
        std::map<int, int> perColumn;
        for (const int row : *drawn)
            ++perColumn[static_cast<int>(std::floor(chart->xAxis()->pixelOf(curve.strain[row])))];
        for (const auto& [column, count] : perColumn)
            QVERIFY2(count <= 6,
                     qPrintable(QStringLiteral("%1 readings in column %2").arg(count).arg(column)));
        QVERIFY(perColumn.size() >= size_t(columns * 9 / 10)); // the whole width is drawn
        QVERIFY(has(0) && has(125'000 - 1) && has(peak));

        // Every mouse column finds its nearest reading among all 125,000, most of which
        // are not drawn; the label shows that reading's own stress.
        int undrawn = 0;
        const PlotArea* plot = chart->getPlotArea();
        for (int px = plot->getLeftX(); px <= plot->getRightX(); px += 37) {
            shown.viewer.TrackLineAt(px);
            const double x = shown.viewer.Track().xValue();
            const double target = chart->xAxis()->valueOf(px);
            const int row = chart->getLayerByZ(0)->getXIndexOf(x, 0);
            QVERIFY(row >= 0);
            QCOMPARE(curve.strain[row], x);
            for (const double strain : curve.strain) // no reading is nearer
                QVERIFY(std::fabs(strain - target) >= std::fabs(x - target));
            const auto labels = shown.viewer.ValueLabels();
            QCOMPARE(labels.size(), size_t(1));
            QCOMPARE(labels[0].text,
                     QString::fromStdString(chart->formatValue(curve.stress[row], "{value|P4}")));
            undrawn += has(row) ? 0 : 1;
        }
        QVERIFY(undrawn > 0);

        // A reading the reduction drops is drawn once the owner marks it, e.g. the chord
        // readings of the elastic range.
        int dropped = 60'001;
        while (has(dropped))
            ++dropped;
        shown.view.SetKeepIndices({{chord.low, chord.high, dropped}});
        drawn = &shown.Rebuild();
        QVERIFY(has(chord.low) && has(chord.high) && has(dropped));

        // A smaller chart draws fewer readings: the reduction follows the size.
        const size_t wide = drawn->size();
        shown.view.SetChartSize(500, 400);
        QVERIFY(shown.Rebuild().size() < wide / 2);
        QCOMPARE(shown.view.KeepIndices().size(), size_t(1));
    }

    void reducerKeepsGapsAndAllOfShortCurves()
    {
        const std::vector<double> x{0, 1, 2, NoValue, 4, 5};
        const std::vector<double> y{0, 1, 4, 9, NoValue, 25};
        // Fewer readings than columns: nothing to drop.
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 6, 0, 5, 500),
                 (std::vector<int>{0, 1, 2, 3, 4, 5}));
        // One column: its first, last, lowest and highest readings; a kept one joins
        // them, and keep indices outside the data are ignored.
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 3, 0, 5, 1), (std::vector<int>{0, 2}));
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 3, 0, 5, 1, {-4, 1, 99}),
                 (std::vector<int>{0, 1, 2}));
    }
};

QTEST_MAIN(ChartTest)
#include "chart_test.moc"