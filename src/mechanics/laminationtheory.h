#pragma once

#include "mechanics/matrix3.h"

#include <Eigen/Dense>

#include <array>
#include <vector>

using Matrix6 = Eigen::Matrix<double, 6, 6>;

// Classical lamination theory for a stack of plies, the first at the bottom: z runs
// from -h/2 under the first ply to +h/2 over the last. Stiffnesses in MPa, lengths in
// mm: A in N/mm, B in N, D in N mm.
struct LaminationPly {
    int id = 0;
    double thickness = 0;              // mm
    double angle = 0;                  // degrees, from the laminate's x axis to the fibres
    Matrix3 stiffness = Matrix3::Zero(); // rotated into laminate axes (C-bar), MPa
};

struct InPlaneConstants {
    double Ex = 0, Ey = 0, Gxy = 0, nuxy = 0, nuyx = 0; // MPa
};

struct FlexuralConstants {
    double Exf = 0, Eyf = 0, Gxyf = 0, nuxyf = 0; // MPa
};

struct LaminationResult {
    double thickness = 0;
    Matrix3 A = Matrix3::Zero(), B = Matrix3::Zero(), D = Matrix3::Zero();
    Matrix6 abd_inverse = Matrix6::Zero();
    InPlaneConstants membrane;   // from the inverse of A
    FlexuralConstants flexural;  // from the inverse of D
    // Within LaminationTheory::kTolerance:
    bool symmetric = false;        // B vanishes: no coupling of stretching and bending
    bool balanced = false;         // A13 and A23 vanish
    bool bend_twist_free = false;  // D13 and D23 vanish
};

// Strains (x, y, engineering shear xy) and stresses (MPa) on one face of a ply, in
// laminate axes and in the ply's own (1 along the fibres, 2 across, 12).
struct PlyFace {
    Eigen::Vector3d strain_xy = Eigen::Vector3d::Zero(), stress_xy = Eigen::Vector3d::Zero();
    Eigen::Vector3d strain_12 = Eigen::Vector3d::Zero(), stress_12 = Eigen::Vector3d::Zero();
};

struct PlyLoadResult {
    int id = 0;
    double z_bottom = 0, z_top = 0;
    PlyFace bottom, top;
};

// Force resultants Nx, Ny, Nxy (N/mm) and moment resultants Mx, My, Mxy (N mm/mm).
struct LaminateLoad {
    std::array<double, 3> N{}, M{};
};

struct LoadResult {
    Eigen::Vector3d midplane_strain = Eigen::Vector3d::Zero();
    Eigen::Vector3d curvature = Eigen::Vector3d::Zero(); // 1/mm
    std::vector<PlyLoadResult> plies;
};

class LaminationTheory {
public:
    // An entry counts as zero within this share of its matrix's largest entry (B's
    // against A's times the thickness).
    static constexpr double kTolerance = 1e-9;

    // False, with result untouched, for no plies, a ply of no thickness or a stack
    // whose ABD matrix cannot be inverted.
    static bool Analyse(const std::vector<LaminationPly>& plies, LaminationResult& result);
    static LoadResult ApplyLoad(const std::vector<LaminationPly>& plies, const LaminationResult& laminate,
                                const LaminateLoad& load);
    // A vector of laminate axes in ply axes; stresses carry the shear as it is,
    // strains as engineering shear.
    static Eigen::Vector3d StrainToPlyAxes(const Eigen::Vector3d& strain, double angle);
    static Eigen::Vector3d StressToPlyAxes(const Eigen::Vector3d& stress, double angle);
    // A ply's plane-stress stiffness in its own axes from its constants, and rotated
    // into laminate axes by its angle (degrees).
    static Matrix3 PlyStiffness(double E1, double E2, double G12, double nu12);
    static Matrix3 RotateStiffness(const Matrix3& stiffness, double angle);
};
