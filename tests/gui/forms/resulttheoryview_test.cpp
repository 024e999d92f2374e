// The theory results view over a laminate the engine has calculated: every result
// in the row that names it, the ABAQUS card and its export, and rounding noise
// shown as 0 without hiding small results.
#include "forms/envelopechart.h"
#include "forms/resulttheoryview.h"
#include "forms/shownnumber.h"
#include "guitestsupport.h"

#include <QRegularExpression>

#include <map>

class ResultTheoryViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { IsolateSettings(); }

    void showsEveryResultAndExportsTheCard()
    {
        QTemporaryDir dir;
        CPlyforgeDoc doc;
        doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/single-lamina.plyforge"));
        doc.laminate.laminae[0]->angle = 0; // E1 and E2, Ex and Ey differ
        doc.program_folder = dir.path().toStdString();
        Trace trace = Trace::Discard();
        QVERIFY(doc.CalculateTheory(trace));
        CResultTheoryView view;
        view.Refresh(&doc);
        view.Refresh(&doc); // a second run replaces the rows
        const Laminate& l = doc.laminate;
        const Lamina& ply = *l.laminae[0];
        QCOMPARE(RowTexts(view.LaminaeList(), 0),
                 (QStringList{"1", "Carbon", "Epoxy", GText(ply.FAW), GText(ply.thickness), GText(ply.angle)}));
        QCOMPARE(view.LaminaeList()->GetItemCount(), 1);
        const std::map<QString, double> values{
            {"Ex", l.Ex},         {"Ey", l.Ey},         {"Gxy", l.Gxy}, {"NUxy", l.NUxy}, {"NUyx", l.NUyx},
            {"ETAxyx", l.ETAxyx}, {"ETAxyy", l.ETAxyy}, {"E1", l.E1},   {"E2", l.E2},     {"NU12", l.NU12},
            {"G12", l.G12},       {"G13", l.G13},       {"G23", l.G23}};
        int rows = 0;
        for (const CListCtrlReport* list : {view.HomogenizationList(), view.AbaqusList()}) {
            for (int row = 0; row < list->GetItemCount(); ++row, ++rows)
                QCOMPARE(list->GetItemText(row, 2), GText(values.at(list->GetItemText(row, 0))));
        }
        QCOMPARE(rows, int(values.size()));
        // One ply is symmetric about its middle, and its membrane modulus is its Ex.
        const QString laminate = view.LaminateBox()->toPlainText();
        QVERIFY2(laminate.contains("Membrane: Ex=" + GText(l.Ex) + "GPa") && laminate.contains("Symmetric (B = 0): yes"),
                 qPrintable(laminate));
        // Three lines in the view; the file takes this platform's line ends.
        const QString card = view.CardText();
        QCOMPARE(card.count("\r\n"), 3);
        QVERIFY(view.ExportCard(dir.filePath("Composite.inp")));
        QCOMPARE(QString(ReadAll(dir.filePath("Composite.inp"))), QString(card).replace("\r\n", "\n"));
        QVERIFY(view.ExportFeSection(dir.filePath("section.inp")));
        QVERIFY(ReadAll(dir.filePath("section.inp")).contains("*SHELL SECTION, ELSET=LAMINATE, COMPOSITE\n0.125, 3, PLY_1"));
        Recorded().Clear();
        QVERIFY(!view.ExportCard(dir.filePath("missing/Composite.inp")));
        QVERIFY(Recorded().Messages().value(0).contains("missing/Composite.inp"));
    }

    // The cross-ply's strength: a ratio and mode per ply and criterion, the first ply
    // to fail marked in each criterion's column, the envelope drawn; without a load
    // case or strengths, a note says why there is none.
    void showsTheStrengthAndWhyNot()
    {
        CPlyforgeDoc doc;
        doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/cross-ply-strength.plyforge"));
        Trace trace = Trace::Discard();
        QVERIFY(doc.CalculateTheory(trace));
        CResultTheoryView view;
        view.Refresh(&doc);
        CListCtrlReport* list = view.StrengthList();
        QCOMPARE(list->GetItemCount(), 6); // four plies, first- and last-ply failure
        QVERIFY2(list->GetItemText(1, 6).endsWith("iff_a"), qPrintable(list->GetItemText(1, 6)));
        QCOMPARE(list->GetItemText(4, 0), QString("First-ply failure"));
        const QAbstractItemModel* model = list->model();
        for (int column = 1; column <= 6; ++column) {
            QVERIFY(model->data(model->index(1, column), Qt::BackgroundRole).isValid()); // ply 2 fails first
            QVERIFY(!model->data(model->index(2, column), Qt::BackgroundRole).isValid()); // its mirror is not marked
        }
        QVERIFY(view.EnvelopeChart()->HasCurves());
        // The envelope exports at the size asked, and never over the project.
        QTemporaryDir dir;
        QVERIFY(view.EnvelopeChart()->ExportImage(dir.filePath("envelope.png"), QSize(1890, 1181), 300));
        QCOMPARE(QImage(dir.filePath("envelope.png")).size(), QSize(1890, 1181));
        const QString project = dir.filePath("p.plyforge");
        QVERIFY(QFile(project).open(QIODevice::WriteOnly));
        view.SetInputFiles([&project] { return std::vector<std::string>{project.toStdString()}; });
        Recorded().Clear();
        QVERIFY(!view.EnvelopeChart()->ExportImage(project, QSize(800, 600), 96));
        QCOMPARE(QFileInfo(project).size(), 0);

        doc.load_case.reset();
        view.Refresh(&doc);
        QCOMPARE(list->GetItemCount(), 0);
        QVERIFY(view.StrengthNote().startsWith("Enter a load case"));
        QVERIFY(!view.EnvelopeChart()->HasCurves());
        for (auto& lamina : doc.laminate.laminae)
            lamina->strength = Lamina().strength;
        doc.load_case = LaminateLoad{{100, 0, 0}, {0, 0, 0}};
        view.Refresh(&doc);
        QVERIFY(view.StrengthNote().startsWith("No lamina has strengths"));
    }

    // The quasi-isotropic laminate under Nx: its couplings, shear strains and shear
    // stresses in the 0 and 90 degree plies are rounding of 1e-15 and less beside the
    // other results, and read 0. Under a load a million times smaller every strain is
    // tiny, and keeps its digits: zero is judged against the table, not a fixed size.
    void roundingNoiseReadsZeroSmallResultsKeepTheirDigits()
    {
        QVERIFY(ShownNumber::IsZero(2.53323e-17, 1) && ShownNumber::IsZero(4e-6, 1));
        QVERIFY(!ShownNumber::IsZero(6e-6, 1) && !ShownNumber::IsZero(1.7e-11, 1.7e-11));
        QTemporaryDir dir;
        CPlyforgeDoc doc;
        doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/quasi-isotropic.plyforge"));
        doc.program_folder = dir.path().toStdString();
        doc.load_case = LaminateLoad{{100, 0, 0}, {0, 0, 0}};
        Trace trace = Trace::Discard();
        QVERIFY(doc.CalculateTheory(trace));
        QVERIFY(std::abs(doc.laminate.ETAxyx) > 0); // the noise is there to be rounded
        CResultTheoryView view;
        const QRegularExpression noise("e-(1[3-9]|[2-9][0-9])"); // real results here reach 1e-10
        for (const double nx : {100.0, 1e-4}) {
            doc.load_case->N[0] = nx;
            view.Refresh(&doc);
            QCOMPARE(RowTexts(view.HomogenizationList(), 5), (QStringList{"ETAxyx", "", "0"}));
            QCOMPARE(RowTexts(view.HomogenizationList(), 6), (QStringList{"ETAxyy", "", "0"}));
            const QString text = view.LaminateBox()->toPlainText();
            QVERIFY2(!text.contains(noise), qPrintable(text));
            const QString strain = nx == 100 ? "0.00173643 -0.000543147" : "1.73643e-09 -5.43147e-10";
            QVERIFY2(text.contains(QRegularExpression("Mid-plane strain \\(x, y, xy\\): +" + strain + " +0\n")),
                     qPrintable(text));
            // Ply 2 (45 degrees) has a real shear stress; ply 1 (0 degrees) has none.
            const QString shear = nx == 100 ? "36.6441" : "3.66441e-05";
            QVERIFY2(text.contains(QRegularExpression("\n2\tbottom\t-0.375\t[^\n]* " + shear + "\t")),
                     qPrintable(text));
            QVERIFY2(text.contains(QRegularExpression("\n1\tbottom\t-0.5\t[^\t]*\t[^\t]* 0\t")), qPrintable(text));
        }
    }
};

QTEST_MAIN(ResultTheoryViewTest)
#include "resulttheoryview_test.moc"
