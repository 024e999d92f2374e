// The chart CChartView builds: the placeholder, the curves in the series colours and
// patterns, axis scales that end on round labelled values and cover the data, and the
// legend.
#include "chart/chartview.h"
#include "guitestsupport.h"

#include "app/applook.h"
#include "chart/chartpen.h"

using namespace OrvaneChart;

namespace {

// An sRGB channel as linear light.
double Linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

// WCAG contrast ratio of two colours.
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// CIE 1976 colour difference (Euclidean in L*a*b*, D65): about 2.3 is just noticeable,
// 25 clearly another colour.
double ColourDistance(const QColor& a, const QColor& b)
{
    const auto lab = [](const QColor& c) {
        const double r = Linear(c.redF()), g = Linear(c.greenF()), bl = Linear(c.blueF());
        const auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
        const double x = f((0.4124 * r + 0.3576 * g + 0.1805 * bl) / 0.95047);
        const double y = f(0.2126 * r + 0.7152 * g + 0.0722 * bl);
        const double z = f((0.0193 * r + 0.1192 * g + 0.9505 * bl) / 1.08883);
        return std::array<double, 3>{116 * y - 16, 500 * (x - y), 200 * (y - z)};
    };
    const auto p = lab(a), q = lab(b);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

} // namespace

class ChartViewTest : public QObject {
    Q_OBJECT

    static std::unique_ptr<XYChart> Build(const CChartView& view)
    {
        std::unique_ptr<XYChart> chart = view.CreateChart();
        chart->xAxis()->setTickDensity(75);
        chart->layout();
        return chart;
    }

private slots:
    void initTestCase() { IsolateSettings(); }

    void placeholderDrawsAndEmptyDataIsRefused()
    {
        CChartView view;
        view.Reset();
        CChartViewer viewer; // one empty curve, drawn without tripping over the missing data
        viewer.SetChart(view.CreateChart());
        viewer.TrackLineAt(150);
        QVERIFY(!viewer.grab().isNull() && !viewer.HasTrackLine());
        const std::vector<std::string> names = view.Names();
        QVERIFY(!view.SetData({}, {"ignored"}));
        QCOMPARE(view.Names(), names);
    }

    // Every colour stands out on the white plot and on the dark look's lists, far from
    // every other; after the last colour the curves take the colours again, dashed,
    // then dotted, and the legend shows each curve as it is drawn.
    void paletteThenPatternsTellCurvesApart()
    {
        QVERIFY(SERIES_COLORS.size() >= 12);
        const QPalette light = QApplication::palette();
        AppLook::Apply(216); // Office 2007 (Black Style)
        const QColor dark = QApplication::palette().color(QPalette::Base);
        QApplication::setPalette(light);
        for (size_t a = 0; a < SERIES_COLORS.size(); ++a) {
            const QColor colour = ToQColor(SERIES_COLORS[a]);
            QVERIFY2(Contrast(colour, Qt::white) >= 3 && Contrast(colour, dark) >= 3, qPrintable(colour.name()));
            for (size_t b = 0; b < a; ++b)
                QVERIFY2(ColourDistance(colour, ToQColor(SERIES_COLORS[b])) >= 25,
                         qPrintable(colour.name() + " " + ToQColor(SERIES_COLORS[b]).name()));
        }

        const size_t count = 2 * SERIES_COLORS.size() + 2;
        CChartView view;
        ShowCurves(view, ShortCurves(count), 1400, 700);
        view.SetKeepIndices({{}, {4, 7}}); // readings the second curve's drawing keeps
        const std::unique_ptr<XYChart> chart = Build(view);
        QCOMPARE(chart->getLayerCount(), int(count));
        QCOMPARE(chart->getLayerByZ(1)->getDataSetByZ(0)->keepIndices(), (std::vector<int>{4, 7}));
        const LegendLayout legend = LegendLayout::Make(*chart);
        for (size_t k = 0; k < count; ++k) {
            const DataSet* dataSet = chart->getLayerByZ(int(k))->getDataSetByZ(0);
            QCOMPARE(dataSet->getDataColor(), SERIES_COLORS[k % SERIES_COLORS.size()]);
            const LineDash dash = k < 12 ? LineDash::Solid : k < 24 ? LineDash::Dashed : LineDash::Dotted;
            QCOMPARE(dataSet->dash(), dash);
            const LegendLayout::Entry& entry = legend.entries().at(k);
            QCOMPARE(entry.color, ToQColor(dataSet->getDataColor()));
            QCOMPARE(entry.SamplePen().dashPattern(), CurvePen(0, entry.SamplePen().widthF(), dash).dashPattern());
        }
        // Specimens left out are faded, in their own colour and pattern.
        view.SetDashed({false, true});
        const std::unique_ptr<XYChart> faded = Build(view); // held: its data sets go with it
        const DataSet* left = faded->getLayerByZ(1)->getDataSetByZ(0);
        QVERIFY(left->faded() && left->dash() == LineDash::Solid);
        QCOMPARE(ToQColor(left->drawnColor()).rgb(), ToQColor(SERIES_COLORS[1]).rgb());
        QVERIFY(ToQColor(left->drawnColor()).alpha() < 128);
    }

    void axisScalesRoundAndCoverTheData()
    {
        // Noise a hair past zero and past 2 % does not earn a whole extra tick, yet the
        // axes reach the readings; the scales span the plot area, y upwards.
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData({{0, 0.5, 1.0, 2.0003}, {-0.2, 150, 300, 448}}, {"Lamina # 1"}));
        view.SetChartSize(500, 450);
        std::unique_ptr<XYChart> chart = Build(view);
        const Axis* x = chart->xAxis();
        const Axis* y = chart->yAxis();
        const PlotArea* plot = chart->getPlotArea();
        QCOMPARE((std::vector<double>{x->minValue(), x->maxValue(), x->tickStep(), x->tickValues().back(),
                                      y->minValue(), y->tickValues().front()}),
                 (std::vector<double>{0, 2.0003, 0.5, 2, -0.2, 0}));
        QVERIFY(!std::signbit(y->tickValues().front())); // labelled "0", not "-0"
        QVERIFY(y->maxValue() >= 448);
        QCOMPARE((QList<int>{chart->getXCoor(0), chart->getXCoor(2.0003), chart->getYCoor(y->maxValue()),
                             chart->getYCoor(-0.2)}),
                 (QList<int>{plot->getLeftX(), plot->getRightX(), plot->getTopY(), plot->getBottomY()}));
        // Five to ten labelled ticks at round steps, ending at the first round value
        // past the data: 1.4 ends at 1.4 (not 2), 448 at 450.
        QVERIFY(view.SetData({{0, 0.7, 1.4}, {0, 200, 448}}, {"Lamina # 1"}));
        view.SetChartSize(900, 600);
        chart = Build(view);
        for (const Axis* axis : {chart->xAxis(), chart->yAxis()}) {
            const size_t labels = axis->tickValues().size();
            QVERIFY2(labels >= 5 && labels <= 10, qPrintable(QString::number(labels)));
            QVERIFY(axis->isLabelledTick(int(labels) - 1));
        }
        QCOMPARE(chart->xAxis()->maxValue(), 1.4);
        QCOMPARE(chart->yAxis()->maxValue(), 450.0);
    }

    // An envelope: one unit the same length on both axes, at any size, the data inside.
    void equalScaleKeepsTheShape()
    {
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData({{-1300, 400, 900, -1300}, {-1000, 450, -300, -1000}}, {"Tsai-Wu"}));
        view.SetEqualScale(true);
        for (const QSize size : {QSize(900, 600), QSize(420, 300), QSize(300, 700)}) {
            view.SetChartSize(size.width(), size.height());
            std::unique_ptr<XYChart> chart = Build(view);
            const Axis* x = chart->xAxis();
            const Axis* y = chart->yAxis();
            const PlotArea* plot = chart->getPlotArea();
            const double xPer = (x->maxValue() - x->minValue()) / plot->getWidth();
            const double yPer = (y->maxValue() - y->minValue()) / plot->getHeight();
            QVERIFY2(std::abs(xPer / yPer - 1) < 1e-9, qPrintable(QString("%1 %2").arg(xPer).arg(yPer)));
            QVERIFY(x->minValue() <= -1300 && x->maxValue() >= 900 && y->minValue() <= -1000 && y->maxValue() >= 450);
        }
    }

    // One line when wide; more rows when narrow, still clear of the plot and the edge.
    // Twenty names in a small chart move the plot down rather than shrink past reading.
    void legendNeverClipped()
    {
        {
            CChartView many;
            ShowCurves(many, ShortCurves(20), 660, 380);
            const std::unique_ptr<XYChart> chart = Build(many);
            const LegendLayout legend = LegendLayout::Make(*chart);
            QVERIFY(legend.rows() >= 3 && legend.font().pointSizeF() >= 7);
            QVERIFY(legend.bounds().bottom() + 7 < chart->getPlotArea()->getTopY());
            QCOMPARE(chart->getPlotArea()->getBottomY(), 380 - 70);
        }
        CChartView view;
        ShowCurves(view, ShortCurves(8));
        for (const int width : {1200, 780, 520}) {
            view.SetChartSize(width, 420);
            const std::unique_ptr<XYChart> chart = Build(view);
            const LegendLayout legend = LegendLayout::Make(*chart);
            QCOMPARE(legend.entries().size(), size_t(8));
            QVERIFY(width == 1200 ? legend.rows() == 1 : legend.rows() >= 2);
            QVERIFY(legend.bounds().right() < width);
            QVERIFY(legend.bounds().bottom() < chart->getPlotArea()->getTopY());
        }
    }
};

QTEST_MAIN(ChartViewTest)
#include "chartview_test.moc"
