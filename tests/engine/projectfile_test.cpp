// The project file: what the writer saves reads back bit for bit, what a person
// writes by hand reads with the documented defaults, and every bad file is refused
// with a message naming the file and the place, never with a crash.

#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <typeinfo>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using testing_support::TempDir;

void WriteText(const fs::path& path, const std::string& text) { testing_support::WriteWholeFile(path, text); }
std::string ReadText(const fs::path& path) { return testing_support::ReadWholeFile(path); }

// A file name inside the folder, given in UTF-8.
std::string In(const TempDir& dir, const std::string& name) { return (dir.Path() / fs::u8path(name)).string(); }

std::vector<std::string> FolderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string Bits(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::ostringstream text;
    text.precision(17);
    text << value << " (0x" << std::hex << bits << ")";
    return text.str();
}

#define EXPECT_SAME_BITS(expected, actual, what)                                               \
    EXPECT_TRUE(SameBits((expected), (actual)))                                                \
        << (what) << ": wrote " << Bits(expected) << ", read " << Bits(actual)

// Replaces the one occurrence of from; a template that no longer holds it is a
// mistake in the test, not a pass.
std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        ADD_FAILURE() << "the template must hold exactly one \"" << from << "\"";
        return text;
    }
    return text.replace(at, from.size(), to);
}

ProjectData ParseText(const std::string& text, const std::string& base = "")
{
    return ProjectReader::Parse(text, "bad.plyforge", base);
}

// Every double input of a lamina, named for failure messages.
struct LaminaField {
    const char* name;
    double (*get)(const Lamina&);
};

const LaminaField kLaminaFields[] = {
    {"fiber.density", [](const Lamina& l) { return l.fiber.density; }},
    {"fiber.youngs_modulus", [](const Lamina& l) { return l.fiber.youngs_modulus; }},
    {"fiber.poissons_ratio", [](const Lamina& l) { return l.fiber.poissons_ratio; }},
    {"matrix.density", [](const Lamina& l) { return l.matrix.density; }},
    {"matrix.youngs_modulus", [](const Lamina& l) { return l.matrix.youngs_modulus; }},
    {"matrix.poissons_ratio", [](const Lamina& l) { return l.matrix.poissons_ratio; }},
    {"FAW", [](const Lamina& l) { return l.FAW; }},
    {"thickness", [](const Lamina& l) { return l.thickness; }},
    {"angle", [](const Lamina& l) { return l.angle; }},
    {"xi", [](const Lamina& l) { return l.xi; }},
    {"S_scale_factor", [](const Lamina& l) { return l.S_scale_factor; }},
    {"C_scale_factor", [](const Lamina& l) { return l.C_scale_factor; }},
    {"S_angle_scale_factor", [](const Lamina& l) { return l.S_angle_scale_factor; }},
    {"C_angle_scale_factor", [](const Lamina& l) { return l.C_angle_scale_factor; }},
};

double* LaminaSlot(Lamina& lamina, size_t field)
{
    double* slots[] = {&lamina.fiber.density,  &lamina.fiber.youngs_modulus, &lamina.fiber.poissons_ratio,
                       &lamina.matrix.density, &lamina.matrix.youngs_modulus, &lamina.matrix.poissons_ratio,
                       &lamina.FAW,            &lamina.thickness,             &lamina.angle,
                       &lamina.xi,             &lamina.S_scale_factor,        &lamina.C_scale_factor,
                       &lamina.S_angle_scale_factor, &lamina.C_angle_scale_factor};
    return slots[field];
}

void ExpectSameSeries(const std::vector<double>& wrote, const std::vector<double>& read, const std::string& what)
{
    ASSERT_EQ(wrote.size(), read.size()) << what;
    size_t mismatches = 0;
    for (size_t i = 0; i < wrote.size() && mismatches < 5; ++i) {
        if (!SameBits(wrote[i], read[i])) {
            ++mismatches;
            ADD_FAILURE() << what << "[" << i << "]: wrote " << Bits(wrote[i]) << ", read " << Bits(read[i]);
        }
    }
}

// Every input of the two documents, field by field and bit for bit, in record order.
void ExpectSameInputs(const CPlyforgeDoc& wrote, const CPlyforgeDoc& read)
{
    EXPECT_EQ(wrote.lamina_count, read.lamina_count);
    EXPECT_EQ(wrote.current_lamina_id, read.current_lamina_id);
    EXPECT_SAME_BITS(wrote.laminate.compliance_scale_factor, read.laminate.compliance_scale_factor,
                     "compliance_scale_factor");
    EXPECT_EQ(wrote.specimen_count, read.specimen_count);
    EXPECT_EQ(wrote.current_specimen_id, read.current_specimen_id);
    EXPECT_SAME_BITS(wrote.elastic_min, read.elastic_min, "elastic_min");
    EXPECT_SAME_BITS(wrote.elastic_max, read.elastic_max, "elastic_max");

    ASSERT_EQ(wrote.laminate.laminae.size(), read.laminate.laminae.size());
    for (size_t i = 0; i < wrote.laminate.laminae.size(); ++i) {
        const Lamina& a = *wrote.laminate.laminae[i];
        const Lamina& b = *read.laminate.laminae[i];
        const std::string at = "laminae[" + std::to_string(i) + "]";
        EXPECT_EQ(a.id, b.id) << at;
        EXPECT_EQ(a.fiber.name, b.fiber.name) << at;
        EXPECT_EQ(a.matrix.name, b.matrix.name) << at;
        for (const LaminaField& field : kLaminaFields)
            EXPECT_SAME_BITS(field.get(a), field.get(b), at + "." + field.name);
        EXPECT_TRUE(a.SameInputs(b)) << at;
    }

    ASSERT_EQ(wrote.specimens.size(), read.specimens.size());
    for (size_t i = 0; i < wrote.specimens.size(); ++i) {
        const ExperimentSpecimen& a = *wrote.specimens[i];
        const ExperimentSpecimen& b = *read.specimens[i];
        const std::string at = "specimens[" + std::to_string(i) + "]";
        EXPECT_EQ(a.id, b.id) << at;
        EXPECT_SAME_BITS(a.width, b.width, at + ".width");
        EXPECT_SAME_BITS(a.thickness, b.thickness, at + ".thickness");
        ExpectSameSeries(a.load_series, b.load_series, at + ".load");
        ExpectSameSeries(a.strain_series, b.strain_series, at + ".strain");
        ExpectSameSeries(a.stress_series, b.stress_series, at + ".stress");
        EXPECT_TRUE(a.SameInputs(b)) << at;
    }
}

// Doubles that a careless writer loses: too few digits, locale commas, no text for
// the non-finite ones, "-0" read back as an integer, subnormals, the extremes, and
// whole numbers beyond the 64-bit integers.
const double kAwkwardValues[] = {
    0.1,
    1 / 3.,
    -1 / 3.,
    1e-300,
    5e-324,
    2.2250738585072014e-308, // smallest normal
    2.225073858507201e-308,  // largest subnormal
    1.7976931348623157e308,
    -1.7976931348623157e308,
    -0.0,
    0.0,
    kNaN,
    -kNaN,
    kInf,
    -kInf,
    0.123456789,
    0.30000000000000004,
    1e23,
    18446744073709551616.0,  // 2^64: a whole number one past the unsigned integers
    -9223372036854775808.0,  // -2^63
    123456789012345680.0,
    9007199254740993.0,
    45,
    -90,
    1e-7,
};
constexpr size_t kAwkwardCount = sizeof kAwkwardValues / sizeof kAwkwardValues[0];

std::unique_ptr<Lamina> MakeLamina(int id, size_t offset, std::string fiber_name, std::string matrix_name)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = id;
    lamina->fiber.name = std::move(fiber_name);
    lamina->matrix.name = std::move(matrix_name);
    for (size_t field = 0; field < std::size(kLaminaFields); ++field)
        *LaminaSlot(*lamina, field) = kAwkwardValues[(offset + field) % kAwkwardCount];
    // Results are not inputs: the file need not hold them.
    lamina->E1 = 123.0;
    lamina->composite_density = 1.5;
    return lamina;
}

std::unique_ptr<ExperimentSpecimen> MakeSpecimen(int id, double width, double thickness,
                                                 std::vector<double> load, std::vector<double> strain,
                                                 std::vector<double> stress)
{
    auto specimen = std::make_unique<ExperimentSpecimen>();
    specimen->id = id;
    specimen->width = width;
    specimen->thickness = thickness;
    specimen->load_series = std::move(load);
    specimen->strain_series = std::move(strain);
    specimen->stress_series = std::move(stress);
    specimen->load_max = 99; // a result, not saved
    return specimen;
}

// Finite doubles spread over every exponent, subnormals included.
double RandomFiniteDouble(std::mt19937_64& random)
{
    for (;;) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value))
            return value;
    }
}

void FillBusyProject(CPlyforgeDoc& doc)
{
    doc.lamina_count = 6;
    doc.current_lamina_id = 4;
    doc.laminate.compliance_scale_factor = 1 / 3.;
    // Committed out of id order; the file keeps the sequence order.
    doc.laminate.laminae.push_back(MakeLamina(3, 0, "탄소섬유 T700", "에폭시 수지"));
    doc.laminate.laminae.push_back(MakeLamina(1, 14, "", ""));
    doc.laminate.laminae.push_back(
        MakeLamina(4, 5, "quote \" back\\slash /slash\ttab\nnewline \x01 bell\x07", "🧵 Ünïcödé ñ"));
    doc.laminate.laminae.push_back(MakeLamina(2, 20, std::string("nul\0inside", 10), " spaces "));

    doc.specimen_count = 5;
    doc.current_specimen_id = 5;
    doc.elastic_min = 0.123456789;
    doc.elastic_max = std::nextafter(0.3, 1.0);

    std::vector<double> awkward(std::begin(kAwkwardValues), std::end(kAwkwardValues));
    std::vector<double> reversed(awkward.rbegin(), awkward.rend());
    std::vector<double> rotated = awkward;
    std::rotate(rotated.begin(), rotated.begin() + 7, rotated.end());
    doc.specimens.push_back(MakeSpecimen(2, 25.4, 1 / 3., awkward, reversed, rotated));
    doc.specimens.push_back(MakeSpecimen(5, -0.0, 5e-324, {}, {}, {}));

    std::mt19937_64 random(20240611);
    std::vector<double> load, strain, stress;
    for (int i = 0; i < 10000; ++i) {
        load.push_back(i * 0.1 + 1 / 3.);
        strain.push_back(RandomFiniteDouble(random));
        stress.push_back(std::ldexp(static_cast<double>(random() >> 11), -53 - (i % 40)));
    }
    doc.specimens.push_back(MakeSpecimen(1, 12.5, 2.0, load, strain, stress));
    doc.specimens.push_back(MakeSpecimen(3, kNaN, -kInf, {1e-300}, {-0.0}, {kInf}));
}

CPlyforgeDoc& LoadInto(CPlyforgeDoc& doc, ProjectData&& project)
{
    doc.LoadProject(std::move(project));
    return doc;
}

// --- Round trip -------------------------------------------------------------------

TEST(ProjectFileRoundTrip, EveryInputReadsBackBitForBitInRecordOrder)
{
    CPlyforgeDoc wrote;
    FillBusyProject(wrote);
    const std::string text = ProjectWriter::Serialize(wrote);

    CPlyforgeDoc read;
    LoadInto(read, ProjectReader::Parse(text, "roundtrip.plyforge", ""));
    ExpectSameInputs(wrote, read);

    std::vector<int> lamina_ids, specimen_ids;
    for (const auto& lamina : read.laminate.laminae)
        lamina_ids.push_back(lamina->id);
    for (const auto& specimen : read.specimens)
        specimen_ids.push_back(specimen->id);
    EXPECT_EQ(lamina_ids, (std::vector<int>{3, 1, 4, 2}));
    EXPECT_EQ(specimen_ids, (std::vector<int>{2, 5, 1, 3}));

    // Saving what was opened gives the same file again.
    EXPECT_EQ(ProjectWriter::Serialize(read), text);
}

TEST(ProjectFileRoundTrip, LoadReplacesEveryRecordOfTheDocument)
{
    CPlyforgeDoc wrote;
    wrote.lamina_count = 1;
    wrote.laminate.compliance_scale_factor = 0.01;
    wrote.laminate.laminae.push_back(MakeLamina(1, 3, "Carbon", "Epoxy"));
    wrote.specimen_count = 1;
    wrote.elastic_min = 0.1;
    wrote.elastic_max = 0.3;
    wrote.specimens.push_back(MakeSpecimen(1, 25, 2, {1}, {2}, {3}));

    CPlyforgeDoc read;
    FillBusyProject(read); // an open project with other records
    LoadInto(read, ProjectReader::Parse(ProjectWriter::Serialize(wrote), "one.plyforge", ""));
    ExpectSameInputs(wrote, read);
}

TEST(ProjectFileRoundTrip, NewEmptyProject)
{
    CPlyforgeDoc wrote;
    wrote.InitProject();
    wrote.laminate.compliance_scale_factor = 0.01;
    wrote.elastic_min = 0.1;
    wrote.elastic_max = 0.3;
    const std::string text = ProjectWriter::Serialize(wrote);

    CPlyforgeDoc read;
    FillBusyProject(read);
    LoadInto(read, ProjectReader::Parse(text, "new.plyforge", ""));
    ExpectSameInputs(wrote, read);
    EXPECT_TRUE(read.laminate.laminae.empty());
    EXPECT_TRUE(read.specimens.empty());
}

TEST(ProjectFileRoundTrip, SameFileUnderACommaDecimalLocale)
{
    CPlyforgeDoc wrote;
    FillBusyProject(wrote);
    const std::string text = ProjectWriter::Serialize(wrote);

    testing_support::CommaDecimalLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no comma-decimal locale is installed";
    EXPECT_EQ(ProjectWriter::Serialize(wrote), text);
    CPlyforgeDoc read;
    LoadInto(read, ProjectReader::Parse(text, "roundtrip.plyforge", ""));
    ExpectSameInputs(wrote, read);
}

TEST(ProjectFileRoundTrip, NameThatIsNotUtf8StillSaves)
{
    // A name from an old file or a foreign code page must not make the save fail or
    // write a file that cannot be opened.
    CPlyforgeDoc wrote;
    wrote.lamina_count = 1;
    wrote.laminate.laminae.push_back(MakeLamina(1, 0, "Kohlefaser \xE4\xF6\xFC", "\xC3"));
    std::string text;
    ASSERT_NO_THROW(text = ProjectWriter::Serialize(wrote));
    ProjectData read;
    ASSERT_NO_THROW(read = ProjectReader::Parse(text, "latin1.plyforge", ""));
    ASSERT_EQ(read.laminae.size(), 1u);
    EXPECT_EQ(read.laminae[0]->fiber.name.rfind("Kohlefaser ", 0), 0u);
    EXPECT_FALSE(read.laminae[0]->matrix.name.empty());
}

// One value at a time in every place a double is saved, so a failure names the value.
class ProjectFileValueRoundTrip : public testing::TestWithParam<double> {};

TEST_P(ProjectFileValueRoundTrip, SurvivesInEveryField)
{
    const double value = GetParam();
    CPlyforgeDoc wrote;
    wrote.lamina_count = 1;
    wrote.laminate.compliance_scale_factor = value;
    auto lamina = MakeLamina(1, 0, "x", "y");
    for (size_t field = 0; field < std::size(kLaminaFields); ++field)
        *LaminaSlot(*lamina, field) = value;
    wrote.laminate.laminae.push_back(std::move(lamina));
    wrote.specimen_count = 1;
    wrote.elastic_min = value;
    wrote.elastic_max = value;
    wrote.specimens.push_back(MakeSpecimen(1, value, value, {value, 1}, {1, value}, {value, value}));

    const std::string text = ProjectWriter::Serialize(wrote);
    CPlyforgeDoc read;
    try {
        LoadInto(read, ProjectReader::Parse(text, "value.plyforge", ""));
    } catch (const ProjectFileError& error) {
        FAIL() << "the saved file does not open: " << error.what() << "\n" << text;
    }
    ExpectSameInputs(wrote, read);
}

INSTANTIATE_TEST_SUITE_P(AwkwardDoubles, ProjectFileValueRoundTrip, testing::ValuesIn(kAwkwardValues));

// --- Hand-written files -----------------------------------------------------------

TEST(ProjectFileRead, OptionalFieldsTakeTheirDefaults)
{
    const ProjectData project =
        ProjectReader::ReadFile(std::string(PLYFORGE_TEST_DATA) + "/projects/defaults.plyforge");

    EXPECT_EQ(project.lamina_count, 2);
    EXPECT_EQ(project.current_lamina_id, 0);
    EXPECT_EQ(project.compliance_scale_factor, 0.01);
    ASSERT_EQ(project.laminae.size(), 2u);
    EXPECT_EQ(project.laminae[0]->id, 2);
    EXPECT_EQ(project.laminae[1]->id, 1);
    for (const auto& lamina : project.laminae) {
        SCOPED_TRACE("lamina " + std::to_string(lamina->id));
        EXPECT_EQ(lamina->S_scale_factor, 0.01);
        EXPECT_EQ(lamina->C_scale_factor, 1.0);
        EXPECT_EQ(lamina->S_angle_scale_factor, 0.01);
        EXPECT_EQ(lamina->C_angle_scale_factor, 1.0);
        EXPECT_EQ(lamina->fiber.name, "");
        EXPECT_EQ(lamina->matrix.name, "");
        EXPECT_EQ(lamina->fiber.youngs_modulus, 230);
        EXPECT_EQ(lamina->matrix.poissons_ratio, 0.35);
    }
    EXPECT_EQ(project.laminae[1]->FAW, 0.55);
    EXPECT_EQ(project.laminae[1]->thickness, 0.25);
    EXPECT_EQ(project.laminae[1]->angle, 90);
    EXPECT_EQ(project.laminae[1]->xi, 1);

    EXPECT_EQ(project.specimen_count, 1);
    EXPECT_EQ(project.current_specimen_id, 0);
    EXPECT_EQ(project.elastic_min, 0.1);
    EXPECT_EQ(project.elastic_max, 0.3);
    ASSERT_EQ(project.specimens.size(), 1u);
    EXPECT_EQ(project.specimens[0]->width, 25);
    EXPECT_EQ(project.specimens[0]->strain_series, (std::vector<double>{0, 0.1, 0.3}));
}

TEST(ProjectFileRead, FormatExampleOfTheReadme)
{
    const ProjectData project = ParseText(R"json({ "format": "plyforge-project", "version": 1,
  "theory": { "lamina_count": 1, "compliance_scale_factor": 0.01,
    "laminae": [ { "id": 1,
      "fiber":  { "name": "Carbon", "density": 1.76, "youngs_modulus": 230, "poissons_ratio": 0.2 },
      "matrix": { "name": "Epoxy",  "density": 1.2,  "youngs_modulus": 3.5, "poissons_ratio": 0.35 },
      "FAW": 0.6, "thickness": 0.125, "angle": 45, "xi": 2,
      "S_scale_factor": 0.01, "C_scale_factor": 1.0, "S_angle_scale_factor": 0.01, "C_angle_scale_factor": 1.0 } ] },
  "experiment": { "specimen_count": 1, "elastic_min": 0.1, "elastic_max": 0.3,
    "specimens": [ { "id": 1, "width": 25, "thickness": 2,
      "load": [0, 1000], "strain": [0, 0.1], "stress": [0, 40] } ] } })json");
    ASSERT_EQ(project.laminae.size(), 1u);
    const Lamina& lamina = *project.laminae[0];
    EXPECT_EQ(lamina.fiber.name, "Carbon");
    EXPECT_EQ(lamina.fiber.density, 1.76);
    EXPECT_EQ(lamina.matrix.poissons_ratio, 0.35);
    EXPECT_EQ(lamina.FAW, 0.6);
    EXPECT_EQ(lamina.xi, 2);
    EXPECT_EQ(project.current_lamina_id, 0);
    ASSERT_EQ(project.specimens.size(), 1u);
    EXPECT_EQ(project.specimens[0]->stress_series, (std::vector<double>{0, 40}));
    EXPECT_EQ(project.current_specimen_id, 0);
}

TEST(ProjectFileRead, BundledExampleOpens)
{
    const ProjectData project =
        ProjectReader::ReadFile(std::string(PLYFORGE_EXAMPLES) + "/single-lamina.plyforge");
    EXPECT_EQ(project.lamina_count, 1);
    ASSERT_EQ(project.laminae.size(), 1u);
    EXPECT_EQ(project.laminae[0]->fiber.name, "Carbon");
    EXPECT_EQ(project.laminae[0]->matrix.youngs_modulus, 3.5);
    EXPECT_EQ(project.laminae[0]->angle, 45);
    EXPECT_TRUE(project.specimens.empty());
    EXPECT_EQ(project.specimen_count, 0);
}

TEST(ProjectFileRead, EitherSectionMayBeMissing)
{
    const std::string header = R"({ "format": "plyforge-project", "version": 1)";
    const std::string theory = R"("theory": { "lamina_count": 3, "compliance_scale_factor": 0.02, "laminae": [] })";
    const std::string experiment =
        R"("experiment": { "specimens": [ { "id": 1, "width": 1, "thickness": 2, "load": [], "strain": [], "stress": [] } ] })";

    {
        SCOPED_TRACE("neither section");
        const ProjectData project = ParseText(header + " }");
        EXPECT_EQ(project.lamina_count, 0);
        EXPECT_EQ(project.compliance_scale_factor, 0.01);
        EXPECT_TRUE(project.laminae.empty());
        EXPECT_EQ(project.specimen_count, 0);
        EXPECT_EQ(project.elastic_min, 0.1);
        EXPECT_EQ(project.elastic_max, 0.3);
        EXPECT_TRUE(project.specimens.empty());
    }
    {
        SCOPED_TRACE("theory only");
        const ProjectData project = ParseText(header + ", " + theory + " }");
        EXPECT_EQ(project.lamina_count, 3);
        EXPECT_EQ(project.compliance_scale_factor, 0.02);
        EXPECT_EQ(project.specimen_count, 0);
        EXPECT_EQ(project.elastic_max, 0.3);
    }
    {
        SCOPED_TRACE("experiment only");
        const ProjectData project = ParseText(header + ", " + experiment + " }");
        EXPECT_EQ(project.lamina_count, 0);
        EXPECT_EQ(project.specimen_count, 1);
        ASSERT_EQ(project.specimens.size(), 1u);
        EXPECT_TRUE(project.specimens[0]->load_series.empty());
        EXPECT_EQ(project.specimens[0]->thickness, 2);
    }
}

TEST(ProjectFileRead, NonFiniteValuesAreWrittenAsText)
{
    const ProjectData project = ParseText(R"({ "format": "plyforge-project", "version": 1,
        "experiment": { "elastic_min": "-inf", "elastic_max": "inf",
          "specimens": [ { "id": 1, "width": "nan", "thickness": 2,
                           "load": ["inf", 1], "strain": [0, "-nan"], "stress": [1, 2] } ] } })");
    EXPECT_EQ(project.elastic_min, -kInf);
    EXPECT_EQ(project.elastic_max, kInf);
    ASSERT_EQ(project.specimens.size(), 1u);
    EXPECT_TRUE(std::isnan(project.specimens[0]->width));
    EXPECT_EQ(project.specimens[0]->load_series[0], kInf);
    EXPECT_TRUE(std::isnan(project.specimens[0]->strain_series[1]));
}

TEST(ProjectFileRead, ReadingsFileRelativeToTheProjectFolder)
{
    TempDir dir;
    fs::create_directories(dir.Path() / fs::u8path("측정 data"));
    WriteText(dir.Path() / fs::u8path("측정 data") / "specimen1.csv",
              "Tensile test\nLoad,Strain,Stress\nN,%,N/mm2\n0,0,0\n100,0.1,2.5\n200,0.2,5\n");
    WriteText(dir.Path() / "specimen2.csv", "Load\tStrain\tStress\r\n1\t2\t3\r\n");
    const std::string absolute = (dir.Path() / "specimen2.csv").string();
    WriteText(dir.Path() / "p.plyforge", R"({ "format": "plyforge-project", "version": 1,
        "experiment": { "specimens": [
          { "id": 1, "width": 25, "thickness": 2, "readings_file": "측정 data/specimen1.csv" },
          { "id": 2, "width": 25, "thickness": 2, "readings_file": ")" + absolute + R"(" } ] } })");

    // Opened from another working folder: the path is resolved against the project's.
    const ProjectData project = ProjectReader::ReadFile((dir.Path() / "p.plyforge").string());
    ASSERT_EQ(project.specimens.size(), 2u);
    EXPECT_EQ(project.specimens[0]->load_series, (std::vector<double>{0, 100, 200}));
    EXPECT_EQ(project.specimens[0]->strain_series, (std::vector<double>{0, 0.1, 0.2}));
    EXPECT_EQ(project.specimens[0]->stress_series, (std::vector<double>{0, 2.5, 5}));
    EXPECT_EQ(project.specimens[1]->load_series, (std::vector<double>{1}));
    EXPECT_EQ(project.specimens[1]->stress_series, (std::vector<double>{3}));

    // Parse resolves against the folder it is given.
    const ProjectData parsed = ProjectReader::Parse(
        R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
             { "id": 1, "width": 25, "thickness": 2, "readings_file": "specimen2.csv" } ] } })",
        "inline.plyforge", dir.Path().string());
    ASSERT_EQ(parsed.specimens.size(), 1u);
    EXPECT_EQ(parsed.specimens[0]->strain_series, (std::vector<double>{2}));
}

// --- Refused files ----------------------------------------------------------------

const std::string kValidProject = R"({
  "format": "plyforge-project",
  "version": 1,
  "theory": {
    "lamina_count": 2,
    "compliance_scale_factor": 0.01,
    "current_lamina_id": 1,
    "laminae": [
      { "id": 1,
        "fiber": { "name": "Carbon", "density": 1.76, "youngs_modulus": 230, "poissons_ratio": 0.2 },
        "matrix": { "name": "Epoxy", "density": 1.2, "youngs_modulus": 3.5, "poissons_ratio": 0.35 },
        "FAW": 0.6, "thickness": 0.125, "angle": 45, "xi": 2,
        "S_scale_factor": 0.01, "C_scale_factor": 1.0, "S_angle_scale_factor": 0.01, "C_angle_scale_factor": 1.0 },
      { "id": 2,
        "fiber": { "name": "Glass", "density": 2.54, "youngs_modulus": 72, "poissons_ratio": 0.22 },
        "matrix": { "name": "Vinyl ester", "density": 1.1, "youngs_modulus": 3.2, "poissons_ratio": 0.38 },
        "FAW": 0.5, "thickness": 0.25, "angle": -45, "xi": 1 }
    ]
  },
  "experiment": {
    "specimen_count": 3,
    "elastic_min": 0.1,
    "elastic_max": 0.3,
    "current_specimen_id": 2,
    "specimens": [
      { "id": 1, "width": 25, "thickness": 2, "load": [0, 100, 200], "strain": [0, 0.1, 0.2], "stress": [0, 2, 4] },
      { "id": 2, "width": 24.5, "thickness": 2.1, "load": [0, 150], "strain": [0, 0.15], "stress": [0, 3] },
      { "id": 3, "width": 25.2, "thickness": 1.9, "load": [0, 1, 2, 3], "strain": [0, 0.5, 1, 1.5], "stress": [0, 3, 6, 9] }
    ]
  }
}
)";

TEST(ProjectFileRead, ValidTemplateOpens)
{
    const ProjectData project = ParseText(kValidProject);
    EXPECT_EQ(project.laminae.size(), 2u);
    EXPECT_EQ(project.specimens.size(), 3u);
    EXPECT_EQ(project.current_specimen_id, 2);
}

struct BadProject {
    const char* name;
    std::string text;
    std::vector<std::string> expected; // each must appear in the message
};

std::string Edit(const std::string& from, const std::string& to) { return Replace(kValidProject, from, to); }

std::vector<BadProject> BadProjects()
{
    const std::string lamina1 = R"("FAW": 0.6, "thickness": 0.125, "angle": 45, "xi": 2,)";
    const std::string specimen3 = R"("load": [0, 1, 2, 3], "strain": [0, 0.5, 1, 1.5], "stress": [0, 3, 6, 9])";
    return {
        {"empty file", "", {"not valid JSON", "line 1, column 1", "empty"}},
        {"only white space", "  \n\n", {"not valid JSON", "line 3"}},
        {"bad token", "{\n  \"format\": plyforge\n}", {"not valid JSON at line 2, column 13"}},
        {"truncated", "{\n  \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": {",
         {"not valid JSON at line 4, column 14"}},
        {"truncated in a lamina", kValidProject.substr(0, kValidProject.find("\"FAW\": 0.5") + 7),
         {"not valid JSON at line 17"}},
        {"binary garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18), {"not valid JSON"}},
        {"byte order mark only", "\xEF\xBB\xBF", {"not valid JSON"}},
        {"invalid UTF-8 in a name", Edit("\"Carbon\"", "\"Carb\xC3\x28on\""), {"not valid JSON", "line 10"}},
        {"number beyond double", Edit("\"FAW\": 0.6", "\"FAW\": 1e999"), {}},
        {"negative number beyond double", Edit("\"stress\": [0, 3]", "\"stress\": [0, -2e308]"), {}},
        {"trailing garbage", kValidProject + "}", {"not valid JSON"}},
        {"array at top level", "[" + kValidProject + "]", {"expected a JSON object"}},
        {"number at top level", "42", {"expected a JSON object"}},
        {"wrong format", Edit("\"plyforge-project\"", "\"plyforge-projekt\""), {"\"format\""}},
        {"format not text", Edit("\"plyforge-project\"", "1"), {"\"format\""}},
        {"missing format", Edit("\"format\": \"plyforge-project\",", ""), {"\"format\""}},
        {"missing version", Edit("\"version\": 1,", ""), {"version: missing required field"}},
        {"newer version", Edit("\"version\": 1", "\"version\": 2"), {"version", "newer"}},
        {"huge version", Edit("\"version\": 1", "\"version\": 18446744073709551615"), {"version"}},
        {"version as text", Edit("\"version\": 1", "\"version\": \"1\""), {"version"}},
        {"version 0", Edit("\"version\": 1", "\"version\": 0"), {"version"}},
        {"version 1.5", Edit("\"version\": 1", "\"version\": 1.5"), {"version"}},

        {"theory not an object", R"({ "format": "plyforge-project", "version": 1, "theory": [] })",
         {"theory: expected an object"}},
        {"experiment is null", Edit(R"("experiment": {)", R"("experiment": null, "x": {)"),
         {"experiment: expected an object"}},
        {"laminae missing", Edit("\"laminae\": [", "\"plies\": ["), {"laminae: missing required field"}},
        {"specimens not an array", Edit("\"specimens\": [", "\"specimens\": 7, \"other\": ["),
         {"specimens: expected an array"}},
        {"lamina not an object",
         Replace(Edit("\"laminae\": [", "\"laminae\": [ 5,"), "\"lamina_count\": 2", "\"lamina_count\": 3"),
         {"laminae[0]: expected an object"}},
        {"specimen not an object",
         Replace(Edit("\"specimens\": [", "\"specimens\": [ \"s\","), "\"specimen_count\": 3", "\"specimen_count\": 4"),
         {"specimens[0]: expected an object"}},

        {"text where a number goes", Edit("\"FAW\": 0.6", "\"FAW\": \"0.6\""), {"laminae[0].FAW: expected a number"}},
        {"text that only looks like infinity", Edit("\"xi\": 2", "\"xi\": \"Infinity\""),
         {"laminae[0].xi: expected a number"}},
        {"null where a number goes", Edit("\"elastic_min\": 0.1", "\"elastic_min\": null"),
         {"elastic_min: expected a number"}},
        {"bool where a number goes", Edit("\"compliance_scale_factor\": 0.01", "\"compliance_scale_factor\": true"),
         {"compliance_scale_factor: expected a number"}},
        {"array where a number goes", Edit("\"width\": 24.5", "\"width\": [24.5]"),
         {"specimens[1].width: expected a number"}},
        {"object where a number goes", Edit("\"youngs_modulus\": 72", "\"youngs_modulus\": {}"),
         {"laminae[1].fiber.youngs_modulus: expected a number"}},
        {"scale factor as text", Edit("\"C_angle_scale_factor\": 1.0", "\"C_angle_scale_factor\": \"1\""),
         {"laminae[0].C_angle_scale_factor: expected a number"}},
        {"number where an array goes", Edit("\"strain\": [0, 0.5, 1, 1.5]", "\"strain\": 5"),
         {"specimens[2].strain: expected an array of numbers"}},
        {"array of strings", Edit("\"load\": [0, 150]", "\"load\": [\"0\", \"150\"]"),
         {"specimens[1].load: expected an array of numbers"}},
        {"nested array", Edit("\"stress\": [0, 2, 4]", "\"stress\": [0, [2], 4]"),
         {"specimens[0].stress: expected an array of numbers"}},
        {"name not text", Edit("\"name\": \"Glass\"", "\"name\": 3"), {"laminae[1].fiber.name: expected a text"}},
        {"material not an object", Edit("\"matrix\": { \"name\": \"Epoxy\"", "\"matrix\": [], \"m\": { \"name\": \"Epoxy\""),
         {"laminae[0].matrix: expected an object"}},

        {"FAW missing", Edit("\"FAW\": 0.6, ", ""), {"laminae[0].FAW: missing required field"}},
        {"fiber density missing", Edit("\"density\": 2.54, ", ""), {"laminae[1].fiber.density: missing required field"}},
        {"matrix poissons ratio missing", Edit(", \"poissons_ratio\": 0.38", ""),
         {"laminae[1].matrix.poissons_ratio: missing required field"}},
        {"fiber missing", Edit("\"fiber\": { \"name\": \"Glass\"", "\"fibre\": { \"name\": \"Glass\""),
         {"laminae[1].fiber: missing required field"}},
        {"thickness missing", Edit("\"thickness\": 0.25, ", ""), {"laminae[1].thickness: missing required field"}},
        {"width missing", Edit("\"width\": 25.2, ", ""), {"specimens[2].width: missing required field"}},
        {"specimen thickness missing", Edit("\"thickness\": 2.1, ", ""),
         {"specimens[1].thickness: missing required field"}},
        {"stress missing", Edit(", \"stress\": [0, 3]", ""), {"specimens[1].stress: missing required field"}},
        {"lamina id missing", Edit("{ \"id\": 2,\n        \"fiber\"", "{\n        \"fiber\""),
         {"laminae[1].id: missing required field"}},
        {"specimen id missing", Edit("{ \"id\": 3, ", "{ "), {"specimens[2].id: missing required field"}},

        {"duplicate lamina id", Edit("{ \"id\": 2,\n", "{ \"id\": 1,\n"), {"laminae[1].id", "duplicate id 1"}},
        {"duplicate specimen id", Edit("{ \"id\": 3, ", "{ \"id\": 2, "), {"specimens[2].id", "duplicate id 2"}},
        {"lamina id 0", Edit("{ \"id\": 1,\n", "{ \"id\": 0,\n"), {"laminae[0].id", "at least 1"}},
        {"negative specimen id", Edit("{ \"id\": 2, ", "{ \"id\": -2, "), {"specimens[1].id", "at least 1"}},
        {"fractional id", Edit("{ \"id\": 2, ", "{ \"id\": 1.5, "), {"specimens[1].id", "whole number"}},
        {"id as text", Edit("{ \"id\": 1,\n", "{ \"id\": \"1\",\n"), {"laminae[0].id"}},
        {"lamina id above the count", Edit("{ \"id\": 2,\n", "{ \"id\": 3,\n"),
         {"laminae[1].id", "greater than lamina_count 2"}},
        {"specimen id above the count", Edit("{ \"id\": 3, ", "{ \"id\": 4, "),
         {"specimens[2].id", "greater than specimen_count 3"}},
        {"huge id", Edit("{ \"id\": 3, ", "{ \"id\": 4294967297, "), {"specimens[2].id"}},
        {"more laminae than the count", Edit("\"lamina_count\": 2", "\"lamina_count\": 1"),
         {"laminae", "lamina_count 1"}},
        {"more specimens than the count", Edit("\"specimen_count\": 3", "\"specimen_count\": 2"),
         {"specimens", "specimen_count 2"}},
        {"count 1e12", Edit("\"lamina_count\": 2", "\"lamina_count\": 1e12"), {"lamina_count"}},
        {"count 10^12", Edit("\"lamina_count\": 2", "\"lamina_count\": 1000000000000"), {"lamina_count", "at most"}},
        {"count beyond 64 bits", Edit("\"specimen_count\": 3", "\"specimen_count\": 99999999999999999999"),
         {"specimen_count"}},
        {"count 2^64 - 1", Edit("\"specimen_count\": 3", "\"specimen_count\": 18446744073709551615"),
         {"specimen_count"}},
        {"count 2^32 + 2", Edit("\"lamina_count\": 2", "\"lamina_count\": 4294967298"), {"lamina_count"}},
        {"negative count", Edit("\"specimen_count\": 3", "\"specimen_count\": -1"), {"specimen_count"}},
        {"count as text", Edit("\"lamina_count\": 2", "\"lamina_count\": \"2\""), {"lamina_count"}},
        {"current lamina above the count", Edit("\"current_lamina_id\": 1", "\"current_lamina_id\": 3"),
         {"current_lamina_id"}},
        {"negative current specimen", Edit("\"current_specimen_id\": 2", "\"current_specimen_id\": -1"),
         {"current_specimen_id"}},

        {"unequal series", Edit(specimen3, R"("load": [0, 1, 2], "strain": [0, 0.5, 1, 1.5], "stress": [0, 3, 6, 9])"),
         {"specimens[2]", "different lengths", "(3, 4, 4)"}},
        {"stress longer", Edit("\"stress\": [0, 3]", "\"stress\": [0, 3, 6]"), {"specimens[1]", "different lengths"}},
        {"empty and non-empty series", Edit("\"load\": [0, 150]", "\"load\": []"), {"specimens[1]", "different lengths"}},

        {"readings file and arrays", Edit("{ \"id\": 1, \"width\": 25, \"thickness\": 2,",
                                          "{ \"id\": 1, \"width\": 25, \"thickness\": 2, \"readings_file\": \"a.csv\","),
         {"specimens[0]", "not both"}},
        {"readings file not text", Edit(specimen3, "\"readings_file\": 12"), {"specimens[2].readings_file"}},
    };
}

TEST(ProjectFileErrors, EachBadFileNamesTheFileAndThePlace)
{
    for (const BadProject& bad : BadProjects()) {
        SCOPED_TRACE(bad.name);
        try {
            ParseText(bad.text);
            ADD_FAILURE() << "opened without an error";
        } catch (const ProjectFileError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("bad.plyforge: ", 0), 0u) << message;
            for (const std::string& part : bad.expected)
                EXPECT_NE(message.find(part), std::string::npos) << "\"" << part << "\" not in: " << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << "one line: " << message;
        } catch (const std::exception& error) {
            ADD_FAILURE() << "not a ProjectFileError: " << error.what();
        }
    }
}

TEST(ProjectFileErrors, ReadFileNamesThePath)
{
    TempDir dir;
    const std::string missing = In(dir, "no such project.plyforge");
    try {
        ProjectReader::ReadFile(missing);
        ADD_FAILURE() << "a missing file opened";
    } catch (const ProjectFileError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(missing + ": ", 0), 0u) << error.what();
    }

    try {
        ProjectReader::ReadFile(dir.Path().string());
        ADD_FAILURE() << "a folder opened";
    } catch (const ProjectFileError& error) {
        EXPECT_NE(std::string(error.what()).find(dir.Path().string()), std::string::npos) << error.what();
    }

    const std::string empty = In(dir, "empty.plyforge");
    WriteText(empty, "");
    try {
        ProjectReader::ReadFile(empty);
        ADD_FAILURE() << "an empty file opened";
    } catch (const ProjectFileError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind(empty + ": ", 0), 0u) << message;
        EXPECT_NE(message.find("empty"), std::string::npos) << message;
    }

    const std::string broken = In(dir, "프로젝트.plyforge");
    WriteText(broken, "{ \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": ");
    try {
        ProjectReader::ReadFile(broken);
        ADD_FAILURE() << "a truncated file opened";
    } catch (const ProjectFileError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind(broken + ": not valid JSON at line 3", 0), 0u) << message;
    }
}

class ReadingsFileErrors : public testing::Test {
protected:
    // A project of one specimen whose readings are in the given file.
    std::string ReadProject(const std::string& readings_file)
    {
        WriteText(m_dir.Path() / "p.plyforge",
                  R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
                       { "id": 1, "width": 25, "thickness": 2, "load": [1], "strain": [1], "stress": [1] },
                       { "id": 2, "width": 25, "thickness": 2, "readings_file": ")" +
                      readings_file + R"(" } ] } })");
        try {
            ProjectReader::ReadFile((m_dir.Path() / "p.plyforge").string());
        } catch (const ProjectFileError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind((m_dir.Path() / "p.plyforge").string() + ": specimens[1].readings_file: ", 0), 0u)
                << message;
            return message;
        } catch (const std::exception& error) {
            ADD_FAILURE() << "not a ProjectFileError: " << error.what();
            return {};
        }
        ADD_FAILURE() << "opened without an error";
        return {};
    }

    TempDir m_dir;
};

TEST_F(ReadingsFileErrors, MissingFileIsNamed)
{
    const std::string message = ReadProject("gone.csv");
    EXPECT_NE(message.find("gone.csv"), std::string::npos) << message;
}

TEST_F(ReadingsFileErrors, BadCellGivesTheLine)
{
    WriteText(m_dir.Path() / "r.csv", "Load,Strain,Stress\nN,%,MPa\n0,0,0\n1,0.1,2\n2,oops,4\n");
    const std::string message = ReadProject("r.csv");
    EXPECT_NE(message.find("line 5"), std::string::npos) << message;
    EXPECT_NE(message.find("oops"), std::string::npos) << message;
    EXPECT_NE(message.find("r.csv"), std::string::npos) << message;
}

TEST_F(ReadingsFileErrors, FileWithoutReadings)
{
    WriteText(m_dir.Path() / "r.csv", "Load,Strain,Stress\n");
    const std::string message = ReadProject("r.csv");
    EXPECT_NE(message.find("r.csv"), std::string::npos) << message;
}

TEST_F(ReadingsFileErrors, FolderInsteadOfFile)
{
    fs::create_directory(m_dir.Path() / "readings");
    ReadProject("readings");
}

TEST_F(ReadingsFileErrors, UnreadableFile)
{
    WriteText(m_dir.Path() / "r.csv", "1,2,3\n");
    fs::permissions(m_dir.Path() / "r.csv", fs::perms::none);
    const bool ran = testing_support::RunUnprivileged(m_dir.Path(), [&] {
        ASSERT_NE(access((m_dir.Path() / "r.csv").c_str(), R_OK), 0);
        const std::string message = ReadProject("r.csv");
        EXPECT_NE(message.find("r.csv"), std::string::npos) << message;
    });
    if (!ran)
        GTEST_SKIP() << "cannot run as a user without permissions here";
}

// --- Robustness ---------------------------------------------------------------------

// What a project read without an error must satisfy; empty when it does.
std::string Inconsistency(const ProjectData& project)
{
    if (project.lamina_count < 0 || project.specimen_count < 0)
        return "negative count";
    if (project.laminae.size() > static_cast<size_t>(project.lamina_count))
        return "more laminae than lamina_count";
    if (project.specimens.size() > static_cast<size_t>(project.specimen_count))
        return "more specimens than specimen_count";
    if (project.current_lamina_id < 0 || project.current_lamina_id > project.lamina_count)
        return "current_lamina_id out of range";
    if (project.current_specimen_id < 0 || project.current_specimen_id > project.specimen_count)
        return "current_specimen_id out of range";
    std::set<int> ids;
    for (const auto& lamina : project.laminae) {
        if (lamina->id < 1 || lamina->id > project.lamina_count || !ids.insert(lamina->id).second)
            return "lamina id " + std::to_string(lamina->id) + " out of range or repeated";
    }
    ids.clear();
    for (const auto& specimen : project.specimens) {
        if (specimen->id < 1 || specimen->id > project.specimen_count || !ids.insert(specimen->id).second)
            return "specimen id " + std::to_string(specimen->id) + " out of range or repeated";
        if (specimen->strain_series.size() != specimen->load_series.size() ||
            specimen->stress_series.size() != specimen->load_series.size())
            return "series of specimen " + std::to_string(specimen->id) + " differ in length";
    }
    return {};
}

TEST(ProjectFileRobustness, MutatedFilesOpenOrAreRefused)
{
    CPlyforgeDoc doc;
    FillBusyProject(doc);
    doc.specimens.erase(doc.specimens.begin() + 2); // keep the texts small
    const std::vector<std::string> seeds = {kValidProject, ProjectWriter::Serialize(doc)};
    const std::string structural = "{}[]\",:-+.0123456789eE \n\\tnu";

    std::mt19937 random(7);
    int opened = 0;
    int refused = 0;
    int failures = 0;
    std::set<std::string> escapes;
    for (int round = 0; round < 4000; ++round) {
        std::string text = seeds[round % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            switch (random() % 6) {
            case 0: text[at] = static_cast<char>(random() % 256); break;
            case 1: text[at] = structural[random() % structural.size()]; break;
            case 2: text.resize(at); break;
            case 3: text.erase(at, 1 + random() % 16); break;
            case 4: text.insert(at, text.substr(random() % text.size(), 1 + random() % 24)); break;
            case 5: text[at] = static_cast<char>(text[at] ^ (1 << (random() % 8))); break;
            }
        }
        try {
            const ProjectData project = ProjectReader::Parse(text, "mutant.plyforge", "");
            if (const std::string problem = Inconsistency(project); !problem.empty()) {
                ++failures;
                ADD_FAILURE() << "round " << round << " opened with " << problem << "\n" << text;
            }
            ++opened;
        } catch (const ProjectFileError& error) {
            if (std::string(error.what()).rfind("mutant.plyforge: ", 0) != 0) {
                ++failures;
                ADD_FAILURE() << "round " << round << ": the message does not name the file: " << error.what();
            }
            ++refused;
        } catch (const std::exception& error) {
            // Report each kind of escape once, with the text that caused it.
            const std::string kind = std::string(typeid(error).name()) + ": " +
                                     std::string(error.what()).substr(0, 40);
            if (escapes.insert(kind).second) {
                ++failures;
                ADD_FAILURE() << "round " << round << " escaped as " << typeid(error).name() << ": "
                              << error.what() << "\n" << text;
            }
        }
        if (failures >= 5)
            FAIL() << "stopped at round " << round;
    }
    // Both outcomes must have been exercised, or the mutations test nothing.
    EXPECT_GT(opened, 20);
    EXPECT_GT(refused, 100);
}

TEST(ProjectFileRobustness, DeepNestingIsRefusedOrIgnoredWithoutCrashing)
{
    const std::string deep(200000, '[');
    EXPECT_THROW(ParseText(deep), ProjectFileError);
    const std::string nested = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_THROW(ParseText(nested), ProjectFileError);
    // An unknown member holding deep data is ignored.
    const ProjectData project = ParseText(R"({ "format": "plyforge-project", "version": 1, "notes": )" + nested + "}");
    EXPECT_TRUE(project.laminae.empty());
}

// --- Saving -------------------------------------------------------------------------

void FillSmallProject(CPlyforgeDoc& doc)
{
    doc.lamina_count = 2;
    doc.current_lamina_id = 2;
    doc.laminate.compliance_scale_factor = 0.01;
    doc.laminate.laminae.push_back(MakeLamina(2, 1, "유리섬유", "Epoxy"));
    doc.laminate.laminae.push_back(MakeLamina(1, 6, "Carbon", ""));
    doc.specimen_count = 1;
    doc.elastic_min = 0.1;
    doc.elastic_max = 0.3;
    doc.specimens.push_back(MakeSpecimen(1, 25, 2, {0, 1}, {0, 0.1}, {0, 2}));
}

TEST(ProjectFileWrite, ReplacesTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = In(dir, "프로젝트 1.plyforge");
    WriteText(fs::u8path(path), std::string(100000, 'x')); // longer than the new text
    CPlyforgeDoc doc;
    FillSmallProject(doc);

    ProjectWriter::WriteFile(path, doc);
    EXPECT_EQ(ReadText(fs::u8path(path)), ProjectWriter::Serialize(doc));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"프로젝트 1.plyforge"});

    CPlyforgeDoc read;
    LoadInto(read, ProjectReader::ReadFile(path));
    ExpectSameInputs(doc, read);

    // A new file where there was none.
    const std::string fresh = In(dir, "fresh.plyforge");
    ProjectWriter::WriteFile(fresh, read);
    EXPECT_EQ(ReadText(fresh), ReadText(fs::u8path(path)));
    EXPECT_EQ(FolderEntries(dir.Path()).size(), 2u);
}

TEST(ProjectFileWrite, FailureNamesThePathAndKeepsTheOldFile)
{
    TempDir dir;
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "p.plyforge").string();
    WriteText(path, "old content");
    const bool ran = testing_support::RunUnprivileged(dir.Path(), [&] {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        ASSERT_NE(access(folder.c_str(), W_OK), 0);
        CPlyforgeDoc doc;
        FillSmallProject(doc);
        try {
            ProjectWriter::WriteFile(path, doc);
            ADD_FAILURE() << "wrote into a read-only folder";
        } catch (const ProjectFileError& error) {
            EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        }
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(ReadText(path), "old content");
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"p.plyforge"});
    });
    if (!ran)
        GTEST_SKIP() << "cannot run as a user without permissions here";
}

TEST(ProjectFileWrite, FailureWhenTheTargetCannotBeReplaced)
{
    // Runs for every user, root included: neither a missing folder nor a folder in
    // the way of the file can be written over.
    TempDir dir;
    CPlyforgeDoc doc;
    FillSmallProject(doc);

    const std::string in_missing_folder = In(dir, "no such folder/p.plyforge");
    try {
        ProjectWriter::WriteFile(in_missing_folder, doc);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const ProjectFileError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(in_missing_folder + ": ", 0), 0u) << error.what();
    }

    const fs::path in_the_way = dir.Path() / "p.plyforge";
    fs::create_directory(in_the_way);
    WriteText(in_the_way / "keep.txt", "kept");
    try {
        ProjectWriter::WriteFile(in_the_way.string(), doc);
        ADD_FAILURE() << "wrote over a folder";
    } catch (const ProjectFileError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(in_the_way.string() + ": ", 0), 0u) << error.what();
    }
    EXPECT_EQ(ReadText(in_the_way / "keep.txt"), "kept");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"p.plyforge"});
}

} // namespace
