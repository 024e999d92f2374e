// Classical lamination theory: A, B and D against hand values, the classification,
// the membrane constants against the homogenized ones, and ply stresses under a load.
#include "mechanics/laminationtheory.h"
#include "testsupport.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "theory/laminateanalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace testing_support;

namespace {

// The orthotropic ply (E1 140, E2 10, G12 5 GPa, nu12 0.3) at each angle, rotated by
// the lamina's own steps, as the theory run hands plies over.
std::vector<LaminationPly> Stack(const std::vector<double>& angles, double thickness = 0.5,
                                 void (*material)(Lamina&) = nullptr)
{
    std::vector<LaminationPly> plies;
    for (const double angle : angles) {
        auto lamina = MakeOrthotropicLamina(angle, thickness, static_cast<int>(plies.size()) + 1);
        if (material)
            material(*lamina);
        std::ostringstream log;
        TraceCapture capture;
        EXPECT_TRUE(lamina->CalculateStiffnessMatrix(log, capture) && lamina->CalculateStiffnessMatrixWithAngle(log, capture));
        plies.push_back({lamina->id, thickness, angle, lamina->C_bar * (lamina->C_angle_scale_factor * 1000)});
    }
    return plies;
}

LaminationResult Analyse(const std::vector<LaminationPly>& plies)
{
    LaminationResult result;
    EXPECT_TRUE(LaminationTheory::Analyse(plies, result));
    return result;
}

} // namespace

TEST(LaminationTheory, UnsymmetricCrossPlyByHand)
{
    // Q11 140905.82, Q22 10064.70, Q12 3019.41 MPa; h = 1 mm, the interface at z = 0.
    const LaminationResult r = Analyse(Stack({0, 90}));
    EXPECT_NEAR(r.A(0, 0), 75485.2624, 1e-3);
    EXPECT_NEAR(r.A(0, 1), 3019.4105, 1e-3);
    EXPECT_NEAR(r.B(0, 0), -16355.1402, 1e-3);
    EXPECT_NEAR(r.B(1, 1), 16355.1402, 1e-3);
    EXPECT_NEAR(r.D(0, 0), 6290.4385, 1e-3);
    EXPECT_NEAR(r.D(0, 1), 251.6175, 1e-3);
    EXPECT_FALSE(r.symmetric);
    EXPECT_TRUE(r.balanced && r.bend_twist_free);
    // The 6x6 inverse, not the inverses of A and D alone, with B coupling them.
    Matrix6 abd;
    abd << r.A, r.B, r.B, r.D;
    EXPECT_TRUE((abd * r.abd_inverse).isApprox(Matrix6::Identity(), 1e-12));
}

// Kaw, Mechanics of Composite Materials (2nd ed.), Example 4.2: [0/30/-45] of
// graphite/epoxy (E1 181, E2 10.3, G12 7.17 GPa, nu12 0.28), 5 mm plies. The book's
// A, B and D in Pa m, Pa m2 and Pa m3, here in N/mm, N and N mm.
TEST(LaminationTheory, TextbookWorkedExample)
{
    const LaminationResult r = Analyse(Stack({0, 30, -45}, 5, [](Lamina& ply) {
        ply.E1 = 181;
        ply.halphin_tasi_E2 = 10.3;
        ply.halphin_tasi_G12 = 7.17;
        ply.Nu12 = 0.28;
        ply.Nu21 = 0.28 * 10.3 / 181;
    }));
    const std::pair<double, double> book[] = {
        {r.A(0, 0), 1.739e6},  {r.A(0, 1), 3.884e5}, {r.A(0, 2), 5.663e4}, {r.A(1, 2), -1.141e5},
        {r.B(0, 0), -3.129e6}, {r.B(0, 1), 9.855e5}, {r.B(1, 1), 1.158e6}, {r.B(1, 2), -1.072e6},
        {r.D(0, 0), 3.343e7},  {r.D(0, 1), 6.461e6}, {r.D(1, 1), 9.320e6}, {r.D(1, 2), -5.596e6}};
    for (const auto& [value, expected] : book)
        EXPECT_NEAR(value, expected, 1e-3 * std::abs(expected));
}

TEST(LaminationTheory, ClassificationOfAngleAndCrossPlies)
{
    // [45/-45] by hand: Q11(45) = (Q11 + Q22 + 2 Q12 + 4 Q66) / 4 over the 1 mm, and
    // B16 = -(Q11 - Q22) / 4 * 0.25 from the two plies' opposite Q16.
    const LaminationResult antisymmetric = Analyse(Stack({45, -45}));
    EXPECT_TRUE(antisymmetric.balanced && !antisymmetric.symmetric);
    EXPECT_NEAR(antisymmetric.A(0, 0), 44252.3365, 1e-3);
    EXPECT_NEAR(antisymmetric.B(0, 2), -8177.5701, 1e-3);
    const LaminationResult symmetric = Analyse(Stack({45, -45, -45, 45}));
    EXPECT_TRUE(symmetric.symmetric && symmetric.balanced && !symmetric.bend_twist_free);
    const LaminationResult crossPly = Analyse(Stack({0, 90, 90, 0}));
    EXPECT_TRUE(crossPly.symmetric && crossPly.bend_twist_free);
    // Outer 0 plies stiffen bending along x more than stretching.
    EXPECT_GT(crossPly.flexural.Exf, crossPly.membrane.Ex);
    EXPECT_NEAR(crossPly.flexural.Exf, 12 / (crossPly.D.inverse()(0, 0) * 8), 1e-9 * crossPly.flexural.Exf);
    const LaminationResult single = Analyse(Stack({30}));
    EXPECT_FALSE(single.balanced);
    LaminationResult untouched;
    EXPECT_FALSE(LaminationTheory::Analyse({}, untouched) || LaminationTheory::Analyse(Stack({0}, 0), untouched));
}

TEST(LaminationTheory, MembraneConstantsAreTheHomogenizedOnes)
{
    TempDir folder;
    CPlyforgeDoc doc;
    doc.program_folder = folder.Str();
    doc.LoadProject(ProjectReader::ReadFile(ExampleFile("quasi-isotropic.plyforge")));
    doc.laminate.laminae[1]->angle = 30; // no longer in-plane isotropic
    TraceCapture capture;
    ASSERT_TRUE(doc.CalculateTheory(capture));
    // Stacked in id order whatever the order the records were made in.
    std::reverse(doc.laminate.laminae.begin(), doc.laminate.laminae.end());
    LaminateAnalysis analysis;
    ASSERT_TRUE(analysis.Run(doc.laminate, std::nullopt));
    EXPECT_TRUE(analysis.plies.front().id == 1 && analysis.plies.back().id == 8);
    const InPlaneConstants m = analysis.result.membrane;
    const Laminate& homogenized = doc.laminate;
    for (const auto& [clt, own] : {std::pair{m.Ex / 1000, homogenized.Ex}, std::pair{m.Ey / 1000, homogenized.Ey},
                                   std::pair{m.Gxy / 1000, homogenized.Gxy}, std::pair{m.nuxy, homogenized.NUxy},
                                   std::pair{m.nuyx, homogenized.NUyx}})
        EXPECT_NEAR(clt, own, 1e-10 * std::abs(own));
}

TEST(LaminationTheory, PlyStressesAddUpToTheLoad)
{
    const std::vector<LaminationPly> plies = Stack({0, 30, -45, 90}, 0.25);
    const LaminationResult laminate = Analyse(plies);
    const LaminateLoad load{{120, -40, 25}, {15, 6, -3}};
    const LoadResult r = LaminationTheory::ApplyLoad(plies, laminate, load);
    ASSERT_EQ(r.plies.size(), 4u);
    Eigen::Vector3d force = Eigen::Vector3d::Zero(), moment = Eigen::Vector3d::Zero();
    for (const PlyLoadResult& ply : r.plies) {
        // The stress is linear through each ply: integrate it exactly.
        const double b = ply.z_bottom, t = ply.z_top;
        force += (ply.bottom.stress_xy + ply.top.stress_xy) * (t - b) / 2;
        moment += (ply.bottom.stress_xy * (2 * b + t) + ply.top.stress_xy * (b + 2 * t)) * (t - b) / 6;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(force[i], load.N[i], 1e-9 * 120);
        EXPECT_NEAR(moment[i], load.M[i], 1e-9 * 15);
    }
    EXPECT_DOUBLE_EQ(r.plies[0].z_bottom, -0.5);
    EXPECT_DOUBLE_EQ(r.plies[3].z_top, 0.5);
    // In its own axes each ply obeys its unrotated stiffness: the transforms agree with
    // the rotation of the stiffness.
    auto ply = MakeOrthotropicLamina(30);
    std::ostringstream log;
    TraceCapture capture;
    ASSERT_TRUE(ply->CalculateStiffnessMatrix(log, capture));
    const PlyFace& face = r.plies[1].top;
    EXPECT_TRUE(face.stress_12.isApprox(ply->C * (ply->C_scale_factor * 1000) * face.strain_12, 1e-12));
}
