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
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"

#include <QApplication>

double CMainFrame::ReadRibbonNumber(const QString& text, bool* ok)
{
    // Ribbon edits are not trimmed: strtod skips leading blanks, a trailing one fails.
    double value = 0;
    const bool number = ParseNumber(text.toStdString(), value);
    if (ok)
        *ok = number;
    if (!number) {
        ShowMessageBox(QString::fromUtf8(msg::kEnterNumber));
        return -1;
    }
    return value;
}

double CMainFrame::GetScaleFactor(bool* ok)
{
    return ReadRibbonNumber(m_wndRibbonBar->Text(CRibbonBar::Edit::ScaleFactor), ok);
}

double CMainFrame::GetElasticMin(bool* ok) { return ReadRibbonNumber(m_wndRibbonBar->Text(CRibbonBar::Edit::ElasticMin), ok); }

double CMainFrame::GetElasticMax(bool* ok) { return ReadRibbonNumber(m_wndRibbonBar->Text(CRibbonBar::Edit::ElasticMax), ok); }

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
    auto* view = qobject_cast<CPlyforgeView*>(ShowViewByTitle(MakeTheoryLaminaTitle(doc->current_lamina_id)));
    doc = ActiveDocument();
    if (!view || !view->LaminaDlg() || !doc)
        return;
    if (!view->LaminaDlg()->SaveToLamina(doc->current_lamina_id))
        return;
    // A factor that is not greater than 0 is refused and never stored.
    const double scale_factor = GetScaleFactor();
    if (scale_factor > 0)
        doc->laminate.compliance_scale_factor = scale_factor;
    if (!CalculationChecks::TheoryReady(*doc, scale_factor, AppMessageSink()))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = doc->CalculateTheory();
    QApplication::restoreOverrideCursor();
    if (!done)
        return;
    auto* results = qobject_cast<CResultTheoryView*>(ShowViewByTitle(captions::kTheoryResult));
    if (!results)
        return;
    results->Refresh(doc);
    LoadCalculationLog(*doc);
}

void CMainFrame::OnExperimtCalculate()
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return;
    auto* view =
        qobject_cast<CPlyforgeView*>(ShowViewByTitle(MakeExperimentLaminaTitle(doc->current_specimen_id)));
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
    bool min_ok = false;
    bool max_ok = false;
    doc->elastic_min = GetElasticMin(&min_ok);
    doc->elastic_max = GetElasticMax(&max_ok);
    doc->modulus_method = m_wndRibbonBar->RegressionModulus() ? ModulusMethod::Regression : ModulusMethod::Chord;
    // A bound that is not a number stops here, after its message: -1 is no bound.
    if (!min_ok || !max_ok)
        return;
    if (!CalculationChecks::ExperimentReady(*doc, AppMessageSink()))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = doc->CalculateExperiment();
    QApplication::restoreOverrideCursor();
    if (!done)
        return;
    LoadCalculationLog(*doc);
    if (auto* results = qobject_cast<CResultExpView*>(ShowViewByTitle(captions::kExperimentResult))) {
        results->FillResultList(doc);
        results->RefreshChart(doc);
    }
}
