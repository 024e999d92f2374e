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
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteWholeFile;

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

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

void ExpectContains(const std::string& message, const std::vector<std::string>& parts)
{
    for (const std::string& part : parts)
        EXPECT_NE(message.find(part), std::string::npos) << "\"" << part << "\" not in: " << message;
}

// The message of the ProjectFileError that action throws; succeeding or throwing
// anything else is a failure.
std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
        ADD_FAILURE() << "succeeded where it must fail";
    } catch (const ProjectFileError& error) {
        return error.what();
    } catch (const std::exception& error) {
        ADD_FAILURE() << "not a ProjectFileError: " << error.what();
    }
    return {};
}

ProjectData ParseText(const std::string& text) { return ProjectReader::Parse(text, "test.plyforge", ""); }

// Its first lamina is the example of the README.
const std::string kValidProject = R"({ "format": "plyforge-project", "version": 1,
  "theory": { "lamina_count": 2, "compliance_scale_factor": 0.01, "current_lamina_id": 1, "laminae": [
    { "id": 1,
      "fiber": { "name": "Carbon", "density": 1.76, "youngs_modulus": 230, "poissons_ratio": 0.2 },
      "matrix": { "name": "Epoxy", "density": 1.2, "youngs_modulus": 3.5, "poissons_ratio": 0.35 },
      "FAW": 0.6, "thickness": 0.125, "angle": 45, "xi": 2,
      "S_scale_factor": 0.01, "C_scale_factor": 1.0, "S_angle_scale_factor": 0.01, "C_angle_scale_factor": 1.0 },
    { "id": 2,
      "fiber": { "name": "Glass", "density": 2.54, "youngs_modulus": 72, "poissons_ratio": 0.22 },
      "matrix": { "name": "Vinyl ester", "density": 1.1, "youngs_modulus": 3.2, "poissons_ratio": 0.38 },
      "FAW": 0.5, "thickness": 0.25, "angle": -45, "xi": 1 } ] },
  "experiment": { "specimen_count": 3, "elastic_min": 0.1, "elastic_max": 0.3, "current_specimen_id": 2, "specimens": [
    { "id": 1, "width": 25, "thickness": 2, "load": [0, 100, 200], "strain": [0, 0.1, 0.2], "stress": [0, 2, 4] },
    { "id": 2, "width": 24.5, "thickness": 2.1, "load": [0, 150], "strain": [0, 0.15], "stress": [0, 3] },
    { "id": 3, "width": 25.2, "thickness": 1.9, "load": [0, 1, 2, 3], "strain": [0, 0.5, 1, 1.5], "stress": [0, 3, 6, 9] } ] } }
)";

// Replaces the one occurrence of from; a template that no longer holds it is a
// mistake in the test, not a pass.
std::string Edit(const std::string& from, const std::string& to, std::string text = kValidProject)
{
    const size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        ADD_FAILURE() << "the template must hold exactly one \"" << from << "\"";
        return text;
    }
    return text.replace(at, from.size(), to);
}

std::string Bits(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::ostringstream text;
    text.precision(17);
    text << value << " (0x" << std::hex << bits << ")";
    return text.str();
}

// Every double input of a lamina, named for failure messages.
struct LaminaField {
    const char* name;
    double& (*slot)(Lamina&);
};

#define LAMINA_FIELD(member) {#member, [](Lamina& l) -> double& { return l.member; }}
const LaminaField kLaminaFields[] = {
    LAMINA_FIELD(fiber.density),        LAMINA_FIELD(fiber.youngs_modulus),  LAMINA_FIELD(fiber.poissons_ratio),
    LAMINA_FIELD(matrix.density),       LAMINA_FIELD(matrix.youngs_modulus), LAMINA_FIELD(matrix.poissons_ratio),
    LAMINA_FIELD(FAW),                  LAMINA_FIELD(thickness),             LAMINA_FIELD(angle),
    LAMINA_FIELD(xi),                   LAMINA_FIELD(S_scale_factor),        LAMINA_FIELD(C_scale_factor),
    LAMINA_FIELD(S_angle_scale_factor), LAMINA_FIELD(C_angle_scale_factor),
};
#undef LAMINA_FIELD

// The inputs of a lamina, one a line, doubles by their bits, so that comparing two
// lists compares the inputs bit for bit and a failure names the field.
std::vector<std::string> LaminaLines(Lamina& lamina)
{
    std::vector<std::string> lines = {"lamina " + std::to_string(lamina.id), "fiber.name " + lamina.fiber.name,
                                      "matrix.name " + lamina.matrix.name};
    for (const LaminaField& field : kLaminaFields)
        lines.push_back(std::string(field.name) + " " + Bits(field.slot(lamina)));
    return lines;
}

std::vector<std::string> InputLines(const CPlyforgeDoc& doc)
{
    std::vector<std::string> lines = {
        "lamina_count " + std::to_string(doc.lamina_count) + ", current " + std::to_string(doc.current_lamina_id),
        "specimen_count " + std::to_string(doc.specimen_count) + ", current " + std::to_string(doc.current_specimen_id),
        "compliance_scale_factor " + Bits(doc.laminate.compliance_scale_factor),
        "elastic_min " + Bits(doc.elastic_min) + ", elastic_max " + Bits(doc.elastic_max)};
    for (const auto& lamina : doc.laminate.laminae) {
        const std::vector<std::string> more = LaminaLines(*lamina);
        lines.insert(lines.end(), more.begin(), more.end());
    }
    for (const auto& specimen : doc.specimens) {
        const std::string at = "specimen " + std::to_string(specimen->id) + " ";
        lines.push_back(at + "width " + Bits(specimen->width) + ", thickness " + Bits(specimen->thickness));
        for (const auto& [name, series] : {std::pair{"load", &specimen->load_series},
                                           std::pair{"strain", &specimen->strain_series},
                                           std::pair{"stress", &specimen->stress_series}}) {
            lines.push_back(at + name + " readings " + std::to_string(series->size()));
            for (size_t i = 0; i < series->size(); ++i)
                lines.push_back(at + name + "[" + std::to_string(i) + "] " + Bits((*series)[i]));
        }
    }
    return lines;
}

// Every input of the two documents, bit for bit and in record order.
void ExpectSameInputs(const CPlyforgeDoc& wrote, const CPlyforgeDoc& read)
{
    const std::vector<std::string> a = InputLines(wrote), b = InputLines(read);
    for (size_t i = 0, reported = 0; i < std::max(a.size(), b.size()) && reported < 5; ++i) {
        const std::string x = i < a.size() ? a[i] : "nothing", y = i < b.size() ? b[i] : "nothing";
        if (x != y) {
            ++reported;
            ADD_FAILURE() << "wrote " << x << "\n read " << y;
        }
    }
    // The records' own comparison also covers inputs added to them later.
    for (size_t i = 0; i < std::min(wrote.laminate.laminae.size(), read.laminate.laminae.size()); ++i)
        EXPECT_TRUE(wrote.laminate.laminae[i]->SameInputs(*read.laminate.laminae[i])) << "laminae[" << i << "]";
    for (size_t i = 0; i < std::min(wrote.specimens.size(), read.specimens.size()); ++i)
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

// Its inputs are awkward values from offset on.
std::unique_ptr<Lamina> MakeLamina(int id, size_t offset, std::string fiber_name, std::string matrix_name)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = id;
    lamina->fiber.name = std::move(fiber_name);
    lamina->matrix.name = std::move(matrix_name);
    for (const LaminaField& field : kLaminaFields)
        field.slot(*lamina) = kAwkwardValues[offset++ % std::size(kAwkwardValues)];
    return lamina;
}

std::unique_ptr<ExperimentSpecimen> MakeSpecimen(int id, double width, double thickness, std::vector<double> load,
                                                 std::vector<double> strain, std::vector<double> stress)
{
    return std::make_unique<ExperimentSpecimen>(ExperimentSpecimen{
        .id = id, .width = width, .thickness = thickness, .load_series = std::move(load),
        .strain_series = std::move(strain), .stress_series = std::move(stress)});
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

    // The longest series, with finite doubles spread over every exponent.
    std::mt19937_64 random(20240611);
    std::vector<double> load, strain, stress;
    while (load.size() < 10000) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        const int i = static_cast<int>(load.size());
        load.push_back(i * 0.1 + 1 / 3.);
        strain.push_back(value);
        stress.push_back(std::ldexp(static_cast<double>(random() >> 11), -53 - (i % 40)));
    }
    doc.specimens.push_back(MakeSpecimen(1, 12.5, 2.0, load, strain, stress));
    doc.specimens.push_back(MakeSpecimen(3, kNaN, -kInf, {1e-300}, {-0.0}, {kInf}));
}

// A small project of two laminae and three specimens, as a person writes it.
void FillSmallProject(CPlyforgeDoc& doc) { doc.LoadProject(ParseText(kValidProject)); }

// --- Round trip -------------------------------------------------------------------

TEST(ProjectFileRoundTrip, EveryInputReadsBackBitForBitAndReplacesTheOpenProject)
{
    const struct {
        const char* name;
        void (*fill)(CPlyforgeDoc&);
    } projects[] = {
        {"busy", FillBusyProject},
        {"small", FillSmallProject},
        {"new and empty", [](CPlyforgeDoc& doc) { doc.InitProject(); }},
    };
    for (const auto& project : projects) {
        SCOPED_TRACE(project.name);
        CPlyforgeDoc wrote;
        project.fill(wrote);
        const std::string text = ProjectWriter::Serialize(wrote);
        CPlyforgeDoc read;
        FillBusyProject(read); // an open project whose records must all go
        read.LoadProject(ParseText(text));
        ExpectSameInputs(wrote, read);
        // Saving what was opened gives the same file again.
        EXPECT_EQ(ProjectWriter::Serialize(read), text);
    }
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
    read.LoadProject(ParseText(text));
    ExpectSameInputs(wrote, read);
}

// One value at a time in every place a double is saved, so a failure names the value.
TEST(ProjectFileRoundTrip, EachAwkwardValueSurvivesInEveryField)
{
    for (const double value : kAwkwardValues) {
        SCOPED_TRACE(Bits(value));
        CPlyforgeDoc wrote;
        wrote.lamina_count = 1;
        wrote.laminate.compliance_scale_factor = wrote.elastic_min = wrote.elastic_max = value;
        auto lamina = MakeLamina(1, 0, "x", "y");
        for (const LaminaField& field : kLaminaFields)
            field.slot(*lamina) = value;
        wrote.laminate.laminae.push_back(std::move(lamina));
        wrote.specimen_count = 1;
        wrote.specimens.push_back(MakeSpecimen(1, value, value, {value, 1}, {1, value}, {value, value}));

        const std::string text = ProjectWriter::Serialize(wrote);
        CPlyforgeDoc read;
        try {
            read.LoadProject(ParseText(text));
        } catch (const ProjectFileError& error) {
            ADD_FAILURE() << "the saved file does not open: " << error.what() << "\n" << text;
            continue;
        }
        ExpectSameInputs(wrote, read);
    }
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
    ASSERT_NO_THROW(read = ParseText(text));
    ASSERT_EQ(read.laminae.size(), 1u);
    EXPECT_TRUE(StartsWith(read.laminae[0]->fiber.name, "Kohlefaser ")) << read.laminae[0]->fiber.name;
    EXPECT_FALSE(read.laminae[0]->matrix.name.empty());
}

// --- Hand-written files -----------------------------------------------------------

TEST(ProjectFileRead, HandWrittenProjectOpens)
{
    const ProjectData project = ParseText(kValidProject);
    EXPECT_EQ(project.current_lamina_id, 1);
    EXPECT_EQ(project.current_specimen_id, 2);
    ASSERT_EQ(project.laminae.size(), 2u);
    EXPECT_EQ(LaminaLines(*project.laminae[0]), LaminaLines(*testing_support::MakeCarbonEpoxyLamina()));
    EXPECT_EQ(project.laminae[1]->matrix.name, "Vinyl ester");
    ASSERT_EQ(project.specimens.size(), 3u);
    EXPECT_EQ(project.specimens[2]->stress_series, (std::vector<double>{0, 3, 6, 9}));

    // The largest counts allowed.
    EXPECT_EQ(ParseText(Edit(R"("lamina_count": 2)", R"("lamina_count": 10000)")).lamina_count, 10000);
    EXPECT_EQ(ParseText(Edit(R"("specimen_count": 3)", R"("specimen_count": 10000)")).specimen_count, 10000);
}

TEST(ProjectFileRead, OptionalFieldsAndSectionsTakeTheirDefaults)
{
    const ProjectData project =
        ProjectReader::ReadFile(std::string(PLYFORGE_TEST_DATA) + "/projects/defaults.plyforge");
    // The counts follow the records, nothing is current.
    EXPECT_EQ(project.lamina_count, 2);
    EXPECT_EQ(project.current_lamina_id, 0);
    EXPECT_EQ(project.specimen_count, 1);
    EXPECT_EQ(project.current_specimen_id, 0);
    EXPECT_EQ(project.compliance_scale_factor, 0.01);
    EXPECT_EQ(project.elastic_min, 0.1);
    EXPECT_EQ(project.elastic_max, 0.3);
    // The file gives the carbon/epoxy plies without names or scale factors.
    auto second = testing_support::MakeCarbonEpoxyLamina(2, 0);
    auto first = testing_support::MakeCarbonEpoxyLamina(1, 90, 0.25);
    first->FAW = 0.55;
    first->xi = 1;
    second->fiber.name = second->matrix.name = first->fiber.name = first->matrix.name = "";
    ASSERT_EQ(project.laminae.size(), 2u);
    EXPECT_EQ(LaminaLines(*project.laminae[0]), LaminaLines(*second));
    EXPECT_EQ(LaminaLines(*project.laminae[1]), LaminaLines(*first));
    ASSERT_EQ(project.specimens.size(), 1u);
    EXPECT_EQ(project.specimens[0]->strain_series, (std::vector<double>{0, 0.1, 0.3}));

    // Either section may be missing; files without a theory are read below.
    const std::string header = R"({ "format": "plyforge-project", "version": 1)";
    const std::string theory = R"(, "theory": { "lamina_count": 3, "compliance_scale_factor": 0.02, "laminae": [] })";
    for (const std::string& sections : {std::string(), theory}) {
        SCOPED_TRACE(sections);
        const ProjectData read = ParseText(header + sections + " }");
        EXPECT_EQ(read.lamina_count, sections.empty() ? 0 : 3);
        EXPECT_EQ(read.compliance_scale_factor, sections.empty() ? 0.01 : 0.02);
        EXPECT_TRUE(read.laminae.empty());
        EXPECT_EQ(read.specimen_count, 0);
        EXPECT_TRUE(read.specimens.empty());
        EXPECT_EQ(read.elastic_min, 0.1);
        EXPECT_EQ(read.elastic_max, 0.3);
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
    WriteWholeFile(dir.Path() / fs::u8path("측정 data") / "specimen1.csv",
                   "Tensile test\nLoad,Strain,Stress\nN,%,N/mm2\n0,0,0\n100,0.1,2.5\n200,0.2,5\n");
    WriteWholeFile(dir.Path() / "specimen2.csv", "Load\tStrain\tStress\r\n1\t2\t3\r\n");
    const std::string text = R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
          { "id": 1, "width": 25, "thickness": 2, "readings_file": "측정 data/specimen1.csv" },
          { "id": 2, "width": 25, "thickness": 2, "readings_file": ")" + (dir.Path() / "specimen2.csv").string() +
                             R"(" } ] } })";
    WriteWholeFile(dir.Path() / "p.plyforge", text);

    // Opened from another working folder, the path is resolved against the project's;
    // Parse resolves it against the folder it is given.
    for (const ProjectData& project : {ProjectReader::ReadFile((dir.Path() / "p.plyforge").string()),
                                       ProjectReader::Parse(text, "inline.plyforge", dir.Path().string())}) {
        ASSERT_EQ(project.specimens.size(), 2u);
        EXPECT_EQ(project.specimens[0]->load_series, (std::vector<double>{0, 100, 200}));
        EXPECT_EQ(project.specimens[0]->strain_series, (std::vector<double>{0, 0.1, 0.2}));
        EXPECT_EQ(project.specimens[0]->stress_series, (std::vector<double>{0, 2.5, 5}));
        EXPECT_EQ(project.specimens[1]->load_series, (std::vector<double>{1}));
        EXPECT_EQ(project.specimens[1]->stress_series, (std::vector<double>{3}));
    }
}

// --- Refused files ----------------------------------------------------------------

struct BadProject {
    std::string what;
    std::string text;
    std::vector<std::string> expected; // each must appear in the message
};

// The valid project with one edit, named by the edit.
BadProject Edited(const std::string& from, const std::string& to, std::vector<std::string> expected)
{
    return {from + " => " + to, Edit(from, to), std::move(expected)};
}

TEST(ProjectFileErrors, EachBadFileNamesTheFileAndThePlace)
{
    const std::string specimen3 = R"("load": [0, 1, 2, 3], "strain": [0, 0.5, 1, 1.5], "stress": [0, 3, 6, 9])";
    const BadProject bad_projects[] = {
        {"empty file", "", {"not valid JSON", "line 1, column 1", "empty"}},
        {"only white space", "  \n\n", {"not valid JSON", "line 3"}},
        {"bad token", "{\n  \"format\": plyforge\n}", {"not valid JSON at line 2, column 13"}},
        {"truncated", "{\n  \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": {",
         {"not valid JSON at line 4, column 14"}},
        {"byte order mark only", "\xEF\xBB\xBF", {"not valid JSON"}},
        {"trailing garbage", kValidProject + "}", {"not valid JSON"}},
        {"array at top level", "[" + kValidProject + "]", {"expected a JSON object"}},
        Edited(R"("Carbon")", "\"Carb\xC3\x28on\"", {"not valid JSON", "line 4"}),
        Edited(R"("FAW": 0.6)", R"("FAW": 1e999)", {}),

        Edited(R"("plyforge-project")", R"("plyforge-projekt")", {"\"format\""}),
        Edited(R"("plyforge-project")", "1", {"\"format\""}),
        Edited(R"("format": "plyforge-project",)", "", {"\"format\""}),
        Edited(R"("version": 1,)", "", {"version: missing required field"}),
        Edited(R"("version": 1)", R"("version": 2)", {"version", "newer"}),
        Edited(R"("version": 1)", R"("version": 18446744073709551615)", {"version", "newer", "18446744073709551615"}),
        Edited(R"("version": 1)", R"("version": -18)", {"version", "at least 1"}),
        Edited(R"("version": 1)", R"("version": "1")", {"version"}),
        Edited(R"("version": 1)", R"("version": 0)", {"version"}),
        Edited(R"("version": 1)", R"("version": 1.5)", {"version"}),

        {"theory not an object", R"({ "format": "plyforge-project", "version": 1, "theory": [] })",
         {"theory: expected an object"}},
        Edited(R"("experiment": {)", R"("experiment": null, "x": {)", {"experiment: expected an object"}),
        Edited(R"("laminae": [)", R"("plies": [)", {"laminae: missing required field"}),
        Edited(R"("specimens": [)", R"("specimens": 7, "other": [)", {"specimens: expected an array"}),
        {"lamina not an object",
         Edit(R"("lamina_count": 2)", R"("lamina_count": 3)", Edit(R"("laminae": [)", R"("laminae": [ 5,)")),
         {"laminae[0]: expected an object"}},
        {"specimen not an object",
         Edit(R"("specimen_count": 3)", R"("specimen_count": 4)", Edit(R"("specimens": [)", R"("specimens": [ "s",)")),
         {"specimens[0]: expected an object"}},

        Edited(R"("FAW": 0.6)", R"("FAW": "0.6")", {"laminae[0].FAW: expected a number"}),
        Edited(R"("xi": 2)", R"("xi": "Infinity")", {"laminae[0].xi: expected a number"}),
        Edited(R"("elastic_min": 0.1)", R"("elastic_min": null)", {"elastic_min: expected a number"}),
        Edited(R"("compliance_scale_factor": 0.01)", R"("compliance_scale_factor": true)",
               {"compliance_scale_factor: expected a number"}),
        Edited(R"("width": 24.5)", R"("width": [24.5])", {"specimens[1].width: expected a number"}),
        Edited(R"("youngs_modulus": 72)", R"("youngs_modulus": {})",
               {"laminae[1].fiber.youngs_modulus: expected a number"}),
        Edited(R"("C_angle_scale_factor": 1.0)", R"("C_angle_scale_factor": "1")",
               {"laminae[0].C_angle_scale_factor: expected a number"}),
        Edited(R"("strain": [0, 0.5, 1, 1.5])", R"("strain": 5)",
               {"specimens[2].strain: expected an array of numbers"}),
        Edited(R"("load": [0, 150])", R"("load": ["0", "150"])", {"specimens[1].load: expected an array of numbers"}),
        Edited(R"("stress": [0, 2, 4])", R"("stress": [0, [2], 4])",
               {"specimens[0].stress: expected an array of numbers"}),
        Edited(R"("name": "Glass")", R"("name": 3)", {"laminae[1].fiber.name: expected a text"}),
        Edited(R"("matrix": { "name": "Epoxy")", R"("matrix": [], "m": { "name": "Epoxy")",
               {"laminae[0].matrix: expected an object"}),

        Edited(R"("FAW": 0.6, )", "", {"laminae[0].FAW: missing required field"}),
        Edited(R"("density": 2.54, )", "", {"laminae[1].fiber.density: missing required field"}),
        Edited(R"(, "poissons_ratio": 0.38)", "", {"laminae[1].matrix.poissons_ratio: missing required field"}),
        Edited(R"("fiber": { "name": "Glass")", R"("fibre": { "name": "Glass")",
               {"laminae[1].fiber: missing required field"}),
        Edited(R"("thickness": 0.25, )", "", {"laminae[1].thickness: missing required field"}),
        Edited(R"("width": 25.2, )", "", {"specimens[2].width: missing required field"}),
        Edited(R"("thickness": 2.1, )", "", {"specimens[1].thickness: missing required field"}),
        Edited(R"(, "stress": [0, 3])", "", {"specimens[1].stress: missing required field"}),
        Edited("{ \"id\": 2,\n", "{\n", {"laminae[1].id: missing required field"}),
        Edited(R"({ "id": 3, )", "{ ", {"specimens[2].id: missing required field"}),

        Edited("{ \"id\": 2,\n", "{ \"id\": 1,\n", {"laminae[1].id", "duplicate id 1"}),
        Edited(R"({ "id": 3, )", R"({ "id": 2, )", {"specimens[2].id", "duplicate id 2"}),
        Edited("{ \"id\": 1,\n", "{ \"id\": 0,\n", {"laminae[0].id", "at least 1"}),
        Edited(R"({ "id": 2, )", R"({ "id": -2, )", {"specimens[1].id", "at least 1"}),
        Edited(R"({ "id": 2, )", R"({ "id": 1.5, )", {"specimens[1].id", "whole number"}),
        Edited("{ \"id\": 1,\n", "{ \"id\": \"1\",\n", {"laminae[0].id"}),
        Edited("{ \"id\": 2,\n", "{ \"id\": 3,\n", {"laminae[1].id", "greater than lamina_count 2"}),
        Edited(R"({ "id": 3, )", R"({ "id": 4, )", {"specimens[2].id", "greater than specimen_count 3"}),
        Edited(R"({ "id": 3, )", R"({ "id": 4294967297, )", {"specimens[2].id"}),
        Edited(R"("lamina_count": 2)", R"("lamina_count": 1)", {"laminae: holds 2 laminae, more than lamina_count 1"}),
        Edited(R"("specimen_count": 3)", R"("specimen_count": 2)",
               {"specimens: holds 3 specimens, more than specimen_count 2"}),
        Edited(R"("lamina_count": 2)", R"("lamina_count": 10001)", {"lamina_count", "at most 10000"}),
        Edited(R"("lamina_count": 2)", R"("lamina_count": 1e12)", {"lamina_count"}),
        Edited(R"("lamina_count": 2)", R"("lamina_count": 1000000000000)", {"lamina_count", "at most"}),
        Edited(R"("specimen_count": 3)", R"("specimen_count": 99999999999999999999)", {"specimen_count"}),
        Edited(R"("specimen_count": 3)", R"("specimen_count": 18446744073709551615)", {"specimen_count"}),
        Edited(R"("lamina_count": 2)", R"("lamina_count": 4294967298)", {"lamina_count"}),
        Edited(R"("specimen_count": 3)", R"("specimen_count": -1)", {"specimen_count"}),
        Edited(R"("lamina_count": 2)", R"("lamina_count": "2")", {"lamina_count"}),
        Edited(R"("current_lamina_id": 1)", R"("current_lamina_id": 3)", {"current_lamina_id"}),
        Edited(R"("current_specimen_id": 2)", R"("current_specimen_id": -1)", {"current_specimen_id"}),

        Edited(specimen3, R"("load": [0, 1, 2], "strain": [0, 0.5, 1, 1.5], "stress": [0, 3, 6, 9])",
               {"specimens[2]", "different lengths", "(3, 4, 4)"}),
        Edited(R"("stress": [0, 3])", R"("stress": [0, 3, 6])", {"specimens[1]", "different lengths"}),
        Edited(R"("load": [0, 150])", R"("load": [])", {"specimens[1]", "different lengths"}),
        Edited(R"({ "id": 1, "width": 25, "thickness": 2,)",
               R"({ "id": 1, "width": 25, "thickness": 2, "readings_file": "a.csv",)", {"specimens[0]", "not both"}),
        Edited(specimen3, R"("readings_file": 12)", {"specimens[2].readings_file"}),
    };
    for (const BadProject& bad : bad_projects) {
        SCOPED_TRACE(bad.what);
        const std::string message = ErrorOf([&] { ParseText(bad.text); });
        EXPECT_TRUE(StartsWith(message, "test.plyforge: ")) << message;
        ExpectContains(message, bad.expected);
        EXPECT_EQ(message.find('\n'), std::string::npos) << "one line: " << message;
    }
}

TEST(ProjectFileErrors, ReadFileNamesThePath)
{
    TempDir dir;
    const std::string missing = In(dir, "no such project.plyforge");
    const std::string empty = In(dir, "empty.plyforge");
    const std::string broken = In(dir, "프로젝트.plyforge");
    WriteWholeFile(empty, "");
    WriteWholeFile(broken, "{ \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": ");
    // A FIFO would block the open until some writer came; it is refused unopened.
    const std::string fifo = In(dir, "pipe.plyforge");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const testing_support::FifoWriterGuard guard(fifo);
    const struct {
        std::string path, prefix, part;
    } cases[] = {
        {missing, missing + ": ", ""},
        {fifo, fifo + ": ", "not a regular file"},
        {dir.Str(), "", dir.Str()}, // a folder
        {empty, empty + ": ", "empty"},
        {broken, broken + ": not valid JSON at line 3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string message = ErrorOf([&] { ProjectReader::ReadFile(c.path); });
        EXPECT_TRUE(StartsWith(message, c.prefix)) << message;
        ExpectContains(message, {c.part});
    }
    EXPECT_FALSE(guard.WasOpened());
}

// Opens a project in folder whose second specimen takes its readings from
// readings_file; the error must name the project and the field.
std::string ReadingsError(const fs::path& folder, const std::string& readings_file)
{
    const std::string project = (folder / "p.plyforge").string();
    WriteWholeFile(project, R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
        { "id": 1, "width": 25, "thickness": 2, "load": [1], "strain": [1], "stress": [1] },
        { "id": 2, "width": 25, "thickness": 2, "readings_file": ")" + readings_file + R"(" } ] } })");
    const std::string message = ErrorOf([&] { ProjectReader::ReadFile(project); });
    EXPECT_TRUE(StartsWith(message, project + ": specimens[1].readings_file: ")) << message;
    return message;
}

TEST(ReadingsFileErrors, EachBadReadingsFileIsNamed)
{
    enum Kind { kNone, kText, kFolder, kFifo };
    const struct {
        const char* file;
        Kind kind;
        const char* content;
        std::vector<std::string> expected;
    } cases[] = {
        {"gone.csv", kNone, nullptr, {"gone.csv", "cannot open the readings file"}},
        {"r.csv", kText, "Load,Strain,Stress\nN,%,MPa\n0,0,0\n1,0.1,2\n2,oops,4\n", {"line 5", "oops", "r.csv"}},
        {"r.csv", kText, "Load,Strain,Stress\n", {"r.csv", "no rows"}},
        {"readings", kFolder, nullptr, {"is a folder, not a readings file"}},
        {"pipe.csv", kFifo, nullptr, {"pipe.csv", "not a regular file"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        const fs::path path = dir.Path() / c.file;
        if (c.kind == kText)
            WriteWholeFile(path, c.content);
        if (c.kind == kFolder)
            fs::create_directory(path);
        if (c.kind == kFifo) {
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        }
        const testing_support::FifoWriterGuard guard(c.kind == kFifo ? path.string() : "");
        ExpectContains(ReadingsError(dir.Path(), c.file), c.expected);
        EXPECT_FALSE(guard.WasOpened());
    }
}

// The files are read in parallel, yet what a project reads and the error it reports
// are those of reading them one after another.
TEST(ReadingsFileErrors, ParallelReadKeepsProjectOrder)
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
        const std::string message = ErrorOf([&] { ProjectReader::Parse(text, "p.plyforge", dir.Str()); });
        EXPECT_TRUE(StartsWith(message, "p.plyforge: " + where)) << message;
    }
}

TEST(ReadingsFileErrors, UnreadableFile)
{
    TempDir dir;
    WriteWholeFile(dir.Path() / "r.csv", "1,2,3\n");
    fs::permissions(dir.Path() / "r.csv", fs::perms::none);
    const bool ran = testing_support::RunUnprivileged(dir.Path(), [&] {
        ASSERT_NE(access((dir.Path() / "r.csv").c_str(), R_OK), 0);
        ExpectContains(ReadingsError(dir.Path(), "r.csv"), {"r.csv"});
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
    if (project.laminae.size() > static_cast<size_t>(project.lamina_count) ||
        project.specimens.size() > static_cast<size_t>(project.specimen_count))
        return "more records than the count";
    if (project.current_lamina_id < 0 || project.current_lamina_id > project.lamina_count ||
        project.current_specimen_id < 0 || project.current_specimen_id > project.specimen_count)
        return "current id out of range";
    // Ids from 1 to the count, each once.
    const auto ids_fit = [](const auto& records, int count) {
        std::set<int> ids;
        return std::all_of(records.begin(), records.end(),
                           [&](const auto& r) { return r->id >= 1 && r->id <= count && ids.insert(r->id).second; });
    };
    if (!ids_fit(project.laminae, project.lamina_count) || !ids_fit(project.specimens, project.specimen_count))
        return "record id out of range or repeated";
    for (const auto& specimen : project.specimens) {
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
    const std::string seeds[] = {kValidProject, ProjectWriter::Serialize(doc)};
    const std::string structural = "{}[]\",:-+.0123456789eE \n\\tnu";

    std::mt19937 random(7);
    int opened = 0, refused = 0, failures = 0;
    for (int round = 0; round < 4000 && failures < 5; ++round) {
        std::string text = seeds[round % 2];
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
            ++opened;
            if (const std::string problem = Inconsistency(project); !problem.empty()) {
                ++failures;
                ADD_FAILURE() << "round " << round << " opened with " << problem << "\n" << text;
            }
        } catch (const ProjectFileError& error) {
            ++refused;
            if (!StartsWith(error.what(), "mutant.plyforge: ")) {
                ++failures;
                ADD_FAILURE() << "round " << round << ": the message does not name the file: " << error.what();
            }
        } catch (const std::exception& error) {
            ++failures;
            ADD_FAILURE() << "round " << round << " escaped as " << typeid(error).name() << ": " << error.what() << "\n"
                          << text;
        }
    }
    // Both outcomes must have been exercised, or the mutations test nothing.
    EXPECT_GT(opened, 20);
    EXPECT_GT(refused, 100);
}

TEST(ProjectFileRobustness, DeepNestingIsRefusedOrIgnoredWithoutCrashing)
{
    EXPECT_THROW(ParseText(std::string(200000, '[')), ProjectFileError);
    const std::string nested = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_THROW(ParseText(nested), ProjectFileError);
    // An unknown member holding deep data is ignored.
    EXPECT_TRUE(ParseText(R"({ "format": "plyforge-project", "version": 1, "notes": )" + nested + "}").laminae.empty());
}

// --- Saving -------------------------------------------------------------------------

TEST(ProjectFileWrite, ReplacesTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = In(dir, "프로젝트 1.plyforge");
    WriteWholeFile(path, std::string(100000, 'x')); // longer than the new text
    CPlyforgeDoc doc;
    FillSmallProject(doc);

    ProjectWriter::WriteFile(path, doc);
    EXPECT_EQ(ReadWholeFile(path), ProjectWriter::Serialize(doc));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"프로젝트 1.plyforge"});
    CPlyforgeDoc read;
    read.LoadProject(ProjectReader::ReadFile(path));
    ExpectSameInputs(doc, read);

    // A new file where there was none.
    const std::string fresh = In(dir, "fresh.plyforge");
    ProjectWriter::WriteFile(fresh, read);
    EXPECT_EQ(ReadWholeFile(fresh), ReadWholeFile(path));
    EXPECT_EQ(FolderEntries(dir.Path()).size(), 2u);
}

TEST(ProjectFileWrite, FailureNamesThePathAndKeepsTheOldFile)
{
    TempDir dir;
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "p.plyforge").string();
    WriteWholeFile(path, "old content");
    const bool ran = testing_support::RunUnprivileged(dir.Path(), [&] {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        ASSERT_NE(access(folder.c_str(), W_OK), 0);
        CPlyforgeDoc doc;
        FillSmallProject(doc);
        ExpectContains(ErrorOf([&] { ProjectWriter::WriteFile(path, doc); }), {path});
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(ReadWholeFile(path), "old content");
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
    const fs::path in_the_way = dir.Path() / "p.plyforge";
    fs::create_directory(in_the_way);
    WriteWholeFile(in_the_way / "keep.txt", "kept");

    for (const std::string& path : {In(dir, "no such folder/p.plyforge"), in_the_way.string()}) {
        SCOPED_TRACE(path);
        const std::string message = ErrorOf([&] { ProjectWriter::WriteFile(path, doc); });
        EXPECT_TRUE(StartsWith(message, path + ": ")) << message;
    }
    EXPECT_EQ(ReadWholeFile(in_the_way / "keep.txt"), "kept");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"p.plyforge"});
}

} // namespace
