// The main window through its widgets: start-up and New, the ribbon's counts, the
// tree and the forms it shows, the windows dialog and the panes.
#include "app/mainframe.h"
#include "guitestsupport.h"

#include "app/aboutdlg.h"
#include "app/windowsdialog.h"

#include <QDockWidget>
#include <QLabel>
#include <QListWidget>

class MainFrameTest : public QObject, AppDriver {
    Q_OBJECT

    CTreeCtrlCustom* Tree() const { return Frame()->MainMenuView()->Tree(); }
    CPlyforgeView* View() const { return qobject_cast<CPlyforgeView*>(Frame()->ActiveChild()->View()); }
    QString Log() const { return Frame()->LogView()->RichEdit()->toPlainText(); }
    // Whether Calculate is enabled once the ribbon has caught up.
    bool CanCalculate(bool experiment = false) const
    {
        Frame()->UpdateCommandUI();
        return Ribbon<QToolButton>(experiment ? "ID_EXPERIMT_CALCULATE" : "ID_THEORY_CALCULATE")->isEnabled();
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
    // The project as a user sees it: the ribbon's values, the tree and the windows.
    QStringList Screen() const
    {
        QStringList texts;
        for (const char* id : {"ID_THEORY_LAMINA", "ID_THEORY_CM_SCALE_FACTOR", "ID_EXPERIMT_LAMINA",
                               "ID_EXPERIMT_EMIN", "ID_EXPERIMT_EMAX"})
            texts << Ribbon(id)->text();
        return texts + TreeTexts() + Captions();
    }
    // No records and no Calculate, the main view's picture alone.
    bool EmptyProject() const
    {
        return View()->ShowsPicture() && Doc()->lamina_count == 0 && Doc()->laminate.laminae.empty() &&
               Doc()->specimens.empty() && !CanCalculate() && !CanCalculate(true);
    }

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { Start(); }
    void cleanup() { Stop(); }

    // New gives the project of start-up again; Calculate waits for the records.
    void startUpNewAndCalculateEnabled()
    {
        const QStringList screen = Screen();
        QVERIFY(EmptyProject() && !screen.contains(QString()) && sink.messages.empty());
        QVERIFY(Log().startsWith(captions::kAppTitle));
        Apply("1");
        QVERIFY(CanCalculate() && !CanCalculate(true));
        Apply("3");
        QVERIFY(!CanCalculate());
        for (const char* item : {"Theoretical Lamina #1", "Theoretical Lamina #2", "Theoretical Lamina #3"})
            Click(item); // two records, the third on screen
        QVERIFY(CanCalculate());
        Ribbon("ID_THEORY_CM_SCALE_FACTOR")->setText("0.5");
        Ribbon("ID_EXPERIMT_EMAX")->setText("0.7");
        Press("ID_PROJECT_NEW");
        QCOMPARE(Screen(), screen);
        QVERIFY(EmptyProject() && Log().isEmpty());
    }

    void countsBuildTheTreeAndBadOnesAreRefused()
    {
        Apply("3");
        QCOMPARE(TreeTexts(), (QStringList{"Theoretical Formula", "Theoretical Lamina #1", "Theoretical Lamina #2",
                                           "Theoretical Lamina #3", "Experimental Formula", "Theory"}));
        CPlyforgeDoc* before = Doc();
        // Both sides read a count one way: each refusal once, on either side.
        const struct { const char* text; bool experiment; const char* message; } refusals[] = {
            {"3a", false, msg::kEnterInteger}, {"0", true, msg::kEnterPositiveInteger}, {"10001", true, msg::kCountTooLarge}};
        for (const auto& c : refusals) {
            sink.Clear();
            Apply(c.text, c.experiment);
            QCOMPARE(sink.Messages(), QStringList{QString::fromUtf8(c.message)});
            QVERIFY(Doc() == before && Doc()->lamina_count == 3); // the project stays as it was
            // The box shows the project's count again, not the refused text.
            QCOMPARE(Ribbon(c.experiment ? "ID_EXPERIMT_LAMINA" : "ID_THEORY_LAMINA")->text(),
                     QString(c.experiment ? "0" : "3"));
        }
        Ribbon("ID_THEORY_LAMINA")->setText("4"); // the edit's own Enter applies the count too
        QTest::keyClick(Ribbon("ID_THEORY_LAMINA"), Qt::Key_Return);
        QCOMPARE(Doc()->lamina_count, 4);
        Apply("007", true); // a new project of specimens
        QCOMPARE((QList<int>{Doc()->specimen_count, Doc()->lamina_count}), (QList<int>{7, 0}));
        QCOMPARE(Ribbon("ID_THEORY_LAMINA")->text() + Ribbon("ID_EXPERIMT_LAMINA")->text(), QString("07"));
        QVERIFY(TreeTexts().size() == 3 + 7 && TreeTexts().at(2) == "Experimental Lamina #1");
        Click("Experimental Lamina #2"); // the specimens' form takes the one main view
        QCOMPARE(Captions(), QStringList{"Experimental Lamina #2"});
        CExperimentDlg* form = View()->ExperimentDlg();
        QVERIFY(View()->CurrentForm() == static_cast<QWidget*>(form));
        const QString fresh = form->WidthEdit()->text();
        form->WidthEdit()->setText("9");
        form->Grid()->PasteText("1\t2\t3\n4\t5\t6");
        Click("Experimental Lamina #3"); // a specimen without a record shows an empty form
        QCOMPARE(Doc()->current_specimen_id, 3);
        QVERIFY(form->WidthEdit()->text() == fresh && form->Grid()->GetItemCount() == 1);
    }

    void treeClicksAndTheWindowsDialogSwitchWindows()
    {
        Apply("3");
        Click("Theoretical Lamina #1");
        CLaminaDlg* form = View()->LaminaDlg();
        CListCtrlReport* constituents = form->ConstituentGrid();
        CListCtrlReport* laminae = form->LaminaGrid();
        const auto shown = [&] {
            return RowTexts(constituents, 0) + RowTexts(constituents, 1) + RowTexts(laminae, 0) +
                   QStringList{form->ScaleFactorEdit(0)->text()};
        };
        const QStringList fresh = shown();
        QVERIFY(Captions() == QStringList{"Theoretical Lamina #1"} && Doc()->current_lamina_id == 1);
        constituents->SetItemText(0, 1, "T700");
        constituents->SetItemText(1, 3, "3.5");
        laminae->SetItemText(0, 2, "30");
        form->ScaleFactorEdit(0)->setText("0.02");
        Click("Theoretical Lamina #2"); // lamina 1 is saved before the switch
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #2"});
        QCOMPARE(shown(), fresh);
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(1)); // no record for a lamina only shown
        Click("Theoretical Lamina #1");
        QCOMPARE(constituents->GetItemText(0, 1) + laminae->GetItemText(0, 2), QString("T70030"));
        // The theory's window opens once, and lamina clicks from it come back to the main view.
        for (const char* item : {"Theory", "Theoretical Lamina #3", "Theory"})
            Click(item);
        QCOMPARE(Captions(), (QStringList{"Theoretical Lamina #3", "Theory View"}));
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString("Theory View"));
        WindowsDialog dialog(Frame()->TabArea(), Frame());
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
        QCOMPARE(sink.Messages(), QStringList{"숫자를 입력하세요(Thickness)\nTheoretical Lamina #3, Thickness(mm): \"thick\""});
        QVERIFY(Doc()->current_lamina_id == 3 && Tree()->currentItem()->text(0) == "Theoretical Lamina #3");
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #3"}); // the tab names the lamina shown
    }

    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y undo and redo the form on screen from anywhere
    // in the window, a typed cell and a scale factor alike, as the ribbon's Edit
    // buttons do; Tab stores a cell and moves on; the tree's Down and Enter open a record.
    void undoRedoAndKeysThroughTheWindow()
    {
        Apply("2");
        Click("Theoretical Lamina #1");
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
        CLaminaDlg* form = View()->LaminaDlg();
        QLineEdit* factor = form->ScaleFactorEdit(1);
        factor->setFocus();
        factor->selectAll();
        QTest::keyClicks(factor, "2.5");
        QCOMPARE(Doc()->laminate.FindLamina(1)->C_scale_factor, 2.5); // the record follows the form at once
        CListCtrlReport* ply = form->LaminaGrid();
        ClickCell(ply, 0, 2);
        QTest::keyClicks(ply->Editor(), "30");
        QTest::keyClick(ply->Editor(), Qt::Key_Tab);
        QVERIFY(ply->GetItemText(0, 2) == "30" && ply->IsEditing() && ply->EditColumn() == 3);
        QTest::keyClick(ply->Editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ply->GetItemText(0, 2), QString("45.0"));
        QTest::keyClick(factor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(factor->text(), QString("1"));
        QTest::keyClick(factor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(factor->text(), QString("2.5"));
        QTest::keyClick(Frame(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(ply->GetItemText(0, 2), QString("30"));
        auto* undo = Ribbon<QToolButton>("ID_EDIT_UNDO");
        QTest::mouseClick(undo, Qt::LeftButton);
        QCOMPARE(ply->GetItemText(0, 2), QString("45.0"));
        Tree()->setFocus();
        QTest::keyClick(Tree(), Qt::Key_Down);
        QTest::keyClick(Tree(), Qt::Key_Return);
        QCOMPARE(Captions(), QStringList{"Theoretical Lamina #2"});
        // Undo reaches back past the switch: lamina 1 is shown again and its one step
        // (the factor typed digit by digit) undone, which is the project as it was made.
        QVERIFY(Frame()->isWindowModified() && Frame()->windowTitle().endsWith("[*]"));
        QTest::mouseClick(undo, Qt::LeftButton);
        QVERIFY(Captions() == QStringList{"Theoretical Lamina #1"} && factor->text() == "1");
        QCOMPARE(Tree()->currentItem()->text(0), QString("Theoretical Lamina #1"));
        QVERIFY(!undo->isEnabled() && !Frame()->Files()->IsModified() && !Frame()->isWindowModified());
        Click("Theoretical Lamina #2");
        QTest::keyClick(Frame(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(Captions() == QStringList{"Theoretical Lamina #1"} && factor->text() == "2.5");
        QVERIFY(Frame()->Files()->IsModified() && Doc()->laminate.FindLamina(2));
    }

    // The status bar names the project's file and its counts; About gives the version.
    void statusBarAndAboutSayWhatTheyShow()
    {
        const auto status = [this] {
            Frame()->UpdateCommandUI();
            return Frame()->findChild<QLabel*>("ProjectFilePane")->text() + " | " +
                   Frame()->findChild<QLabel*>("ProjectCountsPane")->text();
        };
        QCOMPARE(status(), QString("New project | 0 laminae, 0 specimens"));
        QVERIFY(Frame()->OpenProject(PLYFORGE_EXAMPLES "/three-tensile-tests.plyforge"));
        QCOMPARE(status(), QString("three-tensile-tests.plyforge | 0 laminae, 3 specimens"));
        Apply("1"); // a new project of one lamina
        QCOMPARE(status(), QString("New project | 1 lamina, 0 specimens"));
        CAboutDlg about;
        QVERIFY(about.findChild<QLabel*>("VersionLabel")->text().endsWith("Version " PLYFORGE_VERSION));
        sink.Clear();
        Press("ID_BUTTON_VERSION");
        QVERIFY(sink.messages.size() == 1 &&
                QString::fromStdString(sink.messages[0]).startsWith("Plyforge, Version " PLYFORGE_VERSION "\nRelease date : "));
    }

    void paneTogglesFollowVisibility()
    {
        const std::pair<QDockWidget*, const char*> panes[] = {{Frame()->LogPane(), "ID_CHECK_LOGVIEW"},
                                                              {Frame()->MainMenuPane(), "ID_CHECK_TREEMENU"}};
        for (const auto& [pane, id] : panes) {
            QCheckBox* check = Ribbon<QCheckBox>(id);
            const auto checked = [&] { Frame()->UpdateCommandUI(); return check->isChecked(); };
            QTest::mouseClick(check, Qt::LeftButton);
            QVERIFY(!pane->isVisible() && !checked());
            pane->show(); // as if the user showed it again some other way, the check follows
            QVERIFY(checked());
            pane->close(); // the pane's own close button
            QVERIFY(!checked());
        }
    }
};

QTEST_MAIN(MainFrameTest)
#include "mainframe_test.moc"
