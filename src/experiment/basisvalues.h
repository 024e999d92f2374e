#pragma once

#include <optional>
#include <string>
#include <vector>

// How a basis value was found.
enum class BasisMethod { Weibull, Normal, Lognormal, Nonparametric };
inline constexpr BasisMethod kBasisMethods[] = {BasisMethod::Normal, BasisMethod::Lognormal, BasisMethod::Weibull,
                                                BasisMethod::Nonparametric};

// "normal", "lognormal", "weibull", "nonparametric".
const char* BasisMethodKey(BasisMethod method);

// A basis value by each method; NaN where it cannot be given.
struct BasisByMethod {
    double normal, lognormal, weibull, nonparametric;
    double Of(BasisMethod method) const;
};

// The B-basis and A-basis of one sample as the composite materials handbook
// (CMH-17-1G, volume 1, chapter 8) computes them for a single batch: the values that
// 90 % and 99 % of the material exceed, with 95 % confidence. Every number that cannot
// be given is NaN, and note says why.
struct BasisValues {
    static constexpr int kFewest = 5;       // below: no basis values, fits or OSLs
    static constexpr int kFewestForB = 18;  // the handbook's least sample for B-basis

    int n = 0;
    std::vector<int> outliers; // positions in the sample, by the maximum normed residual
    double osl_normal, osl_lognormal, osl_weibull;
    double weibull_shape, weibull_scale;
    BasisByMethod b, a;
    std::optional<BasisMethod> chosen;
    double b_basis, a_basis;
    std::string note; // the choice and why, or why there is none

    // The "##Basis values" block of the log for a property, "Strength" or "Modulus";
    // ids name the sample's values in the outlier line.
    std::string Text(const char* property, const std::vector<int>& ids) const;
    // {"n", "outliers": [ids], "osl": {...}, "weibull": {"shape", "scale"}, "b": {...},
    // "a": {...}, "chosen", "b_basis", "a_basis"}, null where a value cannot be given.
    std::string Json(const std::vector<int>& ids) const;
};

BasisValues ComputeBasisValues(const std::vector<double>& sample);

// Positions of the outliers by the maximum normed residual test at alpha = 0.05,
// taking each out and testing the rest again while 3 or more values remain.
std::vector<int> NormedResidualOutliers(const std::vector<double>& sample);
// The critical maximum normed residual of n values at the significance alpha.
double NormedResidualCritical(int n, double alpha = 0.05);

// The one-sided tolerance factor k of x - k s for normal data: the content p quantile
// exceeded with 95 % confidence; p = 0.90 gives k_B, 0.99 gives k_A.
double NormalToleranceFactor(int n, double content, double confidence = 0.95);
