// The chart CChartView builds: the placeholder, the curves in the series colours,
// axis scales that end on round labelled values, and the legend.
#include "chart/chartview.h"
#include "guitestsupport.h"

using namespace OrvaneChart;

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

    // No white curve on the white plot; the ninth curve takes the first colour again.
    void curvesInSeriesColoursWrappingAround()
    {
        QVERIFY(std::find(SERIES_COLORS.begin(), SERIES_COLORS.end(), Color(0xffffff)) == SERIES_COLORS.end());
        CChartView view;
        const std::vector<Curve> curves = ShortCurves(10);
        ShowCurves(view, curves);
        const std::unique_ptr<XYChart> chart = view.CreateChart();
        QCOMPARE(chart->getLayerCount(), 10);
        view.SetKeepIndices({{}, {4, 7}}); // readings the second curve's drawing keeps
        QCOMPARE(view.CreateChart()->getLayerByZ(1)->getDataSetByZ(0)->keepIndices(), (std::vector<int>{4, 7}));
        for (size_t k = 0; k < curves.size(); ++k) {
            const LineLayer* layer = chart->getLayerByZ(int(k));
            const DataSet* dataSet = layer->getDataSetByZ(0);
            QCOMPARE(layer->getDataSetCount(), 1);
            QCOMPARE(dataSet->getDataColor(), SERIES_COLORS[k % 8]);
            QCOMPARE(dataSet->getDataName(), "Lamina # " + std::to_string(k + 1));
            QCOMPARE(layer->xData(), curves[k].strain);
            QCOMPARE(dataSet->values(), curves[k].stress);
        }
    }

    void axisScalesRoundAndEndPastTheData()
    {
        // Noise a hair past zero and past 2 % does not earn a whole extra tick; the
        // scales span the plot area, y upwards.
        CChartView view;
        view.SetLayout(1);
        QVERIFY(view.SetData({{0, 0.5, 1.0, 2.0003}, {-0.2, 150, 300, 448}}, {"Lamina # 1"}));
        view.SetChartSize(500, 450);
        std::unique_ptr<XYChart> chart = Build(view);
        const Axis* x = chart->xAxis();
        const PlotArea* plot = chart->getPlotArea();
        QCOMPARE((std::vector<double>{x->minValue(), x->maxValue(), x->tickStep(), chart->yAxis()->minValue()}),
                 (std::vector<double>{0, 2, 0.5, 0}));
        QVERIFY(chart->yAxis()->maxValue() >= 448);
        QCOMPARE((QList<int>{chart->getXCoor(0), chart->getXCoor(2), chart->getYCoor(chart->yAxis()->maxValue()),
                             chart->getYCoor(0)}),
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

    // One line when wide; more rows when narrow, still clear of the plot and the edge.
    void legendNeverClipped()
    {
        CChartView view;
        ShowCurves(view, ShortCurves(8));
        for (const int width : {1200, 780, 520}) {
            view.SetChartSize(width, 420);
            const std::unique_ptr<XYChart> chart = Build(view);
            const LegendLayout legend = LegendLayout::Make(*chart);
            QCOMPARE(legend.entries().size(), size_t(8));
            QCOMPARE(legend.entries()[7].name, QString("Lamina # 8"));
            QCOMPARE(legend.entries()[7].color, QColor(QRgb(SERIES_COLORS[7])));
            QVERIFY(width == 1200 ? legend.rows() == 1 : legend.rows() >= 2);
            QVERIFY(legend.bounds().right() < width);
            QVERIFY(legend.bounds().bottom() < chart->getPlotArea()->getTopY());
        }
    }
};

QTEST_MAIN(ChartViewTest)
#include "chartview_test.moc"
