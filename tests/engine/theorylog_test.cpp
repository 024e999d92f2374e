// The theory driver: the whole calculation log and trace of the worked example
// against golden files, the failure paths and the log file's life.
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

const std::filesystem::path kGolden = std::filesystem::path(PLYFORGE_TEST_DATA) / "golden";

struct TheoryFixture : ::testing::Test {
    RecordingSink sink;
    CPlyforgeDoc doc{&sink};
    TempDir folder;

    void SetUp() override { doc.program_folder = folder.Str(); }

    void Load(const char* example)
    {
        doc.LoadProject(ProjectReader::ReadFile(std::string(PLYFORGE_EXAMPLES) + "/" + example));
    }

    std::string Log() const { return ReadWholeFile(folder.Path() / kTheoreticalLogName); }
};

} // namespace

TEST_F(TheoryFixture, WorkedExampleMatchesTheGoldenLogAndTrace)
{
    Load("single-lamina.plyforge");
    TraceCapture trace;
    ASSERT_TRUE(doc.CalculateTheory());
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
    ASSERT_TRUE(doc.CalculateTheory());
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
    EXPECT_FALSE(doc.CalculateTheory());
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
    EXPECT_FALSE(doc.CalculateTheory());
    EXPECT_EQ(sink.messages, std::vector<std::string>{msg::kCheckYoungsModulus});
    EXPECT_EQ(Log(), "\nStart Calculation\n\n");
}

TEST_F(TheoryFixture, EachRunReplacesTheLog)
{
    Load("single-lamina.plyforge");
    TraceCapture trace;
    ASSERT_TRUE(doc.CalculateTheory());
    const std::string first = Log();
    doc.laminate.laminae[0]->angle = 0;
    ASSERT_TRUE(doc.CalculateTheory());
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
    EXPECT_TRUE(doc.CalculateTheory());
    EXPECT_FALSE(doc.log_written);
    EXPECT_EQ(doc.log_path, doc.program_folder + "/TheoreticalLog.txt");
    EXPECT_NE(doc.laminate.Ex, 0);
    EXPECT_TRUE(sink.messages.empty());
}
