// Writes that never destroy: a failed or refused write leaves the target as it was,
// only regular files are replaced, never an input, and nothing ever blocks.

#include "testsupport.h"
#include "util/safefilewriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

using Refusal = SafeFileWriter::Refusal;

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

} // namespace

// The longest name a folder takes: the temporary name beside it must fit too.
TEST(SafeFileWriter, ReplacesWholeLeavesNoTemporaryAndNewFilesFollowTheUmask)
{
    TempDir dir;
    const std::string name = std::string(246, 'n') + ".plyforge";
    WriteWholeFile(dir.Path() / name, std::string(100000, 'x'));
    ASSERT_TRUE(SafeFileWriter::Write((dir.Path() / name).string(), "short\n").Ok());
    EXPECT_EQ(ReadWholeFile(dir.Path() / name), "short\n");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{name});

    const mode_t previous = ::umask(027);
    const bool written = SafeFileWriter::Write((dir.Path() / "new.inp").string(), "").Ok();
    ::umask(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(ModeOf(dir.Path() / "new.inp"), 0640u);
}

// A link is written through and stays a link; the file keeps the mode the user gave it.
TEST(SafeFileWriter, WritesThroughLinksAndKeepsTheMode)
{
    TempDir dir;
    fs::create_directory(dir.Path() / "real");
    const fs::path target = dir.Path() / "real" / "card.inp";
    WriteWholeFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/card.inp", dir.Path() / "link1");
    fs::create_symlink("link1", dir.Path() / "link2");
    ASSERT_TRUE(SafeFileWriter::Write((dir.Path() / "link2").string(), "new").Ok());
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "link1") && fs::is_symlink(dir.Path() / "link2"));
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"link1", "link2", "real"}));

    // A link to a name not there yet makes that file.
    fs::create_symlink("real/later.inp", dir.Path() / "dangling");
    ASSERT_TRUE(SafeFileWriter::Write((dir.Path() / "dangling").string(), "made").Ok());
    EXPECT_EQ(ReadWholeFile(dir.Path() / "real" / "later.inp"), "made");

    fs::create_symlink("loop-b", dir.Path() / "loop-a");
    fs::create_symlink("loop-a", dir.Path() / "loop-b");
    const auto loop = SafeFileWriter::Write((dir.Path() / "loop-a").string(), "x");
    EXPECT_EQ(loop.refusal, Refusal::Failed);
    EXPECT_NE(loop.reason.find("Too many levels of symbolic links"), std::string::npos) << loop.reason;
}

TEST(SafeFileWriter, ReadOnlyIsRefusedOnlyWhenAskedAndStaysReadOnly)
{
    TempDir dir;
    const fs::path path = dir.Path() / "p.plyforge";
    WriteWholeFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const SafeFileWriter::Options refuse{.inputs = {}, .refuse_read_only = true};
    const auto refused = SafeFileWriter::Write(path.string(), "new", refuse);
    EXPECT_EQ(refused.refusal, Refusal::ReadOnly);
    EXPECT_NE(refused.reason.find("read-only"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(path), "old");

    ASSERT_TRUE(SafeFileWriter::Write(path.string(), "new").Ok());
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(ModeOf(path), 0444u);
}

// A pipe, a device or a folder is never replaced nor opened (a pipe would block).
TEST(SafeFileWriter, RefusesWhatIsNotARegularFileWithoutOpeningIt)
{
    TempDir dir;
    const fs::path fifo = dir.Path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir.Path() / "folder");
    fs::create_symlink("fifo", dir.Path() / "to-fifo");
    for (const std::string& path : {fifo.string(), (dir.Path() / "to-fifo").string(),
                                   (dir.Path() / "folder").string(), std::string("/dev/full")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(SafeFileWriter::Check(path, SafeFileWriter::Options()).refusal, Refusal::NotRegular);
        const auto outcome = SafeFileWriter::Write(path, "x");
        EXPECT_EQ(outcome.refusal, Refusal::NotRegular);
        EXPECT_NE(outcome.reason.find("not a regular file") + outcome.reason.find("folder"), 2 * std::string::npos);
    }
    EXPECT_TRUE(fs::is_fifo(fifo) && fs::is_character_file("/dev/full"));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"fifo", "folder", "to-fifo"}));
}

// The same file under another name, through a link or a hard link, is still the input.
TEST(SafeFileWriter, NeverReplacesAnInput)
{
    TempDir dir;
    const fs::path project = dir.Path() / "p.plyforge";
    WriteWholeFile(project, "project");
    fs::create_symlink("p.plyforge", dir.Path() / "soft");
    fs::create_hard_link(project, dir.Path() / "hard");
    const SafeFileWriter::Options input{.inputs = {project.string()}};
    for (const char* name : {"p.plyforge", "soft", "hard"}) {
        const auto outcome = SafeFileWriter::Write((dir.Path() / name).string(), "x", input);
        EXPECT_EQ(outcome.refusal, Refusal::SameAsInput) << name;
    }
    EXPECT_EQ(ReadWholeFile(project), "project");
    EXPECT_TRUE(SafeFileWriter::Write((dir.Path() / "other").string(), "x", input).Ok());
}

// A full disk leaves the previous file whole and says why.
TEST(SafeFileWriter, FullDiskKeepsThePreviousFile)
{
    TempDir dir;
    const fs::path disk = dir.Path() / "disk";
    fs::create_directory(disk);
    if (::mount("none", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const fs::path path = disk / "section.inp";
    WriteWholeFile(path, "previous");
    const auto outcome = SafeFileWriter::Write(path.string(), std::string(200000, 'x'));
    EXPECT_EQ(outcome.refusal, Refusal::Failed);
    EXPECT_NE(outcome.reason.find("No space left on device"), std::string::npos) << outcome.reason;
    EXPECT_EQ(ReadWholeFile(path), "previous");
    EXPECT_EQ(Entries(disk), std::vector<std::string>{"section.inp"});
    ::umount(disk.c_str());
}
