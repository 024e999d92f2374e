// The experiment log: one section per evaluated specimen, then the statistics.
#include "experiment/experimentdriver.h"
#include "testsupport.h"

#include <gtest/gtest.h>


using namespace testing_support;

TEST(ExperimentDriver, RunGivesResultsAndOneSectionPerEvaluatedSpecimen)
{
    SpecimenList specimens;
    specimens.push_back(std::make_unique<ExperimentSpecimen>(
        MakeSpecimen({0, 0.1, 1.2, 1.5}, {0, 40, 100, 90}, {0, 1000, 5000, 4000})));
    specimens.back()->id = 2;
    specimens.back()->width = 25;
    specimens.back()->thickness = 2;
    specimens.push_back(std::make_unique<ExperimentSpecimen>(MakeSpecimen({}, {})));
    specimens.back()->id = 1;
    specimens.back()->valid = 1;

    ExperimentRun run = RunExperiment(specimens, 0.1, 0.3);
    // 0.3 lies nearest to the reading 0.1 again, so the chord is 0 wide. One specimen
    // was evaluated: no deviation yet.
    const std::string text = run.LogText();
    const std::string before_basis =
        "\nStart Calculation\n\n##Result for Experimental Calculation\nElastic Range Min=0.1\nElastic Range Max=0.3\n\n"
        "##id:2\nWidth=25\nThickness=2\nLoad Max.=5000\nStrength:100\nStrain:1.2\nModulus=0\n\n"
        "##Statistics\nIncluded specimens=1\nLoad Max.: Mean=5000 SD= CV(%)=\n"
        "Strength: Mean=100 SD= CV(%)=\nStrain: Mean=1.2 SD= CV(%)=\nModulus: Mean=0 SD= CV(%)=\n\n";
    EXPECT_EQ(text.substr(0, before_basis.size()), before_basis);
    // The basis values come last, one block per property.
    EXPECT_EQ(text.substr(before_basis.size()).rfind("##Basis values\nStrength\nn=1\nOutliers: none\n", 0), 0u);
    EXPECT_NE(text.find("\nModulus\nn=1\n"), std::string::npos);
    ASSERT_EQ(run.results.size(), 2u);
    EXPECT_FALSE(run.results[1]);
    // The run leaves its inputs as they were until the results are stored.
    EXPECT_EQ(specimens[0]->load_max, 0);
    run.StoreIn(specimens);
    EXPECT_EQ(specimens[0]->load_max, 5000);
    EXPECT_EQ(specimens[1]->valid, 0);

    // A modulus by regression, and a range the readings never reach, say so.
    const std::string log = RunExperiment(specimens, 0.1, 2, ModulusMethod::Regression).LogText();
    EXPECT_NE(log.find("Elastic Range Max=2\nModulus method=Regression\n\n"), std::string::npos);
    EXPECT_NE(log.find("No modulus over the elastic range: the readings never reach Elastic Max.\n\n"),
              std::string::npos);
    EXPECT_NE(log.find("Modulus: Mean= SD= CV(%)=\n"), std::string::npos);
}
