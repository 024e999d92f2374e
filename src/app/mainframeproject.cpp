// Projects in files: save (atomic, every input), open (the project restored to the
// ribbon, the tree and the form that was on screen) and the recent files.
#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "forms/experimentdlg.h"
#include "forms/filedialogs.h"
#include "forms/laminadlg.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"
#include "util/numbertext.h"

#include <QFile>
#include <cstdio>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace {

constexpr int kRecentFileCount = 4;
const char* const kRecentKey = "Recent File List";

QString ProjectFilter() { return QObject::tr("Plyforge projects (*.plyforge);;All files (*)"); }

} // namespace

QStringList CMainFrame::RecentFiles() const { return QSettings().value(kRecentKey).toStringList(); }

void CMainFrame::AddRecentFile(const QString& path)
{
    FileDialogs::RememberFolderOf(path); // the next dialog starts beside the project
    QStringList files = RecentFiles();
    const QString full = QFileInfo(path).absoluteFilePath();
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > kRecentFileCount)
        files.removeLast();
    QSettings().setValue(kRecentKey, files);
}

void CMainFrame::FillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QAction* action = m_recentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(files[i]));
        connect(action, &QAction::triggered, this, [this, path = files[i]] { OpenProject(path); });
    }
    if (files.isEmpty())
        m_recentMenu->addAction(tr("(none)"))->setEnabled(false);
}

void CMainFrame::SetProjectPath(const QString& path)
{
    m_projectPath = path;
    const QString title = QString::fromUtf8(captions::kAppTitle);
    setWindowTitle(path.isEmpty() ? title : QFileInfo(path).fileName() + " - " + title);
    for (CChildFrame* child : TabArea()->Children())
        ShowFileName(child);
}

void CMainFrame::ShowFileName(CChildFrame* child)
{
    // The main view's tab names the project's file.
    if (qobject_cast<CPlyforgeView*>(child->View()))
        child->SetFileName(m_projectPath.isEmpty() ? QString() : QFileInfo(m_projectPath).fileName());
}

void CMainFrame::ChildCreated(CChildFrame* child)
{
    if (auto* view = qobject_cast<CPlyforgeView*>(child->View())) {
        view->SetDocumentProvider([this] { return ActiveDocument(); });
        connect(view, &CPlyforgeView::Modified, this, &CMainFrame::MarkModified);
    }
    ShowFileName(child);
}

bool CMainFrame::CommitFormOnScreen(CPlyforgeDoc& doc)
{
    auto* view = ActiveChild() ? qobject_cast<CPlyforgeView*>(ActiveChild()->View()) : nullptr;
    if (!view) {
        // The main view may sit in another tab.
        for (CChildFrame* child : TabArea()->Children()) {
            if (child->Document() == &doc && (view = qobject_cast<CPlyforgeView*>(child->View())))
                break;
        }
    }
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

bool CMainFrame::SaveProject(const QString& path)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc || !CommitFormOnScreen(*doc))
        return false;
    // The ribbon's values belong to the project; a text that is not a number keeps
    // the document's own value.
    double value = 0;
    if (ParseNumber(m_wndRibbonBar->Text(CRibbonBar::Edit::ScaleFactor).toStdString(), value))
        doc->laminate.compliance_scale_factor = value;
    else if (doc->laminate.compliance_scale_factor == 0)
        doc->laminate.compliance_scale_factor = 0.01;
    if (ParseNumber(m_wndRibbonBar->Text(CRibbonBar::Edit::ElasticMin).toStdString(), value))
        doc->elastic_min = value;
    if (ParseNumber(m_wndRibbonBar->Text(CRibbonBar::Edit::ElasticMax).toStdString(), value))
        doc->elastic_max = value;
    // The file names the one record on screen, so that opening shows it again.
    const int lamina_id = doc->current_lamina_id;
    const int specimen_id = doc->current_specimen_id;
    CPlyforgeView* view = nullptr;
    for (CChildFrame* child : TabArea()->Children()) {
        if (child->Document() == doc && (view = qobject_cast<CPlyforgeView*>(child->View())))
            break;
    }
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
    try {
        ProjectWriter::WriteFile(path.toStdString(), *doc);
    } catch (const ProjectFileError& error) {
        AfxMessageBox(tr("The project could not be saved.\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    SetProjectPath(path);
    AddRecentFile(path);
    m_modified = false;
    return true;
}

bool CMainFrame::SaveModified()
{
    if (!m_modified)
        return true;
    SaveAnswer answer = SaveAnswer::Cancel;
    if (m_askSave) {
        answer = m_askSave();
    } else {
        const QString name = m_projectPath.isEmpty() ? tr("the new project") : QFileInfo(m_projectPath).fileName();
        const auto button =
            QMessageBox::question(this, QStringLiteral("Plyforge"), tr("Save the changes to %1?").arg(name),
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        answer = button == QMessageBox::Save      ? SaveAnswer::Save
                 : button == QMessageBox::Discard ? SaveAnswer::Discard
                                                  : SaveAnswer::Cancel;
    }
    if (answer == SaveAnswer::Cancel)
        return false;
    if (answer == SaveAnswer::Discard)
        return true;
    OnFileSave();
    return !m_modified; // a cancelled or failed save keeps the project
}

void CMainFrame::OnFileSave()
{
    if (m_projectPath.isEmpty())
        OnFileSaveAs();
    else
        SaveProject(m_projectPath);
}

void CMainFrame::OnFileSaveAs()
{
    const QString path = FileDialogs::AskSavePath(this, tr("Save Project"),
                                                  m_projectPath.isEmpty() ? "Project.plyforge" : m_projectPath,
                                                  ProjectFilter());
    if (!path.isEmpty())
        SaveProject(path);
}

void CMainFrame::OnFileOpen()
{
    const QString path = FileDialogs::AskOpenPath(this, tr("Open Project"), ProjectFilter(),
                                                      m_projectPath.isEmpty() ? QString() : QFileInfo(m_projectPath).absolutePath());
    if (!path.isEmpty())
        OpenProject(path);
}

bool CMainFrame::OpenProject(const QString& path)
{
    if (!SaveModified())
        return false;
    ProjectData project;
    try {
        project = ProjectReader::ReadFile(path.toStdString());
    } catch (const ProjectFileError& error) {
        AfxMessageBox(tr("The project could not be opened.\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    const int lamina_id = project.current_lamina_id;
    const int specimen_id = project.current_specimen_id;
    ResetProject();
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return false;
    doc->LoadProject(std::move(project));
    // Nothing is on screen yet: showing a record must not commit an empty form.
    doc->current_lamina_id = 0;
    doc->current_specimen_id = 0;
    m_wndRibbonBar->SetText(CRibbonBar::Edit::TheoryCount, QString::number(doc->lamina_count));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ScaleFactor, 
        QString::fromStdString(ShortestNumberText(doc->laminate.compliance_scale_factor)));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ExperimentCount, QString::number(doc->specimen_count));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ElasticMin, QString::fromStdString(ShortestNumberText(doc->elastic_min)));
    m_wndRibbonBar->SetText(CRibbonBar::Edit::ElasticMax, QString::fromStdString(ShortestNumberText(doc->elastic_max)));
    m_mainMenuView->BuildTree(doc->lamina_count, doc->specimen_count);
    // The record that was on screen is shown again, highlighted in the tree.
    if (lamina_id > 0) {
        auto* view = qobject_cast<CPlyforgeView*>(ShowViewByTitle(MakeTheoryLaminaTitle(lamina_id)));
        if (view && view->ShowTheoryLamina(lamina_id) >= 0)
            m_mainMenuView->MarkShown(MakeTheoryLaminaTitle(lamina_id));
    } else if (specimen_id > 0) {
        auto* view = qobject_cast<CPlyforgeView*>(ShowViewByTitle(MakeExperimentLaminaTitle(specimen_id)));
        if (view && view->ShowExperimentLamina(specimen_id) >= 0)
            m_mainMenuView->MarkShown(MakeExperimentLaminaTitle(specimen_id));
    }
    SetProjectPath(path);
    AddRecentFile(path);
    m_modified = false;
    UpdateCommandUI();
    return true;
}

bool CMainFrame::ExportLog(const QString& path)
{
    const CPlyforgeDoc* doc = ActiveDocument();
    if (!doc || doc->log_path.empty() || !doc->log_written) {
        AfxMessageBox(tr("There is no calculation log yet: press \"Calculate\" first."));
        return false;
    }
    const QString source = QString::fromStdString(doc->log_path);
    QFile::remove(path + ".part");
    if (!QFile::copy(source, path + ".part")) {
        AfxMessageBox(tr("The log could not be written to %1").arg(path));
        return false;
    }
    // Replace the target only once the copy is whole.
    if (std::rename(QFile::encodeName(path + ".part").constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(path + ".part");
        AfxMessageBox(tr("The log could not be written to %1").arg(path));
        return false;
    }
    return true;
}
