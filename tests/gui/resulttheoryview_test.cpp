// The theory results view over a laminate the engine has calculated: every result
// in the row that names it, the ABAQUS card and its export.
#include "forms/resulttheoryview.h"
#include "guitestsupport.h"

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
        std::string trace;
        TraceOutput::SetCapture(&trace);
        QVERIFY(doc.CalculateTheory());
        TraceOutput::SetCapture(nullptr);
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
};

QTEST_MAIN(ResultTheoryViewTest)
#include "resulttheoryview_test.moc"
