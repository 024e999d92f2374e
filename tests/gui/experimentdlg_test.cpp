// The specimen form over a document of the test: every cell read by the number rule,
// refills that never alter a value, pastes at the clicked cell, a machine's export.
#include "forms/experimentdlg.h"
#include "guitestsupport.h"

#include <QGuiApplication>

class ExperimentDlgTest : public QObject {
    Q_OBJECT

    RecordingMessageSink& m_sink = Recorded();
    CPlyforgeDoc m_doc;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { m_sink.Clear(); }

    void saveReadsEveryCellAndRefillsUnchanged()
    {
        CExperimentDlg form;
        form.SetDocumentProvider([this] { return &m_doc; });
        form.WidthEdit()->setText("25");
        form.ThicknessEdit()->setText("2.05");
        form.Grid()->PasteText("1000\t0.1\t40\n1,5\t2e-3\t 1.5 \n2000\tx\t\n");
        QVERIFY(form.SaveToSpecimen(4));
        ExperimentSpecimen* specimen = m_doc.FindSpecimen(4);
        QVERIFY(specimen);
        // Once per column with a bad cell, and the bad cells store 0; an empty cell is 0.
        QCOMPARE(m_sink.Messages(), QStringList(2, "실수가 아닌 데이터가 있습니다11"));
        QVERIFY(specimen->width == 25 && specimen->thickness == 2.05);
        QCOMPARE(specimen->load_series, (std::vector<double>{1000, 0, 2000}));
        QCOMPARE(specimen->strain_series, (std::vector<double>{0.1, 0.002, 0}));
        QCOMPARE(specimen->stress_series, (std::vector<double>{40, 1.5, 0}));
        QCOMPARE(form.Grid()->GetItemText(1, 0), QString("1,5")); // bad texts stay in the grid
        // Shown again from its record, the specimen is saved back bit for bit.
        specimen->load_series = {0.123456789, 1e6, 1.0 / 3};
        specimen->stress_series = {-0.0, 5e-324, 123456.7};
        specimen->width = 25.4;
        form.SetSpecimenSize(specimen->width, specimen->thickness);
        form.LoadFromSpecimen(*specimen);
        QCOMPARE(form.Grid()->GetItemText(0, 0), QString("0.123456789"));
        const ExperimentSpecimen before = *specimen;
        QVERIFY(form.SaveToSpecimen(4) && specimen->SameInputs(before));
        m_sink.Clear();
        ExperimentSpecimen uneven = *specimen;
        uneven.strain_series.pop_back();
        form.LoadFromSpecimen(uneven);
        QCOMPARE(m_sink.Messages(), QStringList{"데이터 갯수가 다릅니다"});
        QCOMPARE(form.Grid()->GetItemCount(), 0);
    }

    void pastesAtTheClickedCellAndKeysNeverResetIt()
    {
        CExperimentDlg form;
        form.resize(600, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString initial = form.WidthEdit()->text();
        CListCtrlReport* grid = form.Grid();
        ClickCell(grid, 0, 1);
        QVERIFY(!grid->IsEditing()); // this form never opens an editor
        QGuiApplication::clipboard()->setText("0.1\t40\n0.2\t80\n");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(RowTexts(grid, 1), (QStringList{"", "0.2", "80"}));
        // Escape and Enter neither close nor reset the form; Initialize does reset it.
        form.WidthEdit()->setText("12");
        QTest::keyClick(&form, Qt::Key_Escape);
        QTest::keyClick(form.WidthEdit(), Qt::Key_Return);
        QVERIFY(form.isVisible() && form.WidthEdit()->text() == "12" && grid->GetItemCount() == 2);
        QTest::mouseClick(form.InitializeButton(), Qt::LeftButton);
        QVERIFY(grid->GetItemCount() == 1 && form.WidthEdit()->text() == initial);
    }

    void importReadsAMachineExportIntoTheGrid()
    {
        CExperimentDlg form;
        QSignalSpy modified(&form, &CExperimentDlg::Modified);
        CListCtrlReport* grid = form.Grid();
        QVERIFY(form.ImportFile(WriteFile(m_dir.filePath("machine.csv"),
                                          "Test 17;Machine A\nForce (N);Strain (%);Stress (MPa)\n"
                                          "\"1,004.80328\";0,1;40,19\n2000;0,2;80\n")));
        QCOMPARE(RowTexts(grid, 0), (QStringList{"1004.80328", "0.1", "40.19"}));
        QVERIFY(grid->GetItemCount() == 2 && modified.count() == 1);
        // Five unnamed columns: the user chooses, and the choice is offered next time.
        const QString wide = WriteFile(m_dir.filePath("wide.txt"), "1\t10\t0.1\t40\t9\n2\t20\t0.2\t80\t9\n");
        int asked = 0;
        ImportOptions offered;
        form.SetColumnChooser([&](const ImportResult& table, ImportOptions& options) {
            ++asked;
            offered = options;
            options = {1, 2, 3};
            return table.column_count == 5;
        });
        QVERIFY(form.ImportFile(wide));
        QCOMPARE(RowTexts(grid, 1), (QStringList{"20", "0.2", "80"}));
        QVERIFY(form.ImportFile(wide) && asked == 2 && offered.load_column == 1);
        // A bad file names its line; the grid stays as it was.
        QVERIFY(!form.ImportFile(WriteFile(m_dir.filePath("bad.csv"), "Load,Strain,Stress\n1,0.1,40\n2,oops,80\n")));
        QVERIFY2(m_sink.messages.size() == 1 && m_sink.Messages()[0].contains("line 3"),
                 qPrintable(m_sink.Messages().join('|')));
        QVERIFY(RowTexts(grid, 1) == QStringList({"20", "0.2", "80"}) && grid->GetItemCount() == 2);
    }
};

QTEST_MAIN(ExperimentDlgTest)
#include "experimentdlg_test.moc"
