// Reading project files: what a person writes by hand opens with the documented
// defaults, readings files are found beside the project, and every bad file is
// refused with a one-line message naming the file and the place.

#include "doc/projectreader.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

ProjectData ParseText(const std::string& text) { return ProjectReader::Parse(text, "test.plyforge", ""); }

std::string ReadError(const std::string& path)
{
    return ErrorOf<ProjectFileError>([&] { ProjectReader::ReadFile(path); });
}

// Opens a project in folder whose second specimen takes its readings from
// readings_file; the error must name the project and the field.
std::string ReadingsError(const fs::path& folder, const std::string& readings_file)
{
    const std::string project = (folder / "p.plyforge").string();
    WriteWholeFile(project, R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
        { "id": 1, "width": 25, "thickness": 2, "load": [1], "strain": [1], "stress": [1] },
        { "id": 2, "width": 25, "thickness": 2, "readings_file": ")" + readings_file + R"(" } ] } })");
    const std::string message = ReadError(project);
    EXPECT_TRUE(StartsWith(message, project + ": specimens[1].readings_file: ")) << message;
    return message;
}

} // namespace

TEST(ProjectReader, HandWrittenProjectOpens)
{
    const std::string text = ReadWholeFile(TestDataFile("projects/small.plyforge"));
    const ProjectData project = ParseText(text);
    EXPECT_EQ(project.current_lamina_id, 1);
    EXPECT_EQ(project.current_specimen_id, 2);
    ASSERT_EQ(project.laminae.size(), 2u);
    EXPECT_TRUE(project.laminae[0]->SameInputs(*MakeCarbonEpoxyLamina()));
    EXPECT_EQ(project.laminae[1]->matrix.name, "Vinyl ester");
    ASSERT_EQ(project.specimens.size(), 3u);
    EXPECT_EQ(project.specimens[2]->stress_series, (std::vector<double>{0, 3, 6, 9}));

    // The largest counts allowed.
    std::string large = text;
    large.replace(large.find(R"("lamina_count": 2)"), 17, R"("lamina_count": 10000)");
    large.replace(large.find(R"("specimen_count": 3)"), 19, R"("specimen_count": 10000)");
    const ProjectData most = ParseText(large);
    EXPECT_EQ(most.lamina_count, 10000);
    EXPECT_EQ(most.specimen_count, 10000);
}

// A lamina's inputs kept as text are read in the form's order, whatever the file's.
TEST(ProjectReader, LaminaCellsKeptAsTextInTheFormsOrder)
{
    std::string text = ReadWholeFile(TestDataFile("projects/small.plyforge"));
    const auto replace = [&text](const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
    };
    replace(R"("name": "Glass", "density": 2.54)", R"("name": "Glass", "density": "nan")");
    replace(R"("xi": 1 })", R"("xi": "-nan", "unread_cells": [{ "field": "xi", "text": "1.0.0" },
        { "field": "fiber.density", "text": "" }] })");
    const ProjectData project = ParseText(text);
    EXPECT_TRUE(project.laminae[0]->unread_cells.empty());
    EXPECT_EQ(project.laminae[1]->unread_cells, (std::vector<UnreadField>{{"fiber.density", ""}, {"xi", "1.0.0"}}));
}

TEST(ProjectReader, OptionalFieldsAndSectionsTakeTheirDefaults)
{
    const ProjectData project = ProjectReader::ReadFile(TestDataFile("projects/defaults.plyforge"));
    // The counts follow the records, nothing is current.
    EXPECT_EQ(project.lamina_count, 2);
    EXPECT_EQ(project.current_lamina_id, 0);
    EXPECT_EQ(project.specimen_count, 1);
    EXPECT_EQ(project.current_specimen_id, 0);
    EXPECT_EQ(project.compliance_scale_factor, 0.01);
    EXPECT_EQ(project.elastic_min, 0.1);
    EXPECT_EQ(project.elastic_max, 0.3);
    // The file gives the carbon/epoxy plies without names or scale factors.
    auto second = MakeCarbonEpoxyLamina(2, 0);
    auto first = MakeCarbonEpoxyLamina(1, 90, 0.25);
    first->FAW = 0.55;
    first->xi = 1;
    second->fiber.name = second->matrix.name = first->fiber.name = first->matrix.name = "";
    ASSERT_EQ(project.laminae.size(), 2u);
    EXPECT_TRUE(project.laminae[0]->SameInputs(*second));
    EXPECT_TRUE(project.laminae[1]->SameInputs(*first));
    ASSERT_EQ(project.specimens.size(), 1u);
    EXPECT_EQ(project.specimens[0]->strain_series, (std::vector<double>{0, 0.1, 0.3}));

    // Either section may be missing.
    const std::string header = R"({ "format": "plyforge-project", "version": 1)";
    const std::string theory = R"(, "theory": { "lamina_count": 3, "compliance_scale_factor": 0.02, "laminae": [] })";
    for (const std::string& sections : {std::string(), theory}) {
        SCOPED_TRACE(sections);
        const ProjectData read = ParseText(header + sections + " }");
        EXPECT_EQ(read.lamina_count, sections.empty() ? 0 : 3);
        EXPECT_EQ(read.compliance_scale_factor, sections.empty() ? 0.01 : 0.02);
        EXPECT_TRUE(read.laminae.empty());
        EXPECT_EQ(read.specimen_count, 0);
        EXPECT_EQ(read.elastic_min, 0.1);
        EXPECT_EQ(read.elastic_max, 0.3);
    }
}

TEST(ProjectReader, ReadingsFileRelativeToTheProjectFolder)
{
    TempDir dir;
    fs::create_directories(dir.Path() / fs::u8path("측정 data"));
    WriteWholeFile(dir.Path() / fs::u8path("측정 data") / "specimen1.csv",
                   "Tensile test\nLoad,Strain,Stress\nN,%,N/mm2\n0,0,0\n100,0.1,2.5\n200,0.2,5\n");
    WriteWholeFile(dir.Path() / "specimen2.csv", "Load\tStrain\tStress\r\n1\t2\t3\r\n");
    WriteWholeFile(dir.Path() / "unnamed.csv", "9;1;8;2;3\n");
    const std::string text = R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
          { "id": 1, "width": 25, "thickness": 2, "readings_file": "측정 data/specimen1.csv" },
          { "id": 2, "width": 25, "thickness": 2, "readings_file": ")" + (dir.Path() / "specimen2.csv").string() +
                             R"(" },
          { "id": 3, "width": 25, "thickness": 2, "readings_file": "unnamed.csv", "columns": [2, 4, 5] },
          { "id": 4, "thickness": 3, "readings_file": ")" + TestDataFile("readings/import/format-machine-specimen-data.csv") +
                             R"(" } ] } })";
    WriteWholeFile(dir.Path() / "p.plyforge", text);

    // Opened from another working folder, the path is resolved against the project's;
    // Parse resolves it against the folder it is given.
    for (const ProjectData& project : {ProjectReader::ReadFile((dir.Path() / "p.plyforge").string()),
                                       ProjectReader::Parse(text, "inline.plyforge", dir.Path().string())}) {
        ASSERT_EQ(project.specimens.size(), 4u);
        // What the project leaves out, the machine's lines above the readings give.
        const ExperimentSpecimen& machine = *project.specimens[3];
        EXPECT_TRUE(machine.name == "A-17" && machine.width == 10.05 && machine.thickness == 3);
        // Unnamed columns the project picks, counted from 1.
        EXPECT_EQ(project.specimens[2]->load_series, (std::vector<double>{1}));
        EXPECT_EQ(project.specimens[2]->stress_series, (std::vector<double>{3}));
        EXPECT_EQ(project.specimens[0]->load_series, (std::vector<double>{0, 100, 200}));
        EXPECT_EQ(project.specimens[0]->strain_series, (std::vector<double>{0, 0.1, 0.2}));
        EXPECT_EQ(project.specimens[0]->stress_series, (std::vector<double>{0, 2.5, 5}));
        EXPECT_EQ(project.specimens[1]->load_series, (std::vector<double>{1}));
        EXPECT_EQ(project.specimens[1]->stress_series, (std::vector<double>{3}));
    }
    const std::string bare = (dir.Path() / "bare.plyforge").string();
    WriteWholeFile(bare, R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
          { "id": 1, "width": 25, "readings_file": "specimen2.csv" } ] } })");
    ExpectContains(ReadError(bare), {"specimens[0].readings_file: the specimen has no thickness"});
}

// Every file in tests/data/projects/bad, with the texts its .expected lists.
TEST(ProjectReaderErrors, EachBadFileNamesTheFileAndThePlace)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(TestDataFile("projects/bad")))
        if (entry.path().extension() == ".plyforge")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 70u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::vector<std::string> expected;
        std::istringstream lines(ReadWholeFile(fs::path(file).replace_extension(".expected")));
        for (std::string line; std::getline(lines, line);)
            expected.push_back(line);
        const std::string message = ReadError(file.string());
        EXPECT_TRUE(StartsWith(message, file.string() + ": ")) << message;
        ExpectContains(message, expected);
        EXPECT_EQ(message.find('\n'), std::string::npos) << "one line: " << message;
    }
    // Nesting deep enough to overflow a recursive reader's stack.
    EXPECT_THROW(ParseText(std::string(200000, '[')), ProjectFileError);
    const std::string nested = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_THROW(ParseText(nested), ProjectFileError);
    // An unknown member holding deep data is refused by its name, not walked.
    const std::string deep = R"({ "format": "plyforge-project", "version": 1, "notes": )" + nested + "}";
    EXPECT_TRUE(StartsWith(ErrorOf<ProjectFileError>([&] { ParseText(deep); }), "test.plyforge: notes: unknown key"));
}

// Every project this program and its tests ever wrote still opens: no key they hold
// is unknown to the reader.
TEST(ProjectReader, EveryGoodProjectOpens)
{
    std::vector<fs::path> files;
    for (const fs::path& folder : {fs::path(TestDataFile("projects")), fs::path(TestDataFile("projects/checks")),
                                   fs::path(TestDataFile("../../examples"))})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".plyforge")
                files.push_back(entry.path());
    ASSERT_GE(files.size(), 30u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        EXPECT_NO_THROW(ProjectReader::ReadFile(file.string()));
    }
}

TEST(ProjectReaderErrors, KeysArePlacedInTheirPath)
{
    const std::string head = R"({ "format": "plyforge-project", "version": 1, )";
    const std::pair<std::string, std::string> cases[] = {
        // Duplicates anywhere, the path counting array elements that are objects too.
        {R"("theory": { "laminae": [], "lamina_count": 1, "lamina_count": 2 } })", "theory.lamina_count: duplicate key"},
        {R"("experiment": { "specimens": [ {"id": 1, "load": [[1], {}], "strain": [], "stress": []},
            {"id": 2, "x": {"y": [0, {"z": 1, "z": 2}]}} ] } })",
         "experiment.specimens[1].x.y[1].z: duplicate key"},
        // Keys that no path shows plainly are quoted, on one line.
        {R"("theory": { "laminae": [], "a\nb": 1 } })", R"(theory."a\nb": unknown key)"},
        // Same letters in another case come before a closer key.
        {R"("theory": { "laminae": [], "load": { "MXY": 1 } } })", R"(theory.load.MXY: unknown key; did you mean "Mxy"?)"},
        {R"("theory": { "laminae": [], "load": { "Nz": 1 } } })", R"(theory.load.Nz: unknown key; did you mean "Nx"?)"},
        // Two edits from a short key suggest nothing.
        {R"("theory": { "laminae": [], "load": { "Pz": 1 } } })", "theory.load.Pz: unknown key (known here: Nx,"},
        {R"("theory": { "laminae": [ { "id": 1, "thikness": 1 } ] } })",
         R"(theory.laminae[0].thikness: unknown key; did you mean "thickness"?)"},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(body);
        const std::string message = ErrorOf<ProjectFileError>([&] { ParseText(head + body); });
        EXPECT_TRUE(StartsWith(message, "test.plyforge: " + expected)) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos);
    }
}

// A name of 200 characters in any script opens; one more is refused (the byte count
// is not the limit).
TEST(ProjectReaderErrors, NamesUpToTheLimitInCharacters)
{
    std::string text = ReadWholeFile(TestDataFile("projects/small.plyforge"));
    std::string korean;
    for (int i = 0; i < 100; ++i)
        korean += "탄소";
    text.replace(text.find(R"("Carbon")"), 8, "\"" + korean + "\"");
    EXPECT_EQ(ParseText(text).laminae[0]->fiber.name, korean);
    text.replace(text.find(korean), korean.size(), korean + "a");
    ExpectContains(ErrorOf<ProjectFileError>([&] { ParseText(text); }),
                   {"laminae[0].fiber.name: is 201 characters long (UTF-8 code points); a name has at most 200"});
}

TEST(ProjectReaderErrors, ReadFileNamesThePath)
{
    TempDir dir;
    const std::string missing = (dir.Path() / "no such project.plyforge").string();
    // A FIFO would block the open until some writer came; it is refused unopened.
    const std::string fifo = (dir.Path() / fs::u8path("프로젝트.plyforge")).string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const FifoWriterGuard guard(fifo);
    EXPECT_TRUE(StartsWith(ReadError(missing), missing + ": "));
    const std::string fifo_error = ReadError(fifo);
    EXPECT_TRUE(StartsWith(fifo_error, fifo + ": ")) << fifo_error;
    ExpectContains(fifo_error, {"not a regular file"});
    ExpectContains(ReadError(dir.Str()), {dir.Str()});
    EXPECT_FALSE(guard.WasOpened());
}

// The files are read in parallel, yet what a project reads and the error it reports
// are those of reading them one after another. (What each bad file says is the
// readings parser's, tested with it.)
TEST(ProjectReaderErrors, ParallelReadKeepsProjectOrder)
{
    TempDir dir;
    std::string specimens;
    for (int id = 1; id <= 9; ++id) {
        WriteWholeFile(dir.Path() / ("s" + std::to_string(id) + ".csv"),
                       "Load;Strain;Stress\n" + std::to_string(id) + ";0,1;" + std::to_string(10 * id) + "\n");
        specimens += (id > 1 ? ", " : "") + std::string(R"({ "id": )") + std::to_string(id) +
                     R"(, "width": 25, "thickness": 2, "readings_file": "s)" + std::to_string(id) + R"(.csv" })";
    }
    const std::string project = R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [ )" +
                                specimens + " ] } }";
    const ProjectData read = ProjectReader::Parse(project, "p.plyforge", dir.Str());
    ASSERT_EQ(read.specimens.size(), 9u);
    for (int id = 1; id <= 9; ++id) {
        EXPECT_EQ(read.specimens[id - 1]->load_series, (std::vector<double>{double(id)}));
        EXPECT_EQ(read.specimens[id - 1]->stress_series, (std::vector<double>{10.0 * id}));
    }

    WriteWholeFile(dir.Path() / "s4.csv", "1;2;x\n");
    WriteWholeFile(dir.Path() / "s8.csv", "1;y;3\n");
    const std::pair<std::string, std::string> cases[] = {
        {project, "specimens[3].readings_file: "},
        // A fault in the project after a bad readings file: the file comes first.
        {std::string(project).replace(project.find(R"("id": 6, "width": 25)"), 20, R"("id": 6, "width": "25")"),
         "specimens[3].readings_file: "},
        {std::string(project).replace(project.find(R"("id": 2, "width": 25)"), 20, R"("id": 2, "width": "25")"),
         "specimens[1].width: "},
    };
    for (const auto& [text, where] : cases) {
        const std::string message =
            ErrorOf<ProjectFileError>([&] { ProjectReader::Parse(text, "p.plyforge", dir.Str()); });
        EXPECT_TRUE(StartsWith(message, "p.plyforge: " + where)) << message;
    }
}

TEST(ProjectReaderErrors, UnreadableReadingsFile)
{
    TempDir dir;
    WriteWholeFile(dir.Path() / "r.csv", "1,2,3\n");
    fs::permissions(dir.Path() / "r.csv", fs::perms::none);
    const bool ran = RunUnprivileged(dir.Path(), [&] {
        ASSERT_NE(access((dir.Path() / "r.csv").c_str(), R_OK), 0);
        ExpectContains(ReadingsError(dir.Path(), "r.csv"), {"r.csv"});
    });
    if (!ran)
        GTEST_SKIP() << "cannot run as a user without permissions here";
}

// A readings file is held to what the project itself may hold: its size is bounded
// and the Specimen ID it gives in place of a name is a name.
TEST(ProjectReaderErrors, ReadingsFileLimits)
{
    TempDir dir;
    WriteWholeFile(dir.Path() / "big.csv", "1,2,3\n");
    ASSERT_EQ(truncate((dir.Path() / "big.csv").c_str(), (1LL << 30) + 1), 0); // sparse
    ExpectContains(ReadingsError(dir.Path(), "big.csv"),
                   {"big.csv: the readings file is 1 GiB (1073741825 bytes), larger than the limit of 1 GiB"});
    WriteWholeFile(dir.Path() / "id.csv", "Specimen ID," + std::string(201, 'A') + "\nLoad,Strain,Stress\n1,2,3\n");
    ExpectContains(ReadingsError(dir.Path(), "id.csv"), {"id.csv: the Specimen ID is 201 characters long"});
    // The project's own name leaves the file's unused.
    const std::string project = R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
        { "id": 1, "name": "A-1", "width": 25, "thickness": 2, "readings_file": "id.csv" } ] } })";
    EXPECT_EQ(ProjectReader::Parse(project, "p.plyforge", dir.Str()).specimens[0]->name, "A-1");
}
