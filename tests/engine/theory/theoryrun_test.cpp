// A theory run takes the laminate's inputs and gives the computed laminate and its
// log blocks; the inputs change only when its results are stored.
#include "testsupport.h"
#include "theory/theoryrun.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(TheoryRun, GivesResultsWithoutTouchingItsInputsUntilStored)
{
    Laminate inputs;
    inputs.laminae.push_back(MakeCarbonEpoxyLamina(1, 0));
    inputs.laminae.push_back(MakeCarbonEpoxyLamina(2, 90));
    inputs.compliance_scale_factor = 0.01;
    const Lamina* first = inputs.laminae[0].get();

    TraceCapture trace;
    const TheoryRun run = RunTheory(inputs, std::nullopt, trace);
    ASSERT_TRUE(run.Ok());
    EXPECT_EQ(inputs.laminae[0]->E1, 0);
    EXPECT_EQ(inputs.Ex, 0);
    EXPECT_GT(run.laminate.laminae[0]->E1, 100);
    // The opening, one block per lamina, the laminate's, and the lamination theory's.
    ASSERT_EQ(run.log_blocks.size(), 5u);
    EXPECT_EQ(run.log_blocks[0], "\nStart Calculation\n\n");
    EXPECT_TRUE(StartsWith(run.log_blocks[4], "##Laminate (classical lamination theory)"));

    run.StoreIn(inputs);
    EXPECT_EQ(inputs.laminae[0].get(), first);
    EXPECT_EQ(inputs.laminae[0]->E1, run.laminate.laminae[0]->E1);
    EXPECT_EQ(inputs.Ex, run.laminate.Ex);
}

TEST(TheoryRun, RefusedRunNamesTheLaminaAndKeepsTheLogUpToThere)
{
    Laminate inputs;
    inputs.laminae.push_back(MakeCarbonEpoxyLamina(1));
    inputs.laminae.push_back(MakeCarbonEpoxyLamina(2));
    inputs.laminae.push_back(MakeCarbonEpoxyLamina(3));
    inputs.laminae[1]->matrix.youngs_modulus = 0;

    TraceCapture trace;
    const TheoryRun run = RunTheory(inputs, std::nullopt, trace);
    EXPECT_EQ(run.failure, TheoryFailure::YoungsModulus);
    EXPECT_EQ(run.failed_lamina_id, 2);
    ASSERT_EQ(run.log_blocks.size(), 3u); // the opening, lamina 1, lamina 2 as far as it came
    EXPECT_EQ(run.laminate.laminae[2]->E1, 0);

    inputs.laminae[1]->matrix.youngs_modulus = 3.5;
    inputs.laminae[0]->C_scale_factor = 0;
    EXPECT_EQ(RunTheory(inputs, std::nullopt, trace).failure, TheoryFailure::ScaleFactor);
}
