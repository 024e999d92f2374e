#include "util/programpaths.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<html></html>";
}

// Sets an environment variable for one scope (nullptr: unset).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

// A build keeps its files and logs beside the executable; an installation reads
// share/plyforge and writes logs where the user can, whatever the working folder.
TEST(ProgramPaths, BuildTreeAndInstallation)
{
    TempDir root;
    const fs::path build = root.Path() / "build/src";
    Touch(build / "html/Theory.html");
    const fs::path bin = root.Path() / "prefix/bin";
    fs::create_directories(bin);
    Touch(root.Path() / "prefix/share/plyforge/html/Theory.html");
    const fs::path bare = root.Path() / "bare";
    fs::create_directories(bare);

    EXPECT_FALSE(ProgramPaths::IsInstalled(build.string()));
    EXPECT_EQ(ProgramPaths::DataFolder(build.string()), build.string());
    EXPECT_EQ(ProgramPaths::LogFolder(build.string()), build.string());

    EXPECT_TRUE(ProgramPaths::IsInstalled(bin.string()));
    EXPECT_EQ(ProgramPaths::DataFolder(bin.string()), (root.Path() / "prefix/share/plyforge").string());
    for (const char* unusable : {static_cast<const char*>(nullptr), "relative/data"}) {
        ScopedEnv home("HOME", (root.Path() / "home").c_str());
        ScopedEnv xdg("XDG_DATA_HOME", unusable);
        const std::string logs = ProgramPaths::LogFolder(bin.string());
        EXPECT_EQ(logs, (root.Path() / "home/.local/share/plyforge").string());
        EXPECT_TRUE(fs::is_directory(logs));
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", (root.Path() / "data").c_str());
        EXPECT_EQ(ProgramPaths::LogFolder(bin.string()), (root.Path() / "data/plyforge").string());
    }

    // A build folder with its own files is a build even beside an installed tree.
    const fs::path both = root.Path() / "prefix/build";
    Touch(both / "html/Theory.html");
    EXPECT_FALSE(ProgramPaths::IsInstalled(both.string()));

    // Neither layout: everything stays beside the executable, as before.
    EXPECT_FALSE(ProgramPaths::IsInstalled(bare.string()));
    EXPECT_EQ(ProgramPaths::DataFolder(bare.string()), bare.string());
    EXPECT_EQ(ProgramPaths::LogFolder(bare.string()), bare.string());
}
