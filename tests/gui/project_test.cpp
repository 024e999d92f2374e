// Projects kept in files through the real program: what was entered comes back
// bit for bit after a save, a new project and an open; a bad file leaves the open
// project as it was.
#include "guitestsupport.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeapp.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "controls/listctrlreport.h"
#include "controls/treectrlcustom.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/filedialogs.h"
#include "forms/laminadlg.h"
#include "guibase/messagebox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const kAsNobodyVariable = "PLYFORGE_TEST_AS_NOBODY";
constexpr int kCannotRunAsNobody = 77;

// Runs one test function of this program again in a child process as the user
// nobody, for what root would not be refused; the child's exit status, or
// kCannotRunAsNobody.
int RunTestFunctionAsNobody(const char* function, const QString& folder)
{
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    const QByteArray dir = folder.toLocal8Bit();
    const pid_t pid = fork();
    if (pid < 0)
        return kCannotRunAsNobody;
    if (pid == 0) {
        if (chown(dir.constData(), 65534, 65534) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(kCannotRunAsNobody);
        setenv(kAsNobodyVariable, dir.constData(), 1);
        setenv("HOME", dir.constData(), 1);
        execl(self.constData(), self.constData(), function, "-silent", static_cast<char*>(nullptr));
        _exit(kCannotRunAsNobody);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

class ProjectTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CPlyforgeApp> m_app;
    RecordingMessageSink m_sink;
    QTemporaryDir m_dir;

    CMainFrame* Frame() const { return m_app->MainWnd(); }
    RibbonWidgets Ribbon() const { return RibbonWidgets(Frame()); }
    CPlyforgeDoc* Doc() const { return Frame()->ActiveDocument(); }
    CPlyforgeView* MainView() const { return FindMainView(Frame()); }
    void ClickTreeItem(const QString& text) { QVERIFY2(::ClickTreeItem(Frame(), text), qPrintable(text)); }

    QString MainTabLabel() const
    {
        CChildFrame* frame = CChildFrame::Of(MainView());
        QTabWidget* group = Frame()->TabArea()->GroupOf(frame);
        return group ? group->tabText(group->indexOf(frame)) : QString();
    }

    static QByteArray Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString Write(const char* name, const QByteArray& bytes) const
    {
        QFile file(m_dir.filePath(name));
        const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        return written ? file.fileName() : QString(); // an empty path fails the check that follows
    }

    // Two laminae, then one specimen of the same project left on screen unsaved.
    void EnterProject()
    {
        Ribbon().theoryLamina->setText("2");
        QTest::mouseClick(Ribbon().theoryApply, Qt::LeftButton);
        Doc()->specimen_count = 1; // both sides in one project
        Frame()->MainMenuView()->BuildTree(2, 1);
        ClickTreeItem("Theoretical Lamina #2");
        CLaminaDlg* form = MainView()->LaminaDlg();
        form->ConstituentGrid()->SetItemText(0, 1, "탄소 섬유");
        form->ConstituentGrid()->SetItemText(0, 3, "230.123456789");
        form->LaminaGrid()->SetItemText(0, 2, "-45");
        form->ScaleFactorEdit(2)->setText("0.001");
        ClickTreeItem("Theoretical Lamina #1");
        ClickTreeItem("Experimental Lamina #1");
        CExperimentDlg* experiment = MainView()->ExperimentDlg();
        experiment->WidthEdit()->setText("25.4");
        experiment->Grid()->PasteText("0\t0\t0\n1004.80328\t0.1\t40.19213\n2000\t0.2\t80.5\n");
        Ribbon().theoryScaleFactor->setText("0.02");
        Ribbon().elasticMax->setText("0.25");
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
        m_app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
        QVERIFY(m_app->InitInstance());
        Frame()->Files()->SetSaveQuestion([] { return ProjectFiles::SaveAnswer::Discard; });
    }
    void cleanup() { m_app.reset(); }

    void saveNewOpenRestoresEverything()
    {
        EnterProject();
        const QString path = m_dir.filePath("round.plyforge");
        QVERIFY(Frame()->SaveProject(path));
        QVERIFY(m_sink.messages.empty());
        QVERIFY(Frame()->windowTitle().startsWith("round.plyforge - "));
        QCOMPARE(MainTabLabel(), QString("round.plyforge - Experimental Lamina #1"));
        std::vector<Lamina> laminae;
        for (const auto& lamina : Doc()->laminate.laminae)
            laminae.push_back(*lamina);
        const ExperimentSpecimen specimen = *Doc()->specimens.at(0);

        QTest::mouseClick(Ribbon().projectNew, Qt::LeftButton);
        QVERIFY(Frame()->Files()->Path().isEmpty());
        QCOMPARE(MainTabLabel(), QString("Theoretical Lamina #"));

        QVERIFY(Frame()->OpenProject(path));
        QCOMPARE(MainTabLabel(), QString("round.plyforge - Experimental Lamina #1"));
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(2)); // the theory form behind the specimen was kept
        for (size_t i = 0; i < laminae.size(); ++i)
            QVERIFY(Doc()->laminate.laminae[i]->SameInputs(laminae[i]));
        QCOMPARE(Doc()->laminate.FindLamina(2)->fiber.name, std::string("탄소 섬유"));
        QVERIFY(Doc()->specimens.at(0)->SameInputs(specimen));
        QCOMPARE(Ribbon().theoryLamina->text(), QString("2"));
        QCOMPARE(Ribbon().theoryScaleFactor->text(), QString("0.02"));
        QCOMPARE(Ribbon().elasticMax->text(), QString("0.25"));
        // The specimen that was on screen is on screen again, with its readings.
        QCOMPARE(Frame()->ActiveChild()->Caption(), QString("Experimental Lamina #1"));
        QTreeWidgetItem* highlighted = Frame()->MainMenuView()->Tree()->currentItem();
        QVERIFY(highlighted && highlighted->isSelected());
        QCOMPARE(highlighted->text(0), QString("Experimental Lamina #1"));
        QCOMPARE(MainView()->ExperimentDlg()->Grid()->GetItemText(1, 0), QString("1004.80328"));
        QCOMPARE(Frame()->Files()->RecentFiles().value(0), QFileInfo(path).absoluteFilePath());

        // Showing another record from here commits nothing wrong into the shown one.
        ClickTreeItem("Theoretical Lamina #2");
        QVERIFY(Doc()->specimens.at(0)->SameInputs(specimen));
        QCOMPARE(MainView()->LaminaDlg()->ConstituentGrid()->GetItemText(0, 3), QString("230.123456789"));
        QCOMPARE(MainTabLabel(), QString("round.plyforge - Theoretical Lamina #2"));
    }

    void modifiedProjectAsksBeforeItIsReplacedAndCtrlSSaves()
    {
        EnterProject();
        QVERIFY(Frame()->Files()->IsModified());
        const QString path = m_dir.filePath("asked.plyforge");
        QVERIFY(Frame()->SaveProject(path));
        int asked = 0;
        auto answer = ProjectFiles::SaveAnswer::Cancel;
        Frame()->Files()->SetSaveQuestion([&] {
            ++asked;
            return answer;
        });
        QVERIFY(Frame()->SaveModified());
        QCOMPARE(asked, 0); // unchanged since the save: nothing to ask

        // A typed value marks the project; Cancel leaves everything as it was.
        ClickTreeItem("Theoretical Lamina #1");
        QTest::keyClicks(MainView()->LaminaDlg()->ScaleFactorEdit(0), "5");
        QVERIFY(Frame()->Files()->IsModified());
        QTest::mouseClick(Ribbon().projectNew, Qt::LeftButton);
        QCOMPARE(asked, 1);
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(2));
        Ribbon().theoryLamina->setText("4");
        QTest::mouseClick(Ribbon().theoryApply, Qt::LeftButton);
        QCOMPARE(asked, 2);
        QCOMPARE(Doc()->lamina_count, 2);

        // Save writes the change into the project's file, then the new project comes.
        answer = ProjectFiles::SaveAnswer::Save;
        QTest::mouseClick(Ribbon().projectNew, Qt::LeftButton);
        QCOMPARE(asked, 3);
        QVERIFY(Doc()->laminate.laminae.empty());
        QVERIFY(Contents(path).contains("\"S_scale_factor\": 0.015"));

        // Discard drops the change.
        answer = ProjectFiles::SaveAnswer::Discard;
        QTest::keyClicks(Ribbon().elasticMax, "4");
        QVERIFY(Frame()->Files()->IsModified());
        QVERIFY(Frame()->OpenProject(path));
        QCOMPARE(asked, 4);
        QCOMPARE(Doc()->laminate.laminae.size(), size_t(2));
        QCOMPARE(Frame()->Files()->Path(), path); // else Ctrl+S would ask for a file

        // Ctrl+S saves a project that has a file, without a dialog.
        QTest::keyClicks(Ribbon().elasticMax, "7");
        Frame()->show();
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
        QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!Frame()->Files()->IsModified());
        QVERIFY(Contents(path).contains("0.257"));

        // Dialogs start beside the last file chosen, else at home; a bare name takes the filter's suffix.
        QCOMPARE(FileDialogs::StartFolder(), QFileInfo(path).absolutePath());
        QSettings().remove("Folders/LastFolder");
        QCOMPARE(FileDialogs::StartFolder(), QDir::homePath());
        QCOMPARE(FileDialogs::FilterSuffix("PNG image (*.png);;SVG drawing (*.svg)"), QString("png"));
        QCOMPARE(FileDialogs::FilterSuffix("All files (*)"), QString());
    }

    void importReadsMachineExportsIntoTheGrid()
    {
        Ribbon().experimentLamina->setText("1");
        QTest::mouseClick(Ribbon().experimentApply, Qt::LeftButton);
        ClickTreeItem("Experimental Lamina #1");
        CExperimentDlg* form = MainView()->ExperimentDlg();
        CListCtrlReport* grid = form->Grid();
        QVERIFY(form->ImportFile(Write("machine.csv", "Test 17;Machine A\nForce (N);Strain (%);Stress (MPa)\n"
                                                      "\"1,004.80328\";0,1;40,19\n2000;0,2;80\n")));
        QCOMPARE(grid->GetItemText(0, 0), QString("1004.80328"));
        QCOMPARE(grid->GetItemText(0, 2), QString("40.19"));
        QVERIFY(Frame()->Files()->IsModified());

        // Five unnamed columns: the user chooses, and the choice is offered next time.
        const QString wide = Write("wide.txt", "1\t10\t0.1\t40\t9\n2\t20\t0.2\t80\t9\n");
        int asked = 0;
        ImportOptions offered;
        form->SetColumnChooser([&](const ImportResult& table, ImportOptions& options) {
            ++asked;
            offered = options;
            options = {1, 2, 3};
            return table.column_count == 5;
        });
        QVERIFY(form->ImportFile(wide));
        QCOMPARE(grid->GetItemText(1, 0), QString("20"));
        QCOMPARE(grid->GetItemText(1, 2), QString("80"));
        QVERIFY(form->ImportFile(wide));
        QCOMPARE(asked, 2);
        QCOMPARE(offered.load_column, 1);

        // A bad file names its line; the grid stays as it was.
        m_sink.Clear();
        QVERIFY(!form->ImportFile(Write("bad.csv", "Load,Strain,Stress\n1,0.1,40\n2,oops,80\n")));
        QVERIFY2(m_sink.Messages().value(0).contains("line 3"), qPrintable(m_sink.Messages().value(0)));
        QCOMPARE(grid->GetItemCount(), 2);
        QCOMPARE(grid->GetItemText(1, 0), QString("20"));
    }

    void badFilesAndPathsLeaveTheProjectUntouched()
    {
        EnterProject();
        CPlyforgeDoc* before = Doc();
        const size_t laminae = before->laminate.laminae.size();
        const QByteArray head = R"({ "format": "plyforge-project", "version": 1, )";
        const std::pair<const char*, QByteArray> files[] = {
            {"empty.plyforge", ""},
            {"truncated.plyforge", head + R"("theory": {)"},
            {"foreign.plyforge", R"({ "name": "something else" })"},
            {"garbage.plyforge", QByteArray("\x00\xff\x13\x37PK\x03\x04", 8)},
            {"wrongtype.plyforge", head + R"("theory": { "lamina_count": "eight" } })"},
            {"huge.plyforge", head + R"("theory": { "lamina_count": 2000000000 } })"},
            {"unequal.plyforge", head + R"("experiment": { "specimens": [ { "id": 1, "width": 25, "thickness": 2, )"
                                        R"("load": [1, 2], "strain": [0.1], "stress": [1, 2] } ] } })"},
            {"newer.plyforge", R"({ "format": "plyforge-project", "version": 99 })"}};
        for (const auto& [name, bytes] : files) {
            m_sink.Clear();
            QVERIFY(!Frame()->OpenProject(Write(name, bytes)));
            QCOMPARE(m_sink.messages.size(), size_t(1));
            QVERIFY2(m_sink.Messages().first().contains(name), qPrintable(m_sink.Messages().first()));
            QCOMPARE(Doc(), before);
            QCOMPARE(Doc()->laminate.laminae.size(), laminae);
        }

        m_sink.Clear();
        QVERIFY(!Frame()->OpenProject(m_dir.filePath("missing.plyforge")));
        QVERIFY(m_sink.Messages().value(0).contains("missing.plyforge"));

        // A save that fails names the path and leaves the project without a file.
        m_sink.Clear();
        const QString path = m_dir.filePath("no such folder/project.plyforge");
        QVERIFY(!Frame()->SaveProject(path));
        QCOMPARE(m_sink.messages.size(), size_t(1));
        QVERIFY(m_sink.Messages().first().contains(path));
        QVERIFY(Frame()->Files()->Path().isEmpty());
    }

    void saveIntoReadOnlyFolderKeepsTheOldFile()
    {
        const QByteArray folder_variable = qgetenv(kAsNobodyVariable);
        if (folder_variable.isEmpty() && geteuid() == 0) {
            // Root writes into any folder; the case runs again as nobody.
            QTemporaryDir home;
            const int status = RunTestFunctionAsNobody("saveIntoReadOnlyFolderKeepsTheOldFile", home.path());
            if (status == kCannotRunAsNobody)
                QSKIP("this test cannot run as the user nobody here");
            QCOMPARE(status, 0);
            return;
        }
        const QString folder =
            folder_variable.isEmpty() ? m_dir.filePath("locked") : QString::fromLocal8Bit(folder_variable) + "/locked";
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/project.plyforge";
        EnterProject();
        QVERIFY(Frame()->SaveProject(path));
        const QByteArray before = Contents(path);
        QVERIFY(!before.isEmpty());

        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        Ribbon().elasticMax->setText("0.3");
        Frame()->Files()->MarkModified();
        const bool written = Frame()->SaveProject(path);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(!written);
        QCOMPARE(m_sink.messages.size(), size_t(1));
        QVERIFY2(m_sink.Messages().first().contains(path), m_sink.messages.front().c_str());
        QCOMPARE(Contents(path), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"project.plyforge"});
        QVERIFY(Frame()->Files()->IsModified()); // still unsaved
    }
};

QTEST_MAIN(ProjectTest)
#include "project_test.moc"
