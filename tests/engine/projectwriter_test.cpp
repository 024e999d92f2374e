// Saving projects: what the writer saves reads back bit for bit, under any locale,
// and a save either replaces the file whole or leaves the old one untouched.

#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "testsupport.h"
#include "util/formattext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

ProjectData ParseText(const std::string& text) { return ProjectReader::Parse(text, "test.plyforge", ""); }

std::vector<std::string> FolderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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
    EXPECT_TRUE(same(wrote.elastic_min, read.elastic_min) && same(wrote.elastic_max, read.elastic_max));
    ASSERT_EQ(wrote.laminate.laminae.size(), read.laminate.laminae.size());
    for (size_t i = 0; i < wrote.laminate.laminae.size(); ++i)
        EXPECT_TRUE(wrote.laminate.laminae[i]->SameInputs(*read.laminate.laminae[i])) << "laminae[" << i << "]";
    ASSERT_EQ(wrote.specimens.size(), read.specimens.size());
    for (size_t i = 0; i < wrote.specimens.size(); ++i)
        EXPECT_TRUE(wrote.specimens[i]->SameInputs(*read.specimens[i])) << "specimens[" << i << "]";
}

// Doubles that a careless writer loses: too few digits, locale commas, no text for
// the non-finite ones, "-0" read back as an integer, subnormals, the extremes, and
// whole numbers beyond the 64-bit integers.
const double kAwkwardValues[] = {
    0.1, 1 / 3., -1 / 3., 1e-300, 5e-324,
    2.2250738585072014e-308, // smallest normal
    2.225073858507201e-308,  // largest subnormal
    1.7976931348623157e308, -1.7976931348623157e308, -0.0, 0.0, kNaN, -kNaN, kInf, -kInf,
    0.123456789, 0.30000000000000004, 1e23,
    18446744073709551616.0, // 2^64: a whole number one past the unsigned integers
    -9223372036854775808.0, // -2^63
    123456789012345680.0, 9007199254740993.0, 45, -90, 1e-7,
};

// Every double input of a lamina.
std::vector<double*> LaminaInputs(Lamina& l)
{
    return {&l.fiber.density,  &l.fiber.youngs_modulus,  &l.fiber.poissons_ratio, &l.matrix.density,
            &l.matrix.youngs_modulus, &l.matrix.poissons_ratio, &l.FAW, &l.thickness, &l.angle, &l.xi,
            &l.S_scale_factor, &l.C_scale_factor, &l.S_angle_scale_factor, &l.C_angle_scale_factor};
}

// Its inputs are awkward values from offset on.
std::unique_ptr<Lamina> MakeLamina(int id, size_t offset, std::string fiber_name, std::string matrix_name)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = id;
    lamina->fiber.name = std::move(fiber_name);
    lamina->matrix.name = std::move(matrix_name);
    for (double* input : LaminaInputs(*lamina))
        *input = kAwkwardValues[offset++ % std::size(kAwkwardValues)];
    return lamina;
}

std::unique_ptr<ExperimentSpecimen> SpecimenOf(int id, double width, double thickness, std::vector<double> load,
                                                 std::vector<double> strain, std::vector<double> stress)
{
    auto specimen = std::make_unique<ExperimentSpecimen>();
    specimen->id = id;
    specimen->width = width;
    specimen->thickness = thickness;
    specimen->load_series = std::move(load);
    specimen->strain_series = std::move(strain);
    specimen->stress_series = std::move(stress);
    return specimen;
}

// Every awkward value in some field, names in several scripts and with control
// characters, ids out of order, 1,000 random readings and cells that are not
// numbers, as the writer saved it.
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

// One value at a time in every place a double is saved, so a failure names the value.
TEST(ProjectWriter, EachAwkwardValueSurvivesInEveryField)
{
    for (const double value : kAwkwardValues) {
        SCOPED_TRACE(FormatText("%.17g", value));
        CPlyforgeDoc wrote;
        wrote.lamina_count = 1;
        wrote.laminate.compliance_scale_factor = wrote.elastic_min = wrote.elastic_max = value;
        auto lamina = MakeLamina(1, 0, "x", "y");
        for (double* input : LaminaInputs(*lamina))
            *input = value;
        wrote.laminate.laminae.push_back(std::move(lamina));
        wrote.specimen_count = 1;
        wrote.specimens.push_back(SpecimenOf(1, value, value, {value, 1}, {1, value}, {value, value}));

        const std::string text = ProjectWriter::Serialize(wrote);
        CPlyforgeDoc read;
        ASSERT_NO_THROW(read.LoadProject(ParseText(text))) << text;
        ExpectSameInputs(wrote, read);
    }
}

TEST(ProjectWriter, NameThatIsNotUtf8StillSaves)
{
    // A name from an old file or a foreign code page must not make the save fail or
    // write a file that cannot be opened.
    CPlyforgeDoc wrote;
    wrote.lamina_count = 1;
    wrote.laminate.laminae.push_back(MakeLamina(1, 0, "Kohlefaser \xE4\xF6\xFC", "\xC3"));
    ProjectData read;
    ASSERT_NO_THROW(read = ParseText(ProjectWriter::Serialize(wrote)));
    ASSERT_EQ(read.laminae.size(), 1u);
    EXPECT_TRUE(StartsWith(read.laminae[0]->fiber.name, "Kohlefaser ")) << read.laminae[0]->fiber.name;
    EXPECT_FALSE(read.laminae[0]->matrix.name.empty());
}

TEST(ProjectWriter, ReplacesTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = (dir.Path() / fs::u8path("프로젝트 1.plyforge")).string();
    WriteWholeFile(path, std::string(100000, 'x')); // longer than the new text
    CPlyforgeDoc doc;
    FillSmallProject(doc);

    ProjectWriter::WriteFile(path, doc);
    EXPECT_EQ(ReadWholeFile(path), ProjectWriter::Serialize(doc));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"프로젝트 1.plyforge"});
    // Readable by others, as any file the user saves, though it was written privately first.
    EXPECT_NE(fs::status(path).permissions() & fs::perms::others_read, fs::perms::none);

    // A new file where there was none.
    const std::string fresh = (dir.Path() / "fresh.plyforge").string();
    ProjectWriter::WriteFile(fresh, doc);
    EXPECT_EQ(ReadWholeFile(fresh), ReadWholeFile(path));
    EXPECT_EQ(FolderEntries(dir.Path()).size(), 2u);
}

TEST(ProjectWriter, FailureNamesThePathAndKeepsTheOldFile)
{
    TempDir dir;
    CPlyforgeDoc doc;
    FillSmallProject(doc);
    // Neither a missing folder nor a folder in the way of the file can be written
    // over, even by root.
    const fs::path in_the_way = dir.Path() / "p.plyforge";
    fs::create_directory(in_the_way);
    WriteWholeFile(in_the_way / "keep.txt", "kept");
    for (const std::string& path : {(dir.Path() / "no such folder/p.plyforge").string(), in_the_way.string()})
        EXPECT_TRUE(StartsWith(WriteError(path, doc), path + ": ")) << path;
    EXPECT_EQ(ReadWholeFile(in_the_way / "keep.txt"), "kept");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"p.plyforge"});

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
