// The statistics of a test series, against values computed by hand.
#include "experiment/seriesstatistics.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(SeriesStatistics, MeanSampleDeviationAndVariation)
{
    // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, squares 32, sd sqrt(32 / 7), cv sd / 5.
    const SeriesStatistic s = StatisticOf({2, 4, 4, 4, 5, 5, 7, 9});
    EXPECT_EQ(s.n, 8);
    EXPECT_DOUBLE_EQ(*s.mean, 5);
    EXPECT_DOUBLE_EQ(*s.sd, std::sqrt(32.0 / 7));
    EXPECT_DOUBLE_EQ(*s.cv, std::sqrt(32.0 / 7) / 5 * 100);
    // Readings far from zero keep their digits: 1e9 + 1, 1e9 + 2, 1e9 + 3 deviate by 1.
    EXPECT_DOUBLE_EQ(*StatisticOf({1e9 + 1, 1e9 + 2, 1e9 + 3}).sd, 1);
    // One value: a mean, and no deviation yet; none at all: nothing.
    const SeriesStatistic one = StatisticOf({42});
    EXPECT_TRUE(one.n == 1 && one.mean == 42 && !one.sd && !one.cv);
    const SeriesStatistic none = StatisticOf({});
    EXPECT_TRUE(none.n == 0 && !none.mean && !none.sd);
    EXPECT_FALSE(StatisticOf({-1, 1}).cv); // a mean of 0 has no variation
}

TEST(SeriesStatistics, OverTheIncludedEvaluatedSpecimens)
{
    SpecimenList specimens;
    for (const double top : {100.0, 200.0, 300.0, 900.0}) {
        specimens.push_back(std::make_unique<ExperimentSpecimen>(MakeSpecimen({0, 0.1, 0.3, 1}, {0, 10, 30, top})));
        specimens.back()->Evaluate(0.1, 0.3);
        specimens.back()->valid = 1;
    }
    specimens[3]->excluded = true;            // broke at the grips
    specimens[1]->modulus_gap = "no modulus"; // still counted for its strength
    const SeriesStatistics statistics = StatisticsOf(specimens);
    EXPECT_EQ(statistics.strength.n, 3);
    EXPECT_DOUBLE_EQ(*statistics.strength.mean, 200);
    EXPECT_DOUBLE_EQ(*statistics.strength.sd, 100);
    EXPECT_DOUBLE_EQ(*statistics.strength.cv, 50);
    EXPECT_EQ(statistics.modulus.n, 2);
    EXPECT_DOUBLE_EQ(*statistics.modulus.mean, 10);
    EXPECT_DOUBLE_EQ(*statistics.modulus.sd, 0);
}
