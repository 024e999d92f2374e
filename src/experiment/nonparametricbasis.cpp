#include "experiment/nonparametricbasis.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/tools/roots.hpp>

#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The handbook's Table 8.5.14 ranks for n = 2 to 28. They come from its own
// optimisation of the order statistic, which no simple rule reproduces for every n.
constexpr std::array<int, 27> kHansonKoopmansRanks = {2, 3, 4, 4, 5,  5,  6,  6,  6,  7,  7,  7,  8, 8,
                                                      8, 8, 9, 9, 10, 10, 10, 11, 11, 11, 11, 11, 12};

// The confidence of the bound with factor z in the least favourable distribution, where
// -ln F is linear in ln x: there ln x = x0 - E with E standard exponential, and the
// bound lies under the quantile when E(a) + z M >= c, a = n + 1 - r, M the greatest of
// r - 1 exponentials beyond E(a), c = -ln(1 - p).
double Confidence(int n, int r, double content, double z)
{
    const int a = n + 1 - r, m = r - 1;
    const double c = -std::log1p(-content);
    // E(a) >= c: fewer than a of the n exponentials fall under c.
    const boost::math::binomial_distribution<double> below(n, -std::expm1(-c));
    const double beyond = boost::math::cdf(below, a - 1);
    // Over E(a) = e < c, with its density n! / ((a-1)! (n-a)!) (1 - exp(-e))^(a-1) exp(-e (n-a+1)).
    const double log_coefficient =
        std::lgamma(n + 1.0) - std::lgamma(static_cast<double>(a)) - std::lgamma(n - a + 1.0);
    const auto integrand = [&](double e) {
        const double below = a > 1 ? (a - 1) * std::log(-std::expm1(-e)) : 0;
        const double density = std::exp(log_coefficient + below - e * (n - a + 1));
        return density * -std::expm1(m * std::log1p(-std::exp(-(c - e) / z)));
    };
    return beyond + boost::math::quadrature::gauss_kronrod<double, 61>::integrate(integrand, 0, c, 15, 1e-14);
}

} // namespace

int NonparametricRank(int n, double content, double confidence)
{
    if (n < 1)
        return 0;
    // r - 1 is the greatest m with P(Binomial <= m) <= 1 - confidence.
    const boost::math::binomial_distribution<double> under(n, 1 - content);
    if (boost::math::cdf(under, 0) > 1 - confidence)
        return 0;
    int lo = 0, hi = n; // cdf(lo) within, cdf(hi) = 1 beyond
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (boost::math::cdf(under, mid) <= 1 - confidence)
            lo = mid;
        else
            hi = mid;
    }
    return lo + 1;
}

double HansonKoopmansFactor(int n, int r, double content, double confidence)
{
    if (n < 2 || r < 2 || r > n)
        return kNaN;
    const auto shortfall = [&](double z) { return Confidence(n, r, content, z) - confidence; };
    double lo = 1e-3, hi = 2;
    while (shortfall(hi) < 0 && hi < 1e9)
        hi *= 2;
    if (shortfall(lo) > 0 || shortfall(hi) < 0)
        return kNaN;
    std::uintmax_t iterations = 200;
    const auto [a, b] =
        boost::math::tools::toms748_solve(shortfall, lo, hi, boost::math::tools::eps_tolerance<double>(40), iterations);
    return (a + b) / 2;
}

int HansonKoopmansRank(int n) { return n >= 2 && n <= 28 ? kHansonKoopmansRanks[static_cast<size_t>(n - 2)] : 0; }

double NonparametricBasis(const std::vector<double>& sorted, double content)
{
    const int n = static_cast<int>(sorted.size());
    if (n < 2)
        return kNaN;
    const int rank = NonparametricRank(n, content);
    if (rank > 0)
        return sorted[static_cast<size_t>(rank - 1)];
    // Too few values for a rank: the B-basis from the handbook's rank, the A-basis from the greatest value.
    const int r = content < 0.95 ? HansonKoopmansRank(n) : n;
    if (r == 0 || !(sorted.front() > 0))
        return kNaN;
    const double top = sorted[static_cast<size_t>(r - 1)];
    return top * std::pow(sorted.front() / top, HansonKoopmansFactor(n, r, content));
}
