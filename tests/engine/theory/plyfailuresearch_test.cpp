// Last-ply failure and the envelope search a few faces per group of like plies;
// they must find what evaluating every face finds.
#include "testsupport.h"
#include "theory/strengthanalysis.h"
#include "theory/theoryrun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace testing_support;

namespace {

// Two materials; the second's transverse strengths exceed twice its fibre
// strengths, where Tsai-Hill is not convex and its plies are evaluated face by
// face.
const PlyStrengths kStrengths[] = {{1500, 1200, 40, 246, 68}, {50, 30, 80, 200, 40, 70}};

Laminate RandomLaminate(std::mt19937& random, bool symmetric)
{
    constexpr double kAngles[] = {0, 45, -45, 90, 30};
    constexpr double kThicknesses[] = {0.1, 0.125, 0.2};
    const int half = std::uniform_int_distribution<int>(3, 60)(random);
    std::vector<std::unique_ptr<Lamina>> plies;
    for (int i = 0; i < half; ++i) {
        auto lamina = std::make_unique<Lamina>();
        lamina->source = LaminaSource::PlyConstants;
        const int material = random() % 4 == 0 ? 1 : 0;
        lamina->ply = material == 0 ? PlyConstants{181, 10.3, 7.17, 0.28, 0.3} : PlyConstants{40, 9, 4, 0.3, 0.3};
        lamina->strength = kStrengths[material];
        lamina->thickness = kThicknesses[random() % 3];
        lamina->angle = kAngles[random() % 5];
        lamina->S_scale_factor = lamina->S_angle_scale_factor = 0.01;
        lamina->C_scale_factor = lamina->C_angle_scale_factor = 1;
        plies.push_back(std::move(lamina));
    }
    Laminate inputs;
    inputs.compliance_scale_factor = 0.01;
    for (auto& ply : plies)
        inputs.laminae.push_back(std::make_unique<Lamina>(*ply));
    if (symmetric) {
        for (auto it = plies.rbegin(); it != plies.rend(); ++it)
            inputs.laminae.push_back(std::make_unique<Lamina>(**it));
    }
    for (size_t i = 0; i < inputs.laminae.size(); ++i)
        inputs.laminae[i]->id = static_cast<int>(i + 1);
    TraceCapture trace;
    TheoryRun run = RunTheory(inputs, std::nullopt, trace);
    EXPECT_TRUE(run.Ok()) << trace.Text();
    return std::move(run.laminate);
}

} // namespace

TEST(PlyFailureSearch, FindsWhatEveryFaceFinds)
{
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> force(-1000, 1000), moment(-300, 300);
    size_t events = 0;
    for (int round = 0; round < 40; ++round) {
        // Symmetric stacks under in-plane loads tie mirror plies; the rest bend.
        const bool symmetric = round % 3 == 0;
        const Laminate laminate = RandomLaminate(random, symmetric);
        LaminateLoad load{{force(random), force(random), force(random)}, {0, 0, 0}};
        if (!symmetric)
            load.M = {moment(random), moment(random), moment(random)};
        StrengthAnalysis searched, every;
        every.every_face = true;
        const std::vector<FailureCriterion> all(kFailureCriteria.begin(), kFailureCriteria.end());
        ASSERT_TRUE(searched.Run(laminate, load, FailureSettings{}, all, 90));
        ASSERT_TRUE(every.Run(laminate, load, FailureSettings{}, all, 90));
        for (size_t c = 0; c < searched.results.size(); ++c) {
            const auto& found = searched.results[c].last_ply->events;
            const auto& reference = every.results[c].last_ply->events;
            SCOPED_TRACE(testing::Message()
                         << "round " << round << ", " << FailureCriterionKey(searched.results[c].criterion));
            ASSERT_EQ(found.size(), reference.size());
            for (size_t e = 0; e < found.size(); ++e) {
                EXPECT_EQ(found[e].ply, reference[e].ply) << "event " << e;
                EXPECT_EQ(found[e].mode, reference[e].mode) << "event " << e;
                EXPECT_NEAR(found[e].lambda, reference[e].lambda, 1e-12 * reference[e].lambda) << "event " << e;
            }
            events += found.size();
            for (size_t i = 0; i < searched.envelopes[c].size(); ++i) {
                const double p = std::hypot(searched.envelopes[c][i].Nx, searched.envelopes[c][i].Ny);
                const double q = std::hypot(every.envelopes[c][i].Nx, every.envelopes[c][i].Ny);
                if (std::isinf(q))
                    EXPECT_TRUE(std::isinf(p)) << "direction " << i;
                else
                    EXPECT_NEAR(p, q, 1e-12 * q) << "direction " << i;
            }
        }
    }
    EXPECT_GT(events, 1000u);
}
