// The ribbon's Calculate commands: commit the form on screen, check the ribbon's
// values, run the calculation, then show the results and the log.
#include "app/mainframe.h"

#include "app/calculationcontroller.h"
#include "app/logview.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "controls/richeditcustomctrl.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"

void CMainFrame::LoadCalculationLog(const CPlyforgeDoc& doc)
{
    CRichEditCustomCtrl* edit = m_logView->RichEdit();
    const QString path = QString::fromStdString(doc.log_path);
    if (!doc.log_written) {
        // Never show an older file as if it were this run's.
        edit->Clear();
        edit->AppendText(tr("The calculation log could not be written to %1").arg(path) + " (" +
                         QString::fromStdString(doc.log_error) + ")");
        return;
    }
    // The log the run made, as its file holds it: never read back from the disk.
    edit->ShowText(QString::fromStdString(doc.log_text), QStringLiteral("##"));
}

CPlyforgeView* CMainFrame::CommitForCalculate(ProjectSide side)
{
    // The form on screen and the ribbon's values of the side are what is calculated;
    // a value that is not a number stops here, named.
    CPlyforgeDoc* doc = ActiveDocument();
    auto* view = doc ? Show<CPlyforgeView>(kMainViewTemplate) : nullptr;
    doc = ActiveDocument();
    if (!view || !doc)
        return nullptr;
    if (side == ProjectSide::Theory) {
        if (!view->LaminaDlg() || !view->LaminaDlg()->SaveToLamina(doc->current_lamina_id))
            return nullptr;
    } else {
        if (!view->ExperimentDlg() || !view->ExperimentDlg()->SaveToSpecimen(doc->current_specimen_id))
            return nullptr;
        // Cells of the form that are not numbers were named as it saved them; the
        // checks name those of the other specimens.
        if (const ExperimentSpecimen* shown = doc->FindSpecimen(doc->current_specimen_id);
            shown && !shown->unread_cells.empty())
            return nullptr;
    }
    return CommitRibbonValues(side, true) ? view : nullptr;
}

void CMainFrame::OnTheoryCalculate()
{
    if (!CommitForCalculate(ProjectSide::Theory))
        return;
    // A factor not greater than 0 is refused by the checks and never stored.
    const double scale_factor = ReadRibbonNumber(int(CRibbonBar::Edit::ScaleFactor), nullptr).value_or(0);
    Trace trace(m_traceFile);
    if (!CalculationController(*m_project, Messages()).CalculateTheory(scale_factor, trace))
        return;
    if (auto* results = Show<CResultTheoryView>(kTheoryResultTemplate))
        results->Refresh(m_project->Doc());
    LoadCalculationLog(*m_project->Doc());
}

void CMainFrame::OnExperimtCalculate()
{
    if (!CommitForCalculate(ProjectSide::Experiment) || !CalculationController(*m_project, Messages()).CalculateExperiment())
        return;
    LoadCalculationLog(*m_project->Doc());
    if (auto* results = Show<CResultExpView>(kExperimentResultTemplate)) {
        results->FillResultList(m_project->Doc());
        results->RefreshChart(m_project->Doc());
    }
}
