#include "app/projectfiles.h"

#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "forms/filedialogs.h"
#include "guibase/messagebox.h"
#include "guibase/savedfile.h"
#include "util/safefilewriter.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace {

constexpr int kRecentFileCount = 4;
const char* const kRecentKey = "Recent File List";

} // namespace

ProjectFiles::ProjectFiles(QWidget* window, ProjectDocument* project)
    : QObject(window), m_window(window), m_project(project)
{
}

QString ProjectFiles::ProjectFilter() { return tr("Plyforge projects (*.plyforge);;All files (*)"); }

QString ProjectFiles::FileName() const { return m_path.isEmpty() ? QString() : QFileInfo(m_path).fileName(); }

void ProjectFiles::SetPath(const QString& path)
{
    m_path = path;
    Q_EMIT PathChanged(path);
}

ProjectFiles::SaveAnswer ProjectFiles::AskToSave() const
{
    if (m_askSave)
        return m_askSave();
    const QString name = m_path.isEmpty() ? tr("the new project") : FileName();
    const auto button =
        QMessageBox::question(m_window, QStringLiteral("Plyforge"), tr("Save the changes to %1?").arg(name),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return button == QMessageBox::Save      ? SaveAnswer::Save
           : button == QMessageBox::Discard ? SaveAnswer::Discard
                                            : SaveAnswer::Cancel;
}

bool ProjectFiles::AskToReplaceReadOnly(const QString& path) const
{
    if (m_askReadOnly)
        return m_askReadOnly(path);
    return QMessageBox::question(m_window, QStringLiteral("Plyforge"),
                                 tr("The file is read-only. Replace it anyway?") + "\n" + path,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool ProjectFiles::Write(const CPlyforgeDoc& doc, const QString& path)
{
    // The engine refuses a read-only file; only the user may say to replace it.
    SafeFileWriter::Options readOnly;
    readOnly.refuse_read_only = true;
    const bool replaceReadOnly =
        SafeFileWriter::Check(path.toStdString(), readOnly).refusal == SafeFileWriter::Refusal::ReadOnly;
    if (replaceReadOnly && !AskToReplaceReadOnly(path))
        return false;
    try {
        ProjectWriter::WriteFile(path.toStdString(), doc, replaceReadOnly);
    } catch (const ProjectFileError& error) {
        ShowMessageBox(m_window, tr("The project could not be saved.\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    SetPath(path);
    AddRecentFile(path);
    m_project->MarkSaved();
    return true;
}

std::optional<ProjectData> ProjectFiles::Read(const QString& path) const
{
    try {
        return ProjectReader::ReadFile(path.toStdString());
    } catch (const ProjectFileError& error) {
        ShowMessageBox(m_window, tr("The project could not be opened.\n%1").arg(QString::fromStdString(error.what())));
        return std::nullopt;
    }
}

bool ProjectFiles::LogReady(const CPlyforgeDoc* doc) const
{
    // A run whose log could not be written still has it: it can be exported elsewhere.
    if (!doc || doc->log_text.empty()) {
        ShowMessageBox(m_window, tr("There is no calculation log yet: press \"Calculate\" first."));
        return false;
    }
    return true;
}

bool ProjectFiles::ExportLog(const CPlyforgeDoc* doc, const QString& path) const
{
    if (!LogReady(doc))
        return false;
    const QString reason = WriteSavedFile(path, QByteArray::fromStdString(doc->log_text), doc->InputFiles());
    if (!reason.isEmpty()) {
        ShowMessageBox(m_window, tr("The log could not be written to %1").arg(path) + " (" + reason + ")");
        return false;
    }
    return true;
}

QStringList ProjectFiles::RecentFiles() const { return QSettings().value(kRecentKey).toStringList(); }

void ProjectFiles::AddRecentFile(const QString& path)
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

void ProjectFiles::FillRecentMenu(QMenu* menu)
{
    menu->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QAction* action = menu->addAction(QString("&%1 %2").arg(i + 1).arg(files[i]));
        connect(action, &QAction::triggered, this, [this, path = files[i]] { Q_EMIT OpenRequested(path); });
    }
    if (files.isEmpty())
        menu->addAction(tr("(none)"))->setEnabled(false);
}
