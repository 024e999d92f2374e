// The specimen form over a document of the test: every cell read by the readings rule
// and bad ones kept, refills that never alter a value, pastes at the clicked cell, a
// machine's export.
#include "forms/experimentdlg.h"
#include "guitestsupport.h"

#include <QGuiApplication>
#include <QUndoStack>

class ExperimentDlgTest : public QObject {
    Q_OBJECT

    RecordingMessageSink& m_sink = Recorded();
    CPlyforgeDoc m_doc;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { m_sink.Clear(); }

    // A cell that is not a number keeps its text, is marked, is named in the message
    // and is saved as typed; corrected, it loses the mark. Numbers in either decimal
    // mark are read (the rule's own cases are the number rule's test).
    void badCellsAreKeptMarkedAndNamed()
    {
        CExperimentDlg form;
        form.SetDocumentProvider([this] { return &m_doc; });
        const struct { const char* cell; double value; } cases[] = {{"1,004.5", NAN}, {"0,12", 0.12}, {"", 0}};
        for (const auto& c : cases) {
            m_sink.Clear();
            form.Grid()->PasteText(QString("1000\t0.1\t40\n2000\t%1\t80").arg(c.cell));
            QVERIFY(form.SaveToSpecimen(4));
            const ExperimentSpecimen& specimen = *m_doc.FindSpecimen(4);
            QCOMPARE(specimen.stress_series, (std::vector<double>{40, 80}));
            const QVariant marked = form.Grid()->model()->index(1, 1).data(Qt::BackgroundRole);
            if (std::isnan(c.value)) {
                QVERIFY2(std::isnan(specimen.strain_series[1]), c.cell);
                QVERIFY(specimen.unread_cells == (std::vector<UnreadCell>{{1, 1, c.cell}}));
                QCOMPARE(m_sink.Messages(), QStringList{QString("실수가 아닌 데이터가 있습니다11\n"
                                                                "Specimen 4, row 2, Strain: \"%1\"").arg(c.cell)});
                QVERIFY(marked.isValid());
                // Shown again from its record, the text is there as typed.
                form.LoadFromSpecimen(specimen);
                QCOMPARE(form.Grid()->GetItemText(1, 1), QString(c.cell));
            } else {
                QCOMPARE(specimen.strain_series[1], c.value);
                QVERIFY2(specimen.unread_cells.empty() && m_sink.messages.empty() && !marked.isValid(), c.cell);
            }
        }
        // Shown again from its record, a specimen is saved back bit for bit.
        ExperimentSpecimen* specimen = m_doc.FindSpecimen(4);
        specimen->load_series = {0.123456789, 1e6};
        specimen->strain_series = {1.0 / 3, 0.2};
        specimen->unread_cells.clear();
        specimen->stress_series = {-0.0, 5e-324};
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

    // Typing, a paste, Import and Initialize are each one undo step, undone and
    // redone in order; each step tells that the form changed.
    void everyEditIsAnUndoStep()
    {
        CExperimentDlg form;
        CListCtrlReport* grid = form.Grid();
        const auto state = [&] {
            QStringList rows{form.WidthEdit()->text() + "/" + form.ThicknessEdit()->text()};
            for (int row = 0; row < grid->GetItemCount(); ++row)
                rows << RowTexts(grid, row).join('|');
            return rows.join(';');
        };
        QStringList states{state()};
        QSignalSpy modified(&form, &CExperimentDlg::Modified);
        form.WidthEdit()->selectAll();
        QTest::keyClicks(form.WidthEdit(), "25"); // two keys, one step
        states << state();
        grid->PasteText("1\t2\t3\n4\t5,5\t6");
        states << state();
        QVERIFY(form.ImportFile(WriteFile(m_dir.filePath("undo.csv"), "Load;Strain;Stress\n7;8;9\n")));
        states << state();
        QTest::mouseClick(form.InitializeButton(), Qt::LeftButton);
        states << state();
        QCOMPARE(states, (QStringList{"0/0;||", "25/0;||", "25/0;1|2|3;4|5,5|6", "25/0;7|8|9", "0/0;||"}));
        QUndoStack* undo = form.UndoStack()->Stack();
        QCOMPARE(undo->count(), 4);
        for (int step = 3; step >= 0; --step) {
            undo->undo();
            QCOMPARE(state(), states[step]);
        }
        for (int step = 1; step <= 4; ++step) {
            undo->redo();
            QCOMPARE(state(), states[step]);
        }
        QVERIFY(modified.count() >= 12);
        // A record shown afresh starts with nothing to undo.
        form.OnInitialize();
        QVERIFY(!undo->canUndo() && !undo->canRedo());
    }

    void pastesAtTheClickedCellAndKeysNeverResetIt()
    {
        CExperimentDlg form;
        form.resize(600, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CListCtrlReport* grid = form.Grid();
        ClickCell(grid, 0, 1);
        QVERIFY(grid->IsEditing()); // a reading can be typed where it was clicked
        QGuiApplication::clipboard()->setText("0.1\t40\n0.2\t80\n");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(RowTexts(grid, 1), (QStringList{"", "0.2", "80"}));
        // Escape and Enter neither close nor reset the form (Initialize does, as an undo step).
        form.WidthEdit()->setText("12");
        QTest::keyClick(&form, Qt::Key_Escape);
        QTest::keyClick(form.WidthEdit(), Qt::Key_Return);
        QVERIFY(form.isVisible() && form.WidthEdit()->text() == "12" && grid->GetItemCount() == 2);
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
        // The ID, width and thickness a machine writes above its readings fill the
        // form, in the same undo step as the readings, and are saved with them.
        form.NameEdit()->setText("typed");
        QVERIFY(form.ImportFile(PLYFORGE_TEST_DATA "/readings/import/format-machine-specimen-data.csv"));
        QCOMPARE(form.NameEdit()->text() + " " + form.WidthEdit()->text() + " " + form.ThicknessEdit()->text(),
                 QString("A-17 10.05 2.012"));
        form.SetDocumentProvider([this] { return &m_doc; });
        QVERIFY(form.SaveToSpecimen(4) && m_doc.FindSpecimen(4)->DisplayName() == "A-17");
        form.UndoStack()->Stack()->undo();
        QCOMPARE(form.NameEdit()->text() + " " + form.WidthEdit()->text() + " " + RowTexts(grid, 0).join('|'),
                 QString("typed 0 1004.80328|0.1|40.19"));
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
        // An ID longer than a project keeps is refused whole, not cut by the ID box.
        m_sink.Clear();
        const QString name = form.NameEdit()->text();
        QVERIFY(!form.ImportFile(WriteFile(m_dir.filePath("long.csv"),
                                           "Specimen ID," + QByteArray(201, 'x') + "\nLoad,Strain,Stress\n1,0.1,40\n")));
        QVERIFY2(m_sink.messages.size() == 1 && m_sink.Messages()[0].contains("Specimen ID is 201 characters"),
                 qPrintable(m_sink.Messages().join('|')));
        QVERIFY(form.NameEdit()->text() == name && grid->GetItemCount() == 2);
    }
};

QTEST_MAIN(ExperimentDlgTest)
#include "experimentdlg_test.moc"
