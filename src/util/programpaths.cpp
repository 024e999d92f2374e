#include "util/programpaths.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool HasMarker(const fs::path& folder)
{
    std::error_code error;
    return fs::is_regular_file(folder / ProgramPaths::kMarkerFile, error);
}

fs::path InstalledData(const std::string& executable_folder)
{
    return (fs::path(executable_folder) / ProgramPaths::kInstalledData).lexically_normal();
}

std::string UserDataHome()
{
    // XDG: an unset or relative XDG_DATA_HOME means ~/.local/share.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && fs::path(xdg).is_absolute())
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return (fs::path(home) / ".local/share").string();
    return {};
}

} // namespace

std::string ProgramPaths::ExecutableFolder()
{
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return exe.parent_path().string();
}

bool ProgramPaths::IsInstalled(const std::string& executable_folder)
{
    if (executable_folder.empty() || HasMarker(executable_folder))
        return false;
    return HasMarker(InstalledData(executable_folder));
}

std::string ProgramPaths::DataFolder(const std::string& executable_folder)
{
    if (IsInstalled(executable_folder))
        return InstalledData(executable_folder).string();
    return executable_folder;
}

std::string ProgramPaths::LogFolder(const std::string& executable_folder)
{
    if (!IsInstalled(executable_folder))
        return executable_folder;
    const std::string data_home = UserDataHome();
    if (data_home.empty())
        return executable_folder;
    const fs::path folder = fs::path(data_home) / "plyforge";
    std::error_code error;
    fs::create_directories(folder, error); // a failure shows when the log is written
    return folder.string();
}
