// Rule of mixtures, Halpin-Tsai, Poisson ratios, weight fraction and density of one
// lamina: the worked carbon/epoxy example, textbook values and limiting cases.
#include "testsupport.h"
#include "util/formattext.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

namespace {

// Runs the four micromechanics steps; returns the log text.
std::string RunMicromechanics(Lamina& lamina, std::string* trace = nullptr)
{
    TraceCapture capture;
    std::ostringstream log;
    EXPECT_TRUE(lamina.CalculateMaterialProperties(log));
    lamina.ApplyHalpinTsai(log);
    lamina.CalculateNuAndK(log);
    lamina.CalculateWeightFractionAndDensity(log);
    if (trace)
        *trace = capture.Text();
    return log.str();
}

std::string G(double value) { return FormatText("%g", value); }

} // namespace

TEST(Micromechanics, WorkedCarbonEpoxyExample)
{
    auto lamina = MakeCarbonEpoxyLamina();
    std::string trace;
    RunMicromechanics(*lamina, &trace);

    EXPECT_EQ(trace.substr(0, trace.find("E1=")),
              "shear_modulus=95.833333\nbulk_modulus=127.777778\n"
              "shear_modulus=1.296296\nbulk_modulus=3.888889\n");
    EXPECT_EQ(G(lamina->E1), "139.4");
    EXPECT_EQ(G(lamina->E2), "8.55473");
    EXPECT_EQ(G(lamina->G12), "3.17629");
    EXPECT_EQ(G(lamina->G23), "58.0185");
    EXPECT_EQ(G(lamina->E1_E2), "16.2951");
    EXPECT_EQ(G(lamina->halphin_tasi_E2), "17.6142");
    EXPECT_EQ(G(lamina->halphin_tasi_G12), "6.58567");
    EXPECT_EQ(G(lamina->halphin_tasi_ETA_E2), "0.955696");
    EXPECT_EQ(G(lamina->halphin_tasi_ETA_G12), "0.960489");
    EXPECT_EQ(G(lamina->Nu12), "0.26");
    EXPECT_EQ(G(lamina->Nu21), "0.032853");
    EXPECT_EQ(G(lamina->Nu23), "0.33566");
    EXPECT_EQ(G(lamina->k), "9.29776");
    EXPECT_EQ(G(lamina->fibers_weight_fraction), "0.6875");
    EXPECT_NE(trace.find("halphin_tasi_E2=17.614243\nhalphin_tasi_G12=6.585669\n"), std::string::npos);
    EXPECT_NE(trace.find("k=9.297759\n"), std::string::npos);
}

TEST(Micromechanics, DensityIsVolumeWeighted)
{
    auto lamina = MakeCarbonEpoxyLamina();
    const std::string log = RunMicromechanics(*lamina);
    EXPECT_EQ(G(lamina->composite_density), "1.536");
    EXPECT_NE(log.find("Weight fraction of fibers=0.6875\nDensity of composite=1.536\n\n"), std::string::npos);

    // Glass 2500 and epoxy 1200 kg/m3 at Vf 0.7 give 2110.
    lamina->fiber.density = 2500;
    lamina->matrix.density = 1200;
    lamina->FAW = 0.7;
    RunMicromechanics(*lamina);
    EXPECT_NEAR(lamina->composite_density, 2110, 1e-9);
}

TEST(Micromechanics, TextbookGlassEpoxy)
{
    auto lamina = MakeCarbonEpoxyLamina();
    lamina->fiber = {"E-glass", 2.54, 85, 0.2, 0, 0};
    lamina->matrix = {"Epoxy", 1.2, 3.4, 0.3, 0, 0};
    lamina->FAW = 0.7;
    lamina->xi = 2;
    RunMicromechanics(*lamina);
    EXPECT_NEAR(lamina->E1, 60.52, 0.005);
    EXPECT_NEAR(lamina->E2, 10.37, 0.005);
    EXPECT_NEAR(lamina->Nu12, 0.23, 1e-12);
    EXPECT_NEAR(lamina->G12, 4.014, 0.002);
    EXPECT_NEAR(lamina->halphin_tasi_E2, 20.20, 0.005);
}

TEST(Micromechanics, LimitingFibreFractions)
{
    auto lamina = MakeCarbonEpoxyLamina();
    lamina->FAW = 0;
    RunMicromechanics(*lamina);
    const ConstituentMaterial& m = lamina->matrix;
    EXPECT_DOUBLE_EQ(lamina->E1, m.youngs_modulus);
    EXPECT_DOUBLE_EQ(lamina->E2, m.youngs_modulus);
    EXPECT_DOUBLE_EQ(lamina->G12, m.shear_modulus);
    EXPECT_DOUBLE_EQ(lamina->G23, m.shear_modulus);
    EXPECT_DOUBLE_EQ(lamina->halphin_tasi_E2, m.youngs_modulus);
    EXPECT_DOUBLE_EQ(lamina->Nu12, m.poissons_ratio);
    EXPECT_EQ(lamina->fibers_weight_fraction, 0);
    EXPECT_DOUBLE_EQ(lamina->composite_density, m.density);

    lamina->FAW = 1;
    RunMicromechanics(*lamina);
    const ConstituentMaterial& f = lamina->fiber;
    EXPECT_DOUBLE_EQ(lamina->E1, f.youngs_modulus);
    EXPECT_DOUBLE_EQ(lamina->E2, f.youngs_modulus);
    EXPECT_DOUBLE_EQ(lamina->G12, f.shear_modulus);
    EXPECT_EQ(lamina->fibers_weight_fraction, 1);
    EXPECT_DOUBLE_EQ(lamina->composite_density, f.density);

    // FAW typed as a percentage is used as it stands: no check rejects it.
    lamina->FAW = 30;
    RunMicromechanics(*lamina);
    EXPECT_DOUBLE_EQ(lamina->E1, 30 * 230 + 3.5 * (1 - 30));
}

TEST(Micromechanics, EqualConstituentsGiveZeroEta)
{
    auto lamina = MakeCarbonEpoxyLamina();
    lamina->fiber = lamina->matrix;
    for (const double vf : {0.1, 0.5, 0.9}) {
        lamina->FAW = vf;
        RunMicromechanics(*lamina);
        EXPECT_EQ(lamina->halphin_tasi_ETA_E2, 0);
        EXPECT_EQ(lamina->halphin_tasi_ETA_G12, 0);
        EXPECT_DOUBLE_EQ(lamina->halphin_tasi_E2, lamina->matrix.youngs_modulus);
        EXPECT_DOUBLE_EQ(lamina->halphin_tasi_G12, lamina->matrix.shear_modulus);
    }
}

TEST(Micromechanics, ZeroYoungsModulusFailsBeforeAnything)
{
    for (const bool matrix_zero : {true, false}) {
        auto lamina = MakeCarbonEpoxyLamina();
        (matrix_zero ? lamina->matrix : lamina->fiber).youngs_modulus = 0;
        lamina->E1 = 123; // an older result stays
        TraceCapture capture;
        std::ostringstream log;
        EXPECT_FALSE(lamina->CalculateMaterialProperties(log));
        EXPECT_EQ(log.str(), "");
        EXPECT_EQ(capture.Text(), "");
        EXPECT_EQ(lamina->E1, 123);
        EXPECT_EQ(lamina->fiber.shear_modulus, 0);
    }
}

TEST(Micromechanics, DegenerateValuesPropagateAsTheCLibraryPrintsThem)
{
    auto lamina = MakeCarbonEpoxyLamina();
    lamina->matrix.poissons_ratio = 0.5; // infinite bulk modulus
    const std::string log = RunMicromechanics(*lamina);
    EXPECT_TRUE(std::isinf(lamina->matrix.bulk_modulus));
    EXPECT_NE(log.find("k="), std::string::npos);
}

TEST(Micromechanics, NamesInAnyScriptAreEchoedAsUtf8)
{
    auto lamina = MakeCarbonEpoxyLamina();
    lamina->fiber.name = "탄소 섬유 T700";
    const std::string log = RunMicromechanics(*lamina);
    EXPECT_NE(log.find("Fiber material name=탄소 섬유 T700\n Density=1.76mg/m3\n"), std::string::npos);
}
