#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct ExperimentSpecimen;
class ProjectDocument;
class ProjectFiles;
class QWidget;

// The project's own commands apart from its windows: Save writes every input of the
// project (settling readings that were edited since they were read from a file),
// Import series replaces the specimens as one undo step. The window commits its
// forms before and shows the outcome after, so this is tested on a project alone.
class ProjectController : public QObject {
    Q_OBJECT

public:
    // window: where questions and messages stand (nullptr: the application's).
    ProjectController(ProjectDocument& project, ProjectFiles& files, QWidget* window);

    // Whether specimens with readings may be replaced; a question box unless a test sets it.
    void SetReplaceQuestion(std::function<bool()> ask) { m_askReplace = std::move(ask); }
    // Whether a save keeps the link to the readings file (named as the project names
    // it) of a specimen whose readings were edited, dropping the edits, rather than
    // storing its readings; a question box unless a test sets it.
    void SetKeepLinkQuestion(std::function<bool(const QString& file)> ask) { m_askKeepLink = std::move(ask); }

    // Writes the project to path, naming the one record on screen (a specimen when
    // experiment_shown) so that opening shows it again; reread is told of each
    // specimen read again from its file. False after a message.
    bool Save(const QString& path, bool experiment_shown,
              const std::function<void(const ExperimentSpecimen&)>& reread);
    // A testing machine's files, one specimen each in the natural order of their
    // names, in place of the project's specimens (asked first when some have
    // readings); false when refused or after a message naming the file that failed.
    bool ImportSeries(const QStringList& paths);

private:
    bool AskReplace() const;
    bool AskKeepLink(const QString& file) const;
    // Each edited, linked specimen keeps its link (read again) or stores its readings.
    bool SettleEditedLinks(const std::function<void(const ExperimentSpecimen&)>& reread,
                           std::vector<ExperimentSpecimen*>& stored);
    void TellKeptCells() const;

    ProjectDocument& m_project;
    ProjectFiles& m_files;
    QWidget* m_window;
    std::function<bool()> m_askReplace;
    std::function<bool(const QString&)> m_askKeepLink;
};
