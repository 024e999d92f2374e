// Specimen evaluation (greatest load, strength, strain result, chord modulus) and
// the experiment log.
#include "doc/plyforgedoc.h"
#include "experiment/experimentdriver.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

namespace {

ExperimentSpecimen Specimen(std::vector<double> strain, std::vector<double> stress,
                            std::vector<double> load = {})
{
    ExperimentSpecimen s;
    s.id = 1;
    if (load.empty())
        load.assign(strain.size(), 1);
    s.load_series = std::move(load);
    s.strain_series = std::move(strain);
    s.stress_series = std::move(stress);
    return s;
}

} // namespace

TEST(Evaluate, ChordModulusUsesTheChosenReadings)
{
    ExperimentSpecimen s = Specimen({0, 0.1, 0.2, 0.3}, {0, 40, 80, 120});
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

TEST(Evaluate, MaximaAndStrainResult)
{
    ExperimentSpecimen s = Specimen({0.1, 0.5, 0.5, 0.3}, {10, 30, 25, 20}, {-5, -2, -2, -7});
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
        ExperimentSpecimen t = Specimen(c.strain, std::vector<double>(c.strain.size(), 1));
        ASSERT_TRUE(t.Evaluate(0.1, 0.3));
        EXPECT_EQ(t.strain, c.expected);
    }
}

TEST(Evaluate, NearestReadingTiesGoToTheFirst)
{
    EXPECT_EQ(NearestIndex({0.1, 0.3, 0.1}, 0.1), 0);
    EXPECT_EQ(NearestIndex({0.0, 0.2}, 0.1), 0);
    EXPECT_EQ(NearestIndex({5, 4, 3, 2, 4}, 3.9), 1);
    const ChordReadings chord = FindChordReadings({0, 0.1, 0.2, 0.3, 0.2, 0.1}, 0.1, 0.3);
    EXPECT_EQ(chord.low, 1);
    EXPECT_EQ(chord.high, 3);
}

TEST(Evaluate, UnusableSeriesLeaveTheResults)
{
    ExperimentSpecimen empty = Specimen({}, {});
    empty.modulus = 7;
    EXPECT_FALSE(empty.Evaluate(0.1, 0.3));
    EXPECT_EQ(empty.modulus, 7);

    ExperimentSpecimen uneven = Specimen({0, 0.1}, {0, 1, 2});
    uneven.strength = 9;
    EXPECT_FALSE(uneven.Evaluate(0.1, 0.3));
    EXPECT_EQ(uneven.strength, 9);
}

TEST(ExperimentLog, WritesOneSectionPerEvaluatedSpecimen)
{
    SpecimenList specimens;
    specimens.push_back(std::make_unique<ExperimentSpecimen>(
        Specimen({0, 0.1, 1.2, 1.5}, {0, 40, 100, 90}, {0, 1000, 5000, 4000})));
    specimens.back()->id = 2;
    specimens.back()->width = 25;
    specimens.back()->thickness = 2;
    specimens.push_back(std::make_unique<ExperimentSpecimen>(Specimen({}, {})));
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

TEST(ExperimentLog, DriverWritesTheFileInSequenceOrder)
{
    TempDir folder;
    CPlyforgeDoc doc;
    doc.program_folder = folder.Str();
    doc.elastic_min = 0.1;
    doc.elastic_max = 0.3;
    for (const int id : {3, 1}) {
        ExperimentSpecimen& s = doc.FindOrCreateSpecimen(id);
        s.load_series = {0, 1000, 2000, 3000};
        s.strain_series = {0, 0.1, 0.2, 0.3};
        s.stress_series = {0, 40, 80, 120};
    }
    EXPECT_TRUE(doc.CalculateExperiment());
    EXPECT_TRUE(doc.log_written);
    EXPECT_EQ(doc.log_path, folder.Str() + "/ExperimentalLog.txt");
    const std::string log = ReadWholeFile(folder.Path() / kExperimentalLogName);
    EXPECT_EQ(log.rfind("\nStart Calculation\n\n##Result for Experimental Calculation\n", 0), 0u);
    EXPECT_LT(log.find("##id:3"), log.find("##id:1"));
    EXPECT_NE(log.find("Strain:0.2\nModulus=40\n"), std::string::npos);

    // A record saved from a freshly initialised form: one reading of 0 each.
    ExperimentSpecimen& fresh = doc.FindOrCreateSpecimen(4);
    fresh.load_series = fresh.strain_series = fresh.stress_series = {0};
    EXPECT_TRUE(doc.CalculateExperiment());
    EXPECT_NE(ReadWholeFile(folder.Path() / kExperimentalLogName)
                  .find("##id:4\nWidth=0\nThickness=0\nLoad Max.=0\nStrength:0\nStrain:0\nModulus=0\n\n"),
              std::string::npos);
}
