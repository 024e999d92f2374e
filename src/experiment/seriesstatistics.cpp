#include "experiment/seriesstatistics.h"

#include <cmath>

SeriesStatistic StatisticOf(const std::vector<double>& values)
{
    SeriesStatistic statistic;
    statistic.n = static_cast<int>(values.size());
    if (values.empty())
        return statistic;
    double sum = 0;
    for (const double value : values)
        sum += value;
    const double mean = sum / static_cast<double>(values.size());
    statistic.mean = mean;
    if (values.size() < 2)
        return statistic;
    // Two passes: the squares of the deviations, not of the values, keep their digits.
    double squares = 0;
    for (const double value : values)
        squares += (value - mean) * (value - mean);
    const double sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
    statistic.sd = sd;
    if (mean != 0)
        statistic.cv = sd / std::fabs(mean) * 100.0;
    return statistic;
}

namespace {

struct Columns {
    std::vector<double> load_max, strength, strain, modulus;

    template <class Result> void Add(const Result& result)
    {
        load_max.push_back(result.load_max);
        strength.push_back(result.strength);
        strain.push_back(result.strain);
        if (result.modulus_gap.empty())
            modulus.push_back(result.modulus);
    }
    SeriesStatistics Statistics() const
    {
        return {StatisticOf(load_max), StatisticOf(strength), StatisticOf(strain), StatisticOf(modulus)};
    }
};

} // namespace

SeriesStatistics StatisticsOf(const SpecimenList& specimens)
{
    Columns columns;
    for (const auto& specimen : specimens) {
        if (!specimen->excluded && specimen->valid)
            columns.Add(*specimen);
    }
    return columns.Statistics();
}

SeriesStatistics StatisticsOf(const std::vector<SpecimenResult>& included)
{
    Columns columns;
    for (const auto& result : included)
        columns.Add(result);
    return columns.Statistics();
}
