// The experiment log: one section per evaluated specimen.
#include "experiment/experimentdriver.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

TEST(ExperimentDriver, WritesOneSectionPerEvaluatedSpecimen)
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

    std::ostringstream log;
    EvaluateAllSpecimens(specimens, 0.1, 0.3, log);
    // 0.3 lies nearest to the reading 0.1 again, so the chord is 0 wide.
    EXPECT_EQ(log.str(), "##Result for Experimental Calculation\nElastic Range Min=0.1\nElastic Range Max=0.3\n\n"
                         "##id:2\nWidth=25\nThickness=2\nLoad Max.=5000\nStrength:100\nStrain:1.2\nModulus=0\n\n");
    EXPECT_EQ(specimens[1]->valid, 0);

    log.str("");
    EvaluateAllSpecimens({}, 0.00001, 1e6, log);
    EXPECT_EQ(log.str(), "##Result for Experimental Calculation\nElastic Range Min=1e-05\nElastic Range Max=1e+06\n\n");
}
