#pragma once

#include <vector>

// How well a sample follows a distribution by the Anderson-Darling test, as the
// composite materials handbook (CMH-17-1G, section 8.3.4) gives it: the statistic,
// its small-sample correction and the observed significance level (OSL), the chance
// of an AD as large if the sample did follow it. An OSL at most 0.05 rejects it.
struct DistributionFit {
    double ad = 0;       // Anderson-Darling statistic
    double osl = 0;      // NaN where the sample cannot be fitted
};

// The sample sorted ascending, mean and sample SD (n - 1) its own.
DistributionFit NormalFit(const std::vector<double>& sorted, double mean, double sd);

// The two-parameter Weibull distribution F = 1 - exp(-(x / scale)^shape), fitted by
// maximum likelihood; NaN for a sample that is not all positive or has no spread.
struct WeibullFit {
    double shape = 0, scale = 0;
    DistributionFit fit;
};

WeibullFit FitWeibull(const std::vector<double>& sorted);
