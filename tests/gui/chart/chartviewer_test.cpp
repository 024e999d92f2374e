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
        // The value to four digits, in white or black, whichever stands out more on the box.
        const struct { size_t curve, row; double stress; const char* markup; Qt::GlobalColor text; } cases[] = {
            {1, 4, 80.12345, "<*font,bgColor=d95f02*> Lamina # 2: 80.12 <*/font*>", Qt::black},
            {3, 3, 0.000123456, "<*font,bgColor=d62728*> Lamina # 4: 0.0001235 <*/font*>", Qt::white},
            {6, 6, 99.996, "<*font,bgColor=808000*> Lamina # 7: 100.0 <*/font*>", Qt::black}, // rounds up a digit
            {0, 2, 1234.56, "<*font,bgColor=1f77b4*> Lamina # 1: 1235 <*/font*>", Qt::white},
        };
        for (const auto& c : cases)
            curves[c.curve].stress[c.row] = c.stress;
        ShownChart shown(curves);
        CChartViewer& viewer = shown.viewer;
        const XYChart* chart = shown.chart();
        const PlotArea* plot = chart->getPlotArea();
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
            QVERIFY(box.top() >= plot->getTopY() && viewer.Dots().size() == 1 && viewer.Dots()[0].centre == point);
            QVERIFY(viewer.TrackLineTop() == point && viewer.TrackLineBottom().y() > plot->getBottomY());
            QCOMPARE(viewer.XLabel().anchor, viewer.TrackLineBottom());
            QCOMPARE(viewer.XLabel().text, QString::number(curves[c.curve].strain[c.row]));
        }
    }

    // Twenty curves crossing in another order than their own, every other one read
    // between the others' strains and the last ended short of the cursor: each curve
    // that spans its strain gets a dot at its value there, read between its readings,
    // and a box naming it in its colour and pattern. The boxes run by value from the
    // top, where the line starts, and none hides another, inside the plot when it
    // holds them, else within the chart.
    void trackLineNamesEveryCurveAtTheStrainInOrderOfValue()
    {
        std::vector<Curve> curves = ShortCurves(20);
        const auto slope = [](size_t k) { return double((k * 7) % 20 + 1) * 50; };
        for (size_t n = 0; n < 20 * 11; ++n) {
            const size_t k = n / 11;
            curves[k].strain[n % 11] = 0.2 * double(n % 11) + (k % 2 ? 0.1 : 0);
            curves[k].stress[n % 11] = slope(k) * curves[k].strain[n % 11];
        }
        curves[19].strain.resize(5); // to a strain of 0.9
        curves[19].stress.resize(5);
        for (const QSize size : {QSize(900, 600), QSize(700, 300)}) {
            ShownChart shown(curves, size.width(), size.height());
            const XYChart* chart = shown.chart();
            const PlotArea* plot = chart->getPlotArea();
            shown.viewer.TrackLineAt(chart->getXCoor(1.0));
            const std::vector<TrackLine::Label> labels = shown.viewer.ValueLabels();
            const std::vector<TrackLine::Dot> dots = shown.viewer.Dots();
            const LegendLayout legend = LegendLayout::Make(*chart);
            QVERIFY(labels.size() == 19 && dots.size() == 19 && shown.viewer.TrackLineTop() == dots[0].centre);
            for (size_t i = 0; i < labels.size(); ++i) {
                const TrackLine::Label& label = labels[i];
                const QRect box = TrackLine::LabelBounds(label);
                const size_t curve = size_t(label.text.section(':', 0, 0).mid(9).toInt() - 1);
                const LegendLayout::Entry& entry = legend.entries().at(curve);
                QCOMPARE(label.text, entry.name + ": " + label.value);
                QCOMPARE(label.value.toDouble(), slope(curve));
                QVERIFY(label.box == entry.color && label.dash == entry.dash && dots[i].color == entry.color);
                QCOMPARE(dots[i].centre, QPoint(chart->getXCoor(1.0), chart->getYCoor(slope(curve))));
                QVERIFY(box.top() >= (size.height() == 600 ? plot->getTopY() : 0) &&
                        box.bottom() <= plot->getBottomY() + 1);
                for (size_t j = 0; j < i; ++j)
                    QVERIFY2(!TrackLine::LabelBounds(labels[j]).intersects(box), qPrintable(label.text));
                if (i == 0)
                    continue;
                // Higher values first: down a column, then on in the next one.
                QVERIFY(label.value.toDouble() < labels[i - 1].value.toDouble());
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
        QVERIFY(viewer.grab().toImage() == before && viewer.RenderCount() == 1);
        // A new chart (new data or size) drops the track line and is rendered once more.
        MoveMouse(&viewer, QPoint(plot->getLeftX() + 10, y));
        shown.view.SetChartSize(640, 480);
        shown.Rebuild();
        viewer.grab();
        QVERIFY(!viewer.HasTrackLine() && viewer.RenderCount() == 2 && viewer.size() == QSize(640, 480));
    }

    // A curve is drawn in its colour, a gap never bridged; the thirteenth curve takes
    // the first one's colour, dashed, and so do the legend samples: along a level
    // stretch the colour runs on, or comes and goes.
    void curvesDrawnInTheirColourAndPattern()
    {
        std::vector<Curve> curves = ShortCurves(13);
        for (size_t k = 1; k < 12; ++k) // the others end before the level stretches
            for (double& strain : curves[k].strain)
                strain *= 0.1;
        curves[0].stress.assign(11, 100);
        curves[0].stress[5] = NoValue; // strain 1.01
        curves[12].stress.assign(11, 300);
        ShownChart shown(curves);
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
        QCOMPARE(runs(left, right, chart->getYCoor(100)), 2);
        QVERIFY(!BlueNear(image, {chart->getXCoor(1.01), chart->getYCoor(100)}, 2));
        QVERIFY(runs(left, right, chart->getYCoor(300)) > (right - left) / 15);
        const std::vector<LegendLayout::Entry> legend = LegendLayout::Make(*chart).entries();
        QVERIFY(BlueNear(image, legend.at(0).symbol.center(), 1));
        const QRect dashed = legend.at(12).symbol;
        QVERIFY(runs(dashed.left(), dashed.right(), dashed.center().y()) >= 2);
    }

    // A picture of 160 x 100 mm at 300 dpi has 3.125 times the pixels of the chart on
    // a 96-dpi screen, and its title, axis line and curves are 3.125 times as large:
    // they measure the same in millimetres.
    void pictureAt300DpiScalesTextAndLines()
    {
        std::vector<Curve> curves = ShortCurves(3);
        curves[0].stress.assign(11, 150); // level, to measure the line's thickness
        ShownChart shown(curves, 605, 378); // 160 x 100 mm at 96 dpi
        const XYChart& chart = *shown.chart();
        const QTemporaryDir dir;
        const QString path = dir.filePath("chart.png");
        QVERIFY(CChartViewer::ExportPng(chart, path, 300, QSize(1890, 1181)));
        const QImage picture(path);
        QVERIFY(picture.size() == QSize(1890, 1181) && std::abs(picture.dotsPerMeterX() - 11811) <= 1);
        const QImage screen = ChartRenderer::Render(chart);
        const auto dark = [](const QImage& image, QPoint at) { return qGray(image.pixel(at)) < 96; };
        // The title: the box of dark pixels above the legend, inside the chart's frame.
        const auto titleBox = [&](const QImage& image, double scale) {
            QRect box;
            const int frame = int(4 * scale);
            for (int y = frame; y < int(30 * scale); ++y)
                for (int x = frame; x < image.width() - frame; ++x)
                    if (dark(image, {x, y}))
                        box |= QRect(x, y, 1, 1);
            return box;
        };
        const QRect small = titleBox(screen, 1), large = titleBox(picture, 3.125);
        QVERIFY2(std::abs(large.width() / (3.125 * small.width()) - 1) < 0.05 &&
                     std::abs(large.height() / (3.125 * small.height()) - 1) < 0.15,
                 qPrintable(QString("%1x%2 against %3x%4").arg(large.width()).arg(large.height())
                                .arg(small.width()).arg(small.height())));
        // Pixels that match along nine screen pixels around a point, one way.
        const auto count = [](const QImage& image, double scale, QPointF at, QPoint step, auto matches) {
            int n = 0;
            for (int i = -int(4 * scale); i <= int(4 * scale); ++i)
                n += matches(image, (at * scale).toPoint() + i * step);
            return n;
        };
        const auto blue = [](const QImage& image, QPoint at) { return BlueNear(image, at, 0); };
        // The y axis line, two pixels on the screen, across a row between two ticks;
        // the level curve, one pixel, down a column.
        const std::vector<double> ticks = chart.yAxis()->tickValues();
        const QPointF axis(chart.getPlotArea()->getLeftX(), chart.yAxis()->pixelOf((ticks[0] + ticks[1]) / 2));
        const QPointF level(chart.getXCoor(1.0), chart.getYCoor(150));
        QVERIFY(count(screen, 1, axis, {1, 0}, dark) == 2 && count(screen, 1, level, {0, 1}, blue) <= 2);
        const int axisWidth = count(picture, 3.125, axis, {1, 0}, dark);
        const int curveWidth = count(picture, 3.125, level, {0, 1}, blue);
        QVERIFY2(std::abs(axisWidth - 6.25) <= 1 && curveWidth >= 3 && curveWidth <= 5,
                 qPrintable(QString("axis %1, curve %2").arg(axisWidth).arg(curveWidth)));
    }

    // An unload and reload: strain rises to 1.5 %, falls back to 0.5 % and rises again
    // to 2 %, in whole steps of 0.0001 %, so the legs share strains. Then the reducer
    // itself: gaps, turns and short curves.
    void longCurvesDrawnReducedTrackedInFull()
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
        // A fraction of the readings is drawn, in row order; the track line finds the
        // reading nearest the mouse among all of them.
        const std::vector<int> drawn = shown.viewer.DrawnRows()[0][0];
        QVERIFY(std::is_sorted(drawn.begin(), drawn.end()) && drawn.size() < curve.strain.size() / 5);
        const XYChart* chart = shown.chart();
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
