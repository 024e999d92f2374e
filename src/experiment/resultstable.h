#pragma once

#include <array>
#include <string>

struct ExperimentSpecimen;
struct SeriesStatistics;
struct SeriesBasis;

// The experiment results list as every output shows it: the results view, its CSV
// export and the command-line calculator share the titles and the cells.
class ResultsTable {
public:
    static constexpr int kColumnCount = 7;
    static constexpr std::array<const char*, kColumnCount> kColumnTitles = {
        "Name", "Width(mm)", "Thickness(mm)", "Load Max(N)", "Strength(N/mm2)", "Strain(%)", "Modulus(GPa)"};

    // Numbers as the list shows them ("%g"), or exact: the shortest text that reads
    // back to the same double, for files other programs read on.
    enum class Digits { Shown, Exact };
    using Cells = std::array<std::string, kColumnCount>;

    // The modulus of a specimen whose readings give none over the elastic range: the
    // number the chord gave (as the list always showed it), or an empty cell.
    enum class Gap { ShowValue, Empty };

    // "Lamina #<id>", then the width, thickness and results of the last run.
    static Cells Row(const ExperimentSpecimen& specimen, Digits digits = Digits::Shown, Gap gap = Gap::ShowValue);
    // "Mean", "SD" and "CV (%)" under the four results; empty where not known.
    static std::array<Cells, 3> StatisticsRows(const SeriesStatistics& statistics, Digits digits);
    // "B-basis" and "A-basis" under the strength and the modulus, by the chosen method.
    static std::array<Cells, 2> BasisRows(const SeriesBasis& basis, Digits digits);
    static constexpr size_t kStrengthColumn = 4, kModulusColumn = 6;
};
