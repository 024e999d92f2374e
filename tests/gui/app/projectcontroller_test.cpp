// The project's and the calculation's commands on a project alone, without a window:
// Import series as one undo step, Save naming the record on screen, and Calculate
// marking its results as those of the present inputs.
#include "app/calculationcontroller.h"
#include "app/projectcontroller.h"
#include "app/projectfiles.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "guitestsupport.h"
#include "util/trace.h"

class ProjectControllerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingMessageSink& m_sink = Recorded();
    using State = ProjectDocument::ResultState;

    // An example project in a document of its own, its logs in the test's folder.
    void Load(ProjectDocument& project, const char* example)
    {
        auto doc = std::make_shared<CPlyforgeDoc>();
        doc->OnNewDocument();
        doc->LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES + std::string("/") + example));
        doc->program_folder = m_dir.path().toStdString();
        project.SetProject(doc);
    }

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { m_sink.Clear(); }

    void importAndSaveWorkOnTheProjectAlone()
    {
        ProjectDocument project;
        ProjectFiles files(nullptr, &project);
        ProjectController controller(project, files, nullptr);
        Load(project, "three-tensile-tests.plyforge");
        int asked = 0;
        controller.SetReplaceQuestion([&] { return ++asked > 1; });
        const QStringList series{PLYFORGE_TEST_DATA "/readings/series/specimen-10.csv",
                                 PLYFORGE_TEST_DATA "/readings/series/specimen-2.csv"};
        QVERIFY(!controller.ImportSeries(series) && asked == 1 && project.Doc()->specimen_count == 3);
        QVERIFY(controller.ImportSeries(series) && project.Doc()->specimen_count == 2);
        QCOMPARE(project.Doc()->specimens.front()->name, std::string("S-02")); // the natural order
        project.UndoStack()->undo();
        QCOMPARE(project.Doc()->specimen_count, 3);
        // A file that cannot be read names itself and leaves the specimens.
        QVERIFY(!controller.ImportSeries({m_dir.filePath("missing.csv")}));
        QVERIFY(m_sink.Messages().size() == 1 && m_sink.Messages()[0].contains("missing.csv"));
        QVERIFY(project.Doc()->specimen_count == 3 && project.UndoStack()->index() == 0);
        // Save writes the project unmodified, naming the specimen on screen only.
        project.Doc()->current_lamina_id = 4;
        project.Doc()->current_specimen_id = 2;
        project.SetScaleFactor(0.02);
        const QString path = m_dir.filePath("saved.plyforge");
        QVERIFY(controller.Save(path, true, {}) && !project.IsModified());
        const ProjectData saved = ProjectReader::ReadFile(path.toStdString());
        QVERIFY(saved.current_lamina_id == 0 && saved.current_specimen_id == 2 && project.Doc()->current_lamina_id == 4);
    }

    void calculateMarksItsResultsOrSaysWhy()
    {
        ProjectDocument project;
        Load(project, "quasi-isotropic.plyforge");
        CalculationController calculation(project, m_sink);
        Trace none = Trace::Discard();
        QVERIFY(!calculation.CalculateTheory(0, none));
        QVERIFY(m_sink.messages.size() == 1 && project.Results(ProjectSide::Theory) == State::NotCalculated);
        QVERIFY(calculation.CalculateTheory(0.01, none) && project.Results(ProjectSide::Theory) == State::Current);
        project.SetScaleFactor(0.02);
        QCOMPARE(project.Results(ProjectSide::Theory), State::OutOfDate);

        Load(project, "three-tensile-tests.plyforge");
        QVERIFY(calculation.CalculateExperiment() && project.Results(ProjectSide::Experiment) == State::Current);
        QVERIFY(project.Doc()->specimens.front()->valid && project.Doc()->log_written);
        project.SetElasticRange(0.3, 0.1);
        QVERIFY(!calculation.CalculateExperiment() && project.Results(ProjectSide::Experiment) == State::OutOfDate);
    }
};

QTEST_MAIN(ProjectControllerTest)
#include "projectcontroller_test.moc"
