// Laminate assembly and homogenization, and the ABAQUS translation and card.
#include "theory/abaquscard.h"
#include "testsupport.h"
#include "theory/laminate.h"
#include "util/formattext.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

namespace {

// Rotates each ply (its micromechanics given directly) and runs the laminate steps.
std::string RunLaminate(Laminate& laminate, double compliance_scale_factor = 0.01)
{
    TraceCapture capture;
    std::ostringstream log;
    for (auto& lamina : laminate.laminae) {
        EXPECT_TRUE(lamina->CalculateStiffnessMatrix(log, capture));
        EXPECT_TRUE(lamina->CalculateStiffnessMatrixWithAngle(log, capture));
        lamina->CalculateElasticConstants(log, capture);
    }
    log.str("");
    laminate.compliance_scale_factor = compliance_scale_factor;
    laminate.CalculateAll(log, capture);
    return log.str();
}

Laminate TwoPlies(double angle1, double t1, double angle2, double t2)
{
    Laminate laminate;
    laminate.laminae.push_back(MakeOrthotropicLamina(angle1, t1, 1));
    laminate.laminae.push_back(MakeOrthotropicLamina(angle2, t2, 2));
    return laminate;
}


} // namespace

TEST(Laminate, CrossPlyIsThicknessWeighted)
{
    Laminate laminate = TwoPlies(0, 0.5, 90, 0.5);
    RunLaminate(laminate);
    const Matrix3& A = laminate.stiffness_with_angle;
    EXPECT_EQ(G(A(0, 0)), "75.4853");
    EXPECT_EQ(G(A(1, 1)), "75.4853");
    EXPECT_EQ(G(A(2, 2)), "5");
    EXPECT_EQ(G(A(0, 1)), "3.01941");
    EXPECT_EQ(G(laminate.delta), "28444.5");
    EXPECT_EQ(G(laminate.Ex), "75.3645");
    EXPECT_EQ(G(laminate.Ey), "75.3645");
    EXPECT_EQ(G(laminate.Gxy), "5");
    EXPECT_EQ(G(laminate.NUxy), "0.04");
    EXPECT_EQ(G(laminate.NUyx), "0.04");
}

TEST(Laminate, AngleplyShearCouplingCancelsExactly)
{
    Laminate laminate = TwoPlies(45, 0.5, -45, 0.5);
    RunLaminate(laminate);
    EXPECT_EQ(laminate.stiffness_with_angle(0, 2), 0);
    EXPECT_EQ(laminate.stiffness_with_angle(1, 2), 0);
    EXPECT_EQ(G(laminate.Ex), "17.7402");
    EXPECT_EQ(G(laminate.Ey), "17.7402");
    EXPECT_EQ(G(laminate.Gxy), "36.2329");
    EXPECT_EQ(G(laminate.NUxy), "0.774023");
    EXPECT_EQ(laminate.ETAxyx, 0);
    EXPECT_EQ(laminate.ETAxyy, 0);
}

TEST(Laminate, UnequalThicknessesWeighTheirPlies)
{
    Laminate laminate = TwoPlies(0, 0.2, 90, 0.3);
    laminate.laminae[0]->FAW = 0.5;
    laminate.laminae[1]->FAW = 0.6;
    RunLaminate(laminate);
    EXPECT_EQ(G(laminate.Ex), "62.2982");
    EXPECT_EQ(G(laminate.Ey), "88.4233");
    EXPECT_DOUBLE_EQ(laminate.thickness, 0.5);
    EXPECT_DOUBLE_EQ(laminate.FAW, (0.5 * 0.2 + 0.6 * 0.3) / 0.5);
}

TEST(Laminate, OneLaminaKeepsItsOwnConstantsWhateverItsThickness)
{
    for (const double thickness : {0.125, 1.0, 3.0}) {
        Laminate laminate;
        laminate.laminae.push_back(MakeOrthotropicLamina(30, thickness));
        RunLaminate(laminate);
        const Lamina& ply = *laminate.laminae[0];
        EXPECT_TRUE(laminate.stiffness_with_angle.isApprox(ply.C_bar, 1e-14));
        for (auto pair : {std::pair{laminate.Ex, ply.Ex}, std::pair{laminate.Ey, ply.Ey},
                          std::pair{laminate.Gxy, ply.Gxy}, std::pair{laminate.NUxy, ply.NUxy},
                          std::pair{laminate.NUyx, ply.NUyx}, std::pair{laminate.ETAxyx, ply.ETAxyx},
                          std::pair{laminate.ETAxyy, ply.ETAxyy}})
            EXPECT_NEAR(pair.first, pair.second, 1e-10 * std::abs(pair.second)) << thickness;
    }
}

TEST(Laminate, ScaleFactorsChangeNoConstant)
{
    Laminate reference = TwoPlies(30, 0.2, -60, 0.4);
    RunLaminate(reference);
    Laminate scaled = TwoPlies(30, 0.2, -60, 0.4);
    scaled.laminae[0]->C_scale_factor = 10;
    scaled.laminae[0]->C_angle_scale_factor = 100;
    scaled.laminae[1]->S_scale_factor = 1;
    scaled.laminae[1]->S_angle_scale_factor = 0.001;
    const std::string log = RunLaminate(scaled, 1e-5);
    EXPECT_TRUE((scaled.compliance * 1e-5).isApprox(reference.compliance * 0.01, 1e-13));
    for (auto pair : {std::pair{scaled.Ex, reference.Ex}, std::pair{scaled.Ey, reference.Ey},
                      std::pair{scaled.Gxy, reference.Gxy}, std::pair{scaled.NUxy, reference.NUxy},
                      std::pair{scaled.ETAxyx, reference.ETAxyx}, std::pair{scaled.ETAxyy, reference.ETAxyy}})
        EXPECT_NEAR(pair.first, pair.second, 1e-12 * std::abs(pair.second));
    EXPECT_NE(log.find("##Compliance matrix\nDelta="), std::string::npos);
}

TEST(Laminate, ComplianceTimesFactorInvertsTheStiffness)
{
    Laminate laminate = TwoPlies(20, 0.3, 75, 0.1);
    RunLaminate(laminate, 0.02);
    EXPECT_TRUE(((laminate.compliance * 0.02) * laminate.stiffness_with_angle)
                    .isApprox(Matrix3::Identity(), 1e-12));
    EXPECT_EQ(laminate.compliance, laminate.compliance.transpose());
}

TEST(Abaqus, TranslationLogAndCard)
{
    Laminate laminate;
    laminate.Ex = 140;
    laminate.Ey = 10;
    laminate.Gxy = 5;
    laminate.NUxy = 0.3;
    std::ostringstream log;
    TraceCapture capture;
    laminate.TranslateForAbaqus(log, capture);
    EXPECT_EQ(log.str(), "Translat for ABAQUS\nE1=140000\nE2=10000\nNU12=0.3\n\n"
                         "G12=5000\nG13=5000\nG23=5000\n\n");
    EXPECT_EQ(MakeAbaqusCard(laminate),
              "*Material, name=Composite\r\n*Elastic, type=LAMINA\r\n"
              "140000.000000, 10000.000000, 0.300000, 5000.000000, 5000.000000, 5000.000000\r\n");
    EXPECT_EQ(MakeAbaqusCard(laminate, "\n").find('\r'), std::string::npos);

    laminate.Ex = 1e6;
    log.str("");
    laminate.TranslateForAbaqus(log, capture);
    EXPECT_EQ(log.str().substr(0, 30), "Translat for ABAQUS\nE1=1e+09\nE");
    EXPECT_NE(MakeAbaqusCard(laminate).find("1000000000.000000, "), std::string::npos);
}
