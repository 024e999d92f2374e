// The ribbon's Calculate commands through the real widgets: the form on screen
// committed, the ribbon's checks and their messages, the run, the results views
// refreshed and the log pane.
#include "app/mainframe.h"
#include "guitestsupport.h"

#include "app/reportcommands.h"
#include "controls/listctrlreport.h"
#include "doc/projectwriter.h"
#include "experiment/seriesbasis.h"
#include "forms/formtext.h"
#include "forms/laminadlg.h"
#include "forms/plyinputs.h"
#include "forms/useasplydatadlg.h"
#include "model/projectdocument.h"
#include "theory/lamina.h"
#include "forms/loadcasebar.h"

#include <QComboBox>

class MainFrameCalculateTest : public QObject, AppDriver {
    Q_OBJECT

    QTemporaryDir m_logDir;

    CRichEditCustomCtrl* Log() const { return Frame()->LogView()->RichEdit(); }
    template <class View> View* Find() const { return Frame()->findChild<View*>(); }
    QStringList Calculate(bool experiment = false)
    {
        sink.Clear();
        Press(experiment ? "ID_EXPERIMT_CALCULATE" : "ID_THEORY_CALCULATE");
        return sink.Messages();
    }
    // An example project, its log kept in the test's folder, with a record on screen.
    void Open(const char* example, const QString& record)
    {
        QVERIFY(Frame()->OpenProject(PLYFORGE_EXAMPLES + QString("/") + example));
        Doc()->program_folder = m_logDir.path().toStdString();
        Click(record);
    }

private slots:
    void initTestCase() { IsolateSettings(); }
    void init()
    {
        Start();
        Frame()->SetTraceFile(nullptr); // kept out of the test's output
    }
    void cleanup() { Stop(); }

    void theoryRunShowsResultsBesideTheFormAndItsLog()
    {
        Open("quasi-isotropic.plyforge", "Theoretical Lamina #8");
        // Before any run the export says so, with no dialog first.
        Frame()->findChild<QAction*>("ID_FILE_EXPORT_LOG")->trigger();
        QCOMPARE(sink.Messages().size(), 1);
        sink.Clear();
        MainView()->LaminaDlg()->LaminaGrid()->SetItemText(0, 2, "30"); // committed by the run
        QCOMPARE(Calculate(), QStringList());
        auto* results = Find<CResultTheoryView>();
        QVERIFY(results);
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString(captions::kTheoryResult));
        QCOMPARE(Frame()->TabArea()->Groups().size(), 2); // beside the main view
        QCOMPARE(results->LaminaeList()->GetItemText(7, 5), QString("30"));
        // A load case typed under the laminate is the project's, and its plies' stresses show.
        LoadCaseBar* load = results->LoadBar();
        load->Edit(0)->setText("1e3");
        load->Edit(4)->setText("x");
        QVERIFY(!load->Apply() && !Doc()->load_case);
        QCOMPARE(sink.Messages(), QStringList{"Please enter a number.\nLoad case, My: \"x\""});
        sink.Clear();
        load->Edit(4)->clear(); // an empty box is 0
        QTest::keyClick(load->Edit(4), Qt::Key_Return);
        QVERIFY(Doc()->load_case && Doc()->load_case->N[0] == 1000 && Frame()->Files()->IsModified());
        QVERIFY(results->LaminateBox()->toPlainText().contains("Load: Nx=1000 Ny=0"));
        // The log pane shows this run, headings coloured; File exports it.
        QVERIFY(Log()->toPlainText().startsWith("\nStart Calculation\n\n##Input data"));
        QCOMPARE(Log()->LineColor(3), Log()->MarkedColor());
        const QString copy = m_logDir.filePath("copy of log.txt");
        QVERIFY(Frame()->Files()->ExportLog(Doc(), copy) && Frame()->Files()->ExportLog(Doc(), copy)); // replaced
        QCOMPARE(QString(ReadAll(copy)), Log()->toPlainText() + '\n');
        // With the log unwritable the results still refresh, and the log pane says so in one line.
        const QString missing = m_logDir.filePath("missing");
        Doc()->program_folder = missing.toStdString();
        MainView()->LaminaDlg()->LaminaGrid()->SetItemText(0, 2, "60");
        QCOMPARE(Calculate(), QStringList());
        QCOMPARE(results->LaminaeList()->GetItemCount(), 8);
        QCOMPARE(results->LaminaeList()->GetItemText(7, 5), QString("60"));
        const QString line = Log()->toPlainText();
        QVERIFY2(line.contains(missing + "/TheoreticalLog.txt") && !line.contains('\n'), qPrintable(line));
        // The run still has its log: File exports it where it can be written.
        QVERIFY(Frame()->Files()->ExportLog(Doc(), copy) && ReadAll(copy).startsWith("\nStart Calculation"));
    }

    void ribbonChecksStopTheRunWithTheirMessages()
    {
        Open("quasi-isotropic.plyforge", "Theoretical Lamina #1");
        Doc()->laminate.FindLamina(2)->S_scale_factor = 0; // what only the engine finds
        const auto text = [](const char* message) { return QStringList{QString::fromUtf8(message)}; };
        const QStringList number = text(msg::kEnterNumber), positive = text(msg::kScaleFactorPositive);
        // A leading blank parses; a refused factor is never stored.
        const std::pair<const char*, QStringList> cases[] = {
            {" 1e-2", text(msg::kCheckScaleFactor)},
            {"abc", QStringList{number[0] + "\nScale factor: \"abc\""}},
            {"0", positive}};
        for (const auto& [factor, messages] : cases) {
            Ribbon("ID_THEORY_CM_SCALE_FACTOR")->setText(factor);
            QCOMPARE(Calculate(), messages);
            QCOMPARE(Doc()->laminate.compliance_scale_factor, 0.01);
        }
        QVERIFY(!Find<CResultTheoryView>()); // a failed run shows no results
        // Three laminae configured, two with records and one of them on screen.
        Apply("3");
        for (const char* item : {"Theoretical Lamina #1", "Theoretical Lamina #2", "Theoretical Lamina #1"})
            Click(item);
        QCOMPARE(Calculate(), text(msg::kLaminaeIncomplete));
        Open("three-tensile-tests.plyforge", "Experimental Lamina #1");
        // A reading that is not a number stops the run, named once, and is kept.
        MainView()->ExperimentDlg()->Grid()->SetItemText(3, 2, "4O.5");
        QCOMPARE(Calculate(true), QStringList{"실수가 아닌 데이터가 있습니다11\nSpecimen 1, row 4, Stress: \"4O.5\""});
        QVERIFY(!Find<CResultExpView>() && Doc()->FindSpecimen(1)->unread_cells.size() == 1);
        MainView()->ExperimentDlg()->Grid()->SetItemText(3, 2, "40.5");
        Ribbon("ID_EXPERIMT_EMIN")->setText("low");
        QCOMPARE(Calculate(true), QStringList{number[0] + "\nElastic range, Min.: \"low\""});
        QVERIFY(!Find<CResultExpView>() && Doc()->elastic_min == 0.1); // no older bound stands in
        Ribbon("ID_EXPERIMT_EMIN")->setText("0.3");
        QCOMPARE(Calculate(true), text(msg::kElasticMaxGreater));
    }

    // Results belong to the inputs they came from: a typed reading or another modulus
    // method marks them out of date (the chart grey), a typed scale factor the
    // laminate's; Calculate clears the mark, and the load case never sets it.
    void resultsSayWhenTheInputsChanged()
    {
        Open("three-tensile-tests.plyforge", "Experimental Lamina #1");
        QCOMPARE(Calculate(true), QStringList());
        auto* series = Find<CResultExpView>();
        const auto stale = [](auto* view) { return !view->StateBanner()->isHidden(); };
        QVERIFY(!stale(series) && !series->ChartGreyed());
        CListCtrlReport* grid = MainView()->ExperimentDlg()->Grid();
        const QString typed = "1000";
        grid->EditCell(1, 0, &typed);
        grid->EndCellEdit();
        QVERIFY(stale(series) && series->ChartGreyed());
        QCOMPARE(series->StateBanner()->text(), QString("Inputs changed since the last Calculate: press Calculate"));
        QCOMPARE(Calculate(true), QStringList());
        QVERIFY(!stale(series) && !series->ChartGreyed());
        auto* modulus = Ribbon<QComboBox>("ID_EXPERIMT_MODULUS");
        modulus->setCurrentIndex(1);
        Q_EMIT modulus->activated(1);
        QVERIFY(stale(series) && Doc()->modulus_method == ModulusMethod::Regression);
        Press("ID_EDIT_UNDO"); // back to the inputs of the results: current again
        QVERIFY(Doc()->modulus_method == ModulusMethod::Chord && modulus->currentIndex() == 0 && !stale(series));

        Open("quasi-isotropic.plyforge", "Theoretical Lamina #1");
        QCOMPARE(Calculate(), QStringList());
        auto* laminate = Find<CResultTheoryView>();
        QVERIFY(!stale(laminate));
        laminate->LoadBar()->Edit(0)->setText("100");
        QVERIFY(laminate->LoadBar()->Apply() && !stale(laminate));
        QTest::keyClicks(Ribbon("ID_THEORY_CM_SCALE_FACTOR"), "5");
        QVERIFY(stale(laminate) && Doc()->laminate.compliance_scale_factor == 0.015);
        QCOMPARE(Calculate(), QStringList());
        QVERIFY(!stale(laminate));
    }

    void impossibleInputStopsTheRunNamingLaminaAndField()
    {
        Open("quasi-isotropic.plyforge", "Theoretical Lamina #3");
        MainView()->LaminaDlg()->LaminaGrid()->SetItemText(0, 1, "-0.125"); // committed by the run
        QCOMPARE(Calculate(),
                 QStringList{"Theoretical Lamina #3: the thickness must be greater than 0 (it is -0.125)."});
        QVERIFY(!Find<CResultTheoryView>());
    }

    // A standard's preset sets the range, typing another shows Custom; the modulus
    // choice is the run's and the project's.
    void rangePresetsAndModulusChoice()
    {
        Open("three-tensile-tests.plyforge", "Experimental Lamina #1");
        auto* preset = Ribbon<QComboBox>("ID_EXPERIMT_RANGE_PRESET");
        QCOMPARE(preset->currentText(), QString::fromUtf8("ASTM D3039 (0.1\u20130.3 %)"));
        preset->setCurrentIndex(1);
        Q_EMIT preset->activated(1);
        QCOMPARE(Ribbon("ID_EXPERIMT_EMIN")->text() + " " + Ribbon("ID_EXPERIMT_EMAX")->text(), QString("0.05 0.25"));
        QVERIFY(Frame()->Files()->IsModified());
        QTest::keyClicks(Ribbon("ID_EXPERIMT_EMAX"), "1");
        QCOMPARE(preset->currentText(), QString("Custom"));
        auto* modulus = Ribbon<QComboBox>("ID_EXPERIMT_MODULUS");
        modulus->setCurrentIndex(1);
        QCOMPARE(Calculate(true), QStringList());
        QVERIFY(Doc()->modulus_method == ModulusMethod::Regression && Doc()->elastic_max == 0.251);
        QVERIFY(Log()->toPlainText().contains("Modulus method=Regression"));
    }

    void experimentRunFillsTheOpenResultsView()
    {
        Open("three-tensile-tests.plyforge", "Experimental Lamina #1");
        auto* results = Frame()->Show<CResultExpView>(kExperimentResultTemplate);
        QVERIFY(results);
        // A width that cannot be read stops the run, naming it; the older width is not used.
        const double width = Doc()->FindSpecimen(1)->width;
        MainView()->ExperimentDlg()->WidthEdit()->setText("abc");
        QCOMPARE(Calculate(true), QStringList{"Please enter a number.\nSpecimen 1, Width: \"abc\""});
        QVERIFY(Doc()->FindSpecimen(1)->width == width && results->ResultList()->GetItemCount() == 0);
        MainView()->ExperimentDlg()->WidthEdit()->setText("20"); // committed by the run
        // Specimen 2 loses its readings: its evaluation fails, and it is listed all the same.
        ExperimentSpecimen* second = Doc()->FindSpecimen(2);
        second->load_series.clear();
        second->strain_series.clear();
        second->stress_series.clear();
        QCOMPARE(Calculate(true), QStringList());
        QCOMPARE(Find<CResultExpView>(), results);
        QCOMPARE(results->ResultList()->GetItemCount(), 3 + 5); // and the statistics and basis rows
        QCOMPARE(results->ResultList()->GetItemText(0, 1), QString("20"));
        QCOMPARE(results->ResultList()->GetItemText(1, 6), QString("0"));
        QCOMPARE(results->ResultList()->GetItemText(2, 6), GText(Doc()->specimens[2]->modulus));
        QCOMPARE(results->ChartView().Names(), (std::vector<std::string>{"Lamina # 1", "Lamina # 2", "Lamina # 3"}));
        QCOMPARE(Log()->LineColor(int(Log()->toPlainText().split('\n').indexOf("##id:3"))), Log()->MarkedColor());
        QVERIFY(Log()->toPlainText().contains("##Statistics\nIncluded specimens=2\n"));
        // Leaving a specimen out is a change of the project, shown at once.
        Frame()->Files()->ClearModified();
        results->ResultList()->model()->setData(results->ResultList()->model()->index(2, 0), Qt::Unchecked,
                                                Qt::CheckStateRole);
        QVERIFY(Doc()->specimens[2]->excluded && Frame()->Files()->IsModified());
        QCOMPARE(results->ChartView().Dashed(), (std::vector<bool>{false, false, true}));
        // No export replaces the project's own file: refused with the reason, the file whole.
        const QString project = m_logDir.filePath("project.plyforge");
        QVERIFY(Frame()->SaveProject(project));
        const QByteArray saved = ReadAll(project);
        sink.Clear();
        QVERIFY(!results->ExportResultsCsv(project) && !results->ExportChartImage(project) &&
                !Frame()->Files()->ExportLog(Doc(), project) && !Frame()->Reports()->ExportPdfTo(project));
        QCOMPARE(sink.Messages().size(), 4);
        QVERIFY2(sink.Messages()[0].endsWith("it is the input file " + project + " itself"), qPrintable(sink.Messages()[0]));
        QCOMPARE(ReadAll(project), saved);
    }

    // "Use as ply data": the series' B-basis becomes lamina 1's Xt with its source, the
    // form showing the lamina follows it, one Undo takes it back, and a typed value
    // loses the source. The dialog offers the moduli only for a ply-constants lamina.
    void seriesBasisBecomesPlyData()
    {
        Open("cross-ply-coupons.plyforge", "Experimental Lamina #1");
        QCOMPARE(Calculate(true), QStringList());
        Click("Theoretical Lamina #1");
        CUseAsPlyDataDlg dialog(*Doc());
        dialog.FieldBox()->setCurrentIndex(dialog.FieldBox()->findData("Xt"));
        const auto choice = dialog.Chosen();
        QVERIFY(choice && choice->statistic == "b_basis" && choice->n == 6);
        QCOMPARE(choice->value, SeriesBasisOf(Doc()->specimens).strength.b_basis);
        QVERIFY(dialog.FieldBox()->findData("E1") >= 0);
        dialog.FieldBox()->setCurrentIndex(dialog.FieldBox()->findData("E1"));
        QVERIFY(!dialog.StatisticBox()->isEnabled() && dialog.Chosen()->statistic == "mean");

        Frame()->Project()->UseAsPlyData(1, "Xt", choice->value, {"cross-ply-coupons.plyforge", "b_basis", 6, "2026-12-08"});
        CListCtrlReport* strengths = MainView()->LaminaDlg()->PlyInputs()->StrengthGrid();
        QCOMPARE(strengths->GetItemText(0, 0), FormNumberText(choice->value));
        QVERIFY(strengths->model()->index(0, 0).data(Qt::ToolTipRole).toString().contains("B-basis of the series"));
        QCOMPARE(Doc()->laminate.FindLamina(1)->sources.at("Xt").n, 6);
        QVERIFY(Frame()->Project()->IsModified());
        QVERIFY(ProjectWriter::Serialize(*Doc()).find("\"source\": { \"Xt\": { \"series\": "
                                                      "\"cross-ply-coupons.plyforge\", \"statistic\": \"b_basis\"") !=
                std::string::npos);
        Press("ID_EDIT_UNDO");
        QCOMPARE(Doc()->laminate.FindLamina(1)->strength.Xt, 1500.0);
        QVERIFY(Doc()->laminate.FindLamina(1)->sources.empty());
        QCOMPARE(strengths->GetItemText(0, 0), QString("1500"));
        Press("ID_EDIT_REDO");
        QCOMPARE(Doc()->laminate.FindLamina(1)->strength.Xt, choice->value);
        // The theory log says where the value came from.
        QCOMPARE(Calculate(), QStringList());
        QVERIFY(Log()->toPlainText().contains(
            "##Values from test series\nXt=576.719: B-basis of the series cross-ply-coupons.plyforge, n=6, 2026-12-08"));
        Click("Theoretical Lamina #1");
        // Typed over, the value is the engineer's own: its source goes with the commit.
        strengths->SetItemText(0, 0, "1400");
        QVERIFY(MainView()->LaminaDlg()->SaveToLamina(1));
        QVERIFY(Doc()->laminate.FindLamina(1)->sources.empty());
    }

};

QTEST_MAIN(MainFrameCalculateTest)
#include "mainframecalculate_test.moc"
