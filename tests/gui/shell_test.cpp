// The desktop shell driven through its real widgets: start-up, the ribbon's
// counts, the menu tree, the windows found by caption and in the windows dialog,
// the looks, the panes and the log pane.
#include "guitestsupport.h"

#include "app/applook.h"
#include "app/childframe.h"
#include "app/logview.h"
#include "app/mainframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeapp.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "app/windowsdialog.h"
#include "controls/listctrlreport.h"
#include "controls/richeditcustomctrl.h"
#include "controls/treectrlcustom.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

class ShellTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CPlyforgeApp> m_app;
    RecordingMessageSink m_sink;

    CMainFrame* Frame() const { return m_app->MainWnd(); }
    RibbonWidgets Ribbon() const { return RibbonWidgets(Frame()); }
    CTreeCtrlCustom* Tree() const { return Frame()->MainMenuView()->Tree(); }
    CPlyforgeDoc* Doc() const { return Frame()->ActiveDocument(); }
    CPlyforgeView* ActiveView() const { return qobject_cast<CPlyforgeView*>(Frame()->ActiveChild()->View()); }
    QString Log() const { return Frame()->LogView()->RichEdit()->toPlainText(); }

    void StartApp()
    {
        m_app.reset();
        m_app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
        QVERIFY(m_app->InitInstance());
        Frame()->Files()->SetSaveQuestion([] { return ProjectFiles::SaveAnswer::Discard; });
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }

    // Clicks the item's label, as a user does.
    void Click(const QString& text) { QVERIFY2(ClickTreeItem(Frame(), text), qPrintable(text)); }

    // Types the count and presses Apply: the theory's, or the experiment's.
    void ApplyCount(const QString& text, bool experiment = false)
    {
        (experiment ? Ribbon().experimentLamina : Ribbon().theoryLamina)->setText(text);
        QTest::mouseClick(experiment ? Ribbon().experimentApply : Ribbon().theoryApply, Qt::LeftButton);
    }

    // Whether Calculate is enabled once the ribbon has caught up.
    bool CanCalculate(bool experiment = false) const
    {
        Frame()->UpdateCommandUI();
        return (experiment ? Ribbon().experimentCalculate : Ribbon().theoryCalculate)->isEnabled();
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

    // A new project: the ribbon's first values, the main view's picture alone, no laminae, no Calculate.
    void CheckNewProject()
    {
        const RibbonWidgets r = Ribbon();
        QCOMPARE((QStringList{r.theoryLamina->text(), r.theoryScaleFactor->text(), r.experimentLamina->text(),
                              r.elasticMin->text(), r.elasticMax->text()}),
                 (QStringList{"0", "0.01", "0", "0.1", "0.3"}));
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #"});
        QVERIFY(ActiveView() && ActiveView()->ShowsPicture());
        QCOMPARE(TreeTexts(), (QStringList{"Theoretical Formula", "Experimental Formula", "Theory"}));
        QVERIFY(Doc()->lamina_count == 0 && Doc()->laminate.laminae.empty());
        QVERIFY(!CanCalculate() && !CanCalculate(true));
    }

private slots:
    void initTestCase() { IsolateSettings(); SetAppMessageSink(&m_sink); }
    void init() { m_sink.Clear(); StartApp(); }
    void cleanup() { m_app.reset(); }
    void cleanupTestCase() { SetAppMessageSink(nullptr); }

    // Start-up and New leave a new project; Calculate waits for the records.
    void startUpCalculateAndNew()
    {
        QCOMPARE(Frame()->windowTitle(), QString(captions::kAppTitle));
        CheckNewProject();
        QCOMPARE(Log().replace(QRegularExpression("\\d"), "0"),
                 QString("Devivadazu Dudiverodi Vazerovuze Zozezaz's started at 0000-00-00 00:00:00\n\n"));
        QVERIFY(m_sink.messages.empty());

        ApplyCount("1");
        QVERIFY(CanCalculate() && !CanCalculate(true));
        ApplyCount("3");
        QVERIFY(!CanCalculate());
        for (const char* item : {"Theoretical Lamina #1", "Theoretical Lamina #2", "Theoretical Lamina #3"})
            Click(item); // two records, the third on screen
        QVERIFY(CanCalculate());

        Ribbon().theoryScaleFactor->setText("0.5");
        Ribbon().elasticMax->setText("0.7");
        QTest::mouseClick(Ribbon().projectNew, Qt::LeftButton);
        CheckNewProject();
        QVERIFY(Log().isEmpty());
    }

    void countsBuildTheTreeAndBadOnesAreRefused()
    {
        ApplyCount("3");
        QCOMPARE(Doc()->lamina_count, 3);
        QCOMPARE(TreeTexts(), (QStringList{"Theoretical Formula", "Theoretical Lamina #1", "Theoretical Lamina #2",
                                           "Theoretical Lamina #3", "Experimental Formula", "Theory"}));
        QVERIFY(Tree()->topLevelItem(0)->isExpanded());
        QCOMPARE(Tree()->topLevelItem(0)->child(1)->data(0, Qt::UserRole).toInt(), 2);

        CPlyforgeDoc* before = Doc();
        const std::pair<const char*, QStringList> refusals[] = {
            {msg::kEnterInteger, {"-2", "+3", "3a", " 3", "삼"}},
            {msg::kEnterPositiveInteger, {"", "0"}},
            {msg::kCountTooLarge, {"10001", "99999999999999999999"}}};
        for (const auto& [message, texts] : refusals) {
            for (const QString& text : texts) {
                for (const bool experiment : {false, true}) {
                    m_sink.Clear();
                    ApplyCount(text, experiment);
                    QCOMPARE(m_sink.Messages(), QStringList{QString::fromUtf8(message)});
                    QCOMPARE(Doc(), before); // the project stays as it was
                    QCOMPARE(Doc()->lamina_count, 3);
                }
            }
        }
        // The edit's own Enter applies the count too.
        Ribbon().theoryLamina->setText("4");
        QTest::keyClick(Ribbon().theoryLamina, Qt::Key_Return);
        QCOMPARE(Doc()->lamina_count, 4);

        ApplyCount("007", true);
        QCOMPARE((QList<int>{Doc()->specimen_count, Doc()->lamina_count}), (QList<int>{7, 0})); // a new project
        QCOMPARE((QStringList{Ribbon().theoryLamina->text(), Ribbon().experimentLamina->text()}),
                 (QStringList{"0", "7"}));
        QCOMPARE(TreeTexts().size(), 3 + 7);
        QCOMPARE(TreeTexts().at(2), QString("Experimental Lamina #1"));
        // The specimens' form takes the one main view.
        Click("Experimental Lamina #2");
        QCOMPARE(Captions(), QStringList{"Experimental Lamina #2"});
        QVERIFY(ActiveView()->ExperimentDlg() && ActiveView()->CurrentForm() == ActiveView()->ExperimentDlg());
    }

    void treeClicksAndTheWindowsDialogSwitchWindows()
    {
        ApplyCount("3");
        Click("Theoretical Lamina #1");
        CPlyforgeView* view = ActiveView();
        QVERIFY(view && view->LaminaDlg());
        CListCtrlReport* constituents = view->LaminaDlg()->ConstituentGrid();
        CListCtrlReport* laminae = view->LaminaDlg()->LaminaGrid();
        const auto shown = [&] { return QStringList{constituents->GetItemText(0, 1), laminae->GetItemText(0, 2)}; };
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #1"});
        QCOMPARE(Doc()->current_lamina_id, 1);
        QCOMPARE(shown(), (QStringList{"untitle", "45.0"}));

        constituents->SetItemText(0, 1, "T700");
        laminae->SetItemText(0, 2, "30");
        Click("Theoretical Lamina #2");
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #2"});
        QCOMPARE(shown(), (QStringList{"untitle", "45.0"}));
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(1)); // lamina 1 saved before switching
        QCOMPARE(Doc()->laminate.laminae[0]->fiber.name, std::string("T700"));
        QCOMPARE(Doc()->laminate.laminae[0]->angle, 30.0);
        Click("Theoretical Lamina #1");
        QCOMPARE(shown(), (QStringList{"T700", "30"}));

        // The theory's window opens once, and lamina clicks from it come back to the main view.
        Click("Theory");
        Click("Theoretical Lamina #3");
        Click("Theory");
        QCOMPARE(Captions(), (QStringList{"Theoretical Lamina #3", "Theory View"}));
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString("Theory View"));
        WindowsDialog dialog(Frame()->TabArea(), Frame());
        QCOMPARE(dialog.List()->count(), 2);
        dialog.List()->setCurrentRow(0);
        dialog.ActivateSelected();
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString("Theoretical Lamina #3"));
        dialog.List()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        dialog.CloseSelected();
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #3"});
        QCOMPARE(dialog.List()->count(), 1);

        // A lamina that cannot be saved keeps its form and the tree's highlight.
        Click("Theoretical Lamina #3");
        laminae->SetItemText(0, 1, "thick");
        Click("Theoretical Lamina #2");
        QCOMPARE(m_sink.Messages(), QStringList{"숫자를 입력하세요(Thickness)"});
        QCOMPARE(Doc()->current_lamina_id, 3);
        QCOMPARE(Tree()->currentItem()->text(0), QString("Theoretical Lamina #3"));
    }

    void lookIsSavedAndRestored()
    {
        QCOMPARE(Frame()->AppLook(), AppLook::kWindows7);
        Frame()->OnApplicationLook(216);
        QCOMPARE(Frame()->AppLook(), 216);
        QCOMPARE(QSettings().value("ApplicationLook").toInt(), 216);
        QVERIFY(qApp->palette().color(QPalette::Window).lightness() < 100);
        StartApp();
        QCOMPARE(Frame()->AppLook(), 216);
        Frame()->OnApplicationLook(AppLook::kWindows7);
    }

    void paneTogglesFollowVisibility()
    {
        const std::pair<QDockWidget*, QCheckBox*> panes[] = {{Frame()->LogPane(), Ribbon().logViewCheck},
                                                             {Frame()->MainMenuPane(), Ribbon().menuViewCheck}};
        for (const auto& [pane, check] : panes) {
            const auto checked = [&] { Frame()->UpdateCommandUI(); return check->isChecked(); };
            QVERIFY(pane->isVisible() && checked());
            QTest::mouseClick(check, Qt::LeftButton);
            QVERIFY(!pane->isVisible() && !check->isChecked());
            pane->show(); // as if the user showed it again some other way
            QVERIFY(checked());
            pane->close(); // the pane's own close button
            QVERIFY(!checked());
            QTest::mouseClick(check, Qt::LeftButton);
            QVERIFY(pane->isVisible() && check->isChecked());
        }
    }

    void logPaneColoursHeadingsAndReportsKeys()
    {
        QTemporaryDir dir;
        const QString text = "\nStart Calculation\n\n##Input data for material properties\nid=1\nE1=139.4";
        const QString path = dir.filePath("TheoreticalLog.txt"), empty = dir.filePath("empty.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write((text + "\n").toUtf8()) > 0 && file.flush());
        QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
        CRichEditCustomCtrl* edit = Frame()->LogView()->RichEdit();
        QCOMPARE(edit->LoadFile(path, "##"), 0);
        QCOMPARE(Log(), text);
        QCOMPARE(edit->LineColor(3), QColor(35, 100, 200));
        QCOMPARE(edit->LineColor(1), QColor(0, 0, 0));
        QCOMPARE(edit->LoadFile(path, "##", {"id="}, {}), 1);
        QCOMPARE(edit->LoadFile(path, "##", {"id="}, {"E1"}), 2);
        QCOMPARE(edit->LoadFile(path, "##", {"E1"}, {"id="}), 1);
        // Missing (also by letter case): -1, no message, and the text stays.
        QCOMPARE(edit->LoadFile(dir.filePath("theoreticallog.txt"), "##"), -1);
        QCOMPARE(Log(), text);
        QVERIFY(m_sink.messages.empty());
        QCOMPARE(edit->LoadFile(empty, "##"), 0);
        QVERIFY(Log().isEmpty());
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
