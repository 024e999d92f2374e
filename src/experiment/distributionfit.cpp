#include "experiment/distributionfit.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/tools/roots.hpp>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// AD = -n - sum (2i - 1) / n [ln F(x_i) + ln(1 - F(x_{n+1-i}))], from each value's
// ln F and ln(1 - F), kept apart so that neither loses its digits near 0 or 1.
template <class LogCdf, class LogSurvival>
double AndersonDarling(const std::vector<double>& sorted, LogCdf log_cdf, LogSurvival log_survival)
{
    const size_t n = sorted.size();
    double sum = 0;
    for (size_t i = 1; i <= n; ++i)
        sum += (2.0 * static_cast<double>(i) - 1) * (log_cdf(sorted[i - 1]) + log_survival(sorted[n - i]));
    return -static_cast<double>(n) - sum / static_cast<double>(n);
}

// 1 / (1 + exp(a + b ln AD* + c AD*)), 1 for a perfect fit.
double Osl(double ad_star, double a, double b, double c)
{
    if (!(ad_star > 0))
        return ad_star == 0 ? 1 : kNaN;
    return 1 / (1 + std::exp(a + b * std::log(ad_star) + c * ad_star));
}

} // namespace

DistributionFit NormalFit(const std::vector<double>& sorted, double mean, double sd)
{
    const double n = static_cast<double>(sorted.size());
    if (!(sd > 0) || !std::isfinite(mean))
        return {kNaN, kNaN};
    const boost::math::normal_distribution<double> standard;
    const double ad = AndersonDarling(
        sorted, [&](double x) { return std::log(boost::math::cdf(standard, (x - mean) / sd)); },
        [&](double x) { return std::log(boost::math::cdf(boost::math::complement(standard, (x - mean) / sd))); });
    return {ad, Osl((1 + 4 / n - 25 / (n * n)) * ad, -0.48, 0.78, 4.58)};
}

WeibullFit FitWeibull(const std::vector<double>& sorted)
{
    WeibullFit out{kNaN, kNaN, {kNaN, kNaN}};
    const size_t count = sorted.size();
    if (count < 2 || !(sorted.front() > 0) || sorted.front() == sorted.back() || !std::isfinite(sorted.back()))
        return out;
    const double n = static_cast<double>(count);
    // Over the greatest value, so that y^shape neither overflows nor underflows all at once.
    const double top = sorted.back();
    std::vector<double> log_y;
    double mean_log = 0;
    for (const double x : sorted) {
        log_y.push_back(std::log(x / top));
        mean_log += log_y.back() / n;
    }
    const auto sums = [&](double shape) {
        double power = 0, weighted = 0;
        for (const double l : log_y) {
            const double p = std::exp(shape * l);
            power += p;
            weighted += p * l;
        }
        return std::pair{power, weighted};
    };
    // The likelihood equation for the shape, increasing in it: sum y^b ln y / sum y^b - 1/b - mean ln y.
    const auto equation = [&](double shape) {
        const auto [power, weighted] = sums(shape);
        return weighted / power - 1 / shape - mean_log;
    };
    double lo = 1, hi = 1;
    while (equation(lo) > 0 && lo > 1e-6)
        lo /= 2;
    while (equation(hi) < 0 && hi < 1e7)
        hi *= 2;
    if (!(equation(lo) <= 0 && equation(hi) >= 0))
        return out;
    std::uintmax_t iterations = 200;
    const auto [a, b] = boost::math::tools::toms748_solve(equation, lo, hi, boost::math::tools::eps_tolerance<double>(),
                                                          iterations);
    out.shape = (a + b) / 2;
    out.scale = top * std::pow(sums(out.shape).first / n, 1 / out.shape);
    const double shape = out.shape, scale = out.scale;
    const auto u = [&](double x) { return std::pow(x / scale, shape); };
    out.fit.ad = AndersonDarling(
        sorted, [&](double x) { return std::log(-std::expm1(-u(x))); }, [&](double x) { return -u(x); });
    out.fit.osl = Osl((1 + 0.2 / std::sqrt(n)) * out.fit.ad, -0.10, 1.24, 4.48);
    return out;
}
