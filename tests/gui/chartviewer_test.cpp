// The chart on screen: rendered once per chart, the track line that follows the mouse,
// and long curves drawn reduced but tracked over every reading.
#include "chart/chartviewer.h"
#include "guitestsupport.h"

#include "chart/chartrenderer.h"
#include "chart/curvepainter.h"
#include "chart/curvereducer.h"
#include "chart/markuptext.h"
#include "chart/trackline.h"

#include <QMouseEvent>

#include <random>

using namespace OrvaneChart;

namespace {

// A results chart on screen: the view holding the curves and the viewer showing them.
struct ShownChart {
    CChartView view;
    CChartViewer viewer;
    explicit ShownChart(const std::vector<Curve>& curves, int width = 900, int height = 600)
    {
        ShowCurves(view, curves, width, height);
        Rebuild();
    }
    // A fresh chart of the view, rendered; the rows drawn of its first curve.
    const std::vector<int>& Rebuild()
    {
        std::unique_ptr<XYChart> chart = view.CreateChart();
        chart->xAxis()->setTickDensity(75);
        viewer.SetChart(std::move(chart));
        viewer.EnsureRendered();
        return viewer.DrawnRows()[0][0];
    }
    const XYChart* chart() const { return viewer.GetChart(); }
};

// Whether a pixel within reach above or below shows the first curve colour (blue),
// washed out as it may be by anti-aliasing.
bool BlueNear(const QImage& image, QPoint at, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        const QColor pixel = image.pixelColor(at + QPoint(0, dy));
        if (pixel.blue() - pixel.red() > 30 && pixel.blue() > 150)
            return true;
    }
    return false;
}

void MoveMouse(QWidget* widget, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class ChartViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { IsolateSettings(); }

    void trackLineLabelsDotsAndLine()
    {
        // Curves side by side along the strain, none spanning another's readings.
        std::vector<Curve> curves = ShortCurves(7);
        for (size_t i = 0; i < 7 * 11; ++i)
            curves[i / 11].strain[i % 11] += 2.5 * double(i / 11);
        const struct {
            size_t curve, row;
            double stress;
            const char* markup;
            Qt::GlobalColor text; // whichever stands out more on the box
        } cases[] = {
            {1, 4, 80.12345, "<*font,bgColor=d95f02*> Lamina # 2: 80.12 <*/font*>", Qt::black},
            {3, 3, 0.000123456, "<*font,bgColor=d62728*> Lamina # 4: 0.0001235 <*/font*>", Qt::white},
            {6, 6, 99.996, "<*font,bgColor=808000*> Lamina # 7: 100.0 <*/font*>", Qt::black}, // rounds up a digit
            {0, 2, 1234.56, "<*font,bgColor=1f77b4*> Lamina # 1: 1235 <*/font*>", Qt::white},
        };
        for (const auto& c : cases)
            curves[c.curve].stress[c.row] = c.stress;
        // Curve 5 has the strains of curve 4 and lies higher.
        curves[5].strain = curves[4].strain;
        for (double& stress : curves[5].stress)
            stress *= 2;
        ShownChart shown(curves);
        CChartViewer& viewer = shown.viewer;
        viewer.show();
        const XYChart* chart = shown.chart();
        // A pixel off the reading still finds it: the nearest data x.
        viewer.TrackLineAt(chart->getXCoor(curves[1].strain[4]) + 1);
        QCOMPARE(viewer.Track().xValue(), curves[1].strain[4]);
        QCOMPARE(viewer.XLabel().text, QString::number(curves[1].strain[4]));
        for (const auto& c : cases) {
            const QPoint point(chart->getXCoor(curves[c.curve].strain[c.row]), chart->getYCoor(c.stress));
            viewer.TrackLineAt(point.x());
            // The value stands in a box of the curve's colour beside the line, level
            // with the dot on the point (inside the plot); the line runs down past the
            // plot to the x label.
            const auto labels = viewer.ValueLabels();
            QCOMPARE(labels.size(), size_t(1));
            QCOMPARE(labels[0].markup, QString::fromLatin1(c.markup));
            QCOMPARE(labels[0].textColor, QColor(c.text));
            const QRect box = TrackLine::LabelBounds(labels[0]);
            QVERIFY(box.top() <= point.y() + 1 && box.bottom() >= point.y() - 1 &&
                    std::abs(labels[0].anchor.x() - point.x()) == 8);
            QVERIFY(box.top() >= chart->getPlotArea()->getTopY());
            QVERIFY(viewer.Dots().size() == 1 && viewer.Dots()[0].centre == point);
            QCOMPARE(viewer.TrackLineTop(), point);
            QVERIFY(viewer.TrackLineBottom().y() > chart->getPlotArea()->getBottomY());
            QCOMPARE(viewer.XLabel().anchor, viewer.TrackLineBottom());
        }
        // Curves 4 and 5 share their strains, curve 5 twice as high: both are labelled,
        // and their boxes do not overlap; the line starts at the higher.
        viewer.TrackLineAt(chart->getXCoor(curves[4].strain[3]));
        QCOMPARE(viewer.Dots().size(), size_t(2));
        QCOMPARE(viewer.TrackLineTop().y(), chart->getYCoor(curves[5].stress[3]));
        QVERIFY(!TrackLine::LabelBounds(viewer.ValueLabels()[0]).intersects(TrackLine::LabelBounds(viewer.ValueLabels()[1])));
    }

    // Each curve that spans the cursor's strain gets a dot and its value interpolated
    // between its readings around that strain; one that ends before it gets none.
    void trackLineInterpolatesEveryCurveSpanningTheStrain()
    {
        const std::vector<Curve> curves = {
            {{0, 0.2, 0.4, 0.6, 0.8, 1.0}, {0, 20, 40, 60, 80, 100}},
            {{0, 0.1, 0.3, 0.5, 0.7, 0.9}, {0, 30, 90, 150, 210, 270}},
            {{0, 0.1, 0.15}, {0, 5, 7}},
        };
        ShownChart shown(curves);
        CChartViewer& viewer = shown.viewer;
        const XYChart* chart = shown.chart();
        viewer.TrackLineAt(chart->getXCoor(0.4));
        QCOMPARE(viewer.Track().xValue(), 0.4);
        QStringList values;
        for (const auto& label : viewer.ValueLabels())
            values << label.value;
        QCOMPARE(values, (QStringList{"120.0", "40.00"})); // the higher on top
        QCOMPARE(viewer.Dots().size(), size_t(2));
        QCOMPARE(viewer.Dots()[0].centre, QPoint(chart->getXCoor(0.4), chart->getYCoor(120)));
    }

    // Twenty curves crossing in another order than their own: every box names its
    // curve, in its colour and pattern, the boxes run by value from the top and none
    // hides another, inside the plot when it holds them, else within the chart.
    void trackLineNamesTwentyCurvesInOrderOfTheirValues()
    {
        std::vector<Curve> curves = ShortCurves(20);
        for (size_t k = 0; k < curves.size(); ++k) {
            for (size_t i = 0; i < curves[k].strain.size(); ++i) {
                curves[k].strain[i] = 0.2 * double(i);
                curves[k].stress[i] = double((k * 7) % 20 + 1) * 10 * double(i);
            }
        }
        for (const QSize size : {QSize(900, 600), QSize(700, 300)}) {
            ShownChart shown(curves, size.width(), size.height());
            const XYChart* chart = shown.chart();
            const PlotArea* plot = chart->getPlotArea();
            shown.viewer.TrackLineAt(chart->getXCoor(1.0));
            const std::vector<TrackLine::Label> labels = shown.viewer.ValueLabels();
            const LegendLayout legend = LegendLayout::Make(*chart);
            QCOMPARE(labels.size(), size_t(20));
            for (size_t i = 0; i < labels.size(); ++i) {
                const TrackLine::Label& label = labels[i];
                const QRect box = TrackLine::LabelBounds(label);
                const int curve = label.text.section(':', 0, 0).mid(9).toInt() - 1;
                const LegendLayout::Entry& entry = legend.entries().at(size_t(curve));
                QCOMPARE(label.text, entry.name + ": " + label.value);
                QVERIFY(label.box == entry.color && label.dash == entry.dash);
                QCOMPARE(shown.viewer.Dots()[i].color, entry.color);
                QVERIFY(box.top() >= 0 && box.bottom() <= plot->getBottomY() + 1);
                if (size.height() == 600)
                    QVERIFY(box.top() >= plot->getTopY());
                for (size_t j = 0; j < i; ++j)
                    QVERIFY2(!TrackLine::LabelBounds(labels[j]).intersects(box), qPrintable(label.text));
                if (i == 0)
                    continue;
                // Higher values first: down a column, then on in the next one.
                QVERIFY(label.value.toDouble() <= labels[i - 1].value.toDouble());
                const bool sameColumn = label.anchor.x() == labels[i - 1].anchor.x();
                QVERIFY(sameColumn ? label.anchor.y() > labels[i - 1].anchor.y()
                                   : std::abs(label.anchor.x() - shown.viewer.Track().x()) >
                                         std::abs(labels[i - 1].anchor.x() - shown.viewer.Track().x()));
            }
        }
    }

    // Mouse moves draw the track line on an overlay; the chart is rendered once per
    // chart, not on every paint.
    void mouseTracksOverThePlotAreaWithoutRendering()
    {
        ShownChart shown(ShortCurves(2), 700, 500);
        CChartViewer& viewer = shown.viewer;
        QObject::connect(&viewer, &CChartViewer::MouseMovePlotArea, &viewer, &CChartViewer::TrackLineAt);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QImage before = viewer.grab().toImage();
        const PlotArea* plot = shown.chart()->getPlotArea();
        const int y = plot->getTopY() + 50;
        QSignalSpy moved(&viewer, &CChartViewer::MouseMovePlotArea), left(&viewer, &CChartViewer::MouseLeavePlotArea);
        // The plot's right edge is inside, at its own x; beyond it the mouse has left.
        MoveMouse(&viewer, QPoint(plot->getRightX(), y));
        QVERIFY(moved.count() == 1 && moved.last().at(0).toInt() == plot->getRightX());
        QVERIFY(viewer.grab().toImage() != before);
        MoveMouse(&viewer, QPoint(plot->getRightX() + 30, y));
        QCOMPARE(left.count(), 1);
        QCOMPARE(viewer.grab().toImage(), before);
        // Leaving the widget altogether does the same.
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 10, y));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&viewer, &leave);
        QVERIFY(left.count() == 2 && !viewer.HasTrackLine());
        QCOMPARE(viewer.grab().toImage(), before);
        QCOMPARE(viewer.RenderCount(), 1);
        // A new chart (new data or size) drops the track line and is rendered once more.
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 10, y));
        shown.view.SetChartSize(640, 480);
        shown.Rebuild();
        viewer.grab();
        QVERIFY(!viewer.HasTrackLine() && viewer.RenderCount() == 2 && viewer.size() == QSize(640, 480));
    }

    void curveAndLegendDrawnInTheCurvesColour()
    {
        Curve curve = ShortCurves(1)[0];
        curve.stress[5] = NoValue; // a gap, never bridged
        ShownChart shown({curve}, 600, 400);
        const QImage image = shown.viewer.grab().toImage();
        const XYChart* chart = shown.chart();
        // Halfway between two readings the line passes the point between them.
        const auto halfway = [&](size_t i, size_t j) {
            return BlueNear(image,
                            QPoint(chart->getXCoor((curve.strain[i] + curve.strain[j]) / 2),
                                   chart->getYCoor((curve.stress[i] + curve.stress[j]) / 2)),
                            2);
        };
        for (const size_t i : {0, 1, 2, 3, 6, 7, 8, 9})
            QVERIFY2(halfway(i, i + 1), qPrintable(QString("no line after reading %1").arg(i)));
        QVERIFY(!halfway(4, 6));
        QVERIFY(BlueNear(image, LegendLayout::Make(*chart).entries().at(0).symbol.center(), 1));
    }

    // The thirteenth curve has the first one's colour but is drawn dashed, and so is
    // its legend sample: along a level stretch the colour comes and goes.
    void thirteenthCurveDrawnDashed()
    {
        std::vector<Curve> curves = ShortCurves(13);
        for (size_t k = 1; k < 12; ++k) // the others end before the level stretches
            for (double& strain : curves[k].strain)
                strain *= 0.1;
        curves[0].stress.assign(11, 100);
        curves[12].stress.assign(11, 300);
        ShownChart shown(curves, 900, 600);
        const QImage image = shown.viewer.grab().toImage();
        const XYChart* chart = shown.chart();
        // Stretches of the colour along a row, from x0 to x1.
        const auto runs = [&](int x0, int x1, int y) {
            int count = 0;
            for (int x = x0; x <= x1; ++x)
                count += BlueNear(image, {x, y}, 1) && (x == x0 || !BlueNear(image, {x - 1, y}, 1));
            return count;
        };
        const int left = chart->getXCoor(0.4), right = chart->getXCoor(1.8);
        QCOMPARE(runs(left, right, chart->getYCoor(100)), 1);
        QVERIFY(runs(left, right, chart->getYCoor(300)) > (right - left) / 15);
        const LegendLayout::Entry sample = LegendLayout::Make(*chart).entries().at(12);
        QVERIFY(runs(sample.symbol.left(), sample.symbol.right(), sample.symbol.center().y()) >= 2);
    }

    // A picture of 160 x 100 mm at 300 dpi has 3.125 times the pixels of the chart on
    // a 96-dpi screen, and its title and axis line are 3.125 times as large: they
    // measure the same in millimetres.
    void pictureAt300DpiScalesTextAndLines()
    {
        std::vector<Curve> curves = ShortCurves(3);
        curves[0].stress.assign(11, 150); // level, to measure the line's thickness
        ShownChart shown(curves, 605, 378); // 160 x 100 mm at 96 dpi
        const QTemporaryDir dir;
        const QString path = dir.filePath("chart.png");
        QVERIFY(CChartViewer::ExportPng(*shown.chart(), path, 300, QSize(1890, 1181)));
        const QImage picture(path);
        QVERIFY(picture.size() == QSize(1890, 1181) && std::abs(picture.dotsPerMeterX() - 11811) <= 1);
        const QImage screen = ChartRenderer::Render(*shown.chart());
        const auto dark = [](const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 96; };
        // The title: the box of dark pixels above the legend, inside the chart's frame.
        const auto titleBox = [&](const QImage& image, double scale) {
            QRect box;
            const int frame = int(4 * scale);
            for (int y = frame; y < int(30 * scale); ++y)
                for (int x = frame; x < image.width() - frame; ++x)
                    if (dark(image, x, y))
                        box |= QRect(x, y, 1, 1);
            return box;
        };
        const QRect small = titleBox(screen, 1), large = titleBox(picture, 3.125);
        QVERIFY2(std::abs(large.width() / (3.125 * small.width()) - 1) < 0.05 &&
                     std::abs(large.height() / (3.125 * small.height()) - 1) < 0.15,
                 qPrintable(QString("%1x%2 against %3x%4").arg(large.width()).arg(large.height())
                                .arg(small.width()).arg(small.height())));
        // The y axis line, two pixels on the screen, across a row between two ticks.
        const PlotArea* plot = shown.chart()->getPlotArea();
        const std::vector<double> ticks = shown.chart()->yAxis()->tickValues();
        const double between = shown.chart()->yAxis()->pixelOf((ticks[0] + ticks[1]) / 2);
        const auto thickness = [&](const QImage& image, double scale) {
            const int y = int(between * scale);
            int count = 0;
            for (int x = int((plot->getLeftX() - 4) * scale); x <= int((plot->getLeftX() + 4) * scale); ++x)
                count += dark(image, x, y);
            return count;
        };
        QCOMPARE(thickness(screen, 1), 2);
        QVERIFY2(std::abs(thickness(picture, 3.125) - 6.25) <= 1, qPrintable(QString::number(thickness(picture, 3.125))));
        // The level curve, one pixel on the screen: rows of its colour down a column.
        const auto curveRows = [&](const QImage& image, double scale) {
            const int x = int(shown.chart()->getXCoor(1.0) * scale), y = int(shown.chart()->getYCoor(150) * scale);
            int rows = 0;
            for (int dy = -int(4 * scale); dy <= int(4 * scale); ++dy)
                rows += BlueNear(image, {x, y + dy}, 0);
            return rows;
        };
        QVERIFY(curveRows(screen, 1) <= 2);
        QVERIFY2(curveRows(picture, 3.125) >= 3 && curveRows(picture, 3.125) <= 5,
                 qPrintable(QString::number(curveRows(picture, 3.125))));
    }

    // An unload and reload: strain rises to 1.5 %, falls back to 0.5 % and rises again
    // to 2 %, in whole steps of 0.0001 %, so the legs share strains.
    void backAndForthCurveDrawnReducedTrackedInFull()
    {
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
        // A fraction of the readings is drawn, in row order; a strain met on all three
        // legs finds the first reading in row order.
        const std::vector<int> drawn = shown.viewer.DrawnRows()[0][0];
        QVERIFY(std::is_sorted(drawn.begin(), drawn.end()) && drawn.size() < curve.strain.size() / 5);
        const XYChart* chart = shown.chart();
        const LineLayer* layer = chart->getLayerByZ(0);
        QCOMPARE(curve.strain[20000], curve.strain[10000]);
        QCOMPARE(layer->getXIndexOf(curve.strain[10000], 0), 10000);
        QCOMPARE(layer->getXIndexOf(1.00002, 0), -1);
        QCOMPARE(layer->getXIndexOf(1.00002, 0.0001), 10000); // nearest within tolerance
        // The track line finds the reading nearest the mouse among all of them.
        for (int px = chart->getPlotArea()->getLeftX(); px <= chart->getPlotArea()->getRightX(); px += 37) {
            const double target = chart->xAxis()->valueOf(px);
            shown.viewer.TrackLineAt(px);
            QVERIFY(target > 2 || std::fabs(shown.viewer.Track().xValue() - target) <= 0.5e-4 + 1e-12);
        }
        // A reading the reduction drops is drawn once the owner marks it (the chord readings, say).
        int dropped = 12'345;
        while (std::binary_search(drawn.begin(), drawn.end(), dropped))
            ++dropped;
        shown.view.SetKeepIndices({{dropped}});
        const std::vector<int> kept = shown.Rebuild();
        QVERIFY(std::binary_search(kept.begin(), kept.end(), dropped));
    }

    void reducerKeepsGapsTurnsAndAllOfShortCurves()
    {
        const std::vector<double> x{0, 1, 2, NoValue, 4, 5};
        const std::vector<double> y{0, 1, 4, 9, NoValue, 25};
        using Rows = std::vector<int>;
        // Fewer readings than columns: nothing to drop.
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 6, 0, 5, 500), (Rows{0, 1, 2, 3, 4, 5}));
        // One column: its first, last, lowest and highest readings; a kept one joins
        // them, and keep indices outside the data are ignored.
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 3, 0, 5, 1), (Rows{0, 2}));
        QCOMPARE(CurveReducer::Reduce(x.data(), y.data(), 3, 0, 5, 1, {-4, 1, 3}), (Rows{0, 1, 2}));
        // A curve that turns back inside its column keeps the turning reading.
        const std::vector<double> turn{0, 0.9, 0.1};
        QCOMPARE(CurveReducer::Reduce(turn.data(), std::vector<double>(3, 1.0).data(), 3, 0, 1, 1), (Rows{0, 1, 2}));
        // A noisy walk with gaps and a turn: the blocks give the rows reading by reading
        // gives, whole or zoomed; beyond the edges of a zoom a few readings stand for all.
        std::mt19937 random(5);
        std::normal_distribution<double> noise(0, 0.3);
        std::vector<double> walkX, walkY;
        for (int i = 0; i < 20000; ++i) {
            walkX.push_back(i < 15000 ? i * 0.01 + noise(random) * 0.01 : 150 - (i - 15000) * 0.01);
            walkY.push_back(i % 4001 == 7 ? NoValue : std::sin(i * 1e-3) + noise(random));
        }
        const CurveBlocks blocks = CurveReducer::Summarize(walkX.data(), walkY.data(), 20000);
        for (const auto& [low, high] : {std::pair(0.0, 150.0), std::pair(40.0, 41.5), std::pair(149.0, 200.0)}) {
            const Rows plain = CurveReducer::Reduce(walkX.data(), walkY.data(), 20000, low, high, 300, {3});
            QCOMPARE(CurveReducer::Reduce(walkX.data(), walkY.data(), 20000, low, high, 300, {3}, &blocks), plain);
            QVERIFY(plain.size() < 300 * 6 + 60);
        }
        // A line from a deep zoom's far-off reading into the plot is cut at the edge.
        const QRectF bounds(0, 0, 100, 50);
        const auto parts = CurvePainter::Clip(QPolygonF{{-1e12, 25}, {50, 25}, {60, 30}, {500, 30}}, bounds);
        QCOMPARE(parts.size(), size_t(1));
        QCOMPARE(parts[0], (QPolygonF{{0, 25}, {50, 25}, {60, 30}, {100, 30}}));
    }
};

QTEST_MAIN(ChartViewerTest)
#include "chartviewer_test.moc"
