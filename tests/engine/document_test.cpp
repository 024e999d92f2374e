// The document's life: a new project, counts, records found by id, the chart
// series, the checks before a run and loading a project.
#include "doc/calculationchecks.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "testsupport.h"

#include <gtest/gtest.h>

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

TEST(Document, ChecksBeforeARun)
{
    RecordingSink sink;
    CPlyforgeDoc doc(&sink);
    doc.laminate.compliance_scale_factor = 0.01;
    doc.lamina_count = 2;
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
    EXPECT_FALSE(CalculationChecks::TheoryReady(doc, sink));
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2));
    EXPECT_TRUE(CalculationChecks::TheoryReady(doc, sink));
    for (const double bad : {0.0, -1.0, std::nan("")}) {
        doc.laminate.compliance_scale_factor = bad;
        EXPECT_FALSE(CalculationChecks::TheoryReady(doc, sink));
    }
    doc.laminate.compliance_scale_factor = 0.01;
    doc.lamina_count = 0;
    doc.laminate.laminae.clear();
    EXPECT_FALSE(CalculationChecks::TheoryReady(doc, sink));
    EXPECT_EQ(sink.messages, (std::vector<std::string>{msg::kLaminaeIncomplete, msg::kScaleFactorPositive,
                                                       msg::kScaleFactorPositive, msg::kScaleFactorPositive,
                                                       msg::kLaminaeIncomplete}));

    sink.messages.clear();
    doc.specimen_count = 1;
    doc.FindOrCreateSpecimen(1);
    doc.elastic_min = 0.3;
    doc.elastic_max = 0.3;
    EXPECT_FALSE(CalculationChecks::ExperimentReady(doc, sink));
    doc.elastic_max = 0.5;
    EXPECT_TRUE(CalculationChecks::ExperimentReady(doc, sink));
    doc.specimen_count = 2;
    EXPECT_FALSE(CalculationChecks::ExperimentReady(doc, sink));
    EXPECT_EQ(sink.messages, (std::vector<std::string>{msg::kElasticMaxGreater, msg::kLaminaeIncomplete}));
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
