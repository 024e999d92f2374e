// The lamina form over a document of the test: which cells open an editor, the
// number rule and its messages, cells that are not numbers kept as typed, and refills
// that never alter a value.
#include "doc/calculationchecks.h"
#include "forms/laminadlg.h"
#include "forms/plyinputs.h"

#include <QComboBox>
#include "guitestsupport.h"

class LaminaDlgTest : public QObject {
    Q_OBJECT

    RecordingMessageSink& m_sink = Recorded();
    CPlyforgeDoc m_doc;

private slots:
    void initTestCase() { IsolateSettings(); }

    void labelColumnIsNeverEdited()
    {
        CLaminaDlg form;
        form.resize(900, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CListCtrlReport* grid = form.ConstituentGrid();
        ClickCell(grid, 0, 0);
        QVERIFY(!grid->IsEditing());
        ClickCell(grid, 1, 1);
        QVERIFY(grid->IsEditing());
    }

    void saveFollowsTheNumberRuleAndRefillsUnchanged()
    {
        CLaminaDlg form;
        form.SetDocumentProvider([this] { return &m_doc; });
        CListCtrlReport* constituents = form.ConstituentGrid();
        CListCtrlReport* ply = form.LaminaGrid();
        // The fibre row in full; the matrix with an empty density (0) and a bad ratio.
        const QStringList cells{"  탄소 T700 ", " 1.76 ", "230", "0,2", "Epoxy", "", "3.5", "0.35.1"};
        for (int i = 0; i < 8; ++i)
            constituents->SetItemText(i / 4, i % 4 + 1, cells[i]);
        QVERIFY(!form.SaveToLamina(2));
        // The message names the lamina and the field, the bad cell is marked.
        QCOMPARE(m_sink.Messages(),
                 QStringList{"숫자를 입력하세요\nTheoretical Lamina #2, Matrix, Possion's Ratio: \"0.35.1\""});
        QVERIFY(constituents->model()->index(1, 4).data(Qt::BackgroundRole).isValid());
        QVERIFY(!constituents->model()->index(1, 1).data(Qt::BackgroundRole).isValid());
        // The record was made all the same, the bad cell kept as typed.
        Lamina* lamina = m_doc.laminate.FindLamina(2);
        QVERIFY(lamina && lamina->fiber.name == "  탄소 T700 ");
        QVERIFY(lamina->fiber.poissons_ratio == 0.2 && lamina->matrix.youngs_modulus == 3.5);
        QVERIFY(std::isnan(lamina->matrix.poissons_ratio) &&
                lamina->unread_cells == (std::vector<UnreadField>{{"matrix.poissons_ratio", "0.35.1"}}));
        const char* messages[4] = {"숫자를 입력하세요(FAW)\nTheoretical Lamina #2, FAW(%): \"1.2.3\"",
                                   "숫자를 입력하세요(Thickness)\nTheoretical Lamina #2, Thickness(mm): \"1.2.3\"",
                                   "숫자를 입력하세요(Angle)\nTheoretical Lamina #2, Angle(degree): \"1.2.3\"",
                                   "숫자를 입력하세요(xi)\nTheoretical Lamina #2, xi: \"1.2.3\""};
        constituents->SetItemText(1, 4, "0.35");
        for (int column = 0; column < 4; ++column) {
            m_sink.Clear();
            ply->SetItemText(0, column, "1.2.3");
            QVERIFY(!form.SaveToLamina(2));
            QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(messages[column])});
            ply->SetItemText(0, column, QString(" %1 ").arg(column + 12.5));
        }
        m_sink.Clear();
        form.ScaleFactorEdit(0)->setText("0.02");
        form.ScaleFactorEdit(1)->setText("abc");
        form.ScaleFactorEdit(2)->setText("0.5");
        // A factor that is not a number stops the commit, named: no older factor stands in for it.
        QVERIFY(!form.SaveToLamina(2));
        QCOMPARE(m_sink.Messages(),
                 QStringList{"Please enter a number.\nTheoretical Lamina #2, C Matrix Scale Factor: \"abc\""});
        m_sink.Clear();
        form.ScaleFactorEdit(1)->setText("0.7");
        QVERIFY(form.SaveToLamina(2) && m_sink.messages.empty());
        QVERIFY(m_doc.laminate.laminae.size() == 1 && lamina->matrix.density == 0); // the same record
        QCOMPARE((std::vector<double>{lamina->FAW, lamina->thickness, lamina->angle, lamina->xi}),
                 (std::vector<double>{12.5, 13.5, 14.5, 15.5}));
        QCOMPARE((std::vector<double>{lamina->S_scale_factor, lamina->C_scale_factor, lamina->S_angle_scale_factor}),
                 (std::vector<double>{0.02, 0.7, 0.5}));
        // Shown again from its record, the lamina is saved back bit for bit.
        m_sink.Clear();
        lamina->matrix.poissons_ratio = 0.123456789;
        lamina->FAW = 1.0 / 3;
        lamina->S_angle_scale_factor = 0.001;
        form.LoadConstituentRow(0, lamina);
        form.LoadConstituentRow(1, lamina);
        form.LoadLaminaRow(lamina);
        form.SetScaleFactors(lamina->S_scale_factor, lamina->C_scale_factor, lamina->S_angle_scale_factor,
                             lamina->C_angle_scale_factor);
        QVERIFY(constituents->GetItemText(1, 4) == "0.123456789" && ply->GetItemText(0, 2) == "14.5");
        const Lamina before = *lamina;
        QVERIFY(form.SaveToLamina(2) && lamina->SameInputs(before) && m_sink.messages.empty());

        // A save keeps such cells without a word; shown again from the record, they are
        // there as typed, marked, and saved back unchanged.
        constituents->SetItemText(0, 2, "abc");
        ply->SetItemText(0, 3, "x i");
        QVERIFY(form.SaveToLamina(2, CLaminaDlg::UnreadCells::Keep) && m_sink.messages.empty());
        QVERIFY(lamina->unread_cells == (std::vector<UnreadField>{{"fiber.density", "abc"}, {"xi", "x i"}}));
        CLaminaDlg shown;
        shown.SetDocumentProvider([this] { return &m_doc; });
        shown.LoadConstituentRow(0, lamina);
        shown.LoadConstituentRow(1, lamina);
        shown.LoadLaminaRow(lamina);
        shown.SetScaleFactors(lamina->S_scale_factor, lamina->C_scale_factor, lamina->S_angle_scale_factor,
                              lamina->C_angle_scale_factor);
        QCOMPARE(shown.ConstituentGrid()->GetItemText(0, 2) + '|' + shown.LaminaGrid()->GetItemText(0, 3),
                 QString("abc|x i"));
        QVERIFY(shown.ConstituentGrid()->model()->index(0, 2).data(Qt::BackgroundRole).isValid());
        QVERIFY(shown.LaminaGrid()->model()->index(0, 3).data(Qt::BackgroundRole).isValid());
        const Lamina kept = *lamina;
        QVERIFY(shown.SaveToLamina(2, CLaminaDlg::UnreadCells::Keep) && lamina->SameInputs(kept));
    }
    // From ply constants: the constituents' rows give way to the ply's, the choice is
    // an undo step, the strengths are read (blank: not given) and refilled unchanged.
    void plyConstantsAndStrengthsRoundTrip()
    {
        CPlyforgeDoc doc;
        CLaminaDlg form;
        form.SetDocumentProvider([&doc] { return &doc; });
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CPlyInputs* inputs = form.PlyInputs();
        QVERIFY(form.ConstituentGrid()->isVisible() && !inputs->PlyGrid()->isVisible());
        inputs->SourceChoice()->activated(1); // as the user's choice
        inputs->SourceChoice()->setCurrentIndex(1);
        QVERIFY(!form.ConstituentGrid()->isVisible() && inputs->PlyGrid()->isVisible());
        QVERIFY(form.LaminaGrid()->isColumnHidden(0) && form.LaminaGrid()->isColumnHidden(3)); // FAW, xi
        const QStringList ply{"181", "10.3", "7.17", "0.28", "", "1.6"}, strengths{"1500", "1500", "40", "246", "68", ""};
        for (int column = 0; column < 6; ++column) {
            inputs->PlyGrid()->SetItemText(0, column, ply[column]);
            inputs->StrengthGrid()->SetItemText(0, column, strengths[column]);
        }
        QVERIFY(form.SaveToLamina(1));
        const Lamina& lamina = *doc.laminate.FindLamina(1);
        QVERIFY(lamina.source == LaminaSource::PlyConstants && lamina.ply.E2 == 10.3 && lamina.ply.nu23 == 0.3);
        QVERIFY(lamina.Assessed() && lamina.strength.Yc == 246 && std::isnan(lamina.strength.ST));
        QVERIFY(CalculationChecks::LaminaFault(lamina).empty());

        // A strength that is not a number stops the save with the field named.
        inputs->StrengthGrid()->SetItemText(0, 4, "strong");
        m_sink.Clear();
        QVERIFY(!form.SaveToLamina(1));
        QCOMPARE(m_sink.Messages(), QStringList{"숫자를 입력하세요\nTheoretical Lamina #1, Strengths, S: \"strong\""});
        inputs->StrengthGrid()->SetItemText(0, 4, "68");

        form.LoadLaminaRow(&lamina);
        QCOMPARE(inputs->StrengthGrid()->GetItemText(0, 5), QString()); // ST stays blank
        QCOMPARE(inputs->PlyGrid()->GetItemText(0, 1), QString("10.3"));
        // Undo takes the choice back and shows the constituents again.
        form.UndoStack()->Stack()->undo();
        while (form.UndoStack()->Stack()->canUndo())
            form.UndoStack()->Stack()->undo();
        QCOMPARE(inputs->SourceChoice()->currentIndex(), 0);
        QVERIFY(form.ConstituentGrid()->isVisible());
    }
};

QTEST_MAIN(LaminaDlgTest)
#include "laminadlg_test.moc"
