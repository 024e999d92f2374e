#include "model/projectdocument.h"

#include "doc/inputsdigest.h"
#include "doc/plyforgedoc.h"
#include "model/projectvaluecommand.h"
#include "theory/lamina.h"

#include <functional>
#include <utility>

namespace {
// Typing on in one of the ribbon's boxes is one step.
constexpr int kScaleFactorMerge = 1001;
constexpr int kElasticRangeMerge = 1002;
} // namespace

ProjectDocument::ProjectDocument(QObject* parent) : QObject(parent)
{
    connect(&m_stack, &QUndoStack::cleanChanged, this, &ProjectDocument::TellModified);
}

void ProjectDocument::TellModified()
{
    if (IsModified() == m_toldModified)
        return;
    m_toldModified = IsModified();
    Q_EMIT ModifiedChanged(m_toldModified);
}

void ProjectDocument::MarkSaved()
{
    m_changedBesideSteps = false;
    m_stack.setClean();
    TellModified();
}

void ProjectDocument::MarkModified()
{
    m_changedBesideSteps = true;
    TellModified();
}

ProjectDocument::~ProjectDocument() = default;

void ProjectDocument::SetProject(std::shared_ptr<CPlyforgeDoc> doc)
{
    m_doc = std::move(doc);
    m_stack.clear(); // steps act on the project they were made in
    MarkSaved();
    m_theory = {m_theory.inputs + 1, 0, 0, 0, 0};
    m_experiment = {m_experiment.inputs + 1, 0, 0, 0, 0};
    Q_EMIT Changed({ProjectChange::Kind::Replaced, ProjectSide::Theory, 0});
}

void ProjectDocument::InputsChanged(const ProjectChange& change)
{
    ++Of(change.side).inputs;
    Q_EMIT Changed(change);
}

void ProjectDocument::MarkCalculated(ProjectSide side)
{
    Of(side).results = Of(side).inputs;
    Of(side).digest_revision = 0; // made afresh: a run reads the inputs as they are now
    Of(side).results_digest = DigestOf(side);
    Q_EMIT Changed({ProjectChange::Kind::Results, side, 0});
}

std::uint64_t ProjectDocument::DigestOf(ProjectSide side) const
{
    const Revisions& revisions = Of(side);
    if (revisions.digest_revision != revisions.inputs) {
        revisions.digest = side == ProjectSide::Theory ? TheoryInputsDigest(*m_doc) : ExperimentInputsDigest(*m_doc);
        revisions.digest_revision = revisions.inputs;
    }
    return revisions.digest;
}

ProjectDocument::ResultState ProjectDocument::Results(ProjectSide side) const
{
    const Revisions& revisions = Of(side);
    if (revisions.results == 0 || !m_doc)
        return ResultState::NotCalculated;
    if (revisions.results == revisions.inputs || DigestOf(side) == revisions.results_digest)
        return ResultState::Current;
    return ResultState::OutOfDate;
}

void ProjectDocument::SetScaleFactor(double factor)
{
    if (!m_doc || m_doc->laminate.compliance_scale_factor == factor)
        return;
    m_stack.push(new ProjectValueCommand<double>(
        tr("Scale factor"), m_doc->laminate.compliance_scale_factor, factor, [this](const double& value) {
            m_doc->laminate.compliance_scale_factor = value;
            InputsChanged({ProjectChange::Kind::Settings, ProjectSide::Theory, 0});
        },
        kScaleFactorMerge));
}

void ProjectDocument::SetElasticRange(double min, double max)
{
    using Range = std::pair<double, double>;
    if (!m_doc || Range(m_doc->elastic_min, m_doc->elastic_max) == Range(min, max))
        return;
    m_stack.push(new ProjectValueCommand<Range>(
        tr("Elastic range"), Range(m_doc->elastic_min, m_doc->elastic_max), Range(min, max),
        [this](const Range& range) {
            m_doc->elastic_min = range.first;
            m_doc->elastic_max = range.second;
            InputsChanged({ProjectChange::Kind::Settings, ProjectSide::Experiment, 0});
        },
        kElasticRangeMerge));
}

void ProjectDocument::SetModulusMethod(ModulusMethod method)
{
    if (!m_doc || m_doc->modulus_method == method)
        return;
    m_stack.push(new ProjectValueCommand<ModulusMethod>(tr("Modulus method"), m_doc->modulus_method, method,
                                                        [this](const ModulusMethod& value) {
                                                            m_doc->modulus_method = value;
                                                            InputsChanged({ProjectChange::Kind::Settings,
                                                                           ProjectSide::Experiment, 0});
                                                        }));
}

void ProjectDocument::SetLoadCase(const std::optional<LaminateLoad>& load)
{
    if (!m_doc)
        return;
    const auto same = [](const std::optional<LaminateLoad>& a, const std::optional<LaminateLoad>& b) {
        return a.has_value() == b.has_value() && (!a || (a->N == b->N && a->M == b->M));
    };
    if (same(m_doc->load_case, load))
        return;
    m_stack.push(new ProjectValueCommand<std::optional<LaminateLoad>>(
        tr("Load case"), m_doc->load_case, load, [this](const std::optional<LaminateLoad>& value) {
            m_doc->load_case = value;
            // The ply stresses follow the load at once; the laminate's constants do not depend on it.
            Q_EMIT Changed({ProjectChange::Kind::Settings, ProjectSide::Theory, 0});
        }));
}

namespace {

// The project's specimens and their count swapped with those the step holds, both ways.
class SeriesCommand : public QUndoCommand {
public:
    SeriesCommand(const QString& text, SpecimenList series, std::function<void(SpecimenList&, int&)> swap)
        : QUndoCommand(text), m_series(std::move(series)), m_count(static_cast<int>(m_series.size())),
          m_swap(std::move(swap))
    {
    }
    void redo() override { m_swap(m_series, m_count); }
    void undo() override { m_swap(m_series, m_count); }

private:
    SpecimenList m_series;
    int m_count;
    std::function<void(SpecimenList&, int&)> m_swap;
};

} // namespace

void ProjectDocument::ReplaceSeries(SpecimenList series)
{
    if (!m_doc)
        return;
    m_stack.push(new SeriesCommand(tr("Import series"), std::move(series), [this](SpecimenList& other, int& count) {
        Q_EMIT SeriesAboutToBeReplaced();
        std::swap(m_doc->specimens, other);
        std::swap(m_doc->specimen_count, count);
        m_doc->current_specimen_id = 0; // no form holds one of these yet
        InputsChanged({ProjectChange::Kind::Series, ProjectSide::Experiment, 0});
    }));
}

void ProjectDocument::SetIncluded(int specimen_id, bool included)
{
    const ExperimentSpecimen* specimen = m_doc ? m_doc->FindSpecimen(specimen_id) : nullptr;
    if (!specimen || specimen->excluded == !included)
        return;
    m_stack.push(new ProjectValueCommand<bool>(
        included ? tr("Include specimen %1").arg(specimen_id) : tr("Leave out specimen %1").arg(specimen_id),
        !included, included, [this, specimen_id](const bool& value) {
            if (ExperimentSpecimen* s = m_doc->FindSpecimen(specimen_id))
                s->excluded = !value;
            // The statistics are recomputed at once from the stored results.
            Q_EMIT Changed({ProjectChange::Kind::Included, ProjectSide::Experiment, specimen_id});
        }));
}

namespace {

// A value and its source, as UseAsPlyData sets them and its undo gives them back.
struct SourcedValue {
    double value = 0;
    std::optional<ValueSource> source;
    bool operator==(const SourcedValue&) const = default;
};

} // namespace

void ProjectDocument::UseAsPlyData(int lamina_id, const std::string& field, double value, const ValueSource& source)
{
    Lamina* lamina = m_doc ? m_doc->laminate.FindLamina(lamina_id) : nullptr;
    const int index = SourcedInputIndex(field);
    if (!lamina || index < 0)
        return;
    Q_EMIT RecordAboutToBeEdited(lamina_id);
    const auto known = lamina->sources.find(field);
    const SourcedValue before{lamina->Input(index),
                              known == lamina->sources.end() ? std::nullopt : std::optional(known->second)};
    const auto apply = [this, lamina_id, index, field](const SourcedValue& v) {
        Lamina* target = m_doc->laminate.FindLamina(lamina_id);
        if (!target)
            return;
        target->Input(index) = v.value;
        if (v.source)
            target->sources[field] = *v.source;
        else
            target->sources.erase(field);
        Q_EMIT RecordReplaced(lamina_id);
        InputsChanged({ProjectChange::Kind::Record, ProjectSide::Theory, lamina_id});
    };
    m_stack.push(
        new ProjectValueCommand<SourcedValue>(tr("Use as ply data"), before, SourcedValue{value, source}, apply));
}
