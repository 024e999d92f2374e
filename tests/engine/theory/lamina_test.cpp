// One lamina: rule of mixtures, Halpin-Tsai, Poisson ratios, weight fraction and
// density; its compliance and stiffness, their rotation by the fibre angle and its
// engineering constants. The worked example's values are pinned by the golden log.
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace testing_support;

namespace {

// Runs the four micromechanics steps; returns the log text.
std::string RunMicromechanics(Lamina& lamina, std::string* trace = nullptr)
{
    TraceCapture capture;
    std::ostringstream log;
    EXPECT_TRUE(lamina.CalculateMaterialProperties(log, capture));
    lamina.ApplyHalpinTsai(log, capture);
    lamina.CalculateNuAndK(log, capture);
    lamina.CalculateWeightFractionAndDensity(log, capture);
    if (trace)
        *trace = capture.Text();
    return log.str();
}

// Runs the three stiffness steps; returns the rotation's log.
std::string RunStiffness(Lamina& lamina)
{
    TraceCapture capture;
    std::ostringstream log;
    EXPECT_TRUE(lamina.CalculateStiffnessMatrix(log, capture));
    log.str("");
    EXPECT_TRUE(lamina.CalculateStiffnessMatrixWithAngle(log, capture));
    const std::string angle_log = log.str();
    lamina.CalculateElasticConstants(log, capture);
    return angle_log;
}

void ExpectIdentity(const Matrix3& m, const char* what)
{
    EXPECT_TRUE(m.isApprox(Matrix3::Identity(), 1e-12)) << what << ":\n" << m;
}

void ExpectSymmetric(const Matrix3& m) { EXPECT_EQ(m, m.transpose()) << m; }

} // namespace

TEST(Micromechanics, DensityIsVolumeWeighted)
{
    // Glass 2500 and epoxy 1200 kg/m3 at Vf 0.7 give 2110.
    auto lamina = MakeCarbonEpoxyLamina();
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
    // All fibre, then all matrix: the ply is that constituent, and without fibre
    // Halpin-Tsai and the Poisson ratio give the matrix's values too.
    auto lamina = MakeCarbonEpoxyLamina();
    for (const double vf : {1.0, 0.0}) {
        lamina->FAW = vf;
        RunMicromechanics(*lamina);
        const ConstituentMaterial& m = vf == 0 ? lamina->matrix : lamina->fiber;
        EXPECT_DOUBLE_EQ(lamina->E1, m.youngs_modulus);
        EXPECT_DOUBLE_EQ(lamina->E2, m.youngs_modulus);
        EXPECT_DOUBLE_EQ(lamina->G12, m.shear_modulus);
        EXPECT_EQ(lamina->fibers_weight_fraction, vf);
        EXPECT_DOUBLE_EQ(lamina->composite_density, m.density);
    }
    EXPECT_DOUBLE_EQ(lamina->G23, lamina->matrix.shear_modulus);
    EXPECT_DOUBLE_EQ(lamina->halphin_tasi_E2, lamina->matrix.youngs_modulus);
    EXPECT_DOUBLE_EQ(lamina->Nu12, lamina->matrix.poissons_ratio);

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
        EXPECT_FALSE(lamina->CalculateMaterialProperties(log, capture));
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

TEST(Stiffness, WorkedExampleMatrices)
{
    auto lamina = MakeOrthotropicLamina(0);
    RunStiffness(*lamina);
    EXPECT_NEAR(lamina->S(0, 0), 0.714286, 1e-6);
    EXPECT_NEAR(lamina->S(0, 1), -0.214286, 1e-6);
    EXPECT_NEAR(lamina->S(1, 1), 10, 1e-12);
    EXPECT_NEAR(lamina->S(2, 2), 20, 1e-12);
    EXPECT_NEAR(lamina->C(0, 0), 140.906, 1e-3);
    EXPECT_NEAR(lamina->C(0, 1), 3.01941, 1e-5);
    EXPECT_NEAR(lamina->C(1, 1), 10.0647, 1e-4);
    EXPECT_EQ(lamina->C(2, 2), 5);
}

// The golden logs pin the 0, 45 and 90 degree plies.
TEST(Stiffness, AnglesUseTheFullPrecisionPi)
{
    auto lamina = MakeOrthotropicLamina(30);
    const std::string log = RunStiffness(*lamina);
    EXPECT_NE(log.find("C=0.866025\nC2=0.75\nC3=0.649519\n\nS=0.500000\nS2=0.250000\nS3=0.125000\n\n"),
              std::string::npos)
        << log;
}

TEST(Stiffness, StiffnessIsTheInverseOfComplianceAndBothAreSymmetric)
{
    for (const double angle : {0.0, 15.0, 30.0, 45.0, -45.0, 60.0, 90.0, 137.5}) {
        auto lamina = MakeCarbonEpoxyLamina(1, angle);
        RunMicromechanics(*lamina);
        RunStiffness(*lamina);
        ExpectIdentity((lamina->C * lamina->C_scale_factor) * (lamina->S * lamina->S_scale_factor), "C S");
        ExpectIdentity((lamina->C_bar * lamina->C_angle_scale_factor) *
                           (lamina->S_bar * lamina->S_angle_scale_factor),
                       "C_bar S_bar");
        ExpectSymmetric(lamina->S);
        ExpectSymmetric(lamina->C);
        ExpectSymmetric(lamina->S_bar);
        ExpectSymmetric(lamina->C_bar);
    }
}

TEST(Stiffness, ScaleFactorsOnlyScaleWhatIsStored)
{
    auto reference = MakeOrthotropicLamina(30);
    RunStiffness(*reference);
    struct Factors {
        double s, c, s_angle, c_angle;
    };
    for (const Factors f : {Factors{0.001, 10, 0.1, 2}, Factors{1, 1, 1, 1}, Factors{0.01, 1, 0.001, 1},
                            Factors{-0.5, 3, 0.25, -2}}) {
        auto lamina = MakeOrthotropicLamina(30);
        lamina->S_scale_factor = f.s;
        lamina->C_scale_factor = f.c;
        lamina->S_angle_scale_factor = f.s_angle;
        lamina->C_angle_scale_factor = f.c_angle;
        RunStiffness(*lamina);
        EXPECT_TRUE((lamina->S * f.s).isApprox(reference->S * 0.01, 1e-14));
        EXPECT_TRUE((lamina->C_bar * f.c_angle).isApprox(reference->C_bar, 1e-14));
        EXPECT_TRUE((lamina->S_bar * f.s_angle).isApprox(reference->S_bar * 0.01, 1e-14));
        for (auto member : {&Lamina::Ex, &Lamina::Ey, &Lamina::Gxy, &Lamina::NUxy, &Lamina::NUyx,
                            &Lamina::ETAxyx, &Lamina::ETAxyy})
            EXPECT_NEAR((*lamina).*member, (*reference).*member, 1e-12 * std::abs((*reference).*member));
    }
}

TEST(Stiffness, ZeroScaleFactorFailsWithoutWritingAnything)
{
    auto lamina = MakeOrthotropicLamina(30);
    lamina->S_scale_factor = 0;
    std::ostringstream log;
    TraceCapture capture;
    EXPECT_FALSE(lamina->CalculateStiffnessMatrix(log, capture));
    EXPECT_EQ(lamina->S, Matrix3::Zero());
    lamina->S_scale_factor = 0.01;
    lamina->C_scale_factor = 0;
    EXPECT_FALSE(lamina->CalculateStiffnessMatrix(log, capture));
    EXPECT_EQ(log.str(), "");
    EXPECT_EQ(capture.Text(), "");

    lamina->C_scale_factor = 1;
    lamina->C_angle_scale_factor = 0;
    EXPECT_TRUE(lamina->CalculateStiffnessMatrix(log, capture));
    const std::string before = log.str();
    EXPECT_FALSE(lamina->CalculateStiffnessMatrixWithAngle(log, capture));
    EXPECT_EQ(log.str(), before);
    EXPECT_EQ(lamina->rotation_angle, 0);
    EXPECT_EQ(lamina->C_bar, Matrix3::Zero());
}
