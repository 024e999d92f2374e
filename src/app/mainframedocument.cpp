// The main window following its project: the series replaced, the records that Undo
// shows again, and the commands' states.
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "app/ribbonvalues.h"
#include "doc/plyforgedoc.h"

void CMainFrame::DocumentCreated(const std::shared_ptr<CPlyforgeDoc>& doc) { m_project->SetProject(doc); }

std::optional<double> CMainFrame::ReadRibbonNumber(int edit, QString* problem) const
{
    return m_ribbonValues->Read(edit, problem);
}

bool CMainFrame::CommitRibbonValues(ProjectSide side, bool tell) { return m_ribbonValues->Commit(side, tell); }

void CMainFrame::OnProjectChanged(const ProjectChange& change)
{
    // The ribbon's values and the results views follow the project themselves.
    if (change.kind == ProjectChange::Kind::Series)
        ShowReplacedSeries();
    UpdateCommandUI();
}

void CMainFrame::ShowReplacedSeries()
{
    CPlyforgeDoc* doc = m_project->Doc();
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ExperimentCount, QString::number(doc->specimen_count));
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
