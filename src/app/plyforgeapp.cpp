#include "app/plyforgeapp.h"

#include "app/applook.h"
#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/plyforgeview.h"
#include "app/principleview.h"
#include "app/splash.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/captions.h"
#include "doc/plyforgedoc.h"
#include "util/programpaths.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QThread>

CPlyforgeApp::CPlyforgeApp(Options options) : m_options(std::move(options)) {}

CPlyforgeApp::~CPlyforgeApp() { ExitInstance(); }

// The resources live in the static GUI library, which the linker would drop.
static void InitPlyforgeResources() { Q_INIT_RESOURCE(plyforge); }

void CPlyforgeApp::InitSettingsNames()
{
    InitPlyforgeResources();
    QCoreApplication::setOrganizationName(QStringLiteral("Plyforge"));
    QCoreApplication::setApplicationName(QStringLiteral("Plyforge"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLYFORGE_VERSION));
    // Earlier versions kept the settings under the name a Windows wizard gave them:
    // the look, the recent files and the dialogs' folders come along once.
    QSettings settings;
    if (settings.allKeys().isEmpty()) {
        const QSettings earlier(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Plyforge"));
        for (const QString& key : earlier.allKeys())
            settings.setValue(key, earlier.value(key));
    }
}

QString CPlyforgeApp::SplashPath()
{
    return QDir(QString::fromStdString(ProgramPaths::DataFolder())).filePath(QStringLiteral("Splash.bmp"));
}

namespace {
// A results view's exports never replace the files of its project.
template <class View> View* WithInputFiles(View* view, CChildFrame* frame)
{
    view->SetInputFiles([frame] { return frame->Document() ? frame->Document()->InputFiles() : std::vector<std::string>(); });
    return view;
}
} // namespace

bool CPlyforgeApp::InitInstance()
{
    InitSettingsNames();
    m_pDocTemplate = {
        CMultiDocTemplate{kMainViewTemplate, [](CChildFrame* f) { return new CPlyforgeView(f); }},
        CMultiDocTemplate{kPrincipleTemplate, [](CChildFrame* f) { return new CPrincipleView(f); }},
        CMultiDocTemplate{kTheoryResultTemplate, [](CChildFrame* f) { return WithInputFiles(new CResultTheoryView, f); }},
        CMultiDocTemplate{kExperimentResultTemplate, [](CChildFrame* f) { return WithInputFiles(new CResultExpView, f); }},
    };

    // The look of the last run; a first start takes the Windows 7 look.
    m_nAppLook = QSettings().value("ApplicationLook", AppLook::kWindows7).toInt();
    m_mainFrame = std::make_unique<CMainFrame>(m_nAppLook);
    m_mainFrame->SetTemplates(m_pDocTemplate);
    if (m_options.show_window) {
        // Without a window manager "maximised" means nothing; fill the screen anyway.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            m_mainFrame->setGeometry(screen->availableGeometry());
        m_mainFrame->showMaximized();
    }

    if (m_options.show_splash) {
        CSplash splash;
        splash.LoadPicture(m_options.splash_path.isEmpty() ? SplashPath() : m_options.splash_path);
        splash.ShowSplash();
        m_mainFrame->repaint();
        QApplication::processEvents();
        // Start-up pauses with the splash on top; nothing else runs meanwhile.
        QThread::msleep(static_cast<unsigned long>(m_options.splash_milliseconds));
        splash.CloseSplash();
    }

    m_mainFrame->OpenDocumentFile(kMainViewTemplate);
    return true;
}

int CPlyforgeApp::ExitInstance()
{
    m_mainFrame.reset();
    return 0;
}
