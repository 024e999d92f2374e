// Calculate from end to end through the real widgets: forms entered, the ribbon's
// checks and messages, the engine run, the results views, the chart and the log.
#include "guitestsupport.h"

#include "app/captions.h"
#include "app/childframe.h"
#include "app/logview.h"
#include "app/mainframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/messagebox.h"
#include "app/plyforgeapp.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "chart/chartviewer.h"
#include "chart/dataset.h"
#include "chart/linelayer.h"
#include "chart/xychart.h"
#include "controls/listctrlreport.h"
#include "controls/richeditcustomctrl.h"
#include "controls/treectrlcustom.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "util/formattext.h"
#include "util/traceoutput.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <memory>

namespace {
QString G(double value) { return QString::fromStdString(FormatText("%g", value)); }
} // namespace

class CalculateTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CPlyforgeApp> m_app;
    RecordingMessageSink m_sink;
    QTemporaryDir m_logDir;
    std::FILE* m_nullTrace = nullptr;

    CMainFrame* Frame() const { return m_app->MainWnd(); }
    CRibbonBar* Ribbon() const { return Frame()->Ribbon(); }
    CPlyforgeDoc* Doc() const { return Frame()->ActiveDocument(); }

    void ClickTreeItem(const QString& text) { QVERIFY2(::ClickTreeItem(Frame(), text), qPrintable(text)); }

    CPlyforgeView* MainView() const { return FindMainView(Frame()); }

    void Apply(QLineEdit* edit, QToolButton* button, const QString& count)
    {
        edit->setText(count);
        QTest::mouseClick(button, Qt::LeftButton);
        Doc()->program_folder = m_logDir.path().toStdString();
    }

    // Enters one carbon/epoxy ply at an angle in the form of the lamina on screen.
    void EnterPly(double angle, double youngs_matrix = 3.5)
    {
        CLaminaDlg* form = MainView()->LaminaDlg();
        CListCtrlReport* c = form->ConstituentGrid();
        const QStringList fibre{"Carbon", "1.76", "230", "0.2"};
        const QStringList matrix{"Epoxy", "1.2", QString::number(youngs_matrix), "0.35"};
        for (int i = 0; i < 4; ++i) {
            c->SetItemText(0, i + 1, fibre[i]);
            c->SetItemText(1, i + 1, matrix[i]);
        }
        const QStringList ply{"0.6", "0.125", QString::number(angle), "2"};
        for (int i = 0; i < 4; ++i)
            form->LaminaGrid()->SetItemText(0, i, ply[i]);
    }

    void SetUpThreePlies(double second_matrix_modulus = 3.5)
    {
        Apply(Ribbon()->m_theoryLamina, Ribbon()->m_theoryApply, "3");
        const double angles[3] = {0, 45, 90};
        for (int i = 1; i <= 3; ++i) {
            ClickTreeItem(QString("Theoretical Lamina #%1").arg(i));
            EnterPly(angles[i - 1], i == 2 ? second_matrix_modulus : 3.5);
        }
    }

    void EnterSpecimen(int id, double modulus)
    {
        ClickTreeItem(QString("Experimental Lamina #%1").arg(id));
        CExperimentDlg* form = MainView()->ExperimentDlg();
        form->WidthEdit()->setText("25");
        form->ThicknessEdit()->setText("2");
        QString text;
        for (int i = 0; i <= 40; ++i) {
            const double strain = 0.03 * i + 0.01 * id;
            text += QString("%1\t%2\t%3\n").arg(strain * modulus * 500).arg(strain).arg(strain * modulus * 10);
        }
        form->Grid()->PasteText(text);
    }

    CResultTheoryView* TheoryResults() const
    {
        for (CChildFrame* child : Frame()->TabArea()->Children()) {
            if (auto* view = qobject_cast<CResultTheoryView*>(child->View()))
                return view;
        }
        return nullptr;
    }

    CResultExpView* ExperimentResults() const
    {
        for (CChildFrame* child : Frame()->TabArea()->Children()) {
            if (auto* view = qobject_cast<CResultExpView*>(child->View()))
                return view;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        IsolateSettings();
        SetAppMessageSink(&m_sink);
        m_nullTrace = std::fopen("/dev/null", "w");
        TraceOutput::SetFile(m_nullTrace);
    }
    void cleanupTestCase()
    {
        SetAppMessageSink(nullptr);
        TraceOutput::SetFile(nullptr);
        std::fclose(m_nullTrace);
    }
    void init()
    {
        m_sink.Clear();
        m_app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
        QVERIFY(m_app->InitInstance());
        Frame()->SetSaveQuestion([] { return CMainFrame::SaveAnswer::Discard; });
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        Frame()->setWindowState(Qt::WindowNoState);
        Frame()->resize(1800, 1100);
        Doc()->program_folder = m_logDir.path().toStdString();
    }
    void cleanup() { m_app.reset(); }

    void theoryFromFormsToCard()
    {
        SetUpThreePlies();
        QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
        QVERIFY2(m_sink.messages.empty(), qPrintable(m_sink.Messages().join('|')));
        CResultTheoryView* results = TheoryResults();
        QVERIFY(results);
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString(captions::kTheoryResult));
        QCOMPARE(Frame()->TabArea()->Groups().size(), 2); // beside the main view

        // The same plies through the engine alone.
        CPlyforgeDoc reference;
        reference.program_folder = m_logDir.filePath("reference").toStdString();
        for (int i = 1; i <= 3; ++i)
            reference.laminate.laminae.push_back(std::make_unique<Lamina>(*Doc()->laminate.laminae[i - 1]));
        reference.laminate.compliance_scale_factor = 0.01;
        QVERIFY(reference.CalculateTheory());
        const Laminate& l = reference.laminate;
        QCOMPARE(results->LaminaeList()->GetItemCount(), 3);
        QCOMPARE(results->LaminaeList()->GetItemText(1, 5), QString("45"));
        QCOMPARE(results->LaminaeList()->GetItemText(0, 4), QString("0.125"));
        QCOMPARE(results->HomogenizationList()->GetItemText(0, 2), G(l.Ex));
        QCOMPARE(results->HomogenizationList()->GetItemText(3, 2), G(l.NUxy));
        QCOMPARE(results->HomogenizationList()->GetItemText(3, 1), QString());
        QCOMPARE(results->AbaqusList()->GetItemText(0, 1), QString("MPa"));
        QCOMPARE(results->AbaqusList()->GetItemText(5, 2), G(l.G23));
        const QString card = results->CardText();
        QCOMPARE(card, QString("*Material, name=Composite\r\n*Elastic, type=LAMINA\r\n") +
                           QString::fromStdString(FormatText("%f, %f, %f, %f, %f, %f\r\n", l.E1, l.E2, l.NU12,
                                                             l.G12, l.G13, l.G23)));
        QVERIFY(results->CardBox()->isReadOnly());

        // The log pane shows this run, headings coloured.
        CRichEditCustomCtrl* log = Frame()->LogView()->RichEdit();
        QVERIFY(log->toPlainText().startsWith("\nStart Calculation\n\n##Input data for material properties"));
        QCOMPARE(log->LineColor(3), QColor(35, 100, 200));
        QCOMPARE(log->LineColor(4), QColor(0, 0, 0));
    }

    void exportsWriteWhatTheViewsShow()
    {
        SetUpThreePlies();
        QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
        CResultTheoryView* results = TheoryResults();
        QVERIFY(results);
        const QString card = m_logDir.filePath("Composite.inp");
        QVERIFY(results->ExportCard(card));
        QFile cardFile(card);
        QVERIFY(cardFile.open(QIODevice::ReadOnly));
        QString expected = results->CardText();
        expected.replace("\r\n", "\n");
        QCOMPARE(QString::fromUtf8(cardFile.readAll()), expected);
        const QString log = m_logDir.filePath("copy of log.txt");
        QVERIFY(Frame()->ExportLog(log));
        QVERIFY(Frame()->ExportLog(log)); // replacing an earlier copy
        QFile logFile(log);
        QVERIFY(logFile.open(QIODevice::ReadOnly));
        QVERIFY(logFile.readAll().startsWith("\nStart Calculation\n\n##Input data"));
        QVERIFY(!results->ExportCard(m_logDir.filePath("missing/Composite.inp")));
        QVERIFY(m_sink.Messages().value(0).contains("missing/Composite.inp"));

        m_sink.Clear();
        Apply(Ribbon()->m_experimentLamina, Ribbon()->m_experimentApply, "2");
        EnterSpecimen(1, 40);
        EnterSpecimen(2, 45);
        QTest::mouseClick(Ribbon()->m_experimentCalculate, Qt::LeftButton);
        CResultExpView* experiment = ExperimentResults();
        QVERIFY(experiment);
        const QString csv = m_logDir.filePath("results.csv");
        QVERIFY(experiment->ExportResultsCsv(csv));
        QFile csvFile(csv);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csvFile.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("Name,Width(mm),Thickness(mm),Load Max(N),Strength(N/mm2),Strain(%),Modulus(GPa)"));
        QVERIFY(lines[2].startsWith("Lamina #2,25,2,"));
        const QString png = m_logDir.filePath("chart.png");
        QVERIFY(experiment->ExportChartImage(png));
        QImage image(png);
        QVERIFY(!image.isNull() && image.width() > 100);
        const QString svg = m_logDir.filePath("chart.svg");
        QVERIFY(experiment->ExportChartImage(svg));
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        const QByteArray drawing = svgFile.readAll();
        QVERIFY(drawing.contains("<svg") && drawing.contains("Stress-Strain Curve"));
    }

    void theoryFailureOnTheSecondLamina()
    {
        SetUpThreePlies(0); // a matrix of no stiffness in ply 2
        QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
        QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(msg::kCheckYoungsModulus)});
        QVERIFY(!TheoryResults()); // no results refresh
    }

    void theoryCheckMessagesInOrder()
    {
        SetUpThreePlies();
        const struct {
            const char* text;
            QStringList messages;
        } cases[] = {
            {"abc", {QString::fromUtf8(msg::kEnterNumber), QString::fromUtf8(msg::kScaleFactorPositive)}},
            {"", {QString::fromUtf8(msg::kScaleFactorPositive)}},
            {"0", {QString::fromUtf8(msg::kScaleFactorPositive)}},
            {"0.5 ", {QString::fromUtf8(msg::kEnterNumber), QString::fromUtf8(msg::kScaleFactorPositive)}},
        };
        for (const auto& c : cases) {
            m_sink.Clear();
            Ribbon()->m_theoryScaleFactor->setText(c.text);
            QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
            QCOMPARE(m_sink.Messages(), c.messages);
        }
        m_sink.Clear();
        Ribbon()->m_theoryScaleFactor->setText(" 1e-2");
        QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
        QVERIFY(m_sink.messages.empty());
        QCOMPARE(Doc()->laminate.compliance_scale_factor, 0.01);

        // Three laminae configured, two with records and one of them on screen.
        m_sink.Clear();
        Apply(Ribbon()->m_theoryLamina, Ribbon()->m_theoryApply, "3");
        ClickTreeItem("Theoretical Lamina #1");
        ClickTreeItem("Theoretical Lamina #2");
        ClickTreeItem("Theoretical Lamina #1");
        QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
        QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(msg::kLaminaeIncomplete)});
    }

    void experimentRunListsChartsAndLogs()
    {
        Apply(Ribbon()->m_experimentLamina, Ribbon()->m_experimentApply, "3");
        EnterSpecimen(1, 40);
        EnterSpecimen(2, 45);
        EnterSpecimen(3, 50);
        QTest::mouseClick(Ribbon()->m_experimentCalculate, Qt::LeftButton);
        QVERIFY2(m_sink.messages.empty(), qPrintable(m_sink.Messages().join('|')));
        CResultExpView* results = ExperimentResults();
        QVERIFY(results);
        CListCtrlReport* list = results->ResultList();
        QCOMPARE(list->GetItemCount(), 3);
        QCOMPARE(list->GetItemText(2, 0), QString("Lamina #3"));
        QCOMPARE(list->GetItemText(0, 6), G(Doc()->specimens[0]->modulus));
        QCOMPARE(Doc()->specimens[1]->modulus, 45.0 * 10 * 100 / 1000);

        const OrvaneChart::CChartView& chart = results->ChartView();
        QCOMPARE(chart.Title(), std::string("Stress-Strain Curve"));
        QCOMPARE(chart.Names(), (std::vector<std::string>{"Lamina # 1", "Lamina # 2", "Lamina # 3"}));
        QTest::qWait(50); // laid out at its real size, the chart is built for it
        results->UpdateChart();
        QVERIFY(results->Viewer()->width() > 600);
        OrvaneChart::XYChart* xy = results->Viewer()->GetChart();
        QVERIFY(xy);
        QCOMPARE(xy->getLayerCount(), 3);
        const OrvaneChart::Color colours[3] = {0xff0000, 0x00ff00, 0x0000ff};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(xy->getLayerByZ(i)->getDataSetByZ(0)->getDataColor(), colours[i]);

        // The track line on a reading of the green curve.
        const ExperimentSpecimen& green = *Doc()->specimens[1];
        results->Viewer()->TrackLineAt(xy->getXCoor(green.strain_series[20]));
        bool found = false;
        for (const auto& label : results->Viewer()->ValueLabels()) {
            if (label.markup.startsWith("<*font,bgColor=ff00*> ")) {
                found = true;
                QCOMPARE(label.box, QColor(0, 255, 0));
                QCOMPARE(label.text, QString::fromStdString(FormatText("%#.4g", green.stress_series[20])));
            }
        }
        QVERIFY(found);
        QCOMPARE(results->Viewer()->Dots().size(), size_t(1)); // the other curves have no reading there
        QVERIFY(results->Viewer()->XLabel().anchor.y() > 0);

        CRichEditCustomCtrl* log = Frame()->LogView()->RichEdit();
        QVERIFY(log->toPlainText().contains("##Result for Experimental Calculation"));
        const QStringList lines = log->toPlainText().split('\n');
        QCOMPARE(log->LineColor(int(lines.indexOf("##id:2"))), QColor(35, 100, 200));
    }

    void placeholderChartAndFailedSpecimenStillListed()
    {
        Apply(Ribbon()->m_experimentLamina, Ribbon()->m_experimentApply, "2");
        auto* early = qobject_cast<CResultExpView*>(Frame()->ShowViewByTitle(captions::kExperimentResult));
        QVERIFY(early);
        QCOMPARE(early->ChartView().Title(), std::string("graph"));
        QCOMPARE(early->ChartView().XTitle(), std::string("X"));
        QCOMPARE(early->ChartView().YTitle(), std::string("Y"));
        ClickTreeItem("Experimental Lamina #1");
        ClickTreeItem("Experimental Lamina #2");
        EnterSpecimen(2, 40);
        CExperimentDlg* form = MainView()->ExperimentDlg();
        Q_UNUSED(form);
        // Specimen 1 was saved from a grid emptied by hand: no readings, evaluation fails.
        Doc()->FindSpecimen(1)->load_series.clear();
        QTest::mouseClick(Ribbon()->m_experimentCalculate, Qt::LeftButton);
        QCOMPARE(early->ResultList()->GetItemCount(), 2);
        QCOMPARE(early->ResultList()->GetItemText(0, 0), QString("Lamina #1"));
        QCOMPARE(early->ResultList()->GetItemText(0, 6), QString("0"));
    }

    void experimentCheckMessages()
    {
        Apply(Ribbon()->m_experimentLamina, Ribbon()->m_experimentApply, "1");
        EnterSpecimen(1, 40);
        Ribbon()->m_elasticMin->setText("low");
        QTest::mouseClick(Ribbon()->m_experimentCalculate, Qt::LeftButton);
        QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(msg::kEnterNumber)});
        QVERIFY(!ExperimentResults()); // never runs with -1 as a bound
        m_sink.Clear();
        Ribbon()->m_elasticMin->setText("0.3");
        Ribbon()->m_elasticMax->setText("0.3");
        QTest::mouseClick(Ribbon()->m_experimentCalculate, Qt::LeftButton);
        QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(msg::kElasticMaxGreater)});
    }

    void unwritableLogFolderSaysSo()
    {
        Apply(Ribbon()->m_theoryLamina, Ribbon()->m_theoryApply, "1");
        ClickTreeItem("Theoretical Lamina #1");
        EnterPly(30);
        Doc()->program_folder = m_logDir.filePath("missing").toStdString();
        QTest::mouseClick(Ribbon()->m_theoryCalculate, Qt::LeftButton);
        QVERIFY(TheoryResults());
        QCOMPARE(TheoryResults()->LaminaeList()->GetItemCount(), 1);
        QCOMPARE(Frame()->LogView()->RichEdit()->toPlainText(),
                 QString("The calculation log could not be written to %1/TheoreticalLog.txt")
                     .arg(m_logDir.filePath("missing")));
    }
};

QTEST_MAIN(CalculateTest)
#include "calculate_test.moc"
