// Lamina compliance and stiffness, their rotation by the fibre angle and the
// lamina's engineering constants.
#include "testsupport.h"
#include "util/formattext.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

namespace {

struct StiffnessRun {
    std::string matrix_log;
    std::string angle_log;
    std::string constants_log;
};

StiffnessRun RunStiffness(Lamina& lamina)
{
    TraceCapture capture;
    StiffnessRun run;
    std::ostringstream log;
    EXPECT_TRUE(lamina.CalculateStiffnessMatrix(log));
    run.matrix_log = log.str();
    log.str("");
    EXPECT_TRUE(lamina.CalculateStiffnessMatrixWithAngle(log));
    run.angle_log = log.str();
    log.str("");
    lamina.CalculateElasticConstants(log);
    run.constants_log = log.str();
    return run;
}

std::string G(double value) { return FormatText("%g", value); }

void ExpectIdentity(const Matrix3& m, const char* what)
{
    EXPECT_TRUE(m.isApprox(Matrix3::Identity(), 1e-12)) << what << ":\n" << m;
}

void ExpectSymmetric(const Matrix3& m) { EXPECT_EQ(m, m.transpose()) << m; }

} // namespace

TEST(Stiffness, WorkedExampleMatrices)
{
    auto lamina = MakeOrthotropicLamina(0);
    const StiffnessRun run = RunStiffness(*lamina);
    EXPECT_NEAR(lamina->S(0, 0), 0.714286, 1e-6);
    EXPECT_NEAR(lamina->S(0, 1), -0.214286, 1e-6);
    EXPECT_NEAR(lamina->S(1, 1), 10, 1e-12);
    EXPECT_NEAR(lamina->S(2, 2), 20, 1e-12);
    EXPECT_NEAR(lamina->C(0, 0), 140.906, 1e-3);
    EXPECT_NEAR(lamina->C(0, 1), 3.01941, 1e-5);
    EXPECT_NEAR(lamina->C(1, 1), 10.0647, 1e-4);
    EXPECT_EQ(lamina->C(2, 2), 5);
    EXPECT_EQ(run.matrix_log, "##Stiffness matrix\n"
                              "Plane-stress orthotropic lamina : S matrix\n"
                              "  0.71 -0.21  0.00\n -0.21 10.00  0.00\n  0.00  0.00 20.00\n"
                              "Plane-stress orthotropic lamina : C matrix\n"
                              " 140.91  3.02  0.00\n  3.02 10.06  0.00\n  0.00  0.00  5.00\n");
}

TEST(Stiffness, AngleZeroLeavesTheMatricesUnchanged)
{
    auto lamina = MakeOrthotropicLamina(0);
    const StiffnessRun run = RunStiffness(*lamina);
    EXPECT_EQ(lamina->S_bar, lamina->S);
    EXPECT_EQ(lamina->C_bar, lamina->C);
    EXPECT_EQ(run.angle_log.substr(0, run.angle_log.find("Plane")),
              "##Stiffness matrix(with angle, degree)\nC=1\nC2=1\nC3=1\n\n"
              "S=0.000000\nS2=0.000000\nS3=0.000000\n\n");
    EXPECT_EQ(run.constants_log, "##Elastic constants\nEx=140GPa\nEy=10GPa\nGxy=5GPa\n\n"
                                 "NUxy=0.3\nNUyx=0.0214286\n\nETAxyx=-0\nETAxyy=-0\n\n");
}

TEST(Stiffness, AnglesUseTheFullPrecisionPi)
{
    auto lamina = MakeOrthotropicLamina(90);
    std::string log = RunStiffness(*lamina).angle_log;
    EXPECT_NE(log.find("C=6.12323e-17\n"), std::string::npos) << log;
    EXPECT_NE(log.find("S=1.000000\n"), std::string::npos);
    EXPECT_NEAR(lamina->Ex, 10, 1e-9);
    EXPECT_NEAR(lamina->Ey, 140, 1e-9);

    lamina = MakeOrthotropicLamina(30);
    log = RunStiffness(*lamina).angle_log;
    EXPECT_NE(log.find("C=0.866025\nC2=0.75\nC3=0.649519\n\nS=0.500000\nS2=0.250000\nS3=0.125000\n\n"),
              std::string::npos)
        << log;

    // At 45 degrees both in-plane moduli are equal.
    lamina = MakeOrthotropicLamina(45);
    RunStiffness(*lamina);
    EXPECT_DOUBLE_EQ(lamina->Ex, lamina->Ey);
    EXPECT_EQ(G(lamina->Ex), "13.2075");
    EXPECT_EQ(G(lamina->Ey), "13.2075");
    EXPECT_EQ(G(lamina->Gxy), "8.97436");
    EXPECT_DOUBLE_EQ(lamina->NUxy, lamina->NUyx);
    EXPECT_DOUBLE_EQ(lamina->ETAxyx, lamina->ETAxyy);
}

TEST(Stiffness, StiffnessIsTheInverseOfComplianceAndBothAreSymmetric)
{
    for (const double angle : {0.0, 15.0, 30.0, 45.0, -45.0, 60.0, 90.0, 137.5}) {
        auto lamina = MakeCarbonEpoxyLamina(1, angle);
        std::ostringstream log;
        TraceCapture capture;
        ASSERT_TRUE(lamina->CalculateMaterialProperties(log));
        lamina->ApplyHalpinTsai(log);
        lamina->CalculateNuAndK(log);
        lamina->CalculateWeightFractionAndDensity(log);
        ASSERT_TRUE(lamina->CalculateStiffnessMatrix(log));
        ASSERT_TRUE(lamina->CalculateStiffnessMatrixWithAngle(log));
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
    EXPECT_FALSE(lamina->CalculateStiffnessMatrix(log));
    EXPECT_EQ(lamina->S, Matrix3::Zero());
    lamina->S_scale_factor = 0.01;
    lamina->C_scale_factor = 0;
    EXPECT_FALSE(lamina->CalculateStiffnessMatrix(log));
    EXPECT_EQ(log.str(), "");
    EXPECT_EQ(capture.Text(), "");

    lamina->C_scale_factor = 1;
    lamina->C_angle_scale_factor = 0;
    EXPECT_TRUE(lamina->CalculateStiffnessMatrix(log));
    const std::string before = log.str();
    EXPECT_FALSE(lamina->CalculateStiffnessMatrixWithAngle(log));
    EXPECT_EQ(log.str(), before);
    EXPECT_EQ(lamina->rotation_angle, 0);
    EXPECT_EQ(lamina->C_bar, Matrix3::Zero());
}
