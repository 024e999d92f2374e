// A specimen's evaluation: greatest load, strength, strain result and chord modulus.
#include "experiment/experimentspecimen.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

TEST(ExperimentSpecimen, ChordModulusUsesTheChosenReadings)
{
    ExperimentSpecimen s = MakeSpecimen({0, 0.1, 0.2, 0.3}, {0, 40, 80, 120});
    ASSERT_TRUE(s.Evaluate(0.1, 0.3));
    EXPECT_DOUBLE_EQ(s.modulus, 40);
    // The nearest readings are still 0.1 and 0.3: the modulus does not depend on
    // the width of the range that was typed.
    ASSERT_TRUE(s.Evaluate(0.12, 0.28));
    EXPECT_DOUBLE_EQ(s.modulus, 40);
    // A range above every reading picks the greatest strain twice: modulus 0.
    ASSERT_TRUE(s.Evaluate(5, 6));
    EXPECT_EQ(s.modulus, 0);
}

TEST(ExperimentSpecimen, MaximaAndStrainResult)
{
    ExperimentSpecimen s = MakeSpecimen({0.1, 0.5, 0.5, 0.3}, {10, 30, 25, 20}, {-5, -2, -2, -7});
    ASSERT_TRUE(s.Evaluate(0.1, 0.3));
    EXPECT_EQ(s.load_max, -2);
    EXPECT_EQ(s.strength, 30);
    EXPECT_EQ(s.strain, 0.3); // the greatest reading and its repeat are skipped

    struct Case {
        std::vector<double> strain;
        double expected;
    };
    for (const Case& c : {Case{{0.2, 0.2, 0.2}, 0}, Case{{0.7}, 0}, Case{{0.9, 0.1, 0.9, 0.5}, 0.5},
                          Case{{0.5, 0.9, 0.9, 0.8}, 0.8}, Case{{-1, -3, -2}, -2}, Case{{3, 1, 2}, 2}}) {
        ExperimentSpecimen t = MakeSpecimen(c.strain, std::vector<double>(c.strain.size(), 1));
        ASSERT_TRUE(t.Evaluate(0.1, 0.3));
        EXPECT_EQ(t.strain, c.expected);
    }
}

TEST(ExperimentSpecimen, NearestReadingTiesGoToTheFirst)
{
    EXPECT_EQ(NearestIndex({0.1, 0.3, 0.1}, 0.1), 0);
    EXPECT_EQ(NearestIndex({0.0, 0.2}, 0.1), 0);
    EXPECT_EQ(NearestIndex({5, 4, 3, 2, 4}, 3.9), 1);
    const ChordReadings chord = FindChordReadings({0, 0.1, 0.2, 0.3, 0.2, 0.1}, 0.1, 0.3);
    EXPECT_EQ(chord.low, 1);
    EXPECT_EQ(chord.high, 3);
}

TEST(ExperimentSpecimen, UnusableSeriesLeaveTheResults)
{
    ExperimentSpecimen empty = MakeSpecimen({}, {});
    empty.modulus = 7;
    EXPECT_FALSE(empty.Evaluate(0.1, 0.3));
    EXPECT_EQ(empty.modulus, 7);

    ExperimentSpecimen uneven = MakeSpecimen({0, 0.1}, {0, 1, 2});
    uneven.strength = 9;
    EXPECT_FALSE(uneven.Evaluate(0.1, 0.3));
    EXPECT_EQ(uneven.strength, 9);
}

// The least-squares slope over every reading inside the range, in the chord's
// units; a range with fewer than two readings, or one the readings never reach,
// gives no modulus.
TEST(ExperimentSpecimen, RegressionModulusAndRangesWithoutOne)
{
    std::vector<double> strain, stress;
    for (int i = 0; i <= 40; ++i) {
        strain.push_back(0.01 * i);
        stress.push_back(45.0 * 10 * strain.back() + 3 + (i % 2 ? 0.5 : -0.5)); // 45 GPa, noise +-0.5
    }
    ExperimentSpecimen s = MakeSpecimen(strain, stress);
    ASSERT_TRUE(s.Evaluate(0.1, 0.3, ModulusMethod::Regression));
    EXPECT_NEAR(s.modulus, 45, 0.02);
    EXPECT_TRUE(s.modulus_gap.empty());
    ASSERT_TRUE(s.Evaluate(0.105, 0.109, ModulusMethod::Regression));
    EXPECT_EQ(s.modulus_gap, "fewer than two readings lie in the elastic range");
    for (const ModulusMethod method : {ModulusMethod::Chord, ModulusMethod::Regression}) {
        ASSERT_TRUE(s.Evaluate(0.1, 0.5, method));
        EXPECT_EQ(s.modulus_gap, "the readings never reach Elastic Max.");
    }
}

