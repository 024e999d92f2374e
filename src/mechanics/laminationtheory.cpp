#include "mechanics/laminationtheory.h"

#include <cmath>
#include <numbers>

namespace {

bool Negligible(double value, double scale) { return std::abs(value) <= LaminationTheory::kTolerance * scale; }

// Bottom z of each ply and, last, the top of the stack.
std::vector<double> Interfaces(const std::vector<LaminationPly>& plies, double thickness)
{
    std::vector<double> z{-thickness / 2};
    for (const LaminationPly& ply : plies)
        z.push_back(z.back() + ply.thickness);
    z.back() = thickness / 2; // the sum may miss by a rounding error
    return z;
}

} // namespace

bool LaminationTheory::Analyse(const std::vector<LaminationPly>& plies, LaminationResult& result)
{
    if (plies.empty())
        return false;
    LaminationResult r;
    for (const LaminationPly& ply : plies) {
        if (!(ply.thickness > 0))
            return false;
        r.thickness += ply.thickness;
    }
    const std::vector<double> z = Interfaces(plies, r.thickness);
    for (size_t k = 0; k < plies.size(); ++k) {
        const double bottom = z[k], top = z[k + 1];
        r.A += plies[k].stiffness * (top - bottom);
        r.B += plies[k].stiffness * ((top * top - bottom * bottom) / 2);
        r.D += plies[k].stiffness * ((top * top * top - bottom * bottom * bottom) / 3);
    }
    Matrix6 abd;
    abd << r.A, r.B, r.B, r.D;
    const Eigen::FullPivLU<Matrix6> lu(abd);
    if (!lu.isInvertible())
        return false;
    r.abd_inverse = lu.inverse();
    const Matrix3 a = r.A.inverse(), d = r.D.inverse();
    const double h = r.thickness;
    r.membrane = {1 / (h * a(0, 0)), 1 / (h * a(1, 1)), 1 / (h * a(2, 2)), -a(0, 1) / a(0, 0), -a(0, 1) / a(1, 1)};
    const double h3 = h * h * h;
    r.flexural = {12 / (h3 * d(0, 0)), 12 / (h3 * d(1, 1)), 12 / (h3 * d(2, 2)), -d(0, 1) / d(0, 0)};
    const double aScale = r.A.cwiseAbs().maxCoeff(), dScale = r.D.cwiseAbs().maxCoeff();
    r.symmetric = (r.B.cwiseAbs().array() <= LaminationTheory::kTolerance * aScale * h).all();
    r.balanced = Negligible(r.A(0, 2), aScale) && Negligible(r.A(1, 2), aScale);
    r.bend_twist_free = Negligible(r.D(0, 2), dScale) && Negligible(r.D(1, 2), dScale);
    result = r;
    return true;
}

Eigen::Vector3d LaminationTheory::StrainToPlyAxes(const Eigen::Vector3d& e, double angle)
{
    const double t = angle * std::numbers::pi / 180, c = std::cos(t), s = std::sin(t);
    return {c * c * e[0] + s * s * e[1] + c * s * e[2], s * s * e[0] + c * c * e[1] - c * s * e[2],
            -2 * c * s * e[0] + 2 * c * s * e[1] + (c * c - s * s) * e[2]};
}

Eigen::Vector3d LaminationTheory::StressToPlyAxes(const Eigen::Vector3d& f, double angle)
{
    const double t = angle * std::numbers::pi / 180, c = std::cos(t), s = std::sin(t);
    return {c * c * f[0] + s * s * f[1] + 2 * c * s * f[2], s * s * f[0] + c * c * f[1] - 2 * c * s * f[2],
            -c * s * f[0] + c * s * f[1] + (c * c - s * s) * f[2]};
}

Matrix3 LaminationTheory::PlyStiffness(double E1, double E2, double G12, double nu12)
{
    const double nu21 = nu12 * E2 / E1, d = 1 - nu12 * nu21;
    Matrix3 q = Matrix3::Zero();
    q(0, 0) = E1 / d;
    q(0, 1) = q(1, 0) = nu12 * E2 / d;
    q(1, 1) = E2 / d;
    q(2, 2) = G12;
    return q;
}

Matrix3 LaminationTheory::RotateStiffness(const Matrix3& stiffness, double angle)
{
    // Laminate strain to ply strain, the ply's stiffness, ply stress back to laminate stress.
    Matrix3 to_ply, to_laminate;
    for (int k = 0; k < 3; ++k) {
        to_ply.col(k) = StrainToPlyAxes(Eigen::Vector3d::Unit(k), angle);
        to_laminate.col(k) = StressToPlyAxes(Eigen::Vector3d::Unit(k), -angle);
    }
    return to_laminate * stiffness * to_ply;
}

LoadResult LaminationTheory::ApplyLoad(const std::vector<LaminationPly>& plies, const LaminationResult& laminate,
                                       const LaminateLoad& load)
{
    Eigen::Matrix<double, 6, 1> resultants;
    resultants << load.N[0], load.N[1], load.N[2], load.M[0], load.M[1], load.M[2];
    const Eigen::Matrix<double, 6, 1> deformation = laminate.abd_inverse * resultants;
    LoadResult result;
    result.midplane_strain = deformation.head<3>();
    result.curvature = deformation.tail<3>();
    const std::vector<double> z = Interfaces(plies, laminate.thickness);
    const auto face = [&](const LaminationPly& ply, double at) {
        PlyFace f;
        f.strain_xy = result.midplane_strain + at * result.curvature;
        f.stress_xy = ply.stiffness * f.strain_xy;
        f.strain_12 = StrainToPlyAxes(f.strain_xy, ply.angle);
        f.stress_12 = StressToPlyAxes(f.stress_xy, ply.angle);
        return f;
    };
    result.plies.reserve(plies.size());
    for (size_t k = 0; k < plies.size(); ++k)
        result.plies.push_back({plies[k].id, z[k], z[k + 1], face(plies[k], z[k]), face(plies[k], z[k + 1])});
    return result;
}
