// The log pane's text control: a calculation log loaded with its headings coloured,
// the keys it reports, and missing or empty files.
#include "controls/richeditcustomctrl.h"
#include "guitestsupport.h"

class RichEditCustomCtrlTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { IsolateSettings(); }

    void loadsColoursAndReportsKeys()
    {
        QTemporaryDir dir;
        const QString text = "\nStart Calculation\n\n##Input data for material properties\nid=1\nE1=139.4";
        const QString path = WriteFile(dir.filePath("TheoreticalLog.txt"), (text + "\n").toUtf8());
        CRichEditCustomCtrl edit;
        QCOMPARE(edit.LoadFile(path, "##"), 0);
        QCOMPARE(edit.toPlainText(), text);
        QCOMPARE(edit.LineColor(3), edit.MarkedColor());
        QCOMPARE(edit.LineColor(1), edit.NormalColor());
        QVERIFY(edit.MarkedColor() != edit.NormalColor());
        // 1 when a line holds a first key, 2 when one holds a second key.
        QCOMPARE((QList<int>{edit.LoadFile(path, "##", {"id="}, {}), edit.LoadFile(path, "##", {"id="}, {"E1"}),
                             edit.LoadFile(path, "##", {"E1"}, {"id="})}),
                 (QList<int>{1, 2, 1}));
        // Missing (also by letter case): -1, no message, and the text stays.
        QCOMPARE(edit.LoadFile(dir.filePath("theoreticallog.txt"), "##"), -1);
        QCOMPARE(edit.toPlainText(), text);
        QVERIFY(Recorded().messages.empty());
        QCOMPARE(edit.LoadFile(WriteFile(dir.filePath("empty.txt"), {}), "##"), 0);
        QVERIFY(edit.toPlainText().isEmpty());
    }
};

QTEST_MAIN(RichEditCustomCtrlTest)
#include "richeditcustomctrl_test.moc"
