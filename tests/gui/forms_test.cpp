// The two input forms on their own, over a document of the test: defaults, the
// number rule and its messages, commits and refills that never alter a value.
#include "guitestsupport.h"

#include "controls/listctrlreport.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "guibase/messagebox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class FormsTest : public QObject {
    Q_OBJECT

private:
    RecordingMessageSink m_sink;
    CPlyforgeDoc m_doc;

    static QStringList Row(CListCtrlReport* grid, int row)
    {
        QStringList texts;
        for (int column = 0; column < grid->GetColumnCount(); ++column)
            texts << grid->GetItemText(row, column);
        return texts;
    }

    static void SetRow(CListCtrlReport* grid, int row, int first_column, const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            grid->SetItemText(row, first_column + i, texts[i]);
    }

    static void ClickCell(CListCtrlReport* grid, int row, int column)
    {
        const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    }

private slots:
    void initTestCase()
    {
        IsolateSettings();
        SetAppMessageSink(&m_sink);
    }
    void cleanupTestCase() { SetAppMessageSink(nullptr); }
    void init()
    {
        m_sink.Clear();
        m_doc.ClearLaminae();
    }

    void laminaDefaultsAndLabelColumnNeverEdited()
    {
        CLaminaDlg form;
        CListCtrlReport* grid = form.ConstituentGrid();
        QCOMPARE(Row(grid, 0), (QStringList{"Fiber", "untitle", "0.0", "0.0", "0.0"}));
        QCOMPARE(Row(grid, 1), (QStringList{"Matrix", "untitle", "0.0", "0.0", "0.0"}));
        QCOMPARE(Row(form.LaminaGrid(), 0), (QStringList{"0.3", "1.0", "45.0", "1.0"}));
        QStringList factors;
        for (int i = 0; i < 4; ++i)
            factors << form.ScaleFactorEdit(i)->text();
        QCOMPARE(factors, (QStringList{"0.01", "1", "0.01", "1"}));

        form.resize(900, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ClickCell(grid, 0, 0);
        QVERIFY(!grid->IsEditing());
        ClickCell(grid, 1, 2);
        QVERIFY(grid->IsEditing());
    }

    void laminaCommitFollowsTheNumberRuleAndRefillsUnchanged()
    {
        CLaminaDlg form;
        form.SetDocumentProvider([this] { return &m_doc; });
        CListCtrlReport* constituents = form.ConstituentGrid();
        CListCtrlReport* ply = form.LaminaGrid();
        SetRow(constituents, 0, 1, {"  탄소 T700 ", " 1.76 ", "230", "0.2"});
        SetRow(constituents, 1, 2, {"", "3.5", "0,35"}); // an empty cell is 0
        QVERIFY(!form.SaveToLamina(2));
        QCOMPARE(m_sink.Messages(), QStringList{"숫자를 입력하세요"});
        // The record was made all the same, with what was read before the bad cell.
        QVERIFY(m_doc.laminate.FindLamina(2));
        Lamina& lamina = *m_doc.laminate.FindLamina(2);
        QCOMPARE(lamina.fiber.name, std::string("  탄소 T700 "));
        QCOMPARE(lamina.fiber.density, 1.76);
        QCOMPARE(lamina.matrix.youngs_modulus, 3.5);

        const char* messages[4] = {"숫자를 입력하세요(FAW)", "숫자를 입력하세요(Thickness)",
                                   "숫자를 입력하세요(Angle)", "숫자를 입력하세요(xi)"};
        constituents->SetItemText(1, 4, "0.35");
        for (int column = 0; column < 4; ++column) {
            m_sink.Clear();
            ply->SetItemText(0, column, "1.2.3");
            QVERIFY(!form.SaveToLamina(2));
            QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(messages[column])});
            ply->SetItemText(0, column, " 12.5 ");
        }
        m_sink.Clear();
        form.ScaleFactorEdit(1)->setText("abc");
        form.ScaleFactorEdit(0)->setText("0.02");
        QVERIFY(form.SaveToLamina(2));
        QCOMPARE(m_sink.Messages(), QStringList{"Please enter a number."});
        QCOMPARE(m_doc.laminate.laminae.size(), size_t(1)); // the same record again
        QCOMPARE(lamina.FAW, 12.5);
        QCOMPARE(lamina.matrix.density, 0.0);
        QCOMPARE(lamina.S_scale_factor, 0.02);
        QCOMPARE(lamina.C_scale_factor, 1.0); // the edits from the bad one on keep their values

        // Shown again from its record, the lamina is saved back bit for bit.
        m_sink.Clear();
        lamina.fiber.poissons_ratio = 0.123456789;
        lamina.FAW = 1.0 / 3;
        lamina.angle = 45;
        lamina.S_angle_scale_factor = 0.001;
        form.LoadConstituentRow(0, &lamina);
        form.LoadConstituentRow(1, &lamina);
        form.LoadLaminaRow(&lamina);
        form.SetScaleFactors(lamina.S_scale_factor, lamina.C_scale_factor, lamina.S_angle_scale_factor,
                             lamina.C_angle_scale_factor);
        QCOMPARE(constituents->GetItemText(0, 4), QString("0.123456789"));
        QCOMPARE(ply->GetItemText(0, 2), QString("45"));
        const Lamina before = lamina;
        QVERIFY(form.SaveToLamina(2));
        QVERIFY(lamina.SameInputs(before));
        QVERIFY(m_sink.messages.empty());
    }

    void experimentSaveReadsEveryCellAndRefillsUnchanged()
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
        QCOMPARE(m_sink.Messages(), (QStringList{"실수가 아닌 데이터가 있습니다11", "실수가 아닌 데이터가 있습니다11"}));
        QCOMPARE(specimen->width, 25.0);
        QCOMPARE(specimen->thickness, 2.05);
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
        QVERIFY(form.SaveToSpecimen(4));
        QVERIFY(specimen->SameInputs(before));

        m_sink.Clear();
        ExperimentSpecimen uneven = *specimen;
        uneven.strain_series.pop_back();
        form.LoadFromSpecimen(uneven);
        QCOMPARE(m_sink.Messages(), QStringList{"데이터 갯수가 다릅니다"});
        QCOMPARE(form.Grid()->GetItemCount(), 0);
    }

    void experimentPastesAtTheClickedCellAndKeysNeverResetIt()
    {
        CExperimentDlg form;
        form.resize(600, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CListCtrlReport* grid = form.Grid();
        ClickCell(grid, 0, 1);
        QVERIFY(!grid->IsEditing()); // this form never opens an editor
        QGuiApplication::clipboard()->setText("0.1\t40\n0.2\t80\n");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Row(grid, 1), (QStringList{"", "0.2", "80"}));

        form.WidthEdit()->setText("12");
        QTest::keyClick(&form, Qt::Key_Escape);
        QTest::keyClick(form.WidthEdit(), Qt::Key_Return);
        QVERIFY(form.isVisible());
        QCOMPARE(form.WidthEdit()->text(), QString("12"));
        QCOMPARE(grid->GetItemCount(), 2);

        QTest::mouseClick(form.InitializeButton(), Qt::LeftButton);
        QCOMPARE(grid->GetItemCount(), 1);
        QCOMPARE(form.WidthEdit()->text(), QString("0"));
    }
};

QTEST_MAIN(FormsTest)
#include "forms_test.moc"