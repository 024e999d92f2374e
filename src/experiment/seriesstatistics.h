#pragma once

#include "experiment/experimentspecimen.h"

#include <optional>
#include <vector>

// The statistics a tensile standard asks of a test series: the mean, the sample
// standard deviation (n - 1) and the coefficient of variation, in percent. Below two
// values the deviation and the variation are empty, as they are not known, and so
// is the variation of a mean of 0.
struct SeriesStatistic {
    int n = 0;
    std::optional<double> mean;
    std::optional<double> sd;
    std::optional<double> cv;
};

SeriesStatistic StatisticOf(const std::vector<double>& values);

// Over the specimens that are included and were evaluated by the last run; the
// modulus only over those whose readings give one over the elastic range.
struct SeriesStatistics {
    SeriesStatistic load_max;
    SeriesStatistic strength;
    SeriesStatistic strain;
    SeriesStatistic modulus;
};

SeriesStatistics StatisticsOf(const SpecimenList& specimens);
// Over these results, all taken as included.
SeriesStatistics StatisticsOf(const std::vector<SpecimenResult>& included);
