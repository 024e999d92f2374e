// The main window following its project: the ribbon's values stored in the project
// and shown from it, the results views told whether their results are out of date,
// the series replaced and the records that Undo shows again.
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"
#include "util/numbertext.h"

namespace {

using Edit = CRibbonBar::Edit;

// The edit and its name in a message.
QString EditName(Edit edit)
{
    switch (edit) {
    case Edit::ScaleFactor:
        return CMainFrame::tr("Scale factor");
    case Edit::ElasticMin:
        return CMainFrame::tr("Elastic range, Min.");
    case Edit::ElasticMax:
        return CMainFrame::tr("Elastic range, Max.");
    default:
        return {};
    }
}

// Shows value unless the edit shows it already, as typed ("1e-2" stays).
void ShowNumber(CRibbonBar& ribbon, Edit edit, double value)
{
    double shown = 0;
    if (ParseNumber(ribbon.Text(edit).toStdString(), shown) && shown == value)
        return;
    ribbon.SetText(edit, QString::fromStdString(ShortestNumberText(value)));
}

} // namespace

void CMainFrame::DocumentCreated(const std::shared_ptr<CPlyforgeDoc>& doc) { m_project->SetProject(doc); }

std::optional<double> CMainFrame::ReadRibbonNumber(int edit, QString* problem) const
{
    // Ribbon edits are not trimmed: strtod skips leading blanks, a trailing one fails.
    const QString text = m_wndRibbonBar->Text(static_cast<Edit>(edit));
    double value = 0;
    if (ParseNumber(text.toStdString(), value))
        return value;
    if (problem)
        *problem = QString::fromUtf8(msg::kEnterNumber) +
                   QString("\n%1: \"%2\"").arg(EditName(static_cast<Edit>(edit)), text);
    return std::nullopt;
}

bool CMainFrame::CommitRibbonValues(ProjectSide side, bool tell)
{
    QString problem;
    if (side == ProjectSide::Theory) {
        const std::optional<double> factor = ReadRibbonNumber(int(Edit::ScaleFactor), &problem);
        // A factor that is not greater than 0 is refused by Calculate and never stored.
        if (factor && *factor > 0)
            m_project->SetScaleFactor(*factor);
    } else {
        // All read before any is stored: a stored value shows the side's values again.
        const std::optional<double> min = ReadRibbonNumber(int(Edit::ElasticMin), &problem);
        const std::optional<double> max = ReadRibbonNumber(int(Edit::ElasticMax), min ? &problem : nullptr);
        const ModulusMethod method = m_wndRibbonBar->RegressionModulus() ? ModulusMethod::Regression
                                                                         : ModulusMethod::Chord;
        if (min && max)
            m_project->SetElasticRange(*min, *max);
        m_project->SetModulusMethod(method);
    }
    if (problem.isEmpty())
        return true;
    if (tell)
        ShowMessageBox(this, problem);
    return false;
}

void CMainFrame::ShowRibbonValues(bool theory, bool experiment)
{
    // Only the side that changed: the other side's boxes may hold text being typed.
    const CPlyforgeDoc* doc = m_project->Doc();
    if (!doc)
        return;
    if (theory)
        ShowNumber(*m_wndRibbonBar, Edit::ScaleFactor, doc->laminate.compliance_scale_factor);
    if (!experiment)
        return;
    ShowNumber(*m_wndRibbonBar, Edit::ElasticMin, doc->elastic_min);
    ShowNumber(*m_wndRibbonBar, Edit::ElasticMax, doc->elastic_max);
    m_wndRibbonBar->SetRegressionModulus(doc->modulus_method == ModulusMethod::Regression);
}

void CMainFrame::ShowResultStates()
{
    for (CChildFrame* child : TabArea()->Children()) {
        if (child->Document() != m_project->Doc())
            continue;
        if (auto* theory = qobject_cast<CResultTheoryView*>(child->View()))
            theory->ShowResultState(m_project->Results(ProjectSide::Theory));
        else if (auto* experiment = qobject_cast<CResultExpView*>(child->View()))
            experiment->ShowResultState(m_project->Results(ProjectSide::Experiment));
    }
}

void CMainFrame::OnProjectChanged(const ProjectChange& change)
{
    CPlyforgeDoc* doc = m_project->Doc();
    using Kind = ProjectChange::Kind;
    if (change.kind == Kind::Replaced)
        ShowRibbonValues(true, true);
    else if (change.kind == Kind::Settings)
        ShowRibbonValues(change.side == ProjectSide::Theory, change.side == ProjectSide::Experiment);
    if (change.kind == Kind::Series)
        ShowReplacedSeries();
    for (CChildFrame* child : TabArea()->Children()) {
        if (!doc || child->Document() != doc)
            continue;
        // Leaving a specimen out changes the statistics, and a load case the ply
        // stresses, at once: both follow from the stored results.
        if (auto* results = qobject_cast<CResultExpView*>(child->View()); results && change.kind == Kind::Included) {
            results->FillResultList(doc);
            results->RefreshChart(doc);
        }
        if (auto* results = qobject_cast<CResultTheoryView*>(child->View());
            results && change.kind == Kind::Settings && change.side == ProjectSide::Theory &&
            m_project->Results(ProjectSide::Theory) != ProjectDocument::ResultState::NotCalculated)
            results->Refresh(doc);
    }
    ShowResultStates();
    UpdateCommandUI();
}

void CMainFrame::ShowReplacedSeries()
{
    CPlyforgeDoc* doc = m_project->Doc();
    m_wndRibbonBar->SetText(Edit::ExperimentCount, QString::number(doc->specimen_count));
    m_mainMenuView->BuildTree(doc->lamina_count, doc->specimen_count);
    if (doc->specimen_count > 0) {
        OnRecordChosen(CMainMenuView::Record::ExperimentSpecimen, 1);
        m_mainMenuView->MarkShown(CMainMenuView::Record::ExperimentSpecimen, 1);
    }
}

void CMainFrame::OnRecordRevealed(bool theory, int id)
{
    for (CChildFrame* child : TabArea()->Children()) {
        if (qobject_cast<CPlyforgeView*>(child->View()) && child->Document() == m_project->Doc())
            TabArea()->Activate(child);
    }
    m_mainMenuView->MarkShown(theory ? CMainMenuView::Record::TheoryLamina : CMainMenuView::Record::ExperimentSpecimen,
                              id);
}
