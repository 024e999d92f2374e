#include "experiment/resultstable.h"

#include "experiment/experimentspecimen.h"
#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <cmath>

namespace {

std::string Text(double value, ResultsTable::Digits digits)
{
    return digits == ResultsTable::Digits::Exact ? ShortestNumberText(value) : FormatText("%g", value);
}

} // namespace

ResultsTable::Cells ResultsTable::Row(const ExperimentSpecimen& s, Digits digits, Gap gap)
{
    auto g = [digits](double value) { return Text(value, digits); };
    return {s.DisplayName(), g(s.width), g(s.thickness), g(s.load_max), g(s.strength), g(s.strain),
            gap == Gap::Empty && !s.modulus_gap.empty() ? std::string() : g(s.modulus)};
}

std::array<ResultsTable::Cells, 3> ResultsTable::StatisticsRows(const SeriesStatistics& statistics, Digits digits)
{
    const SeriesStatistic* columns[] = {&statistics.load_max, &statistics.strength, &statistics.strain,
                                        &statistics.modulus};
    std::array<Cells, 3> rows{Cells{"Mean"}, Cells{"SD"}, Cells{"CV (%)"}};
    for (size_t c = 0; c < 4; ++c) {
        const std::optional<double> values[] = {columns[c]->mean, columns[c]->sd, columns[c]->cv};
        for (size_t r = 0; r < 3; ++r)
            rows[r][3 + c] = values[r] ? Text(*values[r], digits) : std::string();
    }
    return rows;
}

std::array<ResultsTable::Cells, 2> ResultsTable::BasisRows(const SeriesBasis& basis, Digits digits)
{
    std::array<Cells, 2> rows{Cells{"B-basis"}, Cells{"A-basis"}};
    const auto cell = [digits](double value) { return std::isnan(value) ? std::string() : Text(value, digits); };
    rows[0][kStrengthColumn] = cell(basis.strength.b_basis);
    rows[1][kStrengthColumn] = cell(basis.strength.a_basis);
    rows[0][kModulusColumn] = cell(basis.modulus.b_basis);
    rows[1][kModulusColumn] = cell(basis.modulus.a_basis);
    return rows;
}
