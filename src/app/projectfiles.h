#pragma once

#include "doc/projectdata.h"
#include "model/projectdocument.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CPlyforgeDoc;
class QMenu;
class QWidget;

// The project's file: its path, whether it changed since it was saved or
// opened, the recent files, and the reading and writing with their messages.
// The window decides what goes into a project and what opening one shows.
class ProjectFiles : public QObject {
    Q_OBJECT

public:
    enum class SaveAnswer { Save, Discard, Cancel };

    // Whether the project changed since it was saved is project's own: its undo steps.
    ProjectFiles(QWidget* window, ProjectDocument* project);

    QString Path() const { return m_path; }
    // "Project.plyforge" or the file name alone; empty for a new project.
    QString FileName() const;
    void SetPath(const QString& path);

    bool IsModified() const { return m_project->IsModified(); }
    void MarkModified() { m_project->MarkModified(); }
    void ClearModified() { m_project->MarkSaved(); }

    // Asks whether to save the changes: a box, unless a test answers itself.
    SaveAnswer AskToSave() const;
    void SetSaveQuestion(std::function<SaveAnswer()> ask) { m_askSave = std::move(ask); }
    // Asks whether to replace the read-only file at path: a box, unless a test answers.
    bool AskToReplaceReadOnly(const QString& path) const;
    void SetReadOnlyQuestion(std::function<bool(const QString&)> ask) { m_askReadOnly = std::move(ask); }

    // Writes every input of doc atomically; on success the project is this file,
    // unchanged and first of the recent files. False after a message.
    bool Write(const CPlyforgeDoc& doc, const QString& path);
    // The project in the file, or nothing after a message naming the file.
    std::optional<ProjectData> Read(const QString& path) const;
    // True when the project has a log of a run to export; false after a message.
    bool LogReady(const CPlyforgeDoc* doc) const;
    // Copies the last calculation log to path, whole or not at all; false after a message.
    bool ExportLog(const CPlyforgeDoc* doc, const QString& path) const;

    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    // Lists the recent files in menu; choosing one emits OpenRequested.
    void FillRecentMenu(QMenu* menu);

    static QString ProjectFilter();

Q_SIGNALS:
    void PathChanged(const QString& path);
    void OpenRequested(const QString& path);

private:
    QWidget* m_window;
    ProjectDocument* m_project;
    QString m_path;
    std::function<SaveAnswer()> m_askSave;
    std::function<bool(const QString&)> m_askReadOnly;
};
