// Inputs no real ply or specimen can have stop a run with a message naming the
// record and the field; the limits themselves are real values and pass.
#include "doc/calculationchecks.h"
#include "doc/messages.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace testing_support;

TEST(CalculationChecks, ImpossibleLaminaInputsNameTheLaminaAndTheField)
{
    const struct {
        std::function<void(Lamina&)> set;
        const char* message; // empty: the lamina is good
    } cases[] = {
        {[](Lamina& l) { l.thickness = -0.125; }, "the thickness must be greater than 0 (it is -0.125)."},
        {[](Lamina& l) { l.thickness = std::nan(""); }, "the thickness must be greater than 0 (it is nan)."},
        {[](Lamina& l) { l.thickness = 0; }, "the thickness must be greater than 0 (it is 0)."},
        {[](Lamina& l) { l.fiber.density = 0; }, "the fibre's density must be greater than 0 (it is 0)."},
        {[](Lamina& l) { l.matrix.density = -1.2; }, "the matrix's density must be greater than 0 (it is -1.2)."},
        {[](Lamina& l) { l.FAW = 60; }, "FAW (the fibre fraction) must lie between 0 and 1 (it is 60)."},
        {[](Lamina& l) { l.FAW = -0.1; }, "FAW (the fibre fraction) must lie between 0 and 1 (it is -0.1)."},
        {[](Lamina& l) { l.fiber.poissons_ratio = 0.5; },
         "the fibre's Poisson's ratio must lie between -1 and 0.5 (it is 0.5)."},
        {[](Lamina& l) { l.matrix.poissons_ratio = -1; },
         "the matrix's Poisson's ratio must lie between -1 and 0.5 (it is -1)."},
        {[](Lamina& l) { l.xi = -2; }, "xi (the Halpin-Tsai factor) must be 0 or greater (it is -2)."},
        {[](Lamina& l) { l.FAW = 1, l.xi = 0, l.matrix.poissons_ratio = 0.499, l.fiber.poissons_ratio = -0.99; }, ""},
        {[](Lamina& l) { l.FAW = 0; }, ""},
    };
    for (const auto& c : cases) {
        CPlyforgeDoc doc;
        doc.laminate.compliance_scale_factor = 0.01;
        doc.lamina_count = 2;
        doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(2));
        doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
        c.set(*doc.laminate.laminae[0]);
        RecordingSink sink;
        const bool ready = CalculationChecks::TheoryReady(doc, sink);
        if (*c.message) {
            EXPECT_FALSE(ready) << c.message;
            EXPECT_EQ(sink.messages, std::vector<std::string>{std::string("Theoretical Lamina #2: ") + c.message});
        } else {
            EXPECT_TRUE(ready) << (sink.messages.empty() ? "" : sink.messages[0]);
        }
    }
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

// A project ready for either run, changed by each case: the run is refused with
// the one message of the first check that fails.
TEST(CalculationChecks, FirstFailingCheckRefusesWithItsMessage)
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
