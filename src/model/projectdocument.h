#pragma once

#include "doc/projectdata.h"
#include "experiment/experimentspecimen.h"
#include "mechanics/laminationtheory.h"

#include <QObject>
#include <QUndoStack>

#include <cstdint>
#include <memory>
#include <optional>

class CPlyforgeDoc;

// Which half of a project a change touches: the laminate's results follow the
// theory's inputs, the series' results the experiment's.
enum class ProjectSide { Theory, Experiment };

// What changed in a project, for the views that show it.
struct ProjectChange {
    enum class Kind {
        Record,    // a lamina's or specimen's inputs (id)
        Settings,  // the scale factor, the elastic range, the modulus method, the load case
        Included,  // a specimen taken into or left out of the statistics (id)
        Series,    // the specimens replaced as a whole
        Results,   // a calculation stored its results
        Replaced,  // another project (new, opened)
    };
    Kind kind = Kind::Record;
    ProjectSide side = ProjectSide::Theory;
    int id = 0;
};

// The desktop program's project: the engine's document with one undo stack, and the
// revision of its inputs, so that results know whether they still belong to them.
// Every edit is a step on the stack; each step, its undo and its redo tell Changed.
// The project is modified exactly while the stack is away from its clean state.
struct ValueSource;

class ProjectDocument : public QObject {
    Q_OBJECT

public:
    enum class ResultState { NotCalculated, Current, OutOfDate };

    explicit ProjectDocument(QObject* parent = nullptr);
    ~ProjectDocument() override;

    CPlyforgeDoc* Doc() const { return m_doc.get(); }
    const std::shared_ptr<CPlyforgeDoc>& SharedDoc() const { return m_doc; }
    // Another project (new or opened): no steps, unmodified, nothing calculated.
    void SetProject(std::shared_ptr<CPlyforgeDoc> doc);

    QUndoStack* UndoStack() { return &m_stack; }
    bool IsModified() const { return !m_stack.isClean() || m_changedBesideSteps; }
    // The project as saved: undoing back to here is unmodified again.
    void MarkSaved();
    // A change that is no undo step: modified until saved.
    void MarkModified();

    // The inputs of a side changed (a step done, undone or redone): results
    // calculated before are out of date.
    void InputsChanged(const ProjectChange& change);
    // A calculation stored results computed from the side's present inputs.
    void MarkCalculated(ProjectSide side);
    // Out of date while the side's inputs differ from those the results came from:
    // edited back, or undone, they are current again.
    ResultState Results(ProjectSide side) const;

    // The ribbon's and the results views' values, each set as one undo step
    // (nothing when the value is the project's already).
    void SetScaleFactor(double factor);
    void SetElasticRange(double min, double max);
    void SetModulusMethod(ModulusMethod method);
    void SetLoadCase(const std::optional<LaminateLoad>& load);
    void SetIncluded(int specimen_id, bool included);
    // Import series: the specimens replaced by these, one undo step.
    void ReplaceSeries(SpecimenList series);
    // A lamina's strength (Xt, Xc, Yt, Yc, S) or ply modulus (E1, E2) set to a value a
    // test series gave, with where it came from: one undo step.
    void UseAsPlyData(int lamina_id, const std::string& field, double value, const ValueSource& source);

Q_SIGNALS:
    void Changed(const ProjectChange& change);
    // The specimens are about to be replaced (a series imported, or that undone or
    // redone): a form that holds one commits it now.
    void SeriesAboutToBeReplaced();
    void ModifiedChanged(bool modified);
    // A lamina's record is about to be changed from outside its form: a form that
    // holds it commits it now.
    void RecordAboutToBeEdited(int lamina_id);
    // A step changed a lamina's record from outside its form (done, undone, redone):
    // a form that shows it shows the record again.
    void RecordReplaced(int lamina_id);

private:
    struct Revisions {
        unsigned inputs = 1;
        unsigned results = 0;          // the inputs' revision the results came from; 0: none
        std::uint64_t results_digest = 0; // the digest of those inputs
        // The digest of the inputs at a revision, made when it is first asked for.
        mutable unsigned digest_revision = 0;
        mutable std::uint64_t digest = 0;
    };
    std::uint64_t DigestOf(ProjectSide side) const;
    Revisions& Of(ProjectSide side) { return side == ProjectSide::Theory ? m_theory : m_experiment; }
    const Revisions& Of(ProjectSide side) const { return side == ProjectSide::Theory ? m_theory : m_experiment; }

    void TellModified();

    std::shared_ptr<CPlyforgeDoc> m_doc;
    QUndoStack m_stack;
    bool m_changedBesideSteps = false;
    bool m_toldModified = false;
    Revisions m_theory;
    Revisions m_experiment;
};
