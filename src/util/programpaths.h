#pragma once

#include <string>

// Where the program's own files are and where its logs go, for a build tree and for
// an installed copy alike. A build keeps the formula page and the splash picture
// beside the executable; an installation keeps them in PREFIX/share/plyforge and
// the executables in PREFIX/bin, a folder the user usually cannot write to.
class ProgramPaths {
public:
    // The folder of the running executable (UTF-8, no trailing separator), or empty.
    static std::string ExecutableFolder();

    // The folder holding html/Theory.html, Splash.bmp and examples/.
    static std::string DataFolder(const std::string& executable_folder);
    static std::string DataFolder() { return DataFolder(ExecutableFolder()); }

    // True when the executable runs from an installation (PREFIX/bin beside
    // PREFIX/share/plyforge) rather than from its build folder.
    static bool IsInstalled(const std::string& executable_folder);

    // Where calculation logs are written: beside the executable in a build tree;
    // for an installed copy the user's data folder ($XDG_DATA_HOME/plyforge, else
    // ~/.local/share/plyforge), created when missing.
    static std::string LogFolder(const std::string& executable_folder);
    static std::string LogFolder() { return LogFolder(ExecutableFolder()); }

    // The installation's share folder relative to its bin folder.
    static constexpr const char* kInstalledData = "../share/plyforge";
    // The file that tells a data folder: the formula page.
    static constexpr const char* kMarkerFile = "html/Theory.html";
};
