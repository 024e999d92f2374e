// Basis values of a large test series: every fit, the Weibull maximum likelihood
// included, and the outlier test.
#include "experiment/basisvalues.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

void BM_BasisValues10kSpecimens(benchmark::State& state)
{
    std::mt19937 random(10000);
    std::weibull_distribution<double> strengths(25, 500);
    std::vector<double> sample(static_cast<size_t>(state.range(0)));
    for (double& value : sample)
        value = strengths(random);
    for (auto _ : state) {
        const BasisValues values = ComputeBasisValues(sample);
        benchmark::DoNotOptimize(values.b_basis);
        if (std::isnan(values.weibull_shape)) {
            state.SkipWithError("no Weibull fit");
            break;
        }
    }
    state.SetLabel("target < 50 ms at 10,000");
}
BENCHMARK(BM_BasisValues10kSpecimens)->Arg(10000)->Arg(18)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

BENCHMARK_MAIN();
