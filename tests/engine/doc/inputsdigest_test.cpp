#include "doc/inputsdigest.h"

#include "doc/plyforgedoc.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

// Each input the results come from changes its side's digest, and only its side's;
// what is shown only (the load case, a specimen left out) changes neither.
TEST(InputsDigest, FollowsWhatTheResultsComeFrom)
{
    CPlyforgeDoc doc;
    doc.InitProject();
    doc.laminate.laminae.push_back(MakeCarbonEpoxyLamina(1));
    doc.specimens.push_back(std::make_unique<ExperimentSpecimen>(MakeSpecimen({0, 0.1, 0.2}, {0, 10, 20})));
    const auto theory = TheoryInputsDigest(doc), experiment = ExperimentInputsDigest(doc);

    doc.load_case = LaminateLoad{{100, 0, 0}, {0, 0, 0}};
    doc.specimens[0]->excluded = true;
    doc.laminate.laminae[0]->E1 = 123; // a result, not an input
    EXPECT_EQ(TheoryInputsDigest(doc), theory);
    EXPECT_EQ(ExperimentInputsDigest(doc), experiment);

    doc.laminate.laminae[0]->angle = 30;
    EXPECT_NE(TheoryInputsDigest(doc), theory);
    EXPECT_EQ(ExperimentInputsDigest(doc), experiment);
    doc.laminate.laminae[0]->angle = MakeCarbonEpoxyLamina(1)->angle;
    EXPECT_EQ(TheoryInputsDigest(doc), theory); // edited back: the same inputs

    for (auto change : {+[](CPlyforgeDoc& d) { d.elastic_max = 0.25; },
                        +[](CPlyforgeDoc& d) { d.modulus_method = ModulusMethod::Regression; },
                        +[](CPlyforgeDoc& d) { d.specimens[0]->stress_series[2] = 21; },
                        +[](CPlyforgeDoc& d) { d.specimens[0]->name = "A-1"; }}) {
        CPlyforgeDoc copy;
        copy.InitProject();
        copy.specimens.push_back(std::make_unique<ExperimentSpecimen>(*doc.specimens[0]));
        copy.specimens[0]->excluded = false;
        ASSERT_EQ(ExperimentInputsDigest(copy), experiment);
        change(copy);
        EXPECT_NE(ExperimentInputsDigest(copy), experiment);
    }
}
