#include "experiment/basisvalues.h"

#include "experiment/distributionfit.h"
#include "experiment/nonparametricbasis.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kContentB = 0.90, kContentA = 0.99, kOslFloor = 0.05;

struct Moments {
    double mean = kNaN, sd = kNaN;
};

Moments MomentsOf(const std::vector<double>& x)
{
    const double n = static_cast<double>(x.size());
    if (x.size() < 2)
        return {};
    const double mean = std::accumulate(x.begin(), x.end(), 0.0) / n;
    double squares = 0;
    for (const double v : x)
        squares += (v - mean) * (v - mean);
    return {mean, std::sqrt(squares / (n - 1))};
}

// x - k s at both contents, and the fit's OSL, of values or of their logarithms.
struct NormalBasis {
    double b = kNaN, a = kNaN, osl = kNaN;
};

NormalBasis NormalBasisOf(std::vector<double> sorted, bool logarithms)
{
    if (logarithms) {
        if (!(sorted.front() > 0))
            return {};
        for (double& v : sorted)
            v = std::log(v);
    }
    const int n = static_cast<int>(sorted.size());
    const Moments m = MomentsOf(sorted);
    NormalBasis out{m.mean - NormalToleranceFactor(n, kContentB) * m.sd,
                    m.mean - NormalToleranceFactor(n, kContentA) * m.sd, NormalFit(sorted, m.mean, m.sd).osl};
    if (logarithms) {
        out.b = std::exp(out.b);
        out.a = std::exp(out.a);
    }
    return out;
}

// q exp(-V / (shape sqrt n)) with q the fitted Weibull's content quantile.
double WeibullBasis(const WeibullFit& fit, int n, double content)
{
    const double ln_n = std::log(static_cast<double>(n));
    const double v = content < 0.95 ? 3.803 + std::exp(1.79 - 0.516 * ln_n + 5.1 / (n - 1))
                                    : 6.649 + std::exp(2.55 - 0.526 * ln_n + 4.76 / n);
    const double q = fit.scale * std::pow(-std::log(content), 1 / fit.shape);
    return q * std::exp(-v / (fit.shape * std::sqrt(static_cast<double>(n))));
}

std::string OslText(double osl) { return std::isnan(osl) ? "none" : FormatText("%.4g", osl); }

// The handbook's flow for one sample: the first of Weibull, normal and lognormal whose
// OSL exceeds 0.05, else no distribution.
void Choose(BasisValues& v)
{
    const struct {
        BasisMethod method;
        double osl;
        const char* name;
    } fits[] = {{BasisMethod::Weibull, v.osl_weibull, "Weibull"},
                {BasisMethod::Normal, v.osl_normal, "normal"},
                {BasisMethod::Lognormal, v.osl_lognormal, "lognormal"}};
    std::string rejected;
    for (const auto& fit : fits) {
        if (fit.osl > kOslFloor) {
            v.chosen = fit.method;
            v.note = FormatText("%s, as its OSL %s exceeds 0.05", fit.name, OslText(fit.osl).c_str());
            break;
        }
        rejected += FormatText("%s%s %s", rejected.empty() ? "" : ", ", fit.name, OslText(fit.osl).c_str());
    }
    if (!v.chosen) {
        v.chosen = BasisMethod::Nonparametric;
        v.note = "nonparametric, as no distribution fits (OSL " + rejected + ")";
    } else if (v.chosen != BasisMethod::Weibull) {
        v.note += " (OSL " + rejected + ")";
    }
    v.b_basis = v.b.Of(*v.chosen);
    v.a_basis = v.a.Of(*v.chosen);
}

} // namespace

const char* BasisMethodKey(BasisMethod method)
{
    switch (method) {
    case BasisMethod::Normal: return "normal";
    case BasisMethod::Lognormal: return "lognormal";
    case BasisMethod::Weibull: return "weibull";
    case BasisMethod::Nonparametric: break;
    }
    return "nonparametric";
}

double BasisByMethod::Of(BasisMethod method) const
{
    switch (method) {
    case BasisMethod::Normal: return normal;
    case BasisMethod::Lognormal: return lognormal;
    case BasisMethod::Weibull: return weibull;
    case BasisMethod::Nonparametric: break;
    }
    return nonparametric;
}

double NormalToleranceFactor(int n, double content, double confidence)
{
    if (n < 2)
        return kNaN;
    const double root_n = std::sqrt(static_cast<double>(n));
    const double z = boost::math::quantile(boost::math::normal_distribution<double>(), content);
    const boost::math::non_central_t_distribution<double> t(n - 1, z * root_n);
    return boost::math::quantile(t, confidence) / root_n;
}

double NormedResidualCritical(int count, double alpha)
{
    if (count < 3)
        return kNaN;
    const double n = count;
    const boost::math::students_t_distribution<double> t_dist(n - 2);
    const double t = boost::math::quantile(boost::math::complement(t_dist, alpha / (2 * n)));
    return (n - 1) / std::sqrt(n) * std::sqrt(t * t / (n - 2 + t * t));
}

std::vector<int> NormedResidualOutliers(const std::vector<double>& sample)
{
    std::vector<int> left(sample.size()), out;
    std::iota(left.begin(), left.end(), 0);
    while (left.size() >= 3) {
        std::vector<double> values;
        for (const int i : left)
            values.push_back(sample[static_cast<size_t>(i)]);
        const Moments m = MomentsOf(values);
        if (!(m.sd > 0))
            break;
        size_t worst = 0;
        for (size_t k = 1; k < values.size(); ++k) {
            if (std::abs(values[k] - m.mean) > std::abs(values[worst] - m.mean))
                worst = k;
        }
        if (!(std::abs(values[worst] - m.mean) / m.sd > NormedResidualCritical(static_cast<int>(values.size()))))
            break;
        out.push_back(left[worst]);
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(worst));
    }
    std::sort(out.begin(), out.end());
    return out;
}

BasisValues ComputeBasisValues(const std::vector<double>& sample)
{
    BasisValues v{0, {}, kNaN, kNaN, kNaN, kNaN, kNaN, {kNaN, kNaN, kNaN, kNaN}, {kNaN, kNaN, kNaN, kNaN},
                  std::nullopt, kNaN, kNaN, ""};
    v.n = static_cast<int>(sample.size());
    if (!std::all_of(sample.begin(), sample.end(), [](double x) { return std::isfinite(x); })) {
        v.note = "none, as a value is not a number";
        return v;
    }
    v.outliers = NormedResidualOutliers(sample);
    if (v.n < BasisValues::kFewest) {
        v.note = FormatText("none, as there are fewer than %d values", BasisValues::kFewest);
        return v;
    }
    std::vector<double> sorted = sample;
    std::sort(sorted.begin(), sorted.end());

    const NormalBasis normal = NormalBasisOf(sorted, false), lognormal = NormalBasisOf(sorted, true);
    v.osl_normal = normal.osl;
    v.osl_lognormal = lognormal.osl;
    v.b.normal = normal.b;
    v.a.normal = normal.a;
    v.b.lognormal = lognormal.b;
    v.a.lognormal = lognormal.a;
    const WeibullFit weibull = FitWeibull(sorted);
    v.osl_weibull = weibull.fit.osl;
    v.weibull_shape = weibull.shape;
    v.weibull_scale = weibull.scale;
    if (!std::isnan(weibull.shape)) {
        v.b.weibull = WeibullBasis(weibull, v.n, kContentB);
        v.a.weibull = WeibullBasis(weibull, v.n, kContentA);
    }
    v.b.nonparametric = NonparametricBasis(sorted, kContentB);
    v.a.nonparametric = NonparametricBasis(sorted, kContentA);
    Choose(v);
    if (v.n < BasisValues::kFewestForB)
        v.note += FormatText("; the handbook asks for at least %d values for B-basis", BasisValues::kFewestForB);
    return v;
}
