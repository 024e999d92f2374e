// The desktop shell driven through its real widgets: start-up, the ribbon's
// counts, the menu tree, the windows found by caption, the looks, the panes and
// the log pane.
#include "guitestsupport.h"

#include "app/applook.h"
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
#include "app/windowsdlg.h"
#include <QListWidget>
#include "controls/richeditcustomctrl.h"
#include "controls/treectrlcustom.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "controls/listctrlreport.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

class ShellTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CPlyforgeApp> m_app;
    RecordingMessageSink m_sink;

    CMainFrame* Frame() const { return m_app->MainWnd(); }
    CRibbonBar* Ribbon() const { return Frame()->Ribbon(); }
    CTreeCtrlCustom* Tree() const { return Frame()->MainMenuView()->Tree(); }
    CPlyforgeDoc* Doc() const { return Frame()->ActiveDocument(); }

    void StartApp()
    {
        m_app.reset();
        m_app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
        QVERIFY(m_app->InitInstance());
        Frame()->SetSaveQuestion([] { return CMainFrame::SaveAnswer::Discard; });
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }

    QTreeWidgetItem* TreeItem(const QString& text) const
    {
        const QList<QTreeWidgetItem*> items = Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return items.isEmpty() ? nullptr : items.first();
    }

    // Clicks the item's label, as a user does.
    void ClickTreeItem(const QString& text) { QVERIFY2(::ClickTreeItem(Frame(), text), qPrintable(text)); }

    void ApplyTheoryCount(const QString& text)
    {
        Ribbon()->m_theoryLamina->setText(text);
        QTest::mouseClick(Ribbon()->m_theoryApply, Qt::LeftButton);
    }

    QStringList Captions() const
    {
        QStringList captions;
        for (CChildFrame* child : Frame()->TabArea()->Children())
            captions << child->Caption();
        return captions;
    }

    QStringList TreeTexts() const
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
            texts << (*it)->text(0);
        return texts;
    }

private slots:
    void initTestCase()
    {
        IsolateSettings();
        SetAppMessageSink(&m_sink);
    }

    void init()
    {
        m_sink.Clear();
        StartApp();
    }

    void cleanup() { m_app.reset(); }

    void cleanupTestCase() { SetAppMessageSink(nullptr); }

    void startUpState()
    {
        QCOMPARE(Frame()->windowTitle(), QString(captions::kAppTitle));
        QCOMPARE(Ribbon()->m_theoryLamina->text(), QString("0"));
        QCOMPARE(Ribbon()->m_theoryScaleFactor->text(), QString("0.01"));
        QCOMPARE(Ribbon()->m_experimentLamina->text(), QString("0"));
        QCOMPARE(Ribbon()->m_elasticMin->text(), QString("0.1"));
        QCOMPARE(Ribbon()->m_elasticMax->text(), QString("0.3"));
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #"});
        auto* view = qobject_cast<CPlyforgeView*>(Frame()->ActiveChild()->View());
        QVERIFY(view && view->ShowsPicture());
        const QString log = Frame()->LogView()->RichEdit()->toPlainText();
        QVERIFY2(QRegularExpression("^Devivadazu Dudiverodi Vazerovuze Zozezaz's started at "
                                    "\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\\n\\n$")
                     .match(log)
                     .hasMatch(),
                 qPrintable(log));
        QCOMPARE(TreeTexts(), (QStringList{"Theoretical Formula", "Experimental Formula", "Theory"}));
        Frame()->UpdateCommandUI();
        QVERIFY(!Ribbon()->m_theoryCalculate->isEnabled());
        QVERIFY(!Ribbon()->m_experimentCalculate->isEnabled());
        QVERIFY(m_sink.messages.empty());
    }

    void applyCountsBuildTheTree()
    {
        ApplyTheoryCount("3");
        QCOMPARE(Doc()->lamina_count, 3);
        QCOMPARE(TreeTexts(), (QStringList{"Theoretical Formula", "Theoretical Lamina #1", "Theoretical Lamina #2",
                                           "Theoretical Lamina #3", "Experimental Formula", "Theory"}));
        QVERIFY(TreeItem("Theoretical Formula")->isExpanded());
        QCOMPARE(TreeItem("Theoretical Lamina #2")->data(0, Qt::UserRole).toInt(), 2);

        Ribbon()->m_experimentLamina->setText("007");
        QTest::mouseClick(Ribbon()->m_experimentApply, Qt::LeftButton);
        QCOMPARE(Doc()->specimen_count, 7);
        QCOMPARE(Doc()->lamina_count, 0); // applying either count starts a new project
        QCOMPARE(Ribbon()->m_theoryLamina->text(), QString("0"));
        QCOMPARE(Ribbon()->m_experimentLamina->text(), QString("7"));
        QCOMPARE(TreeTexts().size(), 3 + 7);
        QCOMPARE(TreeTexts().at(2), QString("Experimental Lamina #1"));
    }

    void badCountsAreRefusedWithTheirMessages()
    {
        ApplyTheoryCount("2");
        CPlyforgeDoc* before = Doc();
        const struct {
            const char* text;
            const char* message;
        } cases[] = {{"-2", msg::kEnterInteger},         {"+3", msg::kEnterInteger},
                     {"3a", msg::kEnterInteger},         {" 3", msg::kEnterInteger},
                     {"삼", msg::kEnterInteger},         {"", msg::kEnterPositiveInteger},
                     {"0", msg::kEnterPositiveInteger},  {"10001", msg::kCountTooLarge},
                     {"99999999999999999999", msg::kCountTooLarge}};
        for (const auto& c : cases) {
            m_sink.Clear();
            ApplyTheoryCount(c.text);
            QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(c.message)});
            QCOMPARE(Doc(), before); // the project stays as it was
            QCOMPARE(Doc()->lamina_count, 2);
        }
        // The edit's own Enter applies the count too.
        Ribbon()->m_theoryLamina->setText("4");
        QTest::keyClick(Ribbon()->m_theoryLamina, Qt::Key_Return);
        QCOMPARE(Doc()->lamina_count, 4);
    }

    void treeClicksSwitchTheOneMainView()
    {
        ApplyTheoryCount("3");
        ClickTreeItem("Theoretical Lamina #1");
        auto* view = qobject_cast<CPlyforgeView*>(Frame()->ActiveChild()->View());
        QVERIFY(view && view->LaminaDlg());
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #1"});
        QCOMPARE(Doc()->current_lamina_id, 1);
        QCOMPARE(view->LaminaDlg()->ConstituentGrid()->GetItemText(0, 1), QString("untitle"));

        view->LaminaDlg()->ConstituentGrid()->SetItemText(0, 1, "T700");
        view->LaminaDlg()->LaminaGrid()->SetItemText(0, 2, "30");
        ClickTreeItem("Theoretical Lamina #2");
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #2"});
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(1)); // lamina 1 saved before switching
        QCOMPARE(Doc()->laminate.laminae[0]->fiber.name, std::string("T700"));
        QCOMPARE(Doc()->laminate.laminae[0]->angle, 30.0);
        QCOMPARE(view->LaminaDlg()->LaminaGrid()->GetItemText(0, 2), QString("45.0"));

        ClickTreeItem("Theoretical Lamina #1");
        QCOMPARE(view->LaminaDlg()->ConstituentGrid()->GetItemText(0, 1), QString("T700"));
        QCOMPARE(view->LaminaDlg()->LaminaGrid()->GetItemText(0, 2), QString("30"));

        ClickTreeItem("Theory");
        ClickTreeItem("Theory");
        QCOMPARE(Captions().count("Theory View"), 1);
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString("Theory View"));
        ClickTreeItem("Theoretical Lamina #3");
        QCOMPARE(Captions(), (QStringList{"Theoretical Lamina #3", "Theory View"}));
    }

    void aFailedCommitKeepsTheHighlight()
    {
        ApplyTheoryCount("2");
        ClickTreeItem("Theoretical Lamina #1");
        auto* view = qobject_cast<CPlyforgeView*>(Frame()->ActiveChild()->View());
        view->LaminaDlg()->LaminaGrid()->SetItemText(0, 1, "thick");
        ClickTreeItem("Theoretical Lamina #2");
        QCOMPARE(m_sink.Messages(), QStringList{"숫자를 입력하세요(Thickness)"});
        QCOMPARE(Doc()->current_lamina_id, 1);
        QCOMPARE(Tree()->currentItem()->text(0), QString("Theoretical Lamina #1"));
    }

    void experimentAndTheoryShareTheMainView()
    {
        ApplyTheoryCount("1");
        Ribbon()->m_experimentLamina->setText("2"); // a new project with two specimens
        QTest::mouseClick(Ribbon()->m_experimentApply, Qt::LeftButton);
        ClickTreeItem("Experimental Lamina #2");
        QCOMPARE(Captions(), QStringList{"Experimental Lamina #2"});
        auto* view = qobject_cast<CPlyforgeView*>(Frame()->ActiveChild()->View());
        QVERIFY(view->ExperimentDlg() && view->CurrentForm() == static_cast<QWidget*>(view->ExperimentDlg()));
    }

    void newResetsEverything()
    {
        ApplyTheoryCount("2");
        ClickTreeItem("Theoretical Lamina #1");
        Ribbon()->m_theoryScaleFactor->setText("0.5");
        Ribbon()->m_elasticMax->setText("0.7");
        QTest::mouseClick(Ribbon()->m_projectNew, Qt::LeftButton);
        QCOMPARE(Doc()->lamina_count, 0);
        QVERIFY(Doc()->laminate.laminae.empty());
        QCOMPARE(Ribbon()->m_theoryLamina->text(), QString("0"));
        QCOMPARE(Ribbon()->m_theoryScaleFactor->text(), QString("0.01"));
        QCOMPARE(Ribbon()->m_elasticMax->text(), QString("0.3"));
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #"});
        QCOMPARE(TreeTexts().size(), 3);
        QVERIFY(Frame()->LogView()->RichEdit()->toPlainText().isEmpty());
        Frame()->UpdateCommandUI();
        QVERIFY(!Ribbon()->m_theoryCalculate->isEnabled());
    }

    void calculateEnablingFollowsCountsAndRecords()
    {
        ApplyTheoryCount("1");
        Frame()->UpdateCommandUI();
        QVERIFY(Ribbon()->m_theoryCalculate->isEnabled());
        ApplyTheoryCount("3");
        Frame()->UpdateCommandUI();
        QVERIFY(!Ribbon()->m_theoryCalculate->isEnabled());
        ClickTreeItem("Theoretical Lamina #1");
        ClickTreeItem("Theoretical Lamina #2");
        ClickTreeItem("Theoretical Lamina #3"); // two records, the third on screen
        Frame()->UpdateCommandUI();
        QVERIFY(Ribbon()->m_theoryCalculate->isEnabled());
    }

    void lookIsSavedAndRestored()
    {
        QCOMPARE(Frame()->AppLook(), AppLook::kWindows7);
        Frame()->OnApplicationLook(216);
        QCOMPARE(QSettings().value("ApplicationLook").toInt(), 216);
        QVERIFY(qApp->palette().color(QPalette::Window).lightness() < 100);
        StartApp();
        QCOMPARE(Frame()->AppLook(), 216);
        Frame()->OnApplicationLook(AppLook::kWindows7);
    }

    void paneTogglesFollowVisibility()
    {
        Frame()->UpdateCommandUI();
        QVERIFY(Ribbon()->m_logViewCheck->isChecked());
        QTest::mouseClick(Ribbon()->m_logViewCheck, Qt::LeftButton);
        QVERIFY(!Frame()->LogPane()->isVisible());
        QVERIFY(!Ribbon()->m_logViewCheck->isChecked());
        Frame()->LogPane()->show(); // as if the user showed it again some other way
        Frame()->UpdateCommandUI();
        QVERIFY(Ribbon()->m_logViewCheck->isChecked());
        Frame()->MainMenuPane()->close(); // the pane's own close button
        Frame()->UpdateCommandUI();
        QVERIFY(!Ribbon()->m_menuViewCheck->isChecked());
        QTest::mouseClick(Ribbon()->m_menuViewCheck, Qt::LeftButton);
        QVERIFY(Frame()->MainMenuPane()->isVisible());
    }

    void windowsDialogActivatesAndCloses()
    {
        ApplyTheoryCount("1");
        ClickTreeItem("Theory");
        CWindowsDlg dialog(Frame()->TabArea(), Frame());
        QCOMPARE(dialog.List()->count(), 2);
        dialog.List()->setCurrentRow(0);
        dialog.ActivateSelected();
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString("Theoretical Lamina #"));
        dialog.List()->clearSelection();
        dialog.List()->item(1)->setSelected(true);
        dialog.CloseSelected();
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #"});
        QCOMPARE(dialog.List()->count(), 1);
    }

    void logPaneColoursHeadingsAndReportsKeys()
    {
        QTemporaryDir dir;
        CRichEditCustomCtrl* edit = Frame()->LogView()->RichEdit();
        const QString path = dir.filePath("TheoreticalLog.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\nStart Calculation\n\n##Input data for material properties\nid=1\nE1=139.4\n");
        file.close();
        QCOMPARE(edit->LoadFile(path, "##"), 0);
        QCOMPARE(edit->toPlainText(), QString("\nStart Calculation\n\n##Input data for material properties\nid=1\nE1=139.4"));
        QCOMPARE(edit->LineColor(3), QColor(35, 100, 200));
        QCOMPARE(edit->LineColor(1), QColor(0, 0, 0));
        QCOMPARE(edit->LoadFile(path, "##", {"id="}, {}), 1);
        QCOMPARE(edit->LoadFile(path, "##", {"id="}, {"E1"}), 2);
        QCOMPARE(edit->LoadFile(path, "##", {"E1"}, {"id="}), 1);
        // Missing (also by letter case): -1 and the text stays.
        QCOMPARE(edit->LoadFile(dir.filePath("theoreticallog.txt"), "##"), -1);
        QVERIFY(edit->toPlainText().contains("E1=139.4"));
        QFile empty(dir.filePath("empty.txt"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QCOMPARE(edit->LoadFile(empty.fileName(), "##"), 0);
        QVERIFY(edit->toPlainText().isEmpty());
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
