// Saving projects: what the writer saves reads back bit for bit, under any locale,
// and a save either replaces the file whole or leaves the old one untouched.

#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "doc/readingsbatch.h"
#include "testsupport.h"
#include "util/formattext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

ProjectData ParseText(const std::string& text) { return ProjectReader::Parse(text, "test.plyforge", ""); }

std::vector<std::string> FolderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Every input of the two documents, bit for bit and in record order.
void ExpectSameInputs(const CPlyforgeDoc& wrote, const CPlyforgeDoc& read)
{
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_EQ(wrote.lamina_count, read.lamina_count);
    EXPECT_EQ(wrote.current_lamina_id, read.current_lamina_id);
    EXPECT_EQ(wrote.specimen_count, read.specimen_count);
    EXPECT_EQ(wrote.current_specimen_id, read.current_specimen_id);
    EXPECT_TRUE(same(wrote.laminate.compliance_scale_factor, read.laminate.compliance_scale_factor));
    ASSERT_EQ(wrote.load_case.has_value(), read.load_case.has_value());
    for (size_t k = 0; wrote.load_case && k < 3; ++k)
        EXPECT_TRUE(same(wrote.load_case->N[k], read.load_case->N[k]) && same(wrote.load_case->M[k], read.load_case->M[k]));
    EXPECT_TRUE(same(wrote.elastic_min, read.elastic_min) && same(wrote.elastic_max, read.elastic_max));
    ASSERT_EQ(wrote.laminate.laminae.size(), read.laminate.laminae.size());
    for (size_t i = 0; i < wrote.laminate.laminae.size(); ++i)
        EXPECT_TRUE(wrote.laminate.laminae[i]->SameInputs(*read.laminate.laminae[i])) << "laminae[" << i << "]";
    ASSERT_EQ(wrote.specimens.size(), read.specimens.size());
    for (size_t i = 0; i < wrote.specimens.size(); ++i)
        EXPECT_TRUE(wrote.specimens[i]->SameInputs(*read.specimens[i])) << "specimens[" << i << "]";
}

// Doubles a careless writer loses (too few digits, locale commas, no text for the
// non-finite ones, -0 read back as an integer, subnormals, the extremes, whole
// numbers past the 64-bit integers) in every kind of field, names in several scripts
// and with control characters, ids out of order, 1,000 random readings and cells
// that are not numbers, as the writer saved it.
void FillAwkwardProject(CPlyforgeDoc& doc)
{
    doc.LoadProject(ParseText(ReadWholeFile(TestDataFile("projects/awkward.plyforge"))));
}

void FillSmallProject(CPlyforgeDoc& doc)
{
    doc.LoadProject(ParseText(ReadWholeFile(TestDataFile("projects/small.plyforge"))));
}

std::string WriteError(const std::string& path, const CPlyforgeDoc& doc)
{
    return ErrorOf<ProjectFileError>([&] { ProjectWriter::WriteFile(path, doc); });
}

} // namespace

TEST(ProjectWriter, EveryInputReadsBackBitForBitAndReplacesTheOpenProject)
{
    const struct {
        const char* name;
        void (*fill)(CPlyforgeDoc&);
    } projects[] = {
        {"awkward", FillAwkwardProject},
        {"small", FillSmallProject},
        {"new and empty", [](CPlyforgeDoc& doc) { doc.InitProject(); }},
    };
    for (const auto& project : projects) {
        SCOPED_TRACE(project.name);
        CPlyforgeDoc wrote;
        project.fill(wrote);
        const std::string text = ProjectWriter::Serialize(wrote);
        CPlyforgeDoc read;
        FillAwkwardProject(read); // an open project whose records must all go
        read.LoadProject(ParseText(text));
        ExpectSameInputs(wrote, read);
        // Saving what was opened gives the same file again.
        EXPECT_EQ(ProjectWriter::Serialize(read), text);
    }
    CPlyforgeDoc awkward;
    FillAwkwardProject(awkward);
    EXPECT_EQ(ProjectWriter::Serialize(awkward), ReadWholeFile(TestDataFile("projects/awkward.plyforge")));
}

TEST(ProjectWriter, SameFileUnderACommaDecimalLocale)
{
    CPlyforgeDoc wrote;
    FillAwkwardProject(wrote);
    const std::string text = ProjectWriter::Serialize(wrote);

    CommaDecimalLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no comma-decimal locale is installed";
    EXPECT_EQ(ProjectWriter::Serialize(wrote), text);
    CPlyforgeDoc read;
    read.LoadProject(ParseText(text));
    ExpectSameInputs(wrote, read);
}

TEST(ProjectWriter, NameThatIsNotUtf8StillSaves)
{
    // A name from an old file or a foreign code page must not make the save fail or
    // write a file that cannot be opened.
    CPlyforgeDoc wrote;
    wrote.lamina_count = 1;
    wrote.laminate.laminae.push_back(MakeCarbonEpoxyLamina());
    wrote.laminate.laminae[0]->fiber.name = "Kohlefaser \xE4\xF6\xFC";
    wrote.laminate.laminae[0]->matrix.name = "\xC3";
    ProjectData read;
    ASSERT_NO_THROW(read = ParseText(ProjectWriter::Serialize(wrote)));
    ASSERT_EQ(read.laminae.size(), 1u);
    EXPECT_TRUE(StartsWith(read.laminae[0]->fiber.name, "Kohlefaser ")) << read.laminae[0]->fiber.name;
    EXPECT_FALSE(read.laminae[0]->matrix.name.empty());
}

TEST(ProjectWriter, FailureNamesThePathAndKeepsTheOldFile)
{
    TempDir dir;
    CPlyforgeDoc doc;
    FillSmallProject(doc);
    // Neither a missing folder nor a folder in the way of the file can be written
    // over, even by root; a pipe is refused without blocking the save.
    const fs::path in_the_way = dir.Path() / "p.plyforge", pipe = dir.Path() / "pipe.plyforge";
    fs::create_directory(in_the_way);
    WriteWholeFile(in_the_way / "keep.txt", "kept");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    for (const std::string& path :
         {(dir.Path() / "no such folder/p.plyforge").string(), in_the_way.string(), pipe.string()})
        EXPECT_TRUE(StartsWith(WriteError(path, doc), path + ": ")) << path;
    EXPECT_EQ(ReadWholeFile(in_the_way / "keep.txt"), "kept");
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"p.plyforge", "pipe.plyforge"}));

    // A folder without write permission.
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "p.plyforge").string();
    WriteWholeFile(path, "old content");
    const bool ran = RunUnprivileged(dir.Path(), [&] {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        ASSERT_NE(access(folder.c_str(), W_OK), 0);
        ExpectContains(WriteError(path, doc), {path});
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(ReadWholeFile(path), "old content");
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"p.plyforge"});
    });
    if (!ran)
        GTEST_SKIP() << "cannot run as a user without permissions here";
}

// A specimen whose readings came from a readings file is saved with the file while
// its readings are as read: named relative to wherever the project goes, with what
// the file gives left to it. Edited, or with a cell kept as text, it is saved with
// its readings, and reading the file again restores them.
TEST(ProjectWriter, ReadingsFileStaysLinkedWhileItsReadingsAreAsRead)
{
    TempDir dir;
    fs::create_directories(dir.Path() / "data");
    fs::create_directories(dir.Path() / "sub");
    fs::copy_file(TestDataFile("readings/import/format-machine-specimen-data.csv"), dir.Path() / "data/machine.csv");
    WriteWholeFile(dir.Path() / "unnamed.csv", "9;1;8;2;3\n");
    const std::string project = (dir.Path() / "p.plyforge").string();
    // The machine's file gives the first specimen its ID, width and thickness.
    WriteWholeFile(project, R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
        { "id": 1, "readings_file": "data/machine.csv" },
        { "id": 2, "name": "B-2", "width": 25, "thickness": 2, "excluded": true,
          "readings_file": "unnamed.csv", "columns": [2, 4, 5] } ] } })");
    CPlyforgeDoc doc;
    doc.LoadProject(ProjectReader::ReadFile(project));
    const std::string text = ProjectWriter::Serialize(doc);
    EXPECT_NE(text.find(R"("readings_file": "data/machine.csv")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("readings_file": "unnamed.csv",
      "columns": [2, 4, 5])"), std::string::npos) << text;
    EXPECT_TRUE(Count(text, "\"load\"") == 0 && Count(text, "\"width\"") == 1 && Count(text, "\"name\"") == 1) << text;
    CPlyforgeDoc read;
    read.LoadProject(ProjectReader::Parse(text, "again.plyforge", dir.Str()));
    ExpectSameInputs(doc, read);
    EXPECT_EQ(ProjectWriter::Serialize(read), text);

    // Saved elsewhere, the files are named from there; saved beside, as they were.
    const std::string moved = (dir.Path() / "sub/q.plyforge").string();
    ProjectWriter::WriteFile(moved, doc);
    ExpectContains(ReadWholeFile(moved),
                   {R"("readings_file": "../data/machine.csv")", R"("readings_file": "../unnamed.csv")"});
    read.LoadProject(ProjectReader::ReadFile(moved));
    ExpectSameInputs(doc, read);
    ProjectWriter::WriteFile((dir.Path() / "beside.plyforge").string(), read);
    EXPECT_EQ(ReadWholeFile(dir.Path() / "beside.plyforge"), text);

    // One reading changed, or one cell kept as text: that specimen's readings are stored.
    ExperimentSpecimen& machine = *doc.specimens[0];
    const std::vector<double> stress = machine.stress_series;
    machine.stress_series[1] += 1e-9;
    doc.specimens[1]->unread_cells = {{0, 0, "x"}};
    const std::string edited = ProjectWriter::Serialize(doc);
    EXPECT_TRUE(Count(edited, "readings_file") == 0 && Count(edited, "\"load\": [") == 2) << edited;
    read.LoadProject(ParseText(edited));
    ExpectSameInputs(doc, read);
    std::string message;
    ASSERT_TRUE(ReadingsBatch::ReadAgain(machine, message)) << message;
    ASSERT_TRUE(ReadingsBatch::ReadAgain(*doc.specimens[1], message)) << message;
    EXPECT_TRUE(machine.stress_series == stress && doc.specimens[1]->unread_cells.empty());
    EXPECT_EQ(ProjectWriter::Serialize(doc), text);
    fs::remove(dir.Path() / "data/machine.csv");
    EXPECT_FALSE(ReadingsBatch::ReadAgain(machine, message));
    ExpectContains(message, {"machine.csv"});
}

// A project the user made read-only is replaced only when they said so. Modes and
// links are the safe writer's and tested with it.
TEST(ProjectWriter, ReadOnlyProjectIsReplacedOnlyWhenAsked)
{
    TempDir dir;
    CPlyforgeDoc doc;
    FillSmallProject(doc);
    const std::string path = (dir.Path() / fs::u8path("프로젝트 1.plyforge")).string();
    WriteWholeFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ExpectContains(WriteError(path, doc), {path, "read-only"});
    EXPECT_EQ(ReadWholeFile(path), "old");
    ProjectWriter::WriteFile(path, doc, true);
    EXPECT_EQ(ReadWholeFile(path), ProjectWriter::Serialize(doc, dir.Str()));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"프로젝트 1.plyforge"});
}
