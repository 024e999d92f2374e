#pragma once

#include "app/doctemplate.h"

#include <QString>

#include <array>
#include <memory>

class CMainFrame;

// The application: settings, the four window templates, the main window, the
// splash pause and the first, empty project.
class CPlyforgeApp {
public:
    struct Options {
        bool show_splash = true;
        int splash_milliseconds = 1500;
        QString splash_path; // empty: Splash.bmp in the program's data folder
        bool show_window = true;
    };

    explicit CPlyforgeApp(Options options);
    ~CPlyforgeApp();

    // Sets up the application object's names; call right after QApplication exists.
    static void InitSettingsNames();
    // The start-up picture of this build or installation, whatever the working folder.
    static QString SplashPath();
    bool InitInstance();
    int ExitInstance();

    CMainFrame* MainWnd() const { return m_mainFrame.get(); }

    std::array<CMultiDocTemplate, 4> m_pDocTemplate;
    int m_nAppLook = 219;

private:
    Options m_options;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
