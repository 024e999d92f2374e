// The checks before a run: inputs no real ply or specimen can have, incomplete
// projects and an empty elastic range stop it with a message naming the record and
// the field; the limits themselves are real values and pass.
#include "doc/calculationchecks.h"
#include "doc/messages.h"
#include "doc/projectreader.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

using namespace testing_support;

// Every project in tests/data/projects/checks: the run its .expected names is
// refused with the message given there, or goes ahead when none is.
TEST(CalculationChecks, EachProjectIsRefusedWithItsMessageOrPasses)
{
    std::vector<std::filesystem::path> projects;
    for (const auto& entry : std::filesystem::directory_iterator(TestDataFile("projects/checks")))
        if (entry.path().extension() == ".plyforge")
            projects.push_back(entry.path());
    ASSERT_GE(projects.size(), 20u);
    for (const auto& project : projects) {
        SCOPED_TRACE(project.filename().string());
        const std::string expected = ReadWholeFile(std::filesystem::path(project).replace_extension(".expected"));
        const size_t run_end = expected.find('\n');
        const std::string message = expected.substr(run_end + 1, expected.size() - run_end - 1);
        CPlyforgeDoc doc;
        doc.LoadProject(ProjectReader::ReadFile(project.string()));
        RecordingSink sink;
        const bool ready = expected.substr(0, run_end) == "theory" ? CalculationChecks::TheoryReady(doc, sink)
                                                                   : CalculationChecks::ExperimentReady(doc, sink);
        EXPECT_EQ(ready, message.empty());
        EXPECT_EQ(sink.messages, message.empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{message.substr(0, message.size() - 1)});
    }
    // More laminae than the count, which no project file can hold.
    CPlyforgeDoc doc;
    doc.laminate.compliance_scale_factor = 0.01;
    doc.lamina_count = 1;
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2));
    RecordingSink sink;
    EXPECT_FALSE(CalculationChecks::TheoryReady(doc, sink));
    EXPECT_EQ(sink.messages, std::vector<std::string>{msg::kLaminaeIncomplete});
}

TEST(CalculationChecks, SpecimensAreCheckedInIdOrder)
{
    CPlyforgeDoc doc;
    doc.elastic_min = 0.1;
    doc.elastic_max = 0.3;
    doc.specimen_count = 3;
    for (const int id : {3, 1, 2}) {
        ExperimentSpecimen& s = doc.FindOrCreateSpecimen(id);
        s.width = id == 3 ? 0 : 25;
        s.thickness = id == 2 ? -2 : 2;
    }
    RecordingSink sink;
    EXPECT_FALSE(CalculationChecks::ExperimentReady(doc, sink));
    doc.FindSpecimen(2)->thickness = 2;
    EXPECT_FALSE(CalculationChecks::ExperimentReady(doc, sink));
    doc.FindSpecimen(3)->width = 25;
    doc.FindSpecimen(1)->unread_cells = {{3, 2, "abc"}, {5, 0, "x"}}; // a cell that is not a number
    EXPECT_FALSE(CalculationChecks::ExperimentReady(doc, sink));
    doc.FindSpecimen(1)->unread_cells.clear();
    EXPECT_TRUE(CalculationChecks::ExperimentReady(doc, sink));
    EXPECT_EQ(sink.messages,
              (std::vector<std::string>{"Experimental Lamina #2: the thickness must be greater than 0 (it is -2).",
                                        "Experimental Lamina #3: the width must be greater than 0 (it is 0).",
                                        "실수가 아닌 데이터가 있습니다11\nSpecimen 1, row 4, Stress: \"abc\""}));
}

// After a run, a result that is not a number is named, never passed on as a result:
// a reading of inf gives an infinite strength; a modulus the readings cannot give is
// no fault.
TEST(CalculationChecks, ResultsThatAreNotNumbersAreNamed)
{
    CPlyforgeDoc doc;
    doc.elastic_min = 0.1;
    doc.elastic_max = 0.3;
    doc.specimen_count = 2;
    for (const int id : {2, 1}) {
        ExperimentSpecimen& s = doc.FindOrCreateSpecimen(id);
        s.width = 25;
        s.thickness = 2;
        s.load_series = {0, 500, 1000};
        s.strain_series = {0, 0.1, 0.2};
        s.stress_series = {0, 10, id == 2 ? std::numeric_limits<double>::infinity() : 20};
        s.Evaluate(doc.elastic_min, doc.elastic_max);
    }
    EXPECT_FALSE(doc.FindSpecimen(1)->modulus_gap.empty()); // 0.3 % is never reached
    EXPECT_EQ(CalculationChecks::ExperimentResultFault(doc),
              "Experimental Lamina #2: the strength is not a number (inf): a reading is inf or nan.");
    doc.FindSpecimen(2)->stress_series.back() = 20;
    doc.FindSpecimen(2)->Evaluate(doc.elastic_min, doc.elastic_max);
    EXPECT_EQ(CalculationChecks::ExperimentResultFault(doc), "");

    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
    doc.laminate.Ex = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(CalculationChecks::TheoryResultFault(doc),
              "The laminate's Ex is not a number (nan): its stiffness cannot be inverted.");
    // A stack that cannot be analysed names the lamina whose own stiffness is singular.
    doc.laminate.laminae.back()->C_bar = Matrix3::Identity();
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2));
    Lamina& second = *doc.laminate.laminae.back();
    second.C_bar << 1, 2, 0, 2, 4, 0, 0, 0, 1;
    second.E1 = 100, second.E2 = 25, second.G12 = 5, second.Nu12 = 2, second.Nu21 = 0.5;
    EXPECT_EQ(CalculationChecks::SingularStiffnessCause(doc),
              "The laminate's stiffness cannot be inverted: Theoretical Lamina #2's rotated stiffness matrix is "
              "singular (determinant 0), because its Poisson's ratios give v12 * v21 = 1 (v12 = 2, v21 = 0.5), "
              "and 1 - v12 * v21 must not be 0.");
    second.G12 = 0;
    EXPECT_NE(CalculationChecks::SingularStiffnessCause(doc).find("because its G12 is 0 GPa."), std::string::npos);
}
