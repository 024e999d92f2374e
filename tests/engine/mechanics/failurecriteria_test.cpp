// The six failure criteria: R = 1 at each uniaxial strength, the textbook ply by the
// whole theory run, and the laminate's first- and last-ply failure.
#include "mechanics/failurecriteria.h"
#include "theory/strengthanalysis.h"
#include "theory/theoryrun.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace testing_support;

namespace {

const PlyStrengths kKawStrengths{1500, 1500, 40, 246, 68};
const PlyModuli kKawModuli{181000, 10300, 7170};

// A ply given by its constants, as the project file gives one.
std::unique_ptr<Lamina> PlyLamina(int id, double angle, double thickness = 1)
{
    auto lamina = std::make_unique<Lamina>();
    lamina->id = id;
    lamina->source = LaminaSource::PlyConstants;
    lamina->ply = {181, 10.3, 7.17, 0.28, 0.3};
    lamina->strength = kKawStrengths;
    lamina->thickness = thickness;
    lamina->angle = angle;
    lamina->S_scale_factor = lamina->S_angle_scale_factor = 0.01;
    lamina->C_scale_factor = lamina->C_angle_scale_factor = 1;
    return lamina;
}

Laminate Computed(Laminate inputs)
{
    inputs.compliance_scale_factor = 0.01;
    TraceCapture trace;
    TheoryRun run = RunTheory(inputs, std::nullopt, trace);
    EXPECT_TRUE(run.Ok());
    return std::move(run.laminate);
}

} // namespace

TEST(FailureCriteria, EveryCriterionReachesOneAtEachUniaxialStrength)
{
    const PlyFailure failure(kKawStrengths, kKawModuli, FailureSettings{});
    const struct {
        double s1, s2, t12;
        FailureMode mode;
    } cases[] = {{1500, 0, 0, FailureMode::FibreTension},   {-1500, 0, 0, FailureMode::FibreCompression},
                 {0, 40, 0, FailureMode::MatrixTension},    {0, -246, 0, FailureMode::MatrixCompression},
                 {0, 0, 68, FailureMode::Shear},            {0, 0, -68, FailureMode::Shear}};
    for (const auto& c : cases) {
        const PlyState state{c.s1, c.s2, c.t12, c.s1 / kKawModuli.E1, c.s2 / kKawModuli.E2, c.t12 / kKawModuli.G12};
        for (const FailureCriterion criterion : kFailureCriteria) {
            SCOPED_TRACE(std::string(FailureCriterionKey(criterion)) + " " + FailureModeName(c.mode));
            const StrengthRatio ratio = failure.Ratio(criterion, state);
            EXPECT_NEAR(ratio.R, 1, 1e-12);
            // Hashin names pure shear by its fibre mode, which comes first; Puck names the
            // inter-fibre modes, A for tension and shear, C for transverse compression.
            FailureMode mode = c.mode;
            if (criterion == FailureCriterion::Hashin && c.t12 != 0)
                mode = FailureMode::FibreTension;
            if (criterion == FailureCriterion::Puck && c.s1 == 0)
                mode = c.s2 < 0 ? FailureMode::IffC : FailureMode::IffA;
            EXPECT_EQ(ratio.mode, mode);
        }
    }
    // No stress never fails.
    for (const FailureCriterion criterion : kFailureCriteria)
        EXPECT_TRUE(std::isinf(failure.Ratio(criterion, PlyState{}).R));
}

// Last-ply failure skips the faces between the ends of a stretch on the strength of
// this: between its switches, 1 / R of each criterion is convex along any line of states.
TEST(FailureCriteria, ConvexBetweenTheirSwitches)
{
    const PlyStrengths second{60, 300, 20, 100, 30, 25}; // Xc > 2 Xt, ST < Yc / 2
    std::mt19937 random(7);
    std::uniform_real_distribution<double> stress(-400, 400);
    for (const PlyStrengths& strengths : {kKawStrengths, second}) {
        const PlyFailure failure(strengths, kKawModuli, FailureSettings{});
        for (const FailureCriterion criterion : kFailureCriteria) {
            SCOPED_TRACE(FailureCriterionKey(criterion));
            const FormulaSwitches switches = failure.Switches(criterion);
            ASSERT_TRUE(switches.convex);
            for (int line = 0; line < 300; ++line) {
                const double a[3] = {stress(random), stress(random), stress(random)};
                const double b[3] = {stress(random), stress(random), stress(random)};
                const auto at = [&](double t) {
                    const double s1 = a[0] + t * b[0], s2 = a[1] + t * b[1], t12 = a[2] + t * b[2];
                    return PlyState{s1, s2, t12, s1 / kKawModuli.E1, s2 / kKawModuli.E2, t12 / kKawModuli.G12};
                };
                const auto side = [&](double t) {
                    const PlyState s = at(t);
                    int code = 0;
                    for (int k = 0; k < switches.count; ++k) {
                        const auto& c = switches.planes[static_cast<size_t>(k)];
                        code = 2 * code + (c[0] * s.s1 + c[1] * s.s2 + c[2] * s.t12 >= 0);
                    }
                    return code;
                };
                const auto exposure = [&](double t) { return 1 / failure.Ratio(criterion, at(t)).R; };
                for (double t = -1; t < 1; t += 0.02) {
                    const double h = 0.01;
                    if (side(t - h) != side(t) || side(t + h) != side(t))
                        continue;
                    ASSERT_LE(exposure(t), (exposure(t - h) + exposure(t + h)) / 2 * (1 + 1e-12) + 1e-15)
                        << "line " << line << ", t " << t;
                }
            }
        }
    }
    // Tsai-Hill is not convex where a transverse strength exceeds twice a fibre one.
    const PlyFailure weak_fibres(PlyStrengths{50, 30, 80, 200, 40}, kKawModuli, FailureSettings{});
    EXPECT_FALSE(weak_fibres.Switches(FailureCriterion::TsaiHill).convex);
}

TEST(FailureCriteria, TextbookPlyAtSixtyDegrees)
{
    Laminate inputs;
    inputs.laminae.push_back(PlyLamina(1, 60));
    const Laminate laminate = Computed(std::move(inputs));
    StrengthAnalysis analysis;
    ASSERT_TRUE(analysis.Run(laminate, LaminateLoad{{2, -3, 4}, {0, 0, 0}}, FailureSettings{}));
    const struct {
        double R;
        FailureMode mode;
    } expected[] = {{16.3263, FailureMode::Shear},  {16.3263, FailureMode::Shear},
                    {16.0607, FailureMode::Shear},  {22.3887, FailureMode::Shear},
                    {16.0677, FailureMode::MatrixCompression}, {19.2012, FailureMode::IffB}};
    ASSERT_EQ(analysis.results.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(FailureCriterionKey(analysis.results[i].criterion));
        const FirstPlyFailure& first = analysis.results[i].first_ply;
        EXPECT_NEAR(first.ratio.R, expected[i].R, 5e-5);
        EXPECT_EQ(first.ratio.mode, expected[i].mode);
        EXPECT_NEAR(first.at.N[1], -3 * first.ratio.R, 1e-9);
    }
}

// [0/90]s under Nx: the 90-degree plies crack first (ply 2 before its mirror 3), then
// the 0-degree fibres break; each step checked against the stiffness by hand.
TEST(FailureCriteria, CrossPlyLastPlyFailureByHand)
{
    Laminate inputs;
    for (const auto& [id, angle] : {std::pair{1, 0.0}, {2, 90.0}, {3, 90.0}, {4, 0.0}})
        inputs.laminae.push_back(PlyLamina(id, angle));
    const Laminate laminate = Computed(std::move(inputs));
    StrengthAnalysis analysis;
    ASSERT_TRUE(analysis.Run(laminate, LaminateLoad{{1, 0, 0}, {0, 0, 0}}, FailureSettings{},
                             {FailureCriterion::MaxStress}));
    ASSERT_TRUE(analysis.results[0].last_ply);
    const LastPlyFailure& last = *analysis.results[0].last_ply;

    // The membrane strains of A = 2 Q(0) + 2 Q(90) under Nx = 1, ply thickness 1 mm.
    const auto q = [](double e1, double e2, double g12, double nu12) {
        return LaminationTheory::PlyStiffness(e1, e2, g12, nu12);
    };
    const Matrix3 q0 = q(181000, 10300, 7170, 0.28);
    const auto strain = [&](const Matrix3& q90) {
        return Eigen::Vector3d((2 * q0 + 2 * q90).inverse() * Eigen::Vector3d(1, 0, 0));
    };
    const Matrix3 q90 = LaminationTheory::RotateStiffness(q0, 90);
    const Eigen::Vector3d e = strain(q90);
    // A 90-degree ply's transverse stress is its stress along x: Q22 ex + Q12 ey in its axes.
    const double first = 40 / (q0(1, 1) * e[0] + q0(0, 1) * e[1]);
    ASSERT_GE(last.events.size(), 4u);
    EXPECT_EQ(last.events[0].ply, 2);
    EXPECT_EQ(last.events[0].mode, FailureMode::MatrixTension);
    EXPECT_NEAR(last.events[0].lambda, first, first * 1e-12);
    EXPECT_EQ(last.events[1].ply, 3);
    EXPECT_EQ(last.events[1].mode, FailureMode::MatrixTension);
    EXPECT_GE(last.events[1].lambda, last.events[0].lambda); // the load never goes down
    EXPECT_NEAR(analysis.results[0].first_ply.ratio.R, first, first * 1e-12);

    // With both 90-degree plies discounted (E2, G12 and v12 times 1e-6), the 0-degree
    // fibres carry the load: sigma1 = Q11 ex + Q12 ey.
    const double d = StrengthAnalysis::kDiscount;
    const Eigen::Vector3d cracked = strain(LaminationTheory::RotateStiffness(q(181000, 10300 * d, 7170 * d, 0.28 * d), 90));
    const double fibres = 1500 / (q0(0, 0) * cracked[0] + q0(0, 1) * cracked[1]);
    EXPECT_EQ(last.events[2].ply, 1);
    EXPECT_EQ(last.events[2].mode, FailureMode::FibreTension);
    EXPECT_NEAR(last.events[2].lambda, fibres, fibres * 1e-9);
    EXPECT_EQ(last.events.back().ply, 4);
    EXPECT_EQ(last.events.size(), 4u); // no ply is intact after the fourth
    EXPECT_EQ(last.lambda, last.events.back().lambda);
}
