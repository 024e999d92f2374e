// The ribbon's Calculate commands: commit the form on screen, check the ribbon's
// values, run the calculation, then show the results and the log.
#include "app/mainframe.h"

#include "app/logview.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "controls/richeditcustomctrl.h"
#include "doc/calculationchecks.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"

#include <QApplication>

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
    edit->LoadFile(path, QStringLiteral("##"));
}

void CMainFrame::OnTheoryCalculate()
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return;
    auto* view = Show<CPlyforgeView>(kMainViewTemplate);
    doc = ActiveDocument();
    if (!view || !view->LaminaDlg() || !doc)
        return;
    if (!view->LaminaDlg()->SaveToLamina(doc->current_lamina_id))
        return;
    // A factor that is not a number stops here; one not greater than 0 is refused
    // by the checks and never stored.
    if (!CommitRibbonValues(ProjectSide::Theory, true))
        return;
    const double scale_factor = ReadRibbonNumber(int(CRibbonBar::Edit::ScaleFactor), nullptr).value_or(0);
    if (!CalculationChecks::TheoryReady(*doc, scale_factor, Messages()))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Trace trace(m_traceFile);
    const bool done = doc->CalculateTheory(trace);
    QApplication::restoreOverrideCursor();
    if (!done)
        return;
    auto* results = Show<CResultTheoryView>(kTheoryResultTemplate);
    if (!results)
        return;
    results->Refresh(doc);
    m_project->MarkCalculated(ProjectSide::Theory);
    LoadCalculationLog(*doc);
}

void CMainFrame::OnExperimtCalculate()
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return;
    auto* view = Show<CPlyforgeView>(kMainViewTemplate);
    doc = ActiveDocument();
    if (!view || !view->ExperimentDlg() || !doc)
        return;
    if (!view->ExperimentDlg()->SaveToSpecimen(doc->current_specimen_id))
        return;
    // Cells of the form that are not numbers were named as it saved them; the
    // checks below name those of the other specimens.
    if (const ExperimentSpecimen* shown = doc->FindSpecimen(doc->current_specimen_id);
        shown && !shown->unread_cells.empty())
        return;
    // A bound that is not a number stops here, after its message naming it.
    if (!CommitRibbonValues(ProjectSide::Experiment, true))
        return;
    if (!CalculationChecks::ExperimentReady(*doc, Messages()))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = doc->CalculateExperiment();
    QApplication::restoreOverrideCursor();
    if (!done)
        return;
    LoadCalculationLog(*doc);
    if (auto* results = Show<CResultExpView>(kExperimentResultTemplate)) {
        results->FillResultList(doc);
        results->RefreshChart(doc);
    }
    m_project->MarkCalculated(ProjectSide::Experiment);
}
