// Projects in files: save (atomic, every input), open (the project restored to the
// ribbon, the tree and the form that was on screen) and the recent files.
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/filedialogs.h"
#include "forms/laminadlg.h"
#include "forms/loadcasebar.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

void CMainFrame::OnProjectPathChanged()
{
    const QString title = QString::fromUtf8(captions::kAppTitle);
    const QString name = m_files->FileName();
    // [*] marks a modified project, as the window's modified state says.
    setWindowTitle(name.isEmpty() ? title + "[*]" : name + "[*] - " + title);
    setWindowModified(m_project->IsModified());
    for (CChildFrame* child : TabArea()->Children()) {
        ShowFileName(child);
        if (child->Document())
            child->Document()->project_path = QFile::encodeName(m_files->Path()).toStdString();
    }
}

void CMainFrame::ShowFileName(CChildFrame* child)
{
    // The main view's tab names the project's file.
    if (qobject_cast<CPlyforgeView*>(child->View()))
        child->SetFileName(m_files->FileName());
}

void CMainFrame::ChildCreated(CChildFrame* child)
{
    if (auto* view = qobject_cast<CPlyforgeView*>(child->View())) {
        view->SetDocumentProvider([this] { return ActiveDocument(); });
        view->SetProjectStack(m_project->UndoStack());
        connect(view, &CPlyforgeView::RecordEdited, m_project, [this](bool theory, int id) {
            m_project->InputsChanged(
                {ProjectChange::Kind::Record, theory ? ProjectSide::Theory : ProjectSide::Experiment, id});
        });
        connect(view, &CPlyforgeView::RecordRevealed, this, &CMainFrame::OnRecordRevealed);
    }
    if (auto* results = qobject_cast<CResultExpView*>(child->View())) {
        // Leaving a specimen out changes the project and the series' statistics.
        results->SetProject(m_project);
        connect(results, &CResultExpView::SpecimenIncludedChanged, m_project, &ProjectDocument::SetIncluded);
        connect(results, &CResultExpView::FilesDropped, this, &CMainFrame::ImportSeries);
    }
    if (auto* results = qobject_cast<CResultTheoryView*>(child->View())) {
        results->SetProject(m_project);
        // The load case is the project's: the ply stresses follow it at once.
        connect(results->LoadBar(), &LoadCaseBar::LoadApplied, m_project, &ProjectDocument::SetLoadCase);
        connect(results->LoadBar(), &LoadCaseBar::LoadCleared, m_project, [this] { m_project->SetLoadCase(std::nullopt); });
    }
    ShowFileName(child);
}

CPlyforgeView* CMainFrame::MainViewOf(const CPlyforgeDoc* doc) const
{
    // The main view may sit in any tab.
    for (CChildFrame* child : TabArea()->Children()) {
        if (auto* view = qobject_cast<CPlyforgeView*>(child->View()); view && (!doc || child->Document() == doc))
            return view;
    }
    return nullptr;
}

bool CMainFrame::CommitFormOnScreen(CPlyforgeDoc& doc)
{
    CPlyforgeView* view = MainViewOf(&doc);
    if (!view)
        return true;
    // Both forms: the theory form still holds its lamina while a specimen is shown.
    if (view->LaminaDlg() && doc.current_lamina_id > 0 && !view->LaminaDlg()->SaveToLamina(doc.current_lamina_id))
        return false;
    if (view->ExperimentDlg() && doc.current_specimen_id > 0 &&
        !view->ExperimentDlg()->SaveToSpecimen(doc.current_specimen_id))
        return false;
    return true;
}

namespace {

// Commits both forms for a save: cells that are not numbers go into the records as
// typed, and the save names them once it is done. False after the message naming a
// scale factor or size that is not a number.
bool CommitFormsKeepingText(CPlyforgeView* view, CPlyforgeDoc& doc)
{
    if (view && view->LaminaDlg() && doc.current_lamina_id > 0 &&
        !view->LaminaDlg()->SaveToLamina(doc.current_lamina_id, CLaminaDlg::UnreadCells::Keep))
        return false;
    return !(view && view->ExperimentDlg() && doc.current_specimen_id > 0 &&
             !view->ExperimentDlg()->SaveToSpecimen(doc.current_specimen_id, CExperimentDlg::UnreadCells::Keep));
}

} // namespace

bool CMainFrame::SaveProject(const QString& path)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return false;
    CPlyforgeView* view = MainViewOf(doc);
    // What the forms and the ribbon show is what is saved; a value that is not a
    // number stops the save, named, rather than an older value being written.
    if (!CommitFormsKeepingText(view, *doc) || !CommitRibbonValues(ProjectSide::Theory, true) ||
        !CommitRibbonValues(ProjectSide::Experiment, true))
        return false;
    const bool experiment_shown = view && view->CurrentForm() == static_cast<QWidget*>(view->ExperimentDlg());
    CExperimentDlg* form = view ? view->ExperimentDlg() : nullptr;
    return m_projects->Save(path, experiment_shown, [form, doc](const ExperimentSpecimen& specimen) {
        if (form && doc->current_specimen_id == specimen.id)
            form->LoadFromSpecimen(specimen);
    });
}

bool CMainFrame::ImportSeries(const QStringList& paths) { return m_projects->ImportSeries(paths); }


bool CMainFrame::SaveModified()
{
    if (!m_files->IsModified())
        return true;
    switch (m_files->AskToSave()) {
    case ProjectFiles::SaveAnswer::Cancel:
        return false;
    case ProjectFiles::SaveAnswer::Discard:
        return true;
    case ProjectFiles::SaveAnswer::Save:
        break;
    }
    OnFileSave();
    return !m_files->IsModified(); // a cancelled or failed save keeps the project
}

void CMainFrame::OnFileSave()
{
    if (m_files->Path().isEmpty())
        OnFileSaveAs();
    else
        SaveProject(m_files->Path());
}

void CMainFrame::OnFileSaveAs()
{
    const QString current = m_files->Path();
    const QString path = FileDialogs::AskSavePath(this, tr("Save Project"),
                                                  current.isEmpty() ? "Project.plyforge" : current,
                                                  ProjectFiles::ProjectFilter());
    if (!path.isEmpty())
        SaveProject(path);
}

void CMainFrame::OnFileOpen()
{
    const QString current = m_files->Path();
    const QString path = FileDialogs::AskOpenPath(this, tr("Open Project"), ProjectFiles::ProjectFilter(),
                                                  current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
    if (!path.isEmpty())
        OpenProject(path);
}

bool CMainFrame::OpenProject(const QString& path)
{
    if (!SaveModified())
        return false;
    std::optional<ProjectData> read = m_files->Read(path);
    if (!read)
        return false;
    ProjectData project = std::move(*read);
    // The record that was on screen, else the project's first: its form names what
    // the project holds, and Calculate has a form to commit.
    const bool none_shown = project.current_lamina_id == 0 && project.current_specimen_id == 0;
    const int lamina_id = none_shown && project.lamina_count > 0 ? 1 : project.current_lamina_id;
    const int specimen_id =
        none_shown && project.lamina_count == 0 && project.specimen_count > 0 ? 1 : project.current_specimen_id;
    ResetProject();
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return false;
    doc->LoadProject(std::move(project));
    // Nothing is on screen yet: showing a record must not commit an empty form.
    doc->current_lamina_id = 0;
    doc->current_specimen_id = 0;
    m_project->SetProject(m_project->SharedDoc()); // another project: its values on the ribbon
    ShowProjectCounts(*doc);
    m_mainMenuView->BuildTree(doc->lamina_count, doc->specimen_count);
    // The record that was on screen is shown again, highlighted in the tree.
    if (lamina_id > 0) {
        auto* view = Show<CPlyforgeView>(kMainViewTemplate);
        if (view && view->ShowTheoryLamina(lamina_id) >= 0)
            m_mainMenuView->MarkShown(CMainMenuView::Record::TheoryLamina, lamina_id);
    } else if (specimen_id > 0) {
        auto* view = Show<CPlyforgeView>(kMainViewTemplate);
        if (view && view->ShowExperimentLamina(specimen_id) >= 0)
            m_mainMenuView->MarkShown(CMainMenuView::Record::ExperimentSpecimen, specimen_id);
    }
    m_files->SetPath(path);
    m_files->AddRecentFile(path);
    m_files->ClearModified();
    UpdateCommandUI();
    return true;
}
