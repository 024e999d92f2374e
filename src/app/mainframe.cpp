#include "app/mainframe.h"

#include "app/aboutdlg.h"
#include "app/applook.h"
#include "app/childframe.h"
#include "app/logview.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/reportcommands.h"
#include "app/ribbonvalues.h"
#include "app/ribbonbar.h"
#include "app/windowsdialog.h"
#include "controls/richeditcustomctrl.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/filedialogs.h"
#include "guibase/messagebox.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>

namespace {

// Refreshed with the commands' states: a count or the file may change from anywhere.
void ShowProjectInStatusBar(QLabel& file, QLabel& counts, const CPlyforgeDoc* doc, const ProjectFiles& files)
{
    const QString name = files.FileName();
    file.setText(name.isEmpty() ? QObject::tr("New project") : name);
    file.setToolTip(files.Path());
    if (!doc) {
        counts.clear();
        return;
    }
    const int laminae = doc->lamina_count, specimens = doc->specimen_count;
    counts.setText((laminae == 1 ? QObject::tr("1 lamina") : QObject::tr("%1 laminae").arg(laminae)) + ", " +
                   (specimens == 1 ? QObject::tr("1 specimen") : QObject::tr("%1 specimens").arg(specimens)));
}

} // namespace

CMainFrame::CMainFrame(int app_look, QWidget* parent)
    : CMDIMainFrame(parent), m_wndRibbonBar(new CRibbonBar(this)), m_nAppLook(app_look),
      m_project(new ProjectDocument(this)), m_files(new ProjectFiles(this, m_project)),
      m_projects(new ProjectController(*m_project, *m_files, this)),
      m_ribbonValues(new RibbonValues(*m_wndRibbonBar, *m_project, this))
{
    connect(m_files, &ProjectFiles::PathChanged, this, &CMainFrame::OnProjectPathChanged);
    connect(m_project, &ProjectDocument::Changed, this, &CMainFrame::OnProjectChanged);
    connect(m_project, &ProjectDocument::ModifiedChanged, this, &QWidget::setWindowModified);
    connect(m_project, &ProjectDocument::SeriesAboutToBeReplaced, this, [this] {
        // The specimen on screen goes with the specimens it belongs to.
        CPlyforgeView* view = MainViewOf(m_project->Doc());
        CPlyforgeDoc* doc = m_project->Doc();
        if (view && view->ExperimentDlg() && doc && doc->current_specimen_id > 0)
            view->ExperimentDlg()->SaveToSpecimen(doc->current_specimen_id, CExperimentDlg::UnreadCells::Quiet);
    });
    // "Use as ply data" changes a lamina from outside its form: the form commits first
    // and shows the record again after each do, undo and redo.
    connect(m_project, &ProjectDocument::RecordAboutToBeEdited, this, [this](int id) {
        if (CPlyforgeView* view = MainViewOf(m_project->Doc()))
            view->CommitTheoryLamina(id);
    });
    connect(m_project, &ProjectDocument::RecordReplaced, this, [this](int id) {
        if (CPlyforgeView* view = MainViewOf(m_project->Doc()))
            view->ReloadTheoryLamina(id);
    });
    setObjectName("MainFrame");
    setWindowIcon(QIcon(":/icons/app64.png"));
    setMenuWidget(m_wndRibbonBar);

    // The project on screen: its file, and its laminae and specimens.
    m_pane1 = new QLabel;
    m_pane1->setObjectName("ProjectFilePane");
    m_pane2 = new QLabel;
    m_pane2->setObjectName("ProjectCountsPane");
    statusBar()->addWidget(m_pane1, 1);
    statusBar()->addPermanentWidget(m_pane2);

    OnApplicationLook(m_nAppLook);
    CreatePanes();
    m_reports = CreateReportCommands();
    BuildMenus();
    ConnectCommands();
    OnProjectPathChanged(); // the title, with its mark of a modified project

    const QSettings settings;
    restoreState(settings.value("Workspace/State").toByteArray());

    // The ribbon's enabled and checked states follow the project, the windows and the panes.
    connect(TabArea(), &MdiTabArea::ActiveChildChanged, this, &CMainFrame::UpdateCommandUI);
    for (QDockWidget* pane : {m_wndMainMenu, m_wndLogView})
        connect(pane, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
    connect(TabArea(), &MdiTabArea::WindowsDialogRequested, this, [this] {
        WindowsDialog dialog(TabArea(), this);
        dialog.exec();
    });
}

CMainFrame::~CMainFrame()
{
    // The panes and the tab area are hidden as the base window goes: this part is gone by then.
    for (QObject* sender : std::initializer_list<QObject*>{m_wndMainMenu, m_wndLogView, TabArea(), m_project})
        disconnect(sender, nullptr, this, nullptr);
}

void CMainFrame::CreatePanes()
{
    m_wndMainMenu = new QDockWidget(tr("Main Menu"), this);
    m_wndMainMenu->setObjectName("MainMenuPane");
    m_mainMenuView = new CMainMenuView(m_wndMainMenu);
    connect(m_mainMenuView, &CMainMenuView::RecordChosen, this, &CMainFrame::OnRecordChosen);
    connect(m_mainMenuView, &CMainMenuView::FilesDropped, this, &CMainFrame::ImportSeries);
    connect(m_mainMenuView, &CMainMenuView::TheoryPageChosen, this, [this] {
        ShowView(kPrincipleTemplate);
        UpdateCommandUI();
    });
    m_wndMainMenu->setWidget(m_mainMenuView);
    m_wndMainMenu->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::LeftDockWidgetArea, m_wndMainMenu);
    resizeDocks({m_wndMainMenu}, {230}, Qt::Horizontal);

    m_wndLogView = new QDockWidget(tr("Log View"), this);
    m_wndLogView->setObjectName("LogViewPane");
    m_logView = new CLogView(m_wndLogView);
    m_wndLogView->setWidget(m_logView);
    m_wndLogView->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::BottomDockWidgetArea, m_wndLogView);
    resizeDocks({m_wndLogView}, {180}, Qt::Vertical);
    m_logView->OnInitialUpdate();
}

void CMainFrame::BuildMenus()
{
    QMenu* file = m_wndRibbonBar->FileMenu();
    auto add = [&](const char* id, const QString& text, const QString& icon, bool enabled) {
        QAction* action = file->addAction(QIcon(icon), text);
        action->setObjectName(id);
        action->setEnabled(enabled);
        return action;
    };
    // The usual keys; the actions belong to the window too, so the keys work
    // while the menu is closed.
    auto keyed = [this](QAction* action, QKeySequence::StandardKey key) {
        action->setShortcut(key);
        addAction(action);
        return action;
    };
    connect(keyed(add("ID_FILE_NEW", tr("&New"), ":/icons/new16.png", true), QKeySequence::New),
            &QAction::triggered, this, &CMainFrame::OnProjectNew);
    connect(keyed(add("ID_FILE_OPEN", tr("&Open..."), ":/icons/open16.png", true), QKeySequence::Open),
            &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(keyed(add("ID_FILE_SAVE", tr("&Save"), ":/icons/save16.png", true), QKeySequence::Save),
            &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(keyed(add("ID_FILE_SAVE_AS", tr("Save &As..."), "", true), QKeySequence::SaveAs),
            &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    QAction* exportLog = add("ID_FILE_EXPORT_LOG", tr("Export calculation &log..."), "", true);
    connect(exportLog, &QAction::triggered, this, [this] {
        if (!m_files->LogReady(ActiveDocument()))
            return; // said before a dialog asks where to
        const QString path = FileDialogs::AskSavePath(this, tr("Export Calculation Log"), "CalculationLog.txt",
                                                      tr("Text files (*.txt);;All files (*)"));
        if (!path.isEmpty() && m_files->ExportLog(ActiveDocument(), path))
            FileDialogs::RememberFolderOf(path);
    });
    connect(add("ID_FILE_IMPORT_SERIES", tr("&Import series..."), "", true), &QAction::triggered, this, [this] {
        const QStringList paths = FileDialogs::AskOpenPaths(this, tr("Import Series"),
                                                            tr("Text exports (*.csv *.txt *.dat);;All files (*)"));
        if (!paths.isEmpty() && ImportSeries(paths))
            FileDialogs::RememberFolderOf(paths.first());
    });
    m_recentMenu = file->addMenu(tr("Recent Documents"));
    m_recentMenu->setObjectName("RecentDocuments");
    connect(m_recentMenu, &QMenu::aboutToShow, m_files, [this] { m_files->FillRecentMenu(m_recentMenu); });
    connect(m_files, &ProjectFiles::OpenRequested, this, &CMainFrame::OpenProject);
    file->addSeparator();
    connect(keyed(add("ID_FILE_PRINT", tr("Print"), ":/icons/print16.png", true), QKeySequence::Print),
            &QAction::triggered, m_reports, &ReportCommands::Print);
    connect(add("ID_FILE_PRINT_PREVIEW", tr("Print Pre&view"), "", true), &QAction::triggered, m_reports,
            &ReportCommands::Preview);
    connect(add("ID_FILE_PRINT_SETUP", tr("Print Set&up"), "", true), &QAction::triggered, m_reports,
            &ReportCommands::Setup);
    connect(add("ID_FILE_EXPORT_PDF", tr("Export &PDF..."), "", true), &QAction::triggered, m_reports,
            &ReportCommands::ExportPdf);
    file->addSeparator();
    // Closing a project leaves a new, empty one, as the program always has one.
    connect(add("ID_FILE_CLOSE", tr("&Close"), "", true), &QAction::triggered, this, [this] {
        if (SaveModified())
            ResetProject();
    });
    file->addSeparator();
    connect(add("ID_APP_EXIT", tr("E&xit"), "", true), &QAction::triggered, this, &QWidget::close);

    auto* looks = new QActionGroup(this);
    for (const AppLook::Look& look : AppLook::Looks()) {
        QAction* action = m_wndRibbonBar->StyleMenu()->addAction(tr(look.label));
        action->setObjectName(look.name);
        action->setCheckable(true);
        action->setData(look.id);
        looks->addAction(action);
        connect(action, &QAction::triggered, this, [this, id = look.id] { OnApplicationLook(id); });
    }
}

void CMainFrame::ConnectCommands()
{
    // Undo and Redo of the project's steps, from anywhere in the window.
    QAction* undo = m_project->UndoStack()->createUndoAction(this, tr("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_project->UndoStack()->createRedoAction(this, tr("Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action : {undo, redo}) {
        action->setObjectName(action == undo ? "UndoAction" : "RedoAction");
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    m_wndRibbonBar->SetEditActions(undo, redo);

    CRibbonBar* r = m_wndRibbonBar;
    // One action per command: the ribbon's buttons give the menu's.
    auto* quickPrint = new QAction(tr("Quick Print"), this);
    quickPrint->setObjectName("ID_FILE_PRINT_DIRECT");
    connect(quickPrint, &QAction::triggered, m_reports, &ReportCommands::QuickPrint);
    const auto action = [this](const char* id) { return findChild<QAction*>(id); };
    r->SetProjectActions(action("ID_FILE_NEW"), action("ID_FILE_OPEN"), action("ID_FILE_SAVE"), quickPrint);
    connect(r, &CRibbonBar::TheoryCountApplied, this, &CMainFrame::OnTheoryLmnNumOk);
    connect(r, &CRibbonBar::ExperimentCountApplied, this, &CMainFrame::OnExperimtLmnNumOk);
    connect(r, &CRibbonBar::TheoryCalculateRequested, this, &CMainFrame::OnTheoryCalculate);
    connect(r, &CRibbonBar::ExperimentCalculateRequested, this, &CMainFrame::OnExperimtCalculate);
    connect(r, &CRibbonBar::VersionRequested, this, &CMainFrame::OnButtonVersion);
    connect(r, &CRibbonBar::AboutRequested, this, &CMainFrame::OnAppAbout);
    connect(r, &CRibbonBar::LogViewToggled, this, &CMainFrame::OnCheckLogview);
    connect(r, &CRibbonBar::MenuViewToggled, this, &CMainFrame::OnCheckTreemenu);
    connect(r, &CRibbonBar::StatusBarToggled, this, [this] {
        statusBar()->setVisible(!statusBar()->isVisible());
        UpdateCommandUI();
    });
}

void CMainFrame::OnRecordChosen(CMainMenuView::Record record, int id)
{
    const bool theory = record == CMainMenuView::Record::TheoryLamina;
    auto* view = Show<CPlyforgeView>(kMainViewTemplate);
    const bool shown = view && (theory ? view->ShowTheoryLamina(id) : view->ShowExperimentLamina(id)) >= 0;
    if (!shown)
        m_mainMenuView->RevertChoice();
    if (CChildFrame* child = ActiveChild(); child && child->View())
        child->View()->update();
    UpdateCommandUI();
}

QWidget* CMainFrame::ShowView(int template_index)
{
    if (!ActiveChild())
        OpenDocumentFile(template_index);
    CChildFrame* active = ActiveChild();
    if (!active || !active->Document())
        return nullptr;
    // The results stand beside the inputs, in a group of their own.
    const bool same_group = template_index == kMainViewTemplate || template_index == kPrincipleTemplate;
    return OpenOrActivateChild(template_index, active->SharedDocument(), true, same_group);
}

void CMainFrame::ResetProject()
{
    CChildFrame* active = ActiveChild();
    if (active) {
        CPlyforgeDoc* doc = active->Document();
        for (CChildFrame* child : TabArea()->Children()) {
            if (child->Document() == doc && !child->Caption().isEmpty())
                TabArea()->CloseChild(child);
        }
    }
    OpenDocumentFile(kMainViewTemplate);
    m_files->SetPath({});
    m_files->ClearModified();
    SetTheoryRibbonValues(0);
    SetExperimentRibbonValues(0);
    m_logView->RichEdit()->Clear();
}

void CMainFrame::OnApplicationLook(int id)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_nAppLook = id;
    AppLook::Apply(id);
    QSettings().setValue("ApplicationLook", m_nAppLook);
    QApplication::restoreOverrideCursor();
    UpdateCommandUI();
}

void CMainFrame::OnCheckLogview()
{
    m_wndLogView->setVisible(!m_wndLogView->isVisible());
    UpdateCommandUI();
}

void CMainFrame::OnCheckTreemenu()
{
    m_wndMainMenu->setVisible(!m_wndMainMenu->isVisible());
    UpdateCommandUI();
}

void CMainFrame::OnButtonVersion()
{
    // The version first: a report or a bug names it.
    ShowMessageBox(this, tr("Plyforge, Version %1").arg(QStringLiteral(PLYFORGE_VERSION)) + "\n" +
                   QString("Release date : %1 %2").arg(__DATE__, __TIME__));
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::UpdateCommandUI()
{
    if (!m_wndLogView || !m_wndMainMenu)
        return; // still being built
    ShowProjectInStatusBar(*m_pane1, *m_pane2, ActiveDocument(), *m_files);
    CRibbonBar* r = m_wndRibbonBar;
    r->SetPaneChecks(m_wndMainMenu->isVisible(), m_wndLogView->isVisible(), statusBar()->isVisible());
    for (QAction* action : r->StyleMenu()->actions())
        action->setChecked(action->data().toInt() == m_nAppLook);

    // One record may be missing: Calculate commits the form on screen first.
    if (CPlyforgeDoc* doc = ActiveDocument()) {
        auto enabled = [](int count, size_t records) {
            return count == 1 || (count >= 2 && static_cast<int>(records) >= count - 1);
        };
        r->SetCalculateEnabled(enabled(doc->lamina_count, doc->laminate.laminae.size()),
                               enabled(doc->specimen_count, doc->specimens.size()));
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    QSettings().setValue("Workspace/State", saveState());
    event->accept();
}
