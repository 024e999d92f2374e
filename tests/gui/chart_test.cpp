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
Curve TensileCurve(int readings, unsigned seed, double ultimate = 480)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> strainNoise(-0.0003, 0.0003);
    std::uniform_real_distribution<double> stressNoise(-0.25, 0.25);
    Curve curve;
    curve.strain.reserve(static_cast<size_t>(readings));
    curve.stress.reserve(static_cast<size_t>(readings));
    for (int i = 0; i < readings; ++i) {
        const double nominal = 2.0 * i / (readings - 1);
        curve.strain.push_back(std::max(0.0, nominal + strainNoise(random)));
        curve.stress.push_back(ultimate * std::tanh(nominal / 1.2) + stressNoise(random));
    }
    return curve;
}

// A short curve whose strains are offset by 0.01 % per index, so no two curves share
// an x and neighbouring readings lie a few pixels apart.
Curve ShortCurve(int index)
{
    Curve curve;
    for (int i = 0; i <= 10; ++i) {
        curve.strain.push_back(0.2 * i + 0.01 * (index + 1));
        curve.stress.push_back(40.0 * i + 5.0 * index);
    }
    return curve;
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
    view.SetXTitle("Strain");
    view.SetYTitle("Stress");
    QVERIFY(view.SetData(arrays, names));
    view.SetChartSize(width, height);
}

std::unique_ptr<XYChart> BuildChart(const CChartView& view)
{
    std::unique_ptr<XYChart> chart = view.CreateChart();
    chart->xAxis()->setTickDensity(75);
    return chart;
}

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

    // ---- CChartView: state and the chart it builds ----------------------------------

    void constructionSizeAndLayout()
    {
        CChartView view;
        QCOMPARE(view.ChartWidth(), 300);
        QCOMPARE(view.ChartHeight(), 500);
        QCOMPARE(view.Layout(), 0);
        QCOMPARE(view.PointCount(), 0);
        QVERIFY(view.Arrays().empty());
        QVERIFY(view.Names().empty());
    }

    void placeholderChart()
    {
        CChartView view;
        view.Reset();
        QCOMPARE(view.Layout(), 0);
        QCOMPARE(view.Names(), (std::vector<std::string>{"X", "value"}));
        QCOMPARE(view.Arrays().size(), size_t(2));
        QVERIFY(view.Arrays()[0].empty() && view.Arrays()[1].empty());
        QVERIFY(view.Counts().empty());

        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->title(), std::string("graph"));
        QCOMPARE(chart->xAxis()->title(), std::string("X"));
        QCOMPARE(chart->yAxis()->title(), std::string("Y"));
        QCOMPARE(chart->getLayerCount(), 1);
        const LineLayer* layer = chart->getLayerByZ(0);
        QCOMPARE(layer->lineWidth(), 2);
        QVERIFY(layer->fastLineMode());
        QCOMPARE(layer->getDataSetCount(), 1);
        const DataSet* value = layer->getDataSetByZ(0);
        QCOMPARE(value->getDataName(), std::string("value"));
        QCOMPARE(value->getDataColor(), Color(0x00ff00));
        QCOMPARE(value->size(), 0);

        // The placeholder draws (empty axes, legend entry) without tripping over no data.
        CChartViewer viewer;
        viewer.SetChart(view.CreateChart());
        QVERIFY(!viewer.grab().isNull());
        viewer.TrackLineAt(150);
        QVERIFY(!viewer.HasTrackLine());
    }

    void chartDecorationAndGeometry()
    {
        CChartView view;
        view.Reset();
        view.SetChartSize(800, 450);
        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->getWidth(), 800);
        QCOMPARE(chart->getHeight(), 450);
        QCOMPARE(chart->background(), Color(0xf0f0ff));
        QCOMPARE(chart->edgeColor(), Color(0x000000));
        QCOMPARE(chart->raisedEffect(), 1);

        const PlotArea* plot = chart->getPlotArea();
        QCOMPARE(plot->getLeftX(), 120);
        QCOMPARE(plot->getTopY(), 70);
        QCOMPARE(plot->getWidth(), 600);
        QCOMPARE(plot->getHeight(), 310);
        QCOMPARE(plot->background(), Color(0xffffff));
        QCOMPARE(plot->horizontalGridColor(), Color(0xcccccc));
        QCOMPARE(plot->verticalGridColor(), Color(0xcccccc));

        QCOMPARE(chart->titleStyle().font, std::string("timesbi.ttf"));
        QCOMPARE(chart->titleStyle().size, 15.0);
        const LegendBox* legend = chart->getLegend();
        QVERIFY(legend);
        QCOMPARE(legend->x(), 50);
        QCOMPARE(legend->y(), 33);
        QVERIFY(!legend->isVertical());
        QCOMPARE(legend->style().font, std::string("arialbd.ttf"));
        QCOMPARE(legend->style().size, 9.0);
        QCOMPARE(legend->background(), Transparent);
        QCOMPARE(legend->edgeColor(), Transparent);

        QVERIFY(chart->xAxis()->titleStyle().font.empty());
        QCOMPARE(chart->xAxis()->titleStyle().size, 8.0);
        QCOMPARE(chart->yAxis()->titleStyle().font, std::string("arialbd.ttf"));
        QCOMPARE(chart->yAxis()->titleStyle().size, 9.0);
        QCOMPARE(chart->xAxis()->labelStep(), 2);
        QCOMPARE(chart->xAxis()->width(), 2);
        QCOMPARE(chart->yAxis()->width(), 2);
        QCOMPARE(chart->yAxis()->getAlignment(), int(Left));
        QCOMPARE(chart->yAxis()->getX(), 120);
    }

    void axisScalesRoundAndEndOnLabelledTick()
    {
        // Noise a hair past zero and past 2 % does not earn a whole extra tick.
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData({{0, 0.5, 1.0, 2.0003}, {-0.2, 150, 300, 448}}, {"Lamina # 1"}));
        view.SetChartSize(500, 450);
        std::unique_ptr<XYChart> chart = BuildChart(view);
        chart->layout();
        QCOMPARE(chart->xAxis()->minValue(), 0.0);
        QCOMPARE(chart->xAxis()->maxValue(), 2.0);
        QCOMPARE(chart->xAxis()->tickStep(), 0.5);
        QCOMPARE(chart->yAxis()->minValue(), 0.0);
        QVERIFY(chart->yAxis()->maxValue() >= 448);
        QCOMPARE(chart->getXCoor(0), 120);
        QCOMPARE(chart->getXCoor(2), 420);
        QCOMPARE(chart->getYCoor(chart->yAxis()->maxValue()), 70);
        QCOMPARE(chart->getYCoor(0), 380);

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
        QVERIFY(!x->isLabelledTick(1));
        QCOMPARE(x->getFormattedLabel(0.760002), std::string("0.760002"));
        QCOMPARE(x->getFormattedLabel(1.0 / 3), std::string("0.333333"));
    }

    void layoutOneThreeCurvesInTableColours()
    {
        CChartView view;
        view.Reset();
        std::vector<Curve> curves{ShortCurve(0), ShortCurve(1), ShortCurve(2)};
        ShowCurves(view, curves);
        QCOMPARE(view.Counts(), (std::vector<int>{11, 11, 11, 11, 11, 11}));

        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->title(), std::string("Stress-Strain Curve"));
        QCOMPARE(chart->getLayerCount(), 3);
        const Color expected[] = {0xff0000, 0x00ff00, 0x0000ff};
        for (int k = 0; k < 3; ++k) {
            const LineLayer* layer = chart->getLayerByZ(k);
            QCOMPARE(layer->lineWidth(), 1);
            QCOMPARE(layer->getDataSetCount(), 1);
            const DataSet* dataSet = layer->getDataSetByZ(0);
            QCOMPARE(dataSet->getDataColor(), expected[k]);
            QCOMPARE(dataSet->getDataName(), "Lamina # " + std::to_string(k + 1));
            QCOMPARE(layer->xData(), curves[k].strain);
            QCOMPARE(dataSet->values(), curves[k].stress);
        }
    }

    void seriesColoursGreyEighthAndWrapAround()
    {
        QCOMPARE(CChartView::SeriesColor(7), Color(0x808080));
        QVERIFY(std::find(SERIES_COLORS.begin(), SERIES_COLORS.end(), Color(0xffffff)) ==
                SERIES_COLORS.end());

        for (const int count : {8, 9, 10}) {
            CChartView view;
            std::vector<Curve> curves;
            for (int k = 0; k < count; ++k)
                curves.push_back(ShortCurve(k));
            ShowCurves(view, curves);
            const std::unique_ptr<XYChart> chart = view.CreateChart();
            QCOMPARE(chart->getLayerCount(), count);
            for (int k = 0; k < count; ++k) {
                const Color colour = chart->getLayerByZ(k)->getDataSetByZ(0)->getDataColor();
                QCOMPARE(colour, SERIES_COLORS[k % 8]);
            }
        }
        // Far past the table, and in layout 0 where the colour index is the array index.
        QCOMPARE(CChartView::SeriesColor(8 * 1000 + 2), Color(0x0000ff));
        CChartView view;
        std::vector<std::vector<double>> arrays(11, std::vector<double>{1, 2});
        QVERIFY(view.SetData(arrays, std::vector<std::string>(11, "n")));
        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->getLayerByZ(0)->getDataSetCount(), 10);
        QCOMPARE(chart->getLayerByZ(0)->getDataSetByZ(8)->getDataColor(),
                 Color(0x00ff00)); // array 9
    }

    void setDataCopiesAndRefusesEmpty()
    {
        CChartView view;
        view.Reset();
        std::vector<Curve> curves{ShortCurve(0)};
        ShowCurves(view, curves);
        const auto namesBefore = view.Names();
        const auto arraysBefore = view.Arrays();

        QVERIFY(!view.SetData({}, {"ignored"}));
        QCOMPARE(view.Names(), namesBefore);
        QCOMPARE(view.Arrays(), arraysBefore);
        QCOMPARE(view.Layout(), 1);
        QCOMPARE(view.Title(), std::string("Stress-Strain Curve"));

        // The view holds copies: changing the caller's arrays later changes nothing.
        std::vector<std::vector<double>> arrays{{0, 1}, {0, 10}};
        QVERIFY(view.SetData(arrays, {"Lamina # 4"}));
        arrays[1][1] = 99;
        QCOMPARE(view.Arrays()[1][1], 10.0);
        QCOMPARE(view.Layout(), 1); // not touched by SetData
    }

    void emptySpecimenGivesEmptyLayerAndLegendEntry()
    {
        CPlyforgeDoc doc;
        ExperimentSpecimen& full = doc.FindOrCreateSpecimen(1);
        const Curve curve = ShortCurve(0);
        full.strain_series = curve.strain;
        full.stress_series = curve.stress;
        full.load_series = curve.stress;
        doc.FindOrCreateSpecimen(2); // no readings

        std::vector<std::vector<double>> arrays;
        std::vector<std::string> names;
        doc.BuildChartSeries(arrays, names);
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData(arrays, names));
        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->getLayerCount(), 2);
        const DataSet* empty = chart->getLayerByZ(1)->getDataSetByZ(0);
        QCOMPARE(empty->size(), 0);
        QCOMPARE(empty->getDataName(), std::string("Lamina # 2"));
        QCOMPARE(empty->getDataColor(), Color(0x00ff00));

        CChartViewer viewer;
        viewer.SetChart(view.CreateChart());
        viewer.EnsureRendered();
        QCOMPARE(viewer.DrawnRows().size(), size_t(2));
        QVERIFY(viewer.DrawnRows()[1][0].empty());
        // The track line works over the other curve and ignores the empty one.
        viewer.TrackLineAt(viewer.GetChart()->getXCoor(curve.strain[5]));
        QCOMPARE(viewer.ValueLabels().size(), size_t(1));
    }

    // ---- the track line ---------------------------------------------------------------

    void trackLineOnGreenCurve()
    {
        CChartView view;
        std::vector<Curve> curves{ShortCurve(0), ShortCurve(1), ShortCurve(2)};
        curves[1].stress[4] = 80.12345; // green curve, x = 0.82
        ShowCurves(view, curves);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        const XYChart* chart = viewer.GetChart();
        const PlotArea* plot = chart->getPlotArea();
        const double x = curves[1].strain[4];

        // A pixel or so off the reading still finds it: the nearest data x.
        viewer.TrackLineAt(chart->getXCoor(x) + 1);
        QVERIFY(viewer.HasTrackLine());
        QCOMPARE(viewer.Track().xValue(), x);
        const int xCoor = chart->getXCoor(x);
        const int yCoor = chart->getYCoor(80.12345);

        // Only the green curve has a reading at exactly that strain.
        const auto labels = viewer.ValueLabels();
        QCOMPARE(labels.size(), size_t(1));
        const CChartViewer::TrackLabel& label = labels[0];
        QVERIFY2(label.markup.startsWith(QStringLiteral("<*font,bgColor=ff00*> ")),
                 qPrintable(label.markup));
        QCOMPARE(label.markup, QStringLiteral("<*font,bgColor=ff00*> 80.12 <*/font*>"));
        QCOMPARE(label.text, QStringLiteral("80.12"));
        QCOMPARE(label.box, QColor(0, 255, 0));
        QCOMPARE(label.textColor, QColor(Qt::white));
        QCOMPARE(label.anchor, QPoint(chart->yAxis()->getX() - 4, yCoor));
        QCOMPARE(label.alignment, int(Right));

        const auto dots = viewer.Dots();
        QCOMPARE(dots.size(), size_t(1));
        QCOMPARE(dots[0].centre, QPoint(xCoor, yCoor));
        QCOMPARE(dots[0].radius, 4);
        QCOMPARE(dots[0].color, QColor(0, 255, 0));
        QCOMPARE(viewer.Track().leaders().size(), size_t(1));
        QCOMPARE(viewer.Track().leaders()[0].toX, chart->yAxis()->getX() - 4);

        // The vertical line runs from the point down to just under the plot area, where
        // the x label hangs centred on it.
        QCOMPARE(viewer.TrackLineTop(), QPoint(xCoor, yCoor));
        QCOMPARE(viewer.TrackLineBottom(), QPoint(xCoor, plot->getBottomY() + 6));
        const CChartViewer::TrackLabel xLabel = viewer.XLabel();
        QCOMPARE(xLabel.markup, QStringLiteral("<*font,bgColor=000000*> 0.82 <*/font*>"));
        QCOMPARE(xLabel.text, QStringLiteral("0.82"));
        QCOMPARE(xLabel.box, QColor(0, 0, 0));
        QCOMPARE(xLabel.anchor, QPoint(xCoor, plot->getBottomY() + 6));
        QCOMPARE(xLabel.alignment, int(TopCenter));

        // What the overlay shows is on screen: the label's green box left of the axis.
        viewer.show();
        const QImage image = viewer.grab().toImage();
        QCOMPARE(QColor(image.pixel(chart->yAxis()->getX() - 6, yCoor)), QColor(0, 255, 0));
        QCOMPARE(QColor(image.pixel(xCoor, yCoor)), QColor(0, 255, 0)); // the dot
    }

    void trackLabelColoursAndSignificantDigits()
    {
        CChartView view;
        std::vector<Curve> curves;
        for (int k = 0; k < 7; ++k)
            curves.push_back(ShortCurve(k));
        curves[2].stress[3] = 0.000123456; // blue
        curves[6].stress[6] = 99.996;      // black
        curves[0].stress[2] = 1234.56;     // red
        ShowCurves(view, curves);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        const XYChart* chart = viewer.GetChart();

        const struct {
            int curve;
            int row;
            const char* markup;
        } cases[] = {
            {2, 3, "<*font,bgColor=ff*> 0.0001235 <*/font*>"},
            {6, 6, "<*font,bgColor=0*> 100.0 <*/font*>"},
            {0, 2, "<*font,bgColor=ff0000*> 1235 <*/font*>"},
        };
        for (const auto& c : cases) {
            const double x = curves[c.curve].strain[c.row];
            viewer.TrackLineAt(chart->getXCoor(x));
            QCOMPARE(viewer.Track().xValue(), x);
            const auto labels = viewer.ValueLabels();
            QCOMPARE(labels.size(), size_t(1));
            QCOMPARE(labels[0].markup, QString::fromLatin1(c.markup));
        }
        QCOMPARE(chart->formatValue(80.12345, "{value|P4}"), std::string("80.12"));
        QCOMPARE(chart->formatValue(-0.5, "{value|P4}"), std::string("-0.5000"));
        QCOMPARE(chart->formatValue(0, "{value|P4}"), std::string("0.000"));
        QCOMPARE(chart->formatValue(2.5, "Load {value|2} N"), std::string("Load 2.50 N"));
    }

    void trackLineSharedStrainTopmostAndOutsideCurves()
    {
        // Curves 1 and 2 share their strains; curve 3 does not.
        CChartView view;
        std::vector<Curve> curves{ShortCurve(0), ShortCurve(0), ShortCurve(2)};
        for (double& stress : curves[1].stress)
            stress *= 2;
        ShowCurves(view, curves);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        const XYChart* chart = viewer.GetChart();
        const double x = curves[0].strain[3];
        viewer.TrackLineAt(chart->getXCoor(x));

        QCOMPARE(viewer.Dots().size(), size_t(2));
        QCOMPARE(viewer.ValueLabels()[0].box, QColor(255, 0, 0));
        QCOMPARE(viewer.ValueLabels()[1].box, QColor(0, 255, 0));
        // The line starts at the higher of the two points.
        QCOMPARE(viewer.TrackLineTop().y(), chart->getYCoor(curves[1].stress[3]));
        for (const auto& dot : viewer.Dots())
            QVERIFY(dot.color != QColor(0, 0, 255));
    }

    void trackLineUsesFullDataNotTheDrawing()
    {
        CChartView view;
        const Curve curve = TensileCurve(125'000, 7);
        ShowCurves(view, {curve}, 1000, 600);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        viewer.EnsureRendered();
        const std::vector<int>& drawn = viewer.DrawnRows()[0][0];
        const XYChart* chart = viewer.GetChart();

        // Every mouse column finds its nearest reading among all 125,000, most of which
        // are not drawn; the label shows that reading's own stress.
        int undrawn = 0;
        const PlotArea* plot = chart->getPlotArea();
        for (int px = plot->getLeftX(); px <= plot->getRightX(); px += 37) {
            viewer.TrackLineAt(px);
            const double x = viewer.Track().xValue();
            const double target = chart->xAxis()->valueOf(px);
            const int row = chart->getLayerByZ(0)->getXIndexOf(x, 0);
            QVERIFY(row >= 0);
            QCOMPARE(curve.strain[row], x);
            for (const double strain : curve.strain) // no reading is nearer
                QVERIFY(std::fabs(strain - target) >= std::fabs(x - target));
            QCOMPARE(viewer.ValueLabels().size(), size_t(1));
            QCOMPARE(viewer.ValueLabels()[0].text,
                     QString::fromStdString(chart->formatValue(curve.stress[row], "{value|P4}")));
            if (!std::binary_search(drawn.begin(), drawn.end(), row))
                ++undrawn;
        }
        QVERIFY(undrawn > 0);
    }

    void mouseOverPlotAreaAndLeaving()
    {
        CChartView view;
        std::vector<Curve> curves{ShortCurve(0), ShortCurve(1)};
        ShowCurves(view, curves, 700, 500);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        QObject::connect(&viewer, &CChartViewer::MouseMovePlotArea, &viewer,
                         &CChartViewer::TrackLineAt);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QImage before = viewer.grab().toImage();
        const PlotArea* plot = viewer.GetChart()->getPlotArea();

        QSignalSpy moved(&viewer, &CChartViewer::MouseMovePlotArea);
        QSignalSpy left(&viewer, &CChartViewer::MouseLeavePlotArea);
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 100, plot->getTopY() + 50));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), plot->getLeftX() + 100);
        QVERIFY(viewer.HasTrackLine());
        QVERIFY(viewer.grab().toImage() != before);

        // On the plot's right edge the x is that edge; beyond it the mouse has left.
        MoveMouse(&viewer, QPoint(plot->getRightX(), plot->getTopY() + 50));
        QCOMPARE(moved.last().at(0).toInt(), plot->getRightX());
        QCOMPARE(viewer.GetPlotAreaMouseX(), plot->getRightX());
        QCOMPARE(left.count(), 0);
        MoveMouse(&viewer, QPoint(plot->getRightX() + 30, plot->getTopY() + 50));
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
    }

    void chartRenderedOnceNotOnEveryPaint()
    {
        CChartView view;
        ShowCurves(view, {ShortCurve(0), ShortCurve(1)});
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        for (int i = 0; i < 5; ++i) {
            viewer.repaint();
            viewer.TrackLineAt(200 + 20 * i);
            viewer.grab();
        }
        QCOMPARE(viewer.RenderCount(), 1);
        QCOMPARE(viewer.size(), QSize(900, 600));

        // A new chart (new data or size) is rendered once more, at its own size.
        view.SetChartSize(640, 480);
        viewer.SetChart(BuildChart(view));
        QVERIFY(!viewer.HasTrackLine());
        viewer.grab();
        viewer.grab();
        QCOMPARE(viewer.RenderCount(), 2);
        QCOMPARE(viewer.size(), QSize(640, 480));
        QCOMPARE(viewer.sizeHint(), QSize(640, 480));
    }

    // ---- drawing ----------------------------------------------------------------------

    void renderedImageShowsRedCurve()
    {
        CChartView view;
        const Curve curve = ShortCurve(0);
        ShowCurves(view, {curve}, 600, 400);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        const QImage image = viewer.grab().toImage();
        const XYChart* chart = viewer.GetChart();
        // Halfway between two readings the line passes the interpolated point.
        for (size_t i = 0; i + 1 < curve.strain.size(); ++i) {
            const double x = (curve.strain[i] + curve.strain[i + 1]) / 2;
            const double y = (curve.stress[i] + curve.stress[i + 1]) / 2;
            const int px = chart->getXCoor(x);
            const int py = chart->getYCoor(y);
            bool found = false;
            for (int dy = -2; dy <= 2 && !found; ++dy)
                found = IsReddish(image.pixel(px, py + dy));
            QVERIFY2(found, qPrintable(QStringLiteral("no red at %1,%2").arg(px).arg(py)));
        }
        // And nowhere near a point the curve does not pass.
        const int px = chart->getXCoor(1.0);
        const int py = chart->getYCoor(10.0);
        for (int dy = -2; dy <= 2; ++dy)
            QVERIFY(!IsReddish(image.pixel(px, py + dy)));
    }

    void legendOneLineWhenWideNeverClipped()
    {
        std::vector<Curve> curves;
        for (int k = 0; k < 8; ++k)
            curves.push_back(ShortCurve(k));
        CChartView view;
        ShowCurves(view, curves, 1200, 700);
        const std::unique_ptr<XYChart> wide = BuildChart(view);
        const LegendLayout legend = LegendLayout::Make(*wide);
        QCOMPARE(legend.entries().size(), size_t(8));
        QCOMPARE(legend.rows(), 1);
        QCOMPARE(legend.font().pointSizeF(), 9.0);
        QVERIFY(legend.font().bold());
        QCOMPARE(legend.entries()[0].name, QStringLiteral("Lamina # 1"));
        QCOMPARE(legend.entries()[7].color, QColor(0x80, 0x80, 0x80));
        QVERIFY(legend.bounds().left() >= 50 && legend.bounds().top() >= 33);

        // Too narrow for one line: a second row, still clear of the plot and the edge.
        for (const int width : {780, 520}) {
            view.SetChartSize(width, 420);
            const std::unique_ptr<XYChart> narrow = BuildChart(view);
            const LegendLayout wrapped = LegendLayout::Make(*narrow);
            QVERIFY(wrapped.rows() >= 2);
            QVERIFY(wrapped.bounds().right() < width);
            QVERIFY(wrapped.bounds().bottom() < narrow->getPlotArea()->getTopY());
            QVERIFY(wrapped.font().pointSizeF() >= 6);
        }
    }

    void backAndForthCurveKeepsRowOrder()
    {
        // Strain rises to 1.5 %, falls back to 0.5 % and rises again to 2 %: an unload
        // and reload. Strains are whole steps of 0.0001 %, so the legs share values.
        std::vector<int> steps;
        for (int k = 0; k < 15000; ++k)
            steps.push_back(k);
        for (int k = 15000; k > 5000; --k)
            steps.push_back(k);
        for (int k = 5000; k <= 20000; ++k)
            steps.push_back(k);
        Curve curve;
        for (size_t row = 0; row < steps.size(); ++row) {
            curve.strain.push_back(steps[row] * 1e-4);
            curve.stress.push_back(0.02 * steps[row] + (row < 15000 ? 0 : row < 25000 ? 10 : 20));
        }
        CChartView view;
        ShowCurves(view, {curve}, 800, 500);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        viewer.EnsureRendered();
        const XYChart* chart = viewer.GetChart();

        const LineLayer* layer = chart->getLayerByZ(0);
        QCOMPARE(layer->xData(), curve.strain); // row order, not sorted by strain
        // A strain met on all three legs: the first reading in row order.
        QCOMPARE(layer->getXIndexOf(curve.strain[10000], 0), 10000);
        QCOMPARE(curve.strain[20000], curve.strain[10000]);
        QCOMPARE(layer->getXIndexOf(1.00002, 0), -1);
        QCOMPARE(layer->getXIndexOf(1.00002, 0.0001), 10000); // nearest within tolerance

        // The drawn readings stay in row order and keep both turning points.
        const std::vector<int>& drawn = viewer.DrawnRows()[0][0];
        QVERIFY(std::is_sorted(drawn.begin(), drawn.end()));
        QVERIFY(drawn.size() < curve.strain.size() / 5);
        double highestOutward = 0;
        double lowestBack = 2;
        for (const int row : drawn) {
            const double strain = curve.strain[row];
            if (row <= 20000)
                highestOutward = std::max(highestOutward, strain);
            if (row >= 15000 && row <= 30000)
                lowestBack = std::min(lowestBack, strain);
        }
        const double pixel = (chart->xAxis()->maxValue() - chart->xAxis()->minValue()) /
                             chart->getPlotArea()->getWidth();
        QVERIFY(highestOutward > 1.5 - pixel);
        QVERIFY(lowestBack < 0.5 + pixel);
        // Between the turns the drawing runs leftwards, reading after reading.
        double previous = 2;
        for (const int row : drawn) {
            if (row <= 15000 || row >= 25000)
                continue;
            QVERIFY(curve.strain[row] <= previous);
            previous = curve.strain[row];
        }
    }

    void longCurveReducedToPixelColumns()
    {
        const Curve curve = TensileCurve(125'000, 11);
        const ChordReadings chord = FindChordReadings(curve.strain, 0.1, 0.3);
        const int peak = static_cast<int>(
            std::max_element(curve.stress.begin(), curve.stress.end()) - curve.stress.begin());

        CChartView view;
        ShowCurves(view, {curve}, 1200, 700);
        CChartViewer viewer;
        viewer.SetChart(BuildChart(view));
        viewer.EnsureRendered();
        std::vector<int> drawn = viewer.DrawnRows()[0][0];
        const XYChart* chart = viewer.GetChart();
        const int columns = chart->getPlotArea()->getWidth();

        QVERIFY(drawn.size() <= size_t(4 * columns + 16));
        std::map<int, int> perColumn;
        for (const int row : drawn)
            ++perColumn[static_cast<int>(std::floor(chart->xAxis()->pixelOf(curve.strain[row])))];
        for (const auto& [column, count] : perColumn)
            QVERIFY2(count <= 6,
                     qPrintable(QStringLiteral("%1 readings in column %2").arg(count).arg(column)));
        QVERIFY(perColumn.size() >= size_t(columns * 9 / 10)); // the whole width is drawn
        const auto has = [&drawn](int row) {
            return std::binary_search(drawn.begin(), drawn.end(), row);
        };
        QVERIFY(has(0));
        QVERIFY(has(125'000 - 1));
        QVERIFY(has(peak));

        // A reading the reduction drops is drawn once the owner marks it, e.g. the chord
        // readings of the elastic range.
        int dropped = 60'001;
        while (has(dropped))
            ++dropped;
        view.SetKeepIndices({{chord.low, chord.high, dropped}});
        viewer.SetChart(BuildChart(view));
        viewer.EnsureRendered();
        drawn = viewer.DrawnRows()[0][0];
        QVERIFY(has(chord.low));
        QVERIFY(has(chord.high));
        QVERIFY(has(dropped));

        // A smaller chart draws fewer readings: the reduction follows the size.
        const size_t wide = drawn.size();
        view.SetChartSize(500, 400);
        viewer.SetChart(BuildChart(view));
        viewer.EnsureRendered();
        QVERIFY(viewer.DrawnRows()[0][0].size() < wide / 2);
        QCOMPARE(view.KeepIndices().size(), size_t(1));
    }

    void reducerKeepsGapsAndAllOfShortCurves()
    {
        const std::vector<double> x{0, 1, 2, NoValue, 4, 5};
        const std::vector<double> y{0, 1, 4, 9, NoValue, 25};
        // Fewer readings than columns: nothing to drop.
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 6, 0, 5, 500),
                 (std::vector<int>{0, 1, 2, 3, 4, 5}));
        QVERIFY(CurveReducer::Reduce(x.data(), y.data(), 0, 0, 5, 500).empty());
        // One column: its first, last, lowest and highest readings; a kept one joins
        // them, and keep indices outside the data are ignored.
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 3, 0, 5, 1), (std::vector<int>{0, 2}));
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 3, 0, 5, 1, {-4, 1, 99}),
                 (std::vector<int>{0, 1, 2}));
    }
};

QTEST_MAIN(ChartTest)
#include "chart_test.moc"
