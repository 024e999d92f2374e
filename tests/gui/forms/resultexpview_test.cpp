// The experiment results view over specimens the engine has evaluated: the results
// list, the chart at the view's size, and the exports.
#include "forms/resultexpview.h"
#include "guitestsupport.h"

#include "controls/reportitemdelegate.h"
#include "experiment/resultstable.h"
#include "experiment/seriesbasis.h"
#include "util/trace.h"
#include "forms/chartexportdialog.h"
#include "forms/comparisonpanel.h"

#include <QComboBox>
#include <QLabel>
#include <QWheelEvent>

class ResultExpViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    CPlyforgeDoc m_doc;

    static bool Show(CResultExpView& view, int width, int height)
    {
        view.resize(width, height);
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }

private slots:
    void initTestCase()
    {
        IsolateSettings();
        m_doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/three-tensile-tests.plyforge"));
        m_doc.program_folder = m_dir.path().toStdString();
        QVERIFY(m_doc.CalculateExperiment());
    }

    // The list shows every specimen and the statistics, and exports what it shows. A
    // click on a specimen's box says so; excluded, it is greyed and its curve faded,
    // the statistics are of the others, and a modulus the range cannot give is an
    // empty, marked cell. Each specimen's row shows its curve's colour, as the legend does.
    void listsEverySpecimenAndWhatIsLeftOut()
    {
        CResultExpView view;
        QVERIFY(Show(view, 900, 700));
        view.FillResultList(&m_doc);
        view.FillResultList(&m_doc); // a second run replaces the rows
        CListCtrlReport* list = view.ResultList();
        QCOMPARE(list->GetItemCount(), 3 + 5);
        QStringList csv{QStringList(ResultsTable::kColumnTitles.begin(), ResultsTable::kColumnTitles.end()).join(',') +
                        ",Included"};
        for (int row = 0; row < 3; ++row) {
            QStringList cells;
            for (const std::string& cell : ResultsTable::Row(*m_doc.specimens[row]))
                cells << QString::fromStdString(cell);
            QCOMPARE(RowTexts(list, row), cells);
            QStringList exact;
            for (const std::string& cell : ResultsTable::Row(*m_doc.specimens[row], ResultsTable::Digits::Exact))
                exact << QString::fromStdString(cell);
            csv << exact.join(',') + ",yes";
        }
        // The statistics rows under the specimens, in the file after them.
        QCOMPARE(RowTexts(list, 3).mid(0, 4), (QStringList{"Mean", "", "", "25223.2"}));
        QCOMPARE(RowTexts(list, 5).at(0), QString("CV (%)"));
        // Three specimens give no basis values: empty cells, and the note says why.
        QCOMPARE(RowTexts(list, 6), (QStringList{"B-basis", "", "", "", "", "", ""}));
        QVERIFY(list->model()->index(7, 4).data(Qt::ToolTipRole).toString().contains("fewer than 5"));
        const QString file = QString(ReadAll((view.ExportResultsCsv(m_dir.filePath("results.csv")),
                                              m_dir.filePath("results.csv"))));
        QVERIFY2(file.startsWith(csv.join('\n') + "\nMean,,,25223.18133333333,"), qPrintable(file));
        QVERIFY(file.contains("\nSD,,,145.90922010734383,") && file.endsWith(",\n"));
        // The file keeps every digit: its modulus reads back to the run's own number.
        QCOMPARE(csv.at(1).split(',').at(6).toDouble(), m_doc.specimens[0]->modulus);

        QSignalSpy toggled(&view, &CResultExpView::SpecimenIncludedChanged);
        const QRect name = list->visualRect(list->model()->index(1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(name.left() + 10, name.center().y()));
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(toggled.at(0), (QList<QVariant>{2, false}));
        m_doc.specimens[1]->excluded = true;
        m_doc.specimens[2]->modulus_gap = "the readings never reach Elastic Max.";
        view.FillResultList(&m_doc);
        view.RefreshChart(&m_doc);
        QCOMPARE(list->model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
        const auto* delegate = qobject_cast<const ReportItemDelegate*>(list->itemDelegate());
        const auto legend = OrvaneChart::LegendLayout::Make(*view.Viewer()->GetChart()).entries();
        for (int row = 0; row < 3; ++row)
            QCOMPARE(delegate->RowSwatch(row).color(), legend.at(size_t(row)).color);
        QVERIFY(delegate->RowSwatch(1).color().alpha() < 128 && delegate->RowSwatch(3).style() == Qt::NoPen);
        // The first row's swatch is drawn in its cell, in the first curve's colour.
        const QImage rows = list->viewport()->grab().toImage();
        const QRect first = list->visualRect(list->model()->index(0, 0));
        bool blue = false;
        for (int x = first.left(); x <= first.right() && !blue; ++x)
            blue = rows.pixelColor(x, first.center().y()) == legend.at(0).color;
        QVERIFY(blue);
        QVERIFY(list->GetItemText(2, 6).isEmpty() && list->model()->index(2, 6).data(Qt::BackgroundRole).isValid());
        // Strength over #1 and #3, the modulus over #1 alone: no deviation.
        QCOMPARE(RowTexts(list, 3).at(4), GText((m_doc.specimens[0]->strength + m_doc.specimens[2]->strength) / 2));
        QCOMPARE(RowTexts(list, 3).at(6), GText(m_doc.specimens[0]->modulus));
        QVERIFY(RowTexts(list, 4).at(6).isEmpty() && RowTexts(list, 5).at(6).isEmpty());
        m_doc.specimens[1]->excluded = false;
        m_doc.specimens[2]->modulus_gap.clear();
    }

    // The chart takes the view's size and follows it. Through real mouse events: a
    // dragged rectangle zooms into it with round ticks, the wheel zooms around the
    // cursor, a double-click and Home show all again, a legend entry hides and shows
    // its curve; the elastic range is a band. Then the exports.
    // The handbook's batch of seven, one of them an outlier: the basis rows give the
    // chosen method's values, the outlier is marked and stays included.
    void showsBasisValuesAndFlagsOutliers()
    {
        CPlyforgeDoc doc;
        const double strengths[] = {107.676986, 108.960241, 116.12264, 80.2334815, 106.14557, 104.667866, 104.234953};
        for (int id = 1; id <= 7; ++id) {
            doc.specimens.push_back(std::make_unique<ExperimentSpecimen>());
            ExperimentSpecimen& s = *doc.specimens.back();
            s.id = id;
            s.valid = 1;
            s.strength = strengths[id - 1];
            s.modulus = 50 + id * 0.1;
        }
        CResultExpView view;
        QVERIFY(Show(view, 900, 700));
        view.FillResultList(&doc);
        CListCtrlReport* list = view.ResultList();
        const SeriesBasis basis = SeriesBasisOf(doc.specimens);
        QCOMPARE(list->GetItemText(10, 4), GText(basis.strength.b_basis));
        QCOMPARE(list->GetItemText(11, 6), GText(basis.modulus.a_basis));
        QVERIFY(list->model()->index(10, 4).data(Qt::ToolTipRole).toString().startsWith("Strength: "));
        QVERIFY(!list->model()->index(3, 0).data(Qt::ToolTipRole).toString().isEmpty());
        QVERIFY(list->model()->index(2, 0).data(Qt::ToolTipRole).toString().isEmpty());
        QCOMPARE(list->model()->index(3, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        const auto* line = view.findChild<QLabel*>("BasisLine");
        QVERIFY(line && line->text().contains(QString::fromStdString(basis.strength.note)));
    }

    // A project with a laminate and its coupons: the prediction beside the series in a
    // table, for the direction and criterion chosen, and its lines on the chart.
    void predictsBesideTheSeries()
    {
        CPlyforgeDoc doc;
        doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/cross-ply-coupons.plyforge"));
        doc.program_folder = m_dir.path().toStdString();
        CResultExpView view;
        QVERIFY(Show(view, 1000, 900));
        QVERIFY(doc.CalculateExperiment());
        view.FillResultList(&doc);
        auto* panel = view.findChild<CComparisonPanel*>("ComparisonPanel");
        QVERIFY(panel && panel->isVisible() && !panel->Comparison());
        QVERIFY(view.findChild<QLabel*>("ComparisonNote")->text().contains("Calculate the laminate"));
        Trace discard = Trace::Discard();
        QVERIFY(doc.CalculateTheory(discard));
        view.FillResultList(&doc);
        view.RefreshChart(&doc);
        QVERIFY(panel->Comparison());
        const SeriesComparison expected = CompareSeries(doc.laminate, doc.failure, doc.specimens,
                                                        SeriesComparison::Direction::X, FailureCriterion::TsaiWu);
        QCOMPARE(panel->Table()->GetItemText(0, 1), GText(expected.predicted_modulus));
        QCOMPARE(panel->Table()->GetItemText(2, 1), GText(expected.lpf));
        QCOMPARE(view.ChartView().Names().back(), std::string("Last-ply failure (laminate)"));
        QCOMPARE(view.ChartView().Reference().back(), true);
        // Across the fibres of the cross-ply the same laminate; another criterion, another failure stress.
        panel->CriterionBox()->setCurrentIndex(static_cast<int>(FailureCriterion::MaxStrain));
        QCOMPARE(panel->Comparison()->criterion, FailureCriterion::MaxStrain);
        panel->DirectionBox()->setCurrentIndex(1);
        QCOMPARE(panel->Comparison()->direction, SeriesComparison::Direction::Y);
        QCOMPARE(view.ChartView().Names().size(), doc.specimens.size() + 2);
        // A series alone has nothing to compare with: no panel.
        view.FillResultList(&m_doc);
        QVERIFY(!panel->isVisible());
    }

    void chartOnScreenZoomsHidesCurvesAndExports()
    {
        CResultExpView view;
        QVERIFY(Show(view, 1000, 800));
        view.RefreshChart(&m_doc);
        const int width = view.ChartView().ChartWidth();
        QVERIFY(width > 600);
        OrvaneChart::CChartViewer* viewer = view.Viewer();
        const auto chart = [&] { return viewer->GetChart(); };
        const auto at = [&](double x, double y) { return QPoint(chart()->getXCoor(x), chart()->getYCoor(y)); };
        double low = 0, high = 0;
        QVERIFY(chart()->xBand(low, high) && low == 0.1 && high == 0.3);
        const double fullX = chart()->xAxis()->maxValue();
        QTest::mousePress(viewer, Qt::LeftButton, {}, at(0.2, 100));
        QTest::mouseMove(viewer, at(0.6, 300));
        QTest::mouseRelease(viewer, Qt::LeftButton, {}, at(0.6, 300));
        const OrvaneChart::Axis* x = chart()->xAxis();
        QVERIFY(std::abs(x->minValue() - 0.2) < 0.01 && std::abs(x->maxValue() - 0.6) < 0.01);
        for (const double tick : x->tickValues())
            QVERIFY(std::abs(tick / x->tickStep() - std::round(tick / x->tickStep())) < 1e-9);
        QVERIFY(x->tickValues().size() >= 4);
        const double before = x->maxValue() - x->minValue();
        QWheelEvent wheel(at(0.4, 200), viewer->mapToGlobal(at(0.4, 200)), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewer, &wheel);
        QVERIFY(std::abs(chart()->xAxis()->maxValue() - chart()->xAxis()->minValue() - 0.8 * before) < 1e-9);
        QTest::mouseDClick(viewer, Qt::LeftButton, {}, at(0.4, 200));
        QCOMPARE(chart()->xAxis()->maxValue(), fullX);
        QTest::mousePress(viewer, Qt::LeftButton, {}, at(0.2, 100));
        QTest::mouseMove(viewer, at(0.6, 300));
        QTest::mouseRelease(viewer, Qt::LeftButton, {}, at(0.6, 300));
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(chart()->xAxis()->maxValue(), fullX);
        const auto entries = OrvaneChart::LegendLayout::Make(*chart()).entries();
        QTest::mouseClick(viewer, Qt::LeftButton, {}, entries.at(1).symbol.center());
        QCOMPARE(view.ChartView().Hidden(), (std::vector<bool>{false, true}));
        QVERIFY(chart()->getLayerByZ(1)->getDataSetByZ(0)->hidden());
        QTest::mouseClick(viewer, Qt::LeftButton, {}, entries.at(1).symbol.center());
        QCOMPARE(view.ChartView().Hidden(), (std::vector<bool>{false, false}));

        view.resize(1300, 800);
        QTRY_VERIFY(chart()->getWidth() > width);
        QCOMPARE(chart()->getLayerCount(), 3);
        // Every curve, its reduced drawing keeping the two readings the modulus was taken from.
        for (int k = 0; k < 3; ++k) {
            const ExperimentSpecimen& s = *m_doc.specimens[size_t(k)];
            QCOMPARE(chart()->getLayerByZ(k)->xData(), s.strain_series);
            const ChordReadings chord = FindChordReadings(s.strain_series, m_doc.elastic_min, m_doc.elastic_max);
            QCOMPARE(view.ChartView().KeepIndices().at(size_t(k)), (std::vector<int>{chord.low, chord.high}));
        }
        for (const char* name : {"chart.png", "chart.svg"})
            QVERIFY(view.ExportChartImage(m_dir.filePath(name)));
        QVERIFY(QImage(m_dir.filePath("chart.png")).width() > width);
        QVERIFY(ReadAll(m_dir.filePath("chart.svg")).contains(("<title>" + chart()->title()).c_str()));
        // At a size asked for: 100 x 60 mm at 300 dpi is 1181 x 709 pixels, and says so.
        // The dialog starts from the chart's size, then from the last choice.
        ChartExportDialog size(QSize(width, 500));
        QVERIFY(size.PixelSize() == QSize(width, 500) && size.Dpi() == 96);
        size.Choose(1, 100, 60, 300);
        QCOMPARE(size.PixelSize(), QSize(1181, 709));
        size.accept();
        const ChartExportDialog again(QSize(640, 480));
        QVERIFY(again.PixelSize() == QSize(1181, 709) && again.Dpi() == 300);
        QVERIFY(view.ExportChartImage(m_dir.filePath("sized.png"), size.PixelSize(), size.Dpi()));
        const QImage sized(m_dir.filePath("sized.png"));
        QVERIFY(sized.size() == QSize(1181, 709) && std::abs(sized.dotsPerMeterX() - 11811) <= 1);
        // A drawing of 160 x 100 mm: the chart as a 96-dpi screen shows it at that size.
        QVERIFY(view.ExportChartImage(m_dir.filePath("sized.svg"), QSize(1890, 1181), 300));
        const QByteArray svg = ReadAll(m_dir.filePath("sized.svg"));
        QVERIFY2(svg.contains("width=\"160.07") && svg.contains("height=\"100.01") && svg.contains("viewBox=\"0 0 605 378\""),
                 svg.left(600).constData());
        QCOMPARE(view.ChartView().ChartWidth(), chart()->getWidth()); // the screen's size stays
    }
};

QTEST_MAIN(ResultExpViewTest)
#include "resultexpview_test.moc"
