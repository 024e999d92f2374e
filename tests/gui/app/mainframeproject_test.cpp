// Projects in files through the real program: what was entered comes back bit for
// bit after a save, New and an open; a changed project asks before it is replaced;
// a bad file or a failed save leaves the project as it was.
#include "app/mainframe.h"
#include "guitestsupport.h"

#include "forms/filedialogs.h"

#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>

class MainFrameProjectTest : public QObject, AppDriver {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString MainTabLabel() const
    {
        CChildFrame* frame = CChildFrame::Of(MainView());
        QTabWidget* group = Frame()->TabArea()->GroupOf(frame);
        return group ? group->tabText(group->indexOf(frame)) : QString();
    }
    // Two laminae, then one specimen of the same project left on screen unsaved.
    void EnterProject()
    {
        Apply("2");
        Doc()->specimen_count = 1; // both sides in one project
        Frame()->MainMenuView()->BuildTree(2, 1);
        Click("Theoretical Lamina #2");
        CLaminaDlg* form = MainView()->LaminaDlg();
        form->ConstituentGrid()->SetItemText(0, 1, "탄소 섬유");
        form->ConstituentGrid()->SetItemText(0, 3, "230.123456789");
        form->LaminaGrid()->SetItemText(0, 2, "-45");
        form->ScaleFactorEdit(2)->setText("0.001");
        Click("Theoretical Lamina #1");
        Click("Experimental Lamina #1");
        MainView()->ExperimentDlg()->WidthEdit()->setText("25.4");
        MainView()->ExperimentDlg()->Grid()->PasteText("0\t0\t0\n1004.80328\t0.1\t40.19213\n2000\t0.2\t80.5\n");
        Ribbon("ID_THEORY_CM_SCALE_FACTOR")->setText("0.02");
        Ribbon("ID_EXPERIMT_EMAX")->setText("0.25");
    }

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { Start(); }
    void cleanup() { Stop(); }

    void saveNewOpenRestoresEverything()
    {
        EnterProject();
        const QString path = m_dir.filePath("round.plyforge");
        QVERIFY(Frame()->SaveProject(path));
        QVERIFY(sink.messages.empty());
        std::vector<Lamina> laminae;
        for (const auto& lamina : Doc()->laminate.laminae)
            laminae.push_back(*lamina);
        const ExperimentSpecimen specimen = *Doc()->specimens.at(0);
        Press("ID_PROJECT_NEW");
        QVERIFY(Frame()->Files()->Path().isEmpty() && Doc()->laminate.laminae.empty());
        QVERIFY(Frame()->OpenProject(path));
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(2)); // the theory form behind the specimen was kept
        for (size_t i = 0; i < laminae.size(); ++i)
            QVERIFY(Doc()->laminate.laminae[i]->SameInputs(laminae[i]));
        QCOMPARE(Doc()->laminate.FindLamina(2)->fiber.name, std::string("탄소 섬유"));
        QVERIFY(Doc()->specimens.at(0)->SameInputs(specimen));
        QCOMPARE(Ribbon("ID_THEORY_LAMINA")->text() + ' ' + Ribbon("ID_THEORY_CM_SCALE_FACTOR")->text() + ' ' +
                     Ribbon("ID_EXPERIMT_EMAX")->text(), QString("2 0.02 0.25"));
        // The specimen that was on screen is on screen again, highlighted in the tree,
        // and its tab names the file.
        QCOMPARE(MainTabLabel(), QString("round.plyforge - Experimental Lamina #1"));
        QTreeWidgetItem* highlighted = Frame()->MainMenuView()->Tree()->currentItem();
        QVERIFY(highlighted && highlighted->isSelected() && highlighted->text(0) == "Experimental Lamina #1");
        QCOMPARE(MainView()->ExperimentDlg()->Grid()->GetItemText(1, 0), QString("1004.80328"));
        // Showing another record from here commits nothing wrong into the shown one.
        Click("Theoretical Lamina #2");
        QVERIFY(Doc()->specimens.at(0)->SameInputs(specimen));
        QCOMPARE(MainView()->LaminaDlg()->ConstituentGrid()->GetItemText(0, 3), QString("230.123456789"));
        // The recent files: the latest first, each once.
        const QString other = m_dir.filePath("other.plyforge");
        QVERIFY(Frame()->SaveProject(other) && Frame()->OpenProject(path));
        QCOMPARE(Frame()->Files()->RecentFiles().mid(0, 3), (QStringList{path, other}));
    }

    // Cells that are not numbers, in either form, are saved as typed and named after
    // the save; opened again they are shown marked.
    void saveKeepsCellsThatAreNotNumbersAndSaysSo()
    {
        EnterProject();
        // The theory form holds lamina #1 behind the specimen on screen.
        MainView()->LaminaDlg()->ConstituentGrid()->SetItemText(0, 2, "abc");
        for (int cell = 0; cell < 6; ++cell)
            MainView()->ExperimentDlg()->Grid()->SetItemText(cell / 3, cell % 3, QString(QChar('a' + cell)));
        const QString path = m_dir.filePath("unread.plyforge");
        QVERIFY(Frame()->SaveProject(path));
        QCOMPARE(sink.Messages(), QStringList{"Saved. 7 cells could not be read and are kept as text:\n"
                                              "Theoretical Lamina #1, Fiber, Density(mg/m3): \"abc\"\n"
                                              "Specimen 1, row 1, Load: \"a\"\nSpecimen 1, row 1, Strain: \"b\"\n"
                                              "Specimen 1, row 1, Stress: \"c\"\nSpecimen 1, row 2, Load: \"d\"\n"
                                              "and 2 more"});
        QVERIFY(!Frame()->Files()->IsModified());
        sink.Clear();
        Press("ID_PROJECT_NEW");
        QVERIFY(Frame()->OpenProject(path) && sink.messages.empty());
        CListCtrlReport* readings = MainView()->ExperimentDlg()->Grid();
        QVERIFY(readings->GetItemText(1, 1) == "e" &&
                readings->model()->index(1, 1).data(Qt::BackgroundRole).isValid());
        Click("Theoretical Lamina #1");
        CListCtrlReport* constituents = MainView()->LaminaDlg()->ConstituentGrid();
        QVERIFY(constituents->GetItemText(0, 2) == "abc" &&
                constituents->model()->index(0, 2).data(Qt::BackgroundRole).isValid());
    }

    // A specimen whose readings come from a readings file keeps the link when saved;
    // edited, the user chooses between the link (the edits dropped) and storing them.
    void readingsFileStaysLinkedUnlessTheReadingsWereEdited()
    {
        WriteFile(m_dir.filePath("r.csv"), "Load;Strain;Stress\n0;0;0\n100;0,1;2,5\n200;0,2;5\n");
        const QString path = WriteFile(m_dir.filePath("linked.plyforge"),
                                       R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
                                            { "id": 1, "width": 25, "thickness": 2, "readings_file": "r.csv" } ] } })");
        QVERIFY(Frame()->OpenProject(path));
        QStringList asked;
        bool keep = true;
        Frame()->SetKeepLinkQuestion([&](const QString& file) { asked << file; return keep; });
        const QString saved = m_dir.filePath("saved.plyforge");
        QVERIFY(Frame()->SaveProject(saved));
        QVERIFY(asked.isEmpty() && ReadAll(saved).contains(R"("readings_file": "r.csv")") &&
                !ReadAll(saved).contains("\"load\""));
        // Keeping the link drops the edit, in the form too.
        CListCtrlReport* grid = MainView()->ExperimentDlg()->Grid();
        grid->SetItemText(1, 2, "2.6");
        QVERIFY(Frame()->SaveProject(saved));
        QCOMPARE(asked, QStringList{"r.csv"});
        QVERIFY(ReadAll(saved).contains("readings_file") && grid->GetItemText(1, 2) == "2.5");
        QCOMPARE(Doc()->specimens.at(0)->stress_series, (std::vector<double>{0, 2.5, 5}));
        // Storing them: the project holds the readings from then on, and asks no more.
        grid->SetItemText(1, 2, "2.6");
        keep = false;
        QVERIFY(Frame()->SaveProject(saved) && Frame()->SaveProject(saved));
        QCOMPARE(asked.size(), 2);
        QVERIFY(!ReadAll(saved).contains("readings_file") && ReadAll(saved).contains(R"("stress": [0, 2.6, 5])"));
        QVERIFY(sink.messages.empty());
    }

    void projectWithNoRecordOnScreenOpensItsFirstReadyToCalculate()
    {
        const std::pair<const char*, const char*> examples[] = {{"quasi-isotropic.plyforge", "Theoretical Lamina #1"},
                                                                {"three-tensile-tests.plyforge", "Experimental Lamina #1"}};
        for (const auto& [example, caption] : examples) {
            QVERIFY(Frame()->OpenProject(PLYFORGE_EXAMPLES + QString("/") + example));
            QCOMPARE(CChildFrame::Of(MainView())->Caption(), QString(caption));
            QCOMPARE(Frame()->MainMenuView()->Tree()->currentItem()->text(0), QString(caption));
        }
    }

    void changedProjectAsksBeforeItIsReplacedAndCtrlSSaves()
    {
        EnterProject();
        const QString path = m_dir.filePath("asked.plyforge");
        QVERIFY(Frame()->Files()->IsModified() && Frame()->SaveProject(path));
        int asked = 0;
        auto answer = ProjectFiles::SaveAnswer::Cancel;
        Frame()->Files()->SetSaveQuestion([&] { ++asked; return answer; });
        QVERIFY(Frame()->SaveModified());
        QCOMPARE(asked, 0); // unchanged since the save: nothing to ask
        // A typed value marks the project; Cancel leaves everything as it was.
        Click("Theoretical Lamina #1");
        QTest::keyClicks(MainView()->LaminaDlg()->ScaleFactorEdit(0), "5");
        Press("ID_PROJECT_NEW");
        Apply("4");
        QCOMPARE(asked, 2);
        QVERIFY(Doc()->lamina_count == 2 && Doc()->laminate.laminae.size() == 2);
        // Save writes the change into the project's file, then the new project comes.
        answer = ProjectFiles::SaveAnswer::Save;
        Press("ID_PROJECT_NEW");
        QVERIFY(asked == 3 && Doc()->laminate.laminae.empty());
        QVERIFY(ReadAll(path).contains("\"S_scale_factor\": 0.015"));
        // A count gives a new project of empty records, as New does, and clicks in the
        // tree change nothing: opening a file asks nothing.
        Apply("3");
        for (const char* item : {"Theoretical Lamina #1", "Theoretical Lamina #2", "Theoretical Lamina #1"})
            Click(item);
        QVERIFY(!Frame()->Files()->IsModified() && Frame()->OpenProject(path));
        QVERIFY(asked == 3 && Doc()->laminate.laminae.size() == 2);
        QCOMPARE(Frame()->Files()->Path(), path); // else Ctrl+S would ask for a file
        // Ctrl+S saves a project that has a file, without a dialog.
        QTest::keyClicks(Ribbon("ID_EXPERIMT_EMAX"), "7");
        QVERIFY(Frame()->Files()->IsModified());
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
        QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!Frame()->Files()->IsModified() && ReadAll(path).contains("0.257"));
        // Dialogs start beside the last file chosen, else at home; a bare name takes the filter's suffix.
        QCOMPARE(FileDialogs::StartFolder(), m_dir.path());
        QSettings().remove("Folders/LastFolder");
        QCOMPARE(FileDialogs::StartFolder(), QDir::homePath());
        QCOMPARE(FileDialogs::FilterSuffix("PNG image (*.png);;SVG drawing (*.svg)"), QString("png"));
    }

    // One specimen per file in the natural order of the names, the count set, the
    // first shown.
    void importSeriesMakesOneSpecimenPerFile()
    {
        QStringList paths;
        for (const int n : {10, 2, 1})
            paths << WriteFile(m_dir.filePath(QString("T-%1.csv").arg(n)),
                               QString("Width;\"%1\";mm\nThickness;2;mm\nLoad;Strain;Stress\n%1;0.1;2\n").arg(n).toUtf8());
        QVERIFY(Frame()->ImportSeries(paths));
        QCOMPARE(Doc()->specimen_count, 3);
        QCOMPARE(Ribbon("ID_EXPERIMT_LAMINA")->text(), QString("3"));
        QCOMPARE(MainView()->ExperimentDlg()->WidthEdit()->text(), QString("1"));
        QVERIFY(Doc()->FindSpecimen(3)->width == 10 && Frame()->Files()->IsModified());
        // Files dropped on the tree are a series too, replacing these.
        Frame()->SetReplaceQuestion([] { return true; });
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(paths[1]), QUrl::fromLocalFile(paths[2])});
        QWidget* tree = Frame()->MainMenuView()->Tree()->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(tree, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(tree, &drop);
        QVERIFY(Doc()->specimen_count == 2 && Doc()->specimens[1]->width == 2);
    }

    void badFileOrFailedSaveLeavesTheProjectAsItWas()
    {
        EnterProject();
        CPlyforgeDoc* before = Doc();
        const size_t laminae = before->laminate.laminae.size();
        QVERIFY(!Frame()->OpenProject(WriteFile(m_dir.filePath("truncated.plyforge"), "{ \"format\": ")));
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY2(sink.Messages().first().contains("truncated.plyforge"), sink.messages.front().c_str());
        QVERIFY(Doc() == before && Doc()->laminate.laminae.size() == laminae);
        // A failed save names the path; the project stays unsaved, without a file.
        sink.Clear();
        const QString path = m_dir.filePath("gone/project.plyforge");
        QVERIFY(!Frame()->SaveProject(path));
        QVERIFY(sink.messages.size() == 1 && sink.Messages().first().contains(path));
        QVERIFY(Frame()->Files()->Path().isEmpty() && Frame()->Files()->IsModified());
        // A name chosen in the dialog becomes where the next dialog starts only once
        // a file is written there, so a failed save never moves it.
        const QString start = FileDialogs::StartFolder();
        const QString taken = m_dir.filePath("sub/chosen.plyforge");
        QVERIFY(QDir().mkpath(m_dir.filePath("sub")));
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&answer, taken] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                answer.stop();
                dialog->selectFile(taken);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        answer.start(20);
        const QString chosen = FileDialogs::AskSavePath(Frame(), "Save", "x.plyforge", "Projects (*.plyforge)");
        QCOMPARE(QFileInfo(chosen).absolutePath(), m_dir.filePath("sub"));
        QCOMPARE(FileDialogs::StartFolder(), start);
        // The project's folder gone, the save asked for fails and the project is not replaced.
        QVERIFY(QDir().mkpath(m_dir.filePath("gone")) && Frame()->SaveProject(path));
        QVERIFY(QDir(m_dir.filePath("gone")).removeRecursively());
        const size_t saved = Doc()->laminate.laminae.size();
        Frame()->Files()->MarkModified();
        Frame()->Files()->SetSaveQuestion([] { return ProjectFiles::SaveAnswer::Save; });
        Press("ID_PROJECT_NEW");
        QVERIFY(Doc()->laminate.laminae.size() == saved && Frame()->Files()->IsModified());
    }

    // A read-only project is replaced only when the user says so; that it stays
    // read-only is the safe writer's to keep.
    void readOnlyProjectIsReplacedOnlyWhenTheUserSaysSo()
    {
        EnterProject();
        const QString path = m_dir.filePath("read-only.plyforge");
        QVERIFY(Frame()->SaveProject(path));
        const QByteArray before = ReadAll(path);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QStringList asked;
        bool replace = false;
        Frame()->Files()->SetReadOnlyQuestion([&](const QString& file) { asked << file; return replace; });
        QTest::keyClicks(Ribbon("ID_EXPERIMT_EMAX"), "7");
        QVERIFY(!Frame()->SaveProject(path) && sink.messages.empty());
        QVERIFY(ReadAll(path) == before && Frame()->Files()->IsModified());
        replace = true;
        QVERIFY(Frame()->SaveProject(path) && ReadAll(path) != before && !Frame()->Files()->IsModified());
        QCOMPARE(asked, (QStringList{path, path}));
    }
};

QTEST_MAIN(MainFrameProjectTest)
#include "mainframeproject_test.moc"
