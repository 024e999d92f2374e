// Calculate from end to end through the real widgets: forms entered, the ribbon's
// checks and messages, the engine run, the results views, the chart and the log.
#include "guitestsupport.h"

#include "app/childframe.h"
#include "app/logview.h"
#include "app/mainframe.h"
#include "app/mditabarea.h"
#include "app/plyforgeapp.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "chart/chartviewer.h"
#include "chart/xychart.h"
#include "controls/listctrlreport.h"
#include "controls/richeditcustomctrl.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "util/formattext.h"
#include "util/traceoutput.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <utility>

namespace {
QString G(double value) { return QString::fromStdString(FormatText("%g", value)); }
QString Msg(const char* text) { return QString::fromUtf8(text); }
QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class CalculateTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CPlyforgeApp> m_app;
    RecordingMessageSink m_sink;
    QTemporaryDir m_logDir;
    std::string m_trace; // kept out of the test's output

    CMainFrame* Frame() const { return m_app->MainWnd(); }
    RibbonWidgets Ribbon() const { return RibbonWidgets(Frame()); }
    CPlyforgeDoc* Doc() const { return Frame()->ActiveDocument(); }
    CPlyforgeView* MainView() const { return FindMainView(Frame()); }
    void ClickTreeItem(const QString& text) { QVERIFY2(::ClickTreeItem(Frame(), text), qPrintable(text)); }
    static void Click(QToolButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    template <class View> View* FindView() const { return Frame()->findChild<View*>(); }

    // Apply starts a fresh project, whose log would go beside the executable.
    void Apply(QLineEdit* edit, QToolButton* button, const QString& count)
    {
        edit->setText(count);
        Click(button);
        Doc()->program_folder = m_logDir.path().toStdString();
    }

    // Enters one carbon/epoxy ply at an angle in the form of the lamina on screen.
    void EnterPly(double angle, double youngs_matrix = 3.5)
    {
        CLaminaDlg* form = MainView()->LaminaDlg();
        const QStringList fibre{"Carbon", "1.76", "230", "0.2"};
        const QStringList matrix{"Epoxy", "1.2", QString::number(youngs_matrix), "0.35"};
        const QStringList ply{"0.6", "0.125", QString::number(angle), "2"};
        for (int i = 0; i < 4; ++i) {
            form->ConstituentGrid()->SetItemText(0, i + 1, fibre[i]);
            form->ConstituentGrid()->SetItemText(1, i + 1, matrix[i]);
            form->LaminaGrid()->SetItemText(0, i, ply[i]);
        }
    }

    // Plies at 0, 45 and 90 degrees; ply 3 is left on screen.
    void SetUpThreePlies(double second_matrix_modulus = 3.5)
    {
        Apply(Ribbon().theoryLamina, Ribbon().theoryApply, "3");
        for (int i = 1; i <= 3; ++i) {
            ClickTreeItem(QString("Theoretical Lamina #%1").arg(i));
            EnterPly(45 * (i - 1), i == 2 ? second_matrix_modulus : 3.5);
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

private slots:
    void initTestCase()
    {
        IsolateSettings();
        SetAppMessageSink(&m_sink);
        TraceOutput::SetCapture(&m_trace);
    }
    void cleanupTestCase()
    {
        SetAppMessageSink(nullptr);
        TraceOutput::SetCapture(nullptr);
    }
    void init()
    {
        m_sink.Clear();
        m_app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
        QVERIFY(m_app->InitInstance());
        Frame()->Files()->SetSaveQuestion([] { return ProjectFiles::SaveAnswer::Discard; });
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        Frame()->setWindowState(Qt::WindowNoState);
        Frame()->resize(1800, 1100);
    }
    void cleanup() { m_app.reset(); }

    void theoryFromFormsToResultsCardAndExports()
    {
        SetUpThreePlies();
        Click(Ribbon().theoryCalculate);
        QVERIFY2(m_sink.messages.empty(), qPrintable(m_sink.Messages().join('|')));
        auto* results = FindView<CResultTheoryView>();
        QVERIFY(results);
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString(captions::kTheoryResult));
        QCOMPARE(Frame()->TabArea()->Groups().size(), 2); // beside the main view

        // The same plies through the engine alone.
        CPlyforgeDoc reference;
        reference.program_folder = m_logDir.filePath("reference").toStdString();
        for (const auto& lamina : Doc()->laminate.laminae)
            reference.laminate.laminae.push_back(std::make_unique<Lamina>(*lamina));
        reference.laminate.compliance_scale_factor = 0.01;
        QVERIFY(reference.CalculateTheory());
        const Laminate& l = reference.laminate;
        QCOMPARE(results->LaminaeList()->GetItemText(1, 5), QString("45"));
        QCOMPARE(results->LaminaeList()->GetItemText(0, 4), QString("0.125"));
        QCOMPARE(results->HomogenizationList()->GetItemText(0, 2), G(l.Ex));
        QCOMPARE(results->HomogenizationList()->GetItemText(3, 2), G(l.NUxy));
        QCOMPARE(results->HomogenizationList()->GetItemText(3, 1), QString()); // a ratio has no unit
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

        // The card file takes this platform's line ends.
        QVERIFY(results->ExportCard(m_logDir.filePath("Composite.inp")));
        QCOMPARE(ReadAll(m_logDir.filePath("Composite.inp")), QString(card).replace("\r\n", "\n"));
        const QString logCopy = m_logDir.filePath("copy of log.txt");
        QVERIFY(ProjectFiles::ExportLog(Doc(), logCopy));
        QVERIFY(ProjectFiles::ExportLog(Doc(), logCopy)); // replacing an earlier copy
        QVERIFY(ReadAll(logCopy).startsWith("\nStart Calculation\n\n##Input data"));
        QVERIFY(!results->ExportCard(m_logDir.filePath("missing/Composite.inp")));
        QVERIFY(m_sink.Messages().value(0).contains("missing/Composite.inp"));

        // With the log unwritable the results still refresh, and the log pane says so.
        const QString missing = m_logDir.filePath("missing");
        Doc()->program_folder = missing.toStdString();
        EnterPly(30);
        Click(Ribbon().theoryCalculate);
        QCOMPARE(results->LaminaeList()->GetItemCount(), 3);
        QCOMPARE(results->LaminaeList()->GetItemText(2, 5), QString("30"));
        QCOMPARE(Frame()->LogView()->RichEdit()->toPlainText(),
                 QString("The calculation log could not be written to %1/TheoreticalLog.txt").arg(missing));
    }

    void ribbonChecksStopTheRunWithTheirMessages()
    {
        SetUpThreePlies(0); // a matrix of no stiffness in ply 2, which only the engine finds
        const QString number = Msg(msg::kEnterNumber), positive = Msg(msg::kScaleFactorPositive);
        // Ribbon text is not trimmed: a leading blank parses, a trailing one does not.
        const std::pair<const char*, QStringList> cases[] = {
            {"abc", {number, positive}}, {"", {positive}}, {"0", {positive}}, {"0.5 ", {number, positive}},
            {" 1e-2", {Msg(msg::kCheckYoungsModulus)}}};
        for (const auto& [text, messages] : cases) {
            m_sink.Clear();
            Ribbon().theoryScaleFactor->setText(text);
            Click(Ribbon().theoryCalculate);
            QCOMPARE(m_sink.Messages(), messages);
        }
        QCOMPARE(Doc()->laminate.compliance_scale_factor, 0.01);
        QVERIFY(!FindView<CResultTheoryView>()); // a failed run shows no results

        // Three laminae configured, two with records and one of them on screen.
        m_sink.Clear();
        Apply(Ribbon().theoryLamina, Ribbon().theoryApply, "3");
        ClickTreeItem("Theoretical Lamina #1");
        ClickTreeItem("Theoretical Lamina #2");
        ClickTreeItem("Theoretical Lamina #1");
        Click(Ribbon().theoryCalculate);
        QCOMPARE(m_sink.Messages(), QStringList{Msg(msg::kLaminaeIncomplete)});

        m_sink.Clear();
        Apply(Ribbon().experimentLamina, Ribbon().experimentApply, "1");
        EnterSpecimen(1, 40);
        Ribbon().elasticMin->setText("low");
        Click(Ribbon().experimentCalculate);
        QCOMPARE(m_sink.Messages(), QStringList{number});
        QVERIFY(!FindView<CResultExpView>()); // never runs with -1 as a bound
        m_sink.Clear();
        Ribbon().elasticMin->setText("0.3");
        Click(Ribbon().experimentCalculate);
        QCOMPARE(m_sink.Messages(), QStringList{Msg(msg::kElasticMaxGreater)});
    }

    void experimentRunListsChartsLogsAndExports()
    {
        Apply(Ribbon().experimentLamina, Ribbon().experimentApply, "3");
        // Opened before any run, the view shows a placeholder chart, and the run fills it.
        auto* results = qobject_cast<CResultExpView*>(Frame()->ShowViewByTitle(captions::kExperimentResult));
        QVERIFY(results);
        QCOMPARE(results->ChartView().Title(), std::string("graph"));
        // Specimen 1 is saved from an emptied grid: no readings, so its evaluation fails.
        ClickTreeItem("Experimental Lamina #1");
        EnterSpecimen(2, 45);
        EnterSpecimen(3, 50);
        Doc()->FindSpecimen(1)->load_series.clear();
        Click(Ribbon().experimentCalculate);
        QVERIFY2(m_sink.messages.empty(), qPrintable(m_sink.Messages().join('|')));
        QCOMPARE(results->ResultList()->GetItemText(0, 0), QString("Lamina #1")); // listed all the same
        QCOMPARE(results->ResultList()->GetItemText(0, 6), QString("0"));
        QCOMPARE(results->ResultList()->GetItemText(1, 6), G(Doc()->specimens[1]->modulus));
        QCOMPARE(Doc()->specimens[1]->modulus, 45.0 * 10 * 100 / 1000);

        QCOMPARE(results->ChartView().Names(), (std::vector<std::string>{"Lamina # 1", "Lamina # 2", "Lamina # 3"}));
        QTest::qWait(50); // laid out at its real size, the chart is built for it
        results->UpdateChart();
        QVERIFY(results->Viewer()->width() > 600);
        OrvaneChart::XYChart* xy = results->Viewer()->GetChart();
        QVERIFY(xy);

        // The track line on a reading of the green curve.
        const ExperimentSpecimen& green = *Doc()->specimens[1];
        results->Viewer()->TrackLineAt(xy->getXCoor(green.strain_series[20]));
        const auto labels = results->Viewer()->ValueLabels();
        QCOMPARE(labels.size(), size_t(1)); // the other curves have no reading there
        QCOMPARE(results->Viewer()->Dots().size(), size_t(1));
        QVERIFY(labels[0].markup.startsWith("<*font,bgColor=ff00*> "));
        QCOMPARE(labels[0].box, QColor(0, 255, 0));
        QCOMPARE(labels[0].text, QString::fromStdString(FormatText("%#.4g", green.stress_series[20])));
        QVERIFY(results->Viewer()->XLabel().anchor.y() > 0);

        CRichEditCustomCtrl* log = Frame()->LogView()->RichEdit();
        QCOMPARE(log->LineColor(int(log->toPlainText().split('\n').indexOf("##id:2"))), QColor(35, 100, 200));

        // The exports write what the view shows.
        const QString csv = m_logDir.filePath("results.csv");
        QVERIFY(results->ExportResultsCsv(csv));
        const QStringList lines = ReadAll(csv).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QString("Name,Width(mm),Thickness(mm),Load Max(N),Strength(N/mm2),Strain(%),Modulus(GPa)"));
        QVERIFY(lines[2].startsWith("Lamina #2,25,2,"));
        for (const char* name : {"chart.png", "chart.svg"})
            QVERIFY(results->ExportChartImage(m_logDir.filePath(name)));
        QVERIFY(QImage(m_logDir.filePath("chart.png")).width() > 100);
        const QString drawing = ReadAll(m_logDir.filePath("chart.svg"));
        QVERIFY(drawing.contains("<svg") && drawing.contains("Stress-Strain Curve"));
    }
};

QTEST_MAIN(CalculateTest)
#include "calculate_test.moc"
