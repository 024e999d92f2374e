#include "doc/seriescomparison.h"

#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "theory/laminate.h"
#include "theory/laminateanalysis.h"
#include "theory/strengthanalysis.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Difference(double predicted, double measured)
{
    return std::isfinite(predicted) && std::isfinite(measured) && measured != 0
               ? 100 * (predicted - measured) / measured
               : kNaN;
}

std::string Shown(double value) { return std::isfinite(value) ? FormatText("%g", value) : "none"; }

} // namespace

const char* DirectionKey(SeriesComparison::Direction direction)
{
    return direction == SeriesComparison::Direction::X ? "x" : "y";
}

SeriesComparison CompareSeries(const Laminate& laminate, const FailureSettings& settings,
                               const SpecimenList& specimens, SeriesComparison::Direction direction,
                               FailureCriterion criterion)
{
    SeriesComparison out{direction, criterion, kNaN, kNaN, kNaN, 0, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN};
    const bool x = direction == SeriesComparison::Direction::X;
    LaminateAnalysis analysis;
    double modulus_mpa = kNaN, thickness = kNaN;
    if (analysis.Run(laminate, std::nullopt)) {
        modulus_mpa = x ? analysis.result.membrane.Ex : analysis.result.membrane.Ey;
        thickness = analysis.result.thickness;
        out.predicted_modulus = modulus_mpa / 1000;
    }
    // A unit resultant along the test direction: the failure load factor per mm of thickness.
    StrengthAnalysis strength;
    const LaminateLoad unit{{x ? 1.0 : 0.0, x ? 0.0 : 1.0, 0}, {0, 0, 0}};
    if (laminate.AnyAssessed() && strength.Run(laminate, unit, settings, {criterion}) && thickness > 0) {
        const CriterionStrength& result = strength.results.front();
        out.fpf = result.first_ply.ratio.R / thickness;
        if (result.last_ply)
            out.lpf = result.last_ply->lambda / thickness;
        for (double* stress : {&out.fpf, &out.lpf}) {
            if (!std::isfinite(*stress))
                *stress = kNaN;
        }
        out.fpf_strain = out.fpf / modulus_mpa * 100;
    }
    const SeriesStatistics statistics = StatisticsOf(specimens);
    out.measured_modulus_mean = statistics.modulus.mean.value_or(kNaN);
    out.measured_modulus_sd = statistics.modulus.sd.value_or(kNaN);
    out.modulus_n = statistics.modulus.n;
    out.measured_strength_mean = statistics.strength.mean.value_or(kNaN);
    out.measured_b_basis = SeriesBasisOf(specimens).strength.b_basis;
    out.modulus_difference = Difference(out.predicted_modulus, out.measured_modulus_mean);
    out.fpf_difference = Difference(out.fpf, out.measured_strength_mean);
    out.lpf_difference = Difference(out.lpf, out.measured_strength_mean);
    return out;
}

std::string SeriesComparison::Json() const
{
    return FormatText("{\"direction\": \"%s\", \"criterion\": \"%s\", ", DirectionKey(direction),
                      FailureCriterionKey(criterion)) +
           "\"modulus\": {\"predicted\": " + JsonNumberText(predicted_modulus) +
           ", \"measured_mean\": " + JsonNumberText(measured_modulus_mean) +
           ", \"measured_sd\": " + JsonNumberText(measured_modulus_sd) + ", \"n\": " + std::to_string(modulus_n) +
           ", \"difference_percent\": " + JsonNumberText(modulus_difference) +
           "}, \"strength\": {\"fpf\": " + JsonNumberText(fpf) + ", \"lpf\": " + JsonNumberText(lpf) +
           ", \"measured_mean\": " + JsonNumberText(measured_strength_mean) +
           ", \"measured_b_basis\": " + JsonNumberText(measured_b_basis) +
           ", \"difference_fpf_percent\": " + JsonNumberText(fpf_difference) +
           ", \"difference_lpf_percent\": " + JsonNumberText(lpf_difference) + "}}\n";
}

std::string SeriesComparison::Text() const
{
    return FormatText("Predicted (laminate) vs measured (series), direction %s, %s\n", DirectionKey(direction),
                      FailureCriterionTitle(criterion)) +
           FormatText("Modulus (GPa): predicted=%s measured mean=%s SD=%s n=%d difference(%%)=%s\n",
                      Shown(predicted_modulus).c_str(), Shown(measured_modulus_mean).c_str(),
                      Shown(measured_modulus_sd).c_str(), modulus_n, Shown(modulus_difference).c_str()) +
           FormatText("Strength (MPa): first-ply=%s last-ply=%s measured mean=%s B-basis=%s "
                      "difference first-ply(%%)=%s last-ply(%%)=%s\n",
                      Shown(fpf).c_str(), Shown(lpf).c_str(), Shown(measured_strength_mean).c_str(),
                      Shown(measured_b_basis).c_str(), Shown(fpf_difference).c_str(), Shown(lpf_difference).c_str());
}
