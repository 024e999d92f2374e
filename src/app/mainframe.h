#pragma once

#include "app/mainmenuview.h"
#include "app/mdimainframe.h"
#include "app/projectcontroller.h"
#include "doc/projectlistener.h"

#include "forms/reportcontent.h"
#include "model/projectdocument.h"

#include <QString>

#include <cstdio>
#include <functional>
#include <optional>

class CLogView;
class CPlyforgeView;
class ProjectController;
class RibbonValues;
class ProjectFiles;
class CPlyforgeDoc;
class CRibbonBar;
class ReportCommands;
class QDockWidget;
class QLabel;
class QMenu;

// The program's main window: the ribbon, the status bar, the tabbed project
// windows, and the "Main Menu" and "Log View" panes. It shows the project and
// follows its changes, starts new projects, applies lamina counts and switches the
// application look.
class CMainFrame : public CMDIMainFrame, public ProjectListener {
    Q_OBJECT

public:
    explicit CMainFrame(int app_look, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CRibbonBar* Ribbon() const { return m_wndRibbonBar; }
    CMainMenuView* MainMenuView() const { return m_mainMenuView; }
    CLogView* LogView() const { return m_logView; }
    QDockWidget* MainMenuPane() const { return m_wndMainMenu; }
    QDockWidget* LogPane() const { return m_wndLogView; }
    int AppLook() const { return m_nAppLook; }

    // The main input view of the project (nullptr: of any project), or nullptr.
    CPlyforgeView* MainViewOf(const CPlyforgeDoc* doc) const;

    // The active project's window of this kind (a template index), made when there
    // is none and brought to the front; its view. Windows are kept by kind, never
    // found by their caption.
    QWidget* ShowView(int template_index);
    template <class View> View* Show(int template_index) { return qobject_cast<View*>(ShowView(template_index)); }

    // Closes the active project's windows and opens a fresh project.
    void ResetProject();

    // What a fresh project and a lamina count show on the ribbon and in the tree.
    void SetTheoryRibbonValues(int count);
    void SetExperimentRibbonValues(int count);
    void ShowTheoryLaminaCount(int count);
    void RebuildMenuTree(int theory_count, int experiment_count);
    // The two count boxes show the project's counts.
    void ShowProjectCounts(const CPlyforgeDoc& doc);

    // ProjectListener: the document's project was set up or its count changed.
    void ProjectInitialised() override;
    void LaminaCountChanged(int count) override;

    // The tree's choice of a lamina or specimen: its form is shown.
    void OnRecordChosen(CMainMenuView::Record record, int id);

    // Ribbon commands.
    void OnProjectNew();
    void OnTheoryLmnNumOk();
    void OnExperimtLmnNumOk();
    void OnApplicationLook(int id);
    void OnCheckLogview();
    void OnCheckTreemenu();
    void OnButtonVersion();
    void OnAppAbout();
    void OnTheoryCalculate();
    void OnExperimtCalculate();

    // Where Calculate writes the theory's trace of its steps (nullptr: nowhere);
    // standard output unless the one who made the window says otherwise.
    void SetTraceFile(std::FILE* file) { m_traceFile = file; }

    // The project: its document, undo steps and change signals.
    ProjectDocument* Project() const { return m_project; }
    // Stores the ribbon's values that are numbers in the project, each changed one an
    // undo step. With tell, a value of side that is not a number stops it: false after
    // "숫자를 입력하세요" naming the edit, and nothing of that side is stored.
    bool CommitRibbonValues(ProjectSide side, bool tell);
    // Shows the last run's log in the log pane, or one line saying where it could
    // not be written.
    void LoadCalculationLog(const CPlyforgeDoc& doc);

    // Projects in files.
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Writes every input of the active project to path; false after a message.
    bool SaveProject(const QString& path);
    // Replaces the active project with the one in the file; false after a message
    // naming the file and what is wrong, the open project untouched.
    bool OpenProject(const QString& path);
    // A testing machine's files, one specimen each in the natural order of their
    // names, in place of the project's specimens (asked first when some have
    // readings); false when refused or after a message naming the file that failed.
    bool ImportSeries(const QStringList& paths);
    // Whether specimens with readings may be replaced; a question box unless a test sets it.
    void SetReplaceQuestion(std::function<bool()> ask) { m_projects->SetReplaceQuestion(std::move(ask)); }
    // Whether a save keeps the link to the readings file (named as the project names
    // it) of a specimen whose readings were edited, dropping the edits, rather than
    // storing its readings; a question box unless a test sets it.
    void SetKeepLinkQuestion(std::function<bool(const QString& file)> ask)
    {
        m_projects->SetKeepLinkQuestion(std::move(ask));
    }
    // The project's file, its modified flag and the recent files.
    ProjectFiles* Files() const { return m_files; }
    // Print, preview, setup and PDF of the project's report.
    ReportCommands* Reports() const { return m_reports; }

    // True when the project may be replaced: saved, discarded or unchanged.
    bool SaveModified();

    // Brings every command's enabled and checked state up to date; called whenever
    // the project, the active window or a pane changes.
    void UpdateCommandUI();

protected:
    ProjectListener* Listener() override { return this; }
    void DocumentCreated(const std::shared_ptr<CPlyforgeDoc>& doc) override;
    void ChildCreated(CChildFrame* child) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Commits the form on screen and the ribbon's values of side for a Calculate:
    // the main view, or nullptr after the message that stopped it.
    CPlyforgeView* CommitForCalculate(ProjectSide side);
    // What the project's change means for the ribbon, the results views and the commands.
    void OnProjectChanged(const ProjectChange& change);
    // A record shown again by Undo or Redo: its tab in front, marked in the tree.
    void OnRecordRevealed(bool theory, int id);
    // After the specimens were replaced: the count, the tree and the first specimen shown.
    void ShowReplacedSeries();
    void CreatePanes();
    void ConnectCommands();
    void BuildMenus();
    // A count applied from the ribbon: a new project of that many empty records.
    void ApplyCount(ProjectSide side);
    // The count in the edit, or 0 after its message.
    int ReadCount(const QString& text);
    // The number in a ribbon edit by the number rule; without one, the message naming it.
    std::optional<double> ReadRibbonNumber(int edit, QString* problem) const;
    void OnProjectPathChanged();
    void ShowFileName(CChildFrame* child);
    // Commits the main view's forms into their records; false when one cannot be.
    bool CommitFormOnScreen(CPlyforgeDoc& doc);
    // The report of the project on screen, with the log pane's text as an appendix or not.
    std::vector<ReportBlock> ReportOfActiveProject(bool withLog);
    ReportCommands* CreateReportCommands();

    CRibbonBar* m_wndRibbonBar;
    QDockWidget* m_wndMainMenu = nullptr;
    QDockWidget* m_wndLogView = nullptr;
    CMainMenuView* m_mainMenuView = nullptr;
    CLogView* m_logView = nullptr;
    QLabel* m_pane1 = nullptr;
    QLabel* m_pane2 = nullptr;
    int m_nAppLook;
    ProjectDocument* m_project;
    ProjectFiles* m_files;
    // Save and Import series on the project alone.
    ProjectController* m_projects;
    RibbonValues* m_ribbonValues;
    std::FILE* m_traceFile = stdout;
    QMenu* m_recentMenu = nullptr;
    ReportCommands* m_reports = nullptr;
};
