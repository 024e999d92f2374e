// A series from a testing machine's files, one specimen per file.
#include "doc/seriesimport.h"
#include "experiment/importresult.h"
#include "testsupport.h"

#include <gtest/gtest.h>

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
