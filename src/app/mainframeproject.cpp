// Projects in files: save (atomic, every input), open (the project restored to the
// ribbon, the tree and the form that was on screen) and the recent files.
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/readingsbatch.h"
#include "doc/seriesimport.h"
#include "experiment/importresult.h"
#include "forms/experimentdlg.h"
#include "forms/filedialogs.h"
#include "forms/laminadlg.h"
#include "forms/loadcasebar.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"
#include "util/numbertext.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

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
        connect(results, &CResultExpView::SpecimenIncludedChanged, m_project, &ProjectDocument::SetIncluded);
        connect(results, &CResultExpView::FilesDropped, this, &CMainFrame::ImportSeries);
    }
    if (auto* results = qobject_cast<CResultTheoryView*>(child->View())) {
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

bool AskKeepLink(QWidget* parent, const QString& file)
{
    QMessageBox box(QMessageBox::Question, CMainFrame::tr("Save Project"),
                    CMainFrame::tr("The readings were changed since they were read from %1.").arg(file),
                    QMessageBox::NoButton, parent);
    QPushButton* keep =
        box.addButton(CMainFrame::tr("Keep the link to %1 and drop the edits").arg(file), QMessageBox::AcceptRole);
    QPushButton* store = box.addButton(CMainFrame::tr("Store the readings in the project"), QMessageBox::RejectRole);
    box.setDefaultButton(store); // edits are never dropped unasked
    box.setEscapeButton(store);
    box.exec();
    return box.clickedButton() == keep;
}

// Specimens whose readings were edited since they were read from the readings file
// the project names: each keeps the link, its edits dropped and the file read again,
// or stores its readings in the project (the writer stores edited readings), as
// keep_link answers; stored lists those. False after a message when a file cannot be
// read again.
bool SettleEditedLinks(QWidget* window, CPlyforgeDoc& doc, const std::function<bool(const QString&)>& keep_link,
                       CExperimentDlg* form, std::vector<ExperimentSpecimen*>& stored)
{
    for (const auto& specimen : doc.specimens) {
        if (!specimen->readings_link || specimen->ReadingsAsLinked())
            continue;
        if (!keep_link(QString::fromStdString(specimen->readings_link->path))) {
            stored.push_back(specimen.get());
            continue;
        }
        std::string error;
        if (!ReadingsBatch::ReadAgain(*specimen, error)) {
            ShowMessageBox(window, CMainFrame::tr("The project was not saved: the readings file could not be read again.\n%1")
                               .arg(QString::fromStdString(error)));
            return false;
        }
        if (form && doc.current_specimen_id == specimen->id)
            form->LoadFromSpecimen(*specimen);
    }
    return true;
}

// After a save, the cells kept as text, the first few named: the save wrote them, but
// not as numbers.
void TellKeptCells(QWidget* window, const CPlyforgeDoc& doc)
{
    const std::vector<std::string> places = CalculationChecks::UnreadPlaces(doc);
    if (places.empty())
        return;
    constexpr size_t kNamed = 5;
    QString text = places.size() == 1
                       ? CMainFrame::tr("Saved. 1 cell could not be read and is kept as text:")
                       : CMainFrame::tr("Saved. %1 cells could not be read and are kept as text:").arg(places.size());
    for (size_t i = 0; i < std::min(places.size(), kNamed); ++i)
        text += "\n" + QString::fromStdString(places[i]);
    if (places.size() > kNamed)
        text += "\n" + CMainFrame::tr("and %1 more").arg(places.size() - kNamed);
    ShowMessageBox(window, text);
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
    const auto ask = [this](const QString& file) { return AskKeepLink(this, file); };
    std::vector<ExperimentSpecimen*> stored;
    if (!SettleEditedLinks(this, *doc, m_askKeepLink ? m_askKeepLink : ask, view ? view->ExperimentDlg() : nullptr, stored))
        return false;
    // The file names the one record on screen, so that opening shows it again.
    const int lamina_id = doc->current_lamina_id;
    const int specimen_id = doc->current_specimen_id;
    const bool experiment_shown = view && view->CurrentForm() == static_cast<QWidget*>(view->ExperimentDlg());
    (experiment_shown ? doc->current_lamina_id : doc->current_specimen_id) = 0;
    struct Restore {
        CPlyforgeDoc* doc;
        int lamina, specimen;
        ~Restore()
        {
            doc->current_lamina_id = lamina;
            doc->current_specimen_id = specimen;
        }
    } restore{doc, lamina_id, specimen_id};
    if (!m_files->Write(*doc, path))
        return false;
    for (ExperimentSpecimen* specimen : stored)
        specimen->readings_link.reset(); // the readings are the project's from now on
    TellKeptCells(this, *doc);
    return true;
}

bool CMainFrame::ImportSeries(const QStringList& paths)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc || paths.isEmpty())
        return false;
    // A fresh form leaves one reading of 0: that is no readings to lose.
    const auto nonZero = [](const std::vector<double>& series) {
        return std::any_of(series.begin(), series.end(), [](double v) { return v != 0; });
    };
    const bool hasReadings = std::any_of(doc->specimens.begin(), doc->specimens.end(), [&](const auto& s) {
        return s->load_series.size() > 1 || nonZero(s->load_series) || nonZero(s->strain_series) ||
               nonZero(s->stress_series);
    });
    const auto ask = [this] {
        return QMessageBox::question(this, tr("Import series"),
                                     tr("The series replaces the specimens of this project and their readings.")) ==
               QMessageBox::Yes;
    };
    if (hasReadings && !(m_askReplace ? m_askReplace() : ask()))
        return false;
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    SpecimenList series;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        series = ReadSeries(files);
    } catch (const ImportError& error) {
        QApplication::restoreOverrideCursor();
        ShowMessageBox(this, tr("The series could not be imported.\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    QApplication::restoreOverrideCursor();
    // One step: Undo gives back the specimens the series replaced.
    m_project->ReplaceSeries(std::move(series));
    return true;
}

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
