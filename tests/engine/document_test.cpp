// The document's life: a new project, counts, records found by id, the chart
// series, the checks before a run and their messages, and loading a project.
#include "doc/calculationchecks.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;

TEST(Document, NewProjectIsEmptyAndTellsItsListener)
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
    EXPECT_TRUE(doc.laminate.laminae.empty());
    EXPECT_TRUE(doc.specimens.empty());
    EXPECT_EQ(doc.lamina_count, 0);
    EXPECT_EQ(doc.specimen_count, 0);
    EXPECT_EQ(doc.current_lamina_id, 0);
    EXPECT_EQ(doc.current_specimen_id, 0);
    EXPECT_EQ(doc.elastic_min, 0.2); // the range is the ribbon's, not reset here
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"initialised", "lamina count 0"}));
    EXPECT_FALSE(doc.program_folder.empty());
    EXPECT_NE(doc.program_folder.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(doc.program_folder));

    listener.calls.clear();
    doc.SetLaminaCount(3);
    EXPECT_EQ(doc.lamina_count, 3);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"lamina count 3"}));
}

TEST(Document, RecordsKeepTheOrderOfTheirFirstCommit)
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

TEST(Document, ChartSeriesFollowTheSpecimens)
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

// A project ready for either run, changed by each case: the run is refused with
// the one message of the first check that fails.
TEST(Document, ChecksBeforeARunRefuseWithTheirMessage)
{
    using Doc = CPlyforgeDoc;
    const bool theory = true, experiment = false;
    const struct { bool theory; const char* what; void (*change)(Doc&); const char* message; } cases[] = {
        {theory, "factor 0", [](Doc& d) { d.laminate.compliance_scale_factor = 0; }, msg::kScaleFactorPositive},
        {theory, "factor < 0", [](Doc& d) { d.laminate.compliance_scale_factor = -0.01; }, msg::kScaleFactorPositive},
        {theory, "factor NaN", [](Doc& d) { d.laminate.compliance_scale_factor = std::nan(""); },
         msg::kScaleFactorPositive},
        {theory, "the factor before the records",
         [](Doc& d) { d.laminate.compliance_scale_factor = 0, d.lamina_count = 3; }, msg::kScaleFactorPositive},
        {theory, "a record missing", [](Doc& d) { d.lamina_count = 3; }, msg::kLaminaeIncomplete},
        {theory, "a record too many", [](Doc& d) { d.lamina_count = 1; }, msg::kLaminaeIncomplete},
        {theory, "no laminae", [](Doc& d) { d.lamina_count = 0, d.laminate.laminae.clear(); },
         msg::kLaminaeIncomplete},
        {experiment, "max equal to min", [](Doc& d) { d.elastic_max = d.elastic_min; }, msg::kElasticMaxGreater},
        {experiment, "max below min", [](Doc& d) { d.elastic_max = 0.05; }, msg::kElasticMaxGreater},
        {experiment, "the range before the records", [](Doc& d) { d.elastic_max = 0, d.specimen_count = 3; },
         msg::kElasticMaxGreater},
        {experiment, "a record missing", [](Doc& d) { d.specimen_count = 3; }, msg::kLaminaeIncomplete},
        {experiment, "no specimens", [](Doc& d) { d.specimen_count = 0, d.specimens.clear(); },
         msg::kLaminaeIncomplete},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSink sink;
        CPlyforgeDoc doc;
        doc.laminate.compliance_scale_factor = 0.01;
        doc.lamina_count = doc.specimen_count = 2;
        doc.elastic_min = 0.1;
        doc.elastic_max = 0.3;
        for (const int id : {1, 2}) {
            doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(id));
            doc.FindOrCreateSpecimen(id).width = 25;
            doc.FindOrCreateSpecimen(id).thickness = 2;
        }
        const auto ready = [&] {
            return c.theory ? CalculationChecks::TheoryReady(doc, sink) : CalculationChecks::ExperimentReady(doc, sink);
        };
        ASSERT_TRUE(ready());
        c.change(doc);
        EXPECT_FALSE(ready());
        EXPECT_EQ(sink.messages, std::vector<std::string>{c.message});
    }
}

// An input the lamina's steps cannot use stops the run with its message, on any lamina.
TEST(Document, CalculateTheoryStopsAtAnInputTheStepsCannotUse)
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
        TempDir dir;
        RecordingSink sink;
        CPlyforgeDoc doc(&sink);
        doc.program_folder = dir.Str();
        doc.laminate.compliance_scale_factor = 0.01;
        doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
        doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2));
        c.change(*doc.laminate.laminae[1]);
        TraceCapture trace;
        EXPECT_FALSE(doc.CalculateTheory());
        EXPECT_EQ(sink.messages, std::vector<std::string>{c.message});
    }
}

TEST(Document, LoadingAProjectReplacesEveryRecord)
{
    CPlyforgeDoc doc;
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
    doc.FindOrCreateSpecimen(1);
    ProjectData project;
    project.lamina_count = 2;
    project.laminae.push_back(MakeCarbonEpoxyLamina(2));
    project.specimen_count = 3;
    project.elastic_min = 0.05;
    project.elastic_max = 0.25;
    project.current_lamina_id = 2;
    doc.LoadProject(std::move(project));
    ASSERT_EQ(doc.laminate.laminae.size(), 1u);
    EXPECT_EQ(doc.laminate.laminae[0]->id, 2);
    EXPECT_TRUE(doc.specimens.empty());
    EXPECT_EQ(doc.lamina_count, 2);
    EXPECT_EQ(doc.specimen_count, 3);
    EXPECT_EQ(doc.laminate.compliance_scale_factor, 0.01);
    EXPECT_EQ(doc.elastic_min, 0.05);
    EXPECT_EQ(doc.elastic_max, 0.25);
    EXPECT_EQ(doc.current_lamina_id, 2);
}
