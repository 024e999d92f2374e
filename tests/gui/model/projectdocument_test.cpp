// The project model on its own, without a window: its steps, their undo, the
// modified state that follows them, and results that know when they are out of date.
#include "doc/plyforgedoc.h"
#include "model/projectdocument.h"

#include <QSignalSpy>
#include <QTest>

class ProjectDocumentTest : public QObject {
    Q_OBJECT

    using State = ProjectDocument::ResultState;

    static std::shared_ptr<CPlyforgeDoc> NewProject()
    {
        auto doc = std::make_shared<CPlyforgeDoc>();
        doc->InitProject();
        for (int id : {1, 2})
            doc->FindOrCreateSpecimen(id);
        doc->specimen_count = 2;
        return doc;
    }

private slots:
    void valuesAreStepsAndUndoingBackIsUnmodified()
    {
        ProjectDocument project;
        project.SetProject(NewProject());
        QSignalSpy modified(&project, &ProjectDocument::ModifiedChanged);
        QVERIFY(!project.IsModified());
        // A factor typed digit by digit is one step; typed back to where it was, none.
        project.SetScaleFactor(0.02);
        project.SetScaleFactor(0.025);
        QVERIFY(project.IsModified() && project.UndoStack()->count() == 1);
        QCOMPARE(project.Doc()->laminate.compliance_scale_factor, 0.025);
        project.SetScaleFactor(0.01);
        QVERIFY(!project.IsModified() && project.UndoStack()->count() == 0);
        // Each kind of value undoes exactly itself.
        project.SetElasticRange(0.05, 0.25);
        project.SetModulusMethod(ModulusMethod::Regression);
        project.SetIncluded(2, false);
        project.SetLoadCase(LaminateLoad{{100, 0, 0}, {0, 0, 0}});
        project.SetIncluded(2, false); // already left out: no step
        QCOMPARE(project.UndoStack()->count(), 4);
        project.UndoStack()->undo();
        QVERIFY(!project.Doc()->load_case && project.Doc()->FindSpecimen(2)->excluded);
        project.UndoStack()->undo();
        project.UndoStack()->undo();
        QVERIFY(!project.Doc()->FindSpecimen(2)->excluded && project.Doc()->modulus_method == ModulusMethod::Chord);
        project.MarkSaved(); // saved with the range changed only
        project.UndoStack()->undo();
        QVERIFY(project.IsModified() && project.Doc()->elastic_max == 0.3);
        project.UndoStack()->redo();
        QVERIFY(!project.IsModified());
        QCOMPARE(modified.count() % 2, 0); // each change told, back and forth
        // Another project: no steps of the last one, unmodified.
        project.SetScaleFactor(0.5);
        project.SetProject(NewProject());
        QVERIFY(!project.IsModified() && project.UndoStack()->count() == 0);
    }

    void resultsFollowTheInputsOfTheirSide()
    {
        ProjectDocument project;
        project.SetProject(NewProject());
        QCOMPARE(project.Results(ProjectSide::Experiment), State::NotCalculated);
        project.MarkCalculated(ProjectSide::Experiment);
        project.MarkCalculated(ProjectSide::Theory);
        project.SetModulusMethod(ModulusMethod::Regression);
        QCOMPARE(project.Results(ProjectSide::Experiment), State::OutOfDate);
        QCOMPARE(project.Results(ProjectSide::Theory), State::Current);
        // The load case and an included box change nothing the results came from.
        project.SetLoadCase(LaminateLoad{{0, 50, 0}, {0, 0, 0}});
        project.MarkCalculated(ProjectSide::Experiment);
        project.SetIncluded(1, false);
        QVERIFY(project.Results(ProjectSide::Theory) == State::Current &&
                project.Results(ProjectSide::Experiment) == State::Current);
        // Edited back, or undone, the inputs are the results' again.
        project.SetModulusMethod(ModulusMethod::Chord);
        QCOMPARE(project.Results(ProjectSide::Experiment), State::OutOfDate);
        project.UndoStack()->undo();
        QCOMPARE(project.Results(ProjectSide::Experiment), State::Current);
        project.Doc()->FindSpecimen(1)->width = 12.5;
        project.InputsChanged({ProjectChange::Kind::Record, ProjectSide::Experiment, 1});
        QCOMPARE(project.Results(ProjectSide::Experiment), State::OutOfDate);
    }

    void importedSeriesIsOneStepWithItsCount()
    {
        ProjectDocument project;
        project.SetProject(NewProject());
        project.Doc()->specimen_count = 5; // a count with records still missing
        project.Doc()->current_specimen_id = 2;
        int told = 0;
        connect(&project, &ProjectDocument::SeriesAboutToBeReplaced, this, [&] { ++told; });
        SpecimenList series;
        for (int id : {1, 2, 3})
            series.push_back(std::make_unique<ExperimentSpecimen>()), series.back()->id = id;
        ExperimentSpecimen* first = series.front().get();
        project.ReplaceSeries(std::move(series));
        QVERIFY(project.Doc()->specimen_count == 3 && project.Doc()->specimens.front().get() == first);
        QCOMPARE(project.Doc()->current_specimen_id, 0);
        project.UndoStack()->undo();
        QVERIFY(project.Doc()->specimen_count == 5 && project.Doc()->specimens.size() == 2);
        project.UndoStack()->redo();
        QVERIFY(project.Doc()->specimens.front().get() == first && told == 3);
    }
};

QTEST_GUILESS_MAIN(ProjectDocumentTest)
#include "projectdocument_test.moc"
