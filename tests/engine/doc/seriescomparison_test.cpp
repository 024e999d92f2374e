// The laminate's prediction beside the series: a series made from the laminate's own
// modulus and first-ply failure stress agrees with it.
#include "doc/seriescomparison.h"
#include "theory/theoryrun.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

using namespace testing_support;

namespace {

Laminate ZeroDegreePly(bool strengths)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = 1;
    lamina->source = LaminaSource::PlyConstants;
    lamina->ply = {181, 10.3, 7.17, 0.28, 0.3};
    if (strengths)
        lamina->strength = PlyStrengths{1500, 1500, 40, 246, 68};
    lamina->thickness = 0.125;
    lamina->S_scale_factor = lamina->S_angle_scale_factor = 0.01;
    lamina->C_scale_factor = lamina->C_angle_scale_factor = 1;
    Laminate inputs;
    inputs.compliance_scale_factor = 0.01;
    inputs.laminae.push_back(std::move(lamina));
    TraceCapture trace;
    TheoryRun run = RunTheory(inputs, std::nullopt, trace);
    EXPECT_TRUE(run.Ok());
    return std::move(run.laminate);
}

// Specimens whose readings rise on sigma = E epsilon to the strength and stop there.
SpecimenList Series(double modulus_gpa, double strength, int count)
{
    SpecimenList specimens;
    for (int id = 1; id <= count; ++id) {
        auto s = std::make_unique<ExperimentSpecimen>();
        s->id = id;
        s->width = 25;
        s->thickness = 2;
        const double last = strength / (modulus_gpa * 10); // %
        for (double strain = 0; strain < last; strain += 0.05) {
            s->strain_series.push_back(strain);
            s->stress_series.push_back(modulus_gpa * 10 * strain);
        }
        s->strain_series.push_back(last);
        s->stress_series.push_back(strength);
        for (const double stress : s->stress_series)
            s->load_series.push_back(stress * 50);
        s->Store(s->Evaluated(0.1, 0.3, ModulusMethod::Chord));
        specimens.push_back(std::move(s));
    }
    return specimens;
}

} // namespace

TEST(SeriesComparison, SeriesOfTheLaminatesOwnFiguresAgrees)
{
    const Laminate ply = ZeroDegreePly(true);
    const SeriesComparison alone = CompareSeries(ply, FailureSettings{}, {}, SeriesComparison::Direction::X,
                                                 FailureCriterion::TsaiWu);
    // One 0-degree ply: Ex is E1, and Tsai-Wu fails it at Xt.
    EXPECT_NEAR(alone.predicted_modulus, 181, 181 * 1e-12);
    EXPECT_NEAR(alone.fpf, 1500, 1500 * 1e-9);
    EXPECT_NEAR(alone.lpf, 1500, 1500 * 1e-9);
    EXPECT_TRUE(std::isnan(alone.modulus_difference) && alone.modulus_n == 0);

    const SpecimenList series = Series(alone.predicted_modulus, alone.fpf, 6);
    const SeriesComparison c =
        CompareSeries(ply, FailureSettings{}, series, SeriesComparison::Direction::X, FailureCriterion::TsaiWu);
    EXPECT_EQ(c.modulus_n, 6);
    EXPECT_NEAR(c.modulus_difference, 0, 1e-9);
    EXPECT_NEAR(c.fpf_difference, 0, 1e-9);
    EXPECT_NEAR(c.lpf_difference, 0, 1e-9);
    EXPECT_NEAR(c.fpf_strain, 1500 / 181000.0 * 100, 1e-12);

    // Across the fibres: E2 and Yt; the JSON as the command line prints it.
    const SeriesComparison y =
        CompareSeries(ply, FailureSettings{}, series, SeriesComparison::Direction::Y, FailureCriterion::MaxStress);
    EXPECT_NEAR(y.predicted_modulus, 10.3, 1e-9);
    EXPECT_NEAR(y.fpf, 40, 1e-9);
    const nlohmann::json json = nlohmann::json::parse(y.Json());
    EXPECT_EQ(json["direction"], "y");
    EXPECT_EQ(json["criterion"], "max-stress");
    EXPECT_EQ(json["modulus"]["n"], 6);
    EXPECT_NEAR(json["strength"]["difference_fpf_percent"].get<double>(), 100 * (40 - 1500) / 1500.0, 1e-9);
    // Six equal values: no spread to fit, so no B-basis but the nonparametric one.
    EXPECT_TRUE(json["strength"].contains("measured_b_basis"));

    // Without strengths there is no failure stress to predict.
    const SeriesComparison stiff =
        CompareSeries(ZeroDegreePly(false), FailureSettings{}, series, SeriesComparison::Direction::X,
                      FailureCriterion::TsaiWu);
    EXPECT_TRUE(std::isnan(stiff.fpf) && std::isnan(stiff.fpf_difference) && !std::isnan(stiff.modulus_difference));
}
