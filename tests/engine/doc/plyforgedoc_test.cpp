// The document: a new project, counts, records found by id, the chart series,
// loading a project, and the theory run with its log against the golden files.
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;


namespace {
// A run as its callers make it: the calculation, then its log written.
bool RunAndWrite(CPlyforgeDoc& doc, Trace& trace)
{
    const bool ran = doc.CalculateTheory(trace);
    doc.WriteLog();
    return ran;
}
bool RunAndWrite(CPlyforgeDoc& doc)
{
    const bool ran = doc.CalculateExperiment();
    doc.WriteLog();
    return ran;
}
} // namespace

TEST(PlyforgeDoc, NewProjectIsEmptyAndTellsItsListener)
{
    RecordingListener listener;
    CPlyforgeDoc doc(nullptr, &listener);
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina());
    doc.FindOrCreateSpecimen(2);
    doc.lamina_count = 4;
    doc.specimen_count = 2;
    doc.current_lamina_id = 3;
    doc.current_specimen_id = 2;
    doc.elastic_min = 0.2;

    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.laminate.laminae.empty() && doc.specimens.empty());
    EXPECT_EQ((std::vector<int>{doc.lamina_count, doc.specimen_count, doc.current_lamina_id, doc.current_specimen_id}),
              (std::vector<int>{0, 0, 0, 0}));
    // A new project calculates with the values the ribbon shows for it.
    EXPECT_EQ((std::vector<double>{doc.laminate.compliance_scale_factor, doc.elastic_min, doc.elastic_max}),
              (std::vector<double>{0.01, 0.1, 0.3}));
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"initialised", "lamina count 0"}));
    EXPECT_TRUE(std::filesystem::is_directory(doc.program_folder) && doc.program_folder.back() != '/');

    listener.calls.clear();
    doc.SetLaminaCount(3);
    EXPECT_EQ(doc.lamina_count, 3);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"lamina count 3"}));
}

TEST(PlyforgeDoc, RecordsKeepTheOrderOfTheirFirstCommit)
{
    CPlyforgeDoc doc;
    doc.laminate.FindOrCreateLamina(3).FAW = 0.3;
    doc.laminate.FindOrCreateLamina(1).FAW = 0.1;
    doc.laminate.FindOrCreateLamina(3).FAW = 0.33; // updated in place
    ASSERT_EQ(doc.laminate.laminae.size(), 2u);
    EXPECT_EQ(doc.laminate.laminae[0]->id, 3);
    EXPECT_EQ(doc.laminate.laminae[0]->FAW, 0.33);
    EXPECT_EQ(doc.laminate.FindLamina(2), nullptr);

    doc.FindOrCreateSpecimen(5);
    doc.FindOrCreateSpecimen(2);
    doc.FindOrCreateSpecimen(5);
    ASSERT_EQ(doc.specimens.size(), 2u);
    EXPECT_EQ(doc.specimens[0]->id, 5);
    EXPECT_EQ(doc.FindSpecimen(2), doc.specimens[1].get());
}

TEST(PlyforgeDoc, ChartSeriesFollowTheSpecimens)
{
    CPlyforgeDoc doc;
    ExperimentSpecimen& a = doc.FindOrCreateSpecimen(3);
    a.strain_series = {0, 0.1};
    a.stress_series = {0, 40};
    doc.FindOrCreateSpecimen(12); // empty series still take part
    std::vector<std::vector<double>> arrays{{9}};
    std::vector<std::string> names;
    doc.BuildChartSeries(arrays, names);
    ASSERT_EQ(arrays.size(), 5u);
    EXPECT_EQ(arrays[1], a.strain_series);
    EXPECT_EQ(arrays[2], a.stress_series);
    EXPECT_TRUE(arrays[3].empty());
    EXPECT_EQ(names, (std::vector<std::string>{"Lamina # 3", "Lamina # 12"}));
}

// Loading a project over an open one: ProjectWriter's round trip.

namespace {

const std::filesystem::path kGolden = std::filesystem::path(PLYFORGE_TEST_DATA) / "golden";

struct TheoryFixture : ::testing::Test {
    RecordingSink sink;
    CPlyforgeDoc doc{&sink};
    TempDir folder;

    void SetUp() override { doc.program_folder = folder.Str(); }

    void Load(const char* example)
    {
        doc.LoadProject(ProjectReader::ReadFile(ExampleFile(example)));
    }

    std::string Log() const { return ReadWholeFile(folder.Path() / kTheoreticalLogName); }
};

} // namespace

TEST_F(TheoryFixture, WorkedExampleMatchesTheGoldenLogAndTrace)
{
    Load("single-lamina.plyforge");
    TraceCapture trace;
    ASSERT_TRUE(RunAndWrite(doc, trace));
    EXPECT_TRUE(doc.log_written);
    EXPECT_EQ(doc.log_path, folder.Str() + "/TheoreticalLog.txt");
    EXPECT_EQ(Log(), ReadWholeFile(kGolden / "single-lamina.log"));
    EXPECT_EQ(trace.Text(), ReadWholeFile(kGolden / "single-lamina.trace"));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TheoryFixture, QuasiIsotropicLaminateMatchesTheGoldenLog)
{
    Load("quasi-isotropic.plyforge");
    TraceCapture trace;
    ASSERT_TRUE(RunAndWrite(doc, trace));
    EXPECT_EQ(Log(), ReadWholeFile(kGolden / "quasi-isotropic.log"));
    // In-plane isotropic: equal moduli and no shear coupling.
    EXPECT_NEAR(doc.laminate.Ex, doc.laminate.Ey, 1e-9 * doc.laminate.Ex);
    EXPECT_NEAR(doc.laminate.Gxy, doc.laminate.Ex / (2 * (1 + doc.laminate.NUxy)), 1e-9 * doc.laminate.Gxy);
    EXPECT_NEAR(doc.laminate.ETAxyx, 0, 1e-12);
}

TEST_F(TheoryFixture, FailureOnTheSecondLaminaKeepsWhatWasWritten)
{
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1, 0));
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2, 90));
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(3, 45));
    doc.laminate.compliance_scale_factor = 0.01;
    doc.laminate.laminae[1]->S_angle_scale_factor = 0;
    doc.laminate.Ex = 42; // the previous run's laminate result stays

    TraceCapture trace;
    EXPECT_FALSE(RunAndWrite(doc, trace));
    EXPECT_EQ(sink.messages, std::vector<std::string>{msg::kCheckScaleFactor});
    const std::string log = Log();
    EXPECT_EQ(log.rfind("\nStart Calculation\n\n##Input data for material properties\nid=1\n", 0), 0u);
    EXPECT_NE(log.find("id=2\n"), std::string::npos);
    // Lamina 2 stops after its stiffness section, before the rotated one.
    const size_t second = log.find("id=2\n");
    EXPECT_NE(log.find("##Stiffness matrix\n", second), std::string::npos);
    EXPECT_EQ(log.find("##Stiffness matrix(with angle", second), std::string::npos);
    EXPECT_EQ(log.find("id=3\n"), std::string::npos);
    EXPECT_EQ(log.find("##Information for laminate"), std::string::npos);
    EXPECT_EQ(doc.laminate.Ex, 42);
    EXPECT_NE(doc.laminate.laminae[0]->Ex, 0); // lamina 1 finished
    EXPECT_EQ(doc.laminate.laminae[2]->Ex, 0);

    sink.messages.clear();
    doc.laminate.laminae[1]->S_angle_scale_factor = 0.01;
    doc.laminate.laminae[0]->matrix.youngs_modulus = 0;
    EXPECT_FALSE(RunAndWrite(doc, trace));
    EXPECT_EQ(sink.messages, std::vector<std::string>{msg::kCheckYoungsModulus});
    EXPECT_EQ(Log(), "\nStart Calculation\n\n");
}

TEST_F(TheoryFixture, EachRunReplacesTheLog)
{
    Load("single-lamina.plyforge");
    TraceCapture trace;
    ASSERT_TRUE(RunAndWrite(doc, trace));
    const std::string first = Log();
    doc.laminate.laminae[0]->angle = 0;
    ASSERT_TRUE(RunAndWrite(doc, trace));
    const std::string second = Log();
    EXPECT_NE(first, second);
    EXPECT_EQ(second.find("Start Calculation"), second.rfind("Start Calculation"));
    EXPECT_EQ(second.find('\r'), std::string::npos) << "log files use LF line ends";
}

TEST_F(TheoryFixture, UnwritableFolderStillCalculatesAndSaysSo)
{
    Load("single-lamina.plyforge");
    doc.program_folder = (folder.Path() / "no such folder").string();
    TraceCapture trace;
    EXPECT_TRUE(RunAndWrite(doc, trace));
    EXPECT_FALSE(doc.log_written);
    EXPECT_EQ(doc.log_path, doc.program_folder + "/TheoreticalLog.txt");
    EXPECT_NE(doc.laminate.Ex, 0);
    EXPECT_TRUE(sink.messages.empty());
}

// An input the lamina's steps cannot use stops the run with its message, on any lamina.
TEST_F(TheoryFixture, StopsAtAnInputTheStepsCannotUse)
{
    const struct { const char* what; void (*change)(Lamina&); const char* message; } cases[] = {
        {"matrix modulus 0", [](Lamina& l) { l.matrix.youngs_modulus = 0; }, msg::kCheckYoungsModulus},
        {"fibre modulus 0", [](Lamina& l) { l.fiber.youngs_modulus = 0; }, msg::kCheckYoungsModulus},
        {"S factor 0", [](Lamina& l) { l.S_scale_factor = 0; }, msg::kCheckScaleFactor},
        {"C factor 0", [](Lamina& l) { l.C_scale_factor = 0; }, msg::kCheckScaleFactor},
        {"S with angle factor 0", [](Lamina& l) { l.S_angle_scale_factor = 0; }, msg::kCheckScaleFactor},
        {"C with angle factor 0", [](Lamina& l) { l.C_angle_scale_factor = 0; }, msg::kCheckScaleFactor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sink.messages.clear();
        doc.laminate.laminae.clear();
        doc.laminate.compliance_scale_factor = 0.01;
        doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
        doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2));
        c.change(*doc.laminate.laminae[1]);
        TraceCapture trace;
        EXPECT_FALSE(RunAndWrite(doc, trace));
        EXPECT_EQ(sink.messages, std::vector<std::string>{c.message});
    }
}

TEST(PlyforgeDoc, ExperimentLogFileInSequenceOrder)
{
    TempDir folder;
    CPlyforgeDoc doc;
    doc.program_folder = folder.Str();
    doc.elastic_min = 0.1;
    doc.elastic_max = 0.3;
    for (const int id : {3, 1}) {
        ExperimentSpecimen& s = doc.FindOrCreateSpecimen(id);
        s.load_series = {0, 1000, 2000, 3000};
        s.strain_series = {0, 0.1, 0.2, 0.3};
        s.stress_series = {0, 40, 80, 120};
    }
    EXPECT_TRUE(RunAndWrite(doc));
    EXPECT_TRUE(doc.log_written);
    EXPECT_EQ(doc.log_path, folder.Str() + "/ExperimentalLog.txt");
    const std::string log = ReadWholeFile(folder.Path() / kExperimentalLogName);
    EXPECT_EQ(log.rfind("\nStart Calculation\n\n##Result for Experimental Calculation\n", 0), 0u);
    EXPECT_LT(log.find("##id:3"), log.find("##id:1"));
    EXPECT_NE(log.find("Strain:0.2\nModulus=40\n"), std::string::npos);

    // A record saved from a freshly initialised form: one reading of 0 each.
    ExperimentSpecimen& fresh = doc.FindOrCreateSpecimen(4);
    fresh.load_series = fresh.strain_series = fresh.stress_series = {0};
    EXPECT_TRUE(RunAndWrite(doc));
    EXPECT_NE(ReadWholeFile(folder.Path() / kExperimentalLogName)
                  .find("##id:4\nWidth=0\nThickness=0\nLoad Max.=0\nStrength:0\nStrain:0\nModulus=0\n"
                        "No modulus over the elastic range: the readings never reach Elastic Max.\n\n"),
              std::string::npos);
}
