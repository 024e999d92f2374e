// The ribbon's project commands: a new project, the two lamina counts, and the
// values the ribbon shows for a fresh project.
#include "app/mainframe.h"

#include "app/mainmenuview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"


void CMainFrame::SetTheoryRibbonValues(int count)
{
    m_wndRibbonBar->SetText(CRibbonBar::Edit::TheoryCount, QString::number(count));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ScaleFactor, QStringLiteral("0.01"));
}

void CMainFrame::SetExperimentRibbonValues(int count)
{
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ExperimentCount, QString::number(count));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ElasticMin, QStringLiteral("0.1"));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ElasticMax, QStringLiteral("0.3"));
    m_wndRibbonBar->SetRegressionModulus(false);
}

void CMainFrame::ShowTheoryLaminaCount(int count)
{
    m_wndRibbonBar->SetText(CRibbonBar::Edit::TheoryCount, QString::number(count));
}

void CMainFrame::RebuildMenuTree(int theory_count, int experiment_count)
{
    m_mainMenuView->BuildTree(theory_count, experiment_count);
}

void CMainFrame::ShowProjectCounts(const CPlyforgeDoc& doc)
{
    m_wndRibbonBar->SetText(CRibbonBar::Edit::TheoryCount, QString::number(doc.lamina_count));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ExperimentCount, QString::number(doc.specimen_count));
}

void CMainFrame::ProjectInitialised()
{
    SetTheoryRibbonValues(0);
    SetExperimentRibbonValues(0);
}

void CMainFrame::LaminaCountChanged(int count)
{
    ShowTheoryLaminaCount(count);
    RebuildMenuTree(count, 0);
    UpdateCommandUI();
}

int CMainFrame::ReadCount(const QString& text)
{
    int count = 0;
    switch (ParseCount(text.toStdString(), count)) {
    case CountStatus::Ok:
        return count;
    case CountStatus::NotDigits:
        ShowMessageBox(this, QString::fromUtf8(msg::kEnterInteger));
        return 0;
    case CountStatus::NotPositive:
        ShowMessageBox(this, QString::fromUtf8(msg::kEnterPositiveInteger));
        return 0;
    case CountStatus::TooLarge:
        ShowMessageBox(this, QString::fromUtf8(msg::kCountTooLarge));
        return 0;
    }
    return 0;
}

void CMainFrame::OnProjectNew()
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc || !SaveModified())
        return;
    doc->InitProject();
    ResetProject();
}

void CMainFrame::ApplyCount(ProjectSide side)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return;
    const bool theory = side == ProjectSide::Theory;
    const int n = ReadCount(m_wndRibbonBar->Text(theory ? CRibbonBar::Edit::TheoryCount : CRibbonBar::Edit::ExperimentCount));
    if (n < 1 || !SaveModified()) {
        ShowProjectCounts(*doc); // a refused count is not the project's
        return;
    }
    // A count gives a new project of empty records, as New does: nothing to save yet.
    doc->ClearLaminae();
    ResetProject();
    CPlyforgeDoc* fresh = ActiveDocument();
    if (!fresh)
        return;
    if (theory) {
        fresh->SetLaminaCount(n);
    } else {
        fresh->specimen_count = n;
        m_wndRibbonBar->SetText(CRibbonBar::Edit::ExperimentCount, QString::number(n));
        m_mainMenuView->BuildTree(fresh->lamina_count, n);
    }
    UpdateCommandUI();
}

void CMainFrame::OnTheoryLmnNumOk() { ApplyCount(ProjectSide::Theory); }

void CMainFrame::OnExperimtLmnNumOk() { ApplyCount(ProjectSide::Experiment); }
