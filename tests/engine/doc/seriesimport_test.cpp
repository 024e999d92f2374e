// A series from a testing machine's files, one specimen per file.
#include "doc/seriesimport.h"
#include "experiment/importresult.h"
#include "testsupport.h"
#include "util/formattext.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace testing_support;

TEST(SeriesImport, OneSpecimenPerFileInNaturalOrderWithTheirSizes)
{
    TempDir dir;
    for (const int n : {10, 2, 1}) {
        WriteWholeFile(dir.Path() / ("A-" + std::to_string(n) + ".csv"),
                       "Specimen ID,\"A-" + std::to_string(n) + "\"\nWidth,\"" + std::to_string(n) +
                           ".5\",mm\n\nLoad,Strain,Stress\n" + std::to_string(n) + ",0.1,2\n");
    }
    WriteWholeFile(dir.Path() / "bare.csv", "1;2;3\n"); // three unnamed columns: Load, Strain, Stress
    const SpecimenList series = ReadSeries({(dir.Path() / "A-10.csv").string(), (dir.Path() / "bare.csv").string(),
                                            (dir.Path() / "A-2.csv").string(), (dir.Path() / "A-1.csv").string()});
    ASSERT_EQ(series.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        const int n = i == 0 ? 1 : i == 1 ? 2 : 10;
        EXPECT_EQ(series[i]->id, int(i) + 1);
        EXPECT_EQ(series[i]->load_series, (std::vector<double>{double(n)}));
        EXPECT_EQ(series[i]->width, n + 0.5);
        EXPECT_EQ(series[i]->thickness, 0); // not given
        EXPECT_EQ(series[i]->DisplayName(), "A-" + std::to_string(n));
    }
    EXPECT_EQ(series[3]->DisplayName(), "Lamina #4");
    EXPECT_EQ(series[3]->stress_series, (std::vector<double>{3}));

    WriteWholeFile(dir.Path() / "wide.csv", "1;2;3;4\n");
    const std::string wide = (dir.Path() / "wide.csv").string();
    ExpectContains(ErrorOf<ImportError>([&] { ReadSeries({wide}); }), {wide, "import this file alone"});
}

// Ten files as a testing machine exports a series (tests/data/readings/series, made
// by its make-series.py): each specimen's strength is the tensile strength the
// machine wrote above its readings.
TEST(SeriesImport, StrengthsEqualTheMachinesOwn)
{
    std::vector<std::string> paths;
    for (int n = 10; n >= 1; --n)
        paths.push_back(TestDataFile("readings/series/specimen-" + std::to_string(n) + ".csv"));
    const SpecimenList series = ReadSeries(paths);
    ASSERT_EQ(series.size(), 10u);
    for (size_t i = 0; i < series.size(); ++i) {
        ExperimentSpecimen& specimen = *series[i];
        EXPECT_EQ(specimen.name, FormatText("S-%02d", int(i) + 1));
        ASSERT_TRUE(specimen.Evaluate(0.1, 0.3));
        const std::string text = ReadWholeFile(paths[series.size() - 1 - i]);
        const size_t at = text.find("Tensile strength,\"") + 18;
        EXPECT_EQ(specimen.strength, std::stod(text.substr(at, text.find('"', at) - at))) << specimen.name;
    }
}

// What a project could not open is not imported: more files than its specimens, a
// file past the size limit, a Specimen ID longer than a name may be.
TEST(SeriesImport, RefusesWhatAProjectCouldNotHold)
{
    TempDir dir;
    // Files that do not exist: the count is refused before any is opened.
    std::vector<std::string> many(10001, (dir.Path() / "missing.csv").string());
    ExpectContains(ErrorOf<ImportError>([&] { ReadSeries(many); }),
                   {"10001 files: a series holds at most 10000 specimens"});
    many.resize(1);
    ExpectContains(ErrorOf<ImportError>([&] { ReadSeries(many); }), {"missing.csv: cannot open"});

    const std::string big = (dir.Path() / "big.csv").string();
    WriteWholeFile(big, "1,2,3\n");
    ASSERT_EQ(truncate(big.c_str(), 3LL << 30), 0); // sparse
    ExpectContains(ErrorOf<ImportError>([&] { ReadSeries({big}); }),
                   {big + ": the test machine export is 3 GiB (3221225472 bytes), larger than the limit of 1 GiB"});

    const std::string longest = (dir.Path() / "200.csv").string();
    const std::string longer = (dir.Path() / "201.csv").string();
    std::string id;
    for (int i = 0; i < 100; ++i)
        id += "시편";
    WriteWholeFile(longest, "Specimen ID,\"" + id + "\"\nLoad,Strain,Stress\n1,2,3\n");
    WriteWholeFile(longer, "Specimen ID,\"" + id + "1\"\nLoad,Strain,Stress\n1,2,3\n");
    EXPECT_EQ(ReadSeries({longest})[0]->name, id);
    ExpectContains(ErrorOf<ImportError>([&] { ReadSeries({longest, longer}); }),
                   {longer + ": the Specimen ID is 201 characters long (UTF-8 code points); a name has at most 200"});
}
