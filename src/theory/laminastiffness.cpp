// The lamina's compliance and stiffness, in its own axes and rotated by the fibre
// angle, and its engineering constants in the loading axes.
#include "theory/lamina.h"

#include "mechanics/engineeringconstants.h"
#include "util/calclog.h"
#include "util/formattext.h"
#include "util/trace.h"

#include <cmath>
#include <numbers>

namespace {

struct Rotation {
    double c, s, c2, s2, c3, s3, c4, s4;
};

Matrix3 RotateCompliance(const Matrix3& S, const Rotation& r)
{
    Matrix3 bar;
    bar(0, 0) = S(0, 0) * r.c4 + S(1, 1) * r.s4 + (2 * S(0, 1) + S(2, 2)) * r.c2 * r.s2;
    bar(0, 1) = (r.c4 + r.s4) * S(0, 1) + (S(1, 1) + S(0, 0) - S(2, 2)) * r.c2 * r.s2;
    bar(0, 2) = (2 * S(0, 0) - 2 * S(0, 1) - S(2, 2)) * r.c3 * r.s -
                (2 * S(1, 1) - 2 * S(0, 1) - S(2, 2)) * r.c * r.s3;
    bar(1, 1) = S(0, 0) * r.s4 + S(1, 1) * r.c4 + (2 * S(0, 1) + S(2, 2)) * r.c2 * r.s2;
    bar(1, 2) = (2 * S(0, 0) - 2 * S(0, 1) - S(2, 2)) * r.c * r.s3 -
                (2 * S(1, 1) - 2 * S(0, 1) - S(2, 2)) * r.c3 * r.s;
    bar(2, 2) = (4 * S(0, 0) + 4 * S(1, 1) - 8 * S(0, 1) - 2 * S(2, 2)) * r.c2 * r.s2 +
                (r.c4 + r.s4) * S(2, 2);
    bar(1, 0) = bar(0, 1);
    bar(2, 0) = bar(0, 2);
    bar(2, 1) = bar(1, 2);
    return bar;
}

Matrix3 RotateStiffness(const Matrix3& C, const Rotation& r)
{
    Matrix3 bar;
    bar(0, 0) = C(0, 0) * r.c4 + C(1, 1) * r.s4 + (2 * C(0, 1) + 4 * C(2, 2)) * r.c2 * r.s2;
    bar(0, 1) = (C(0, 0) + C(1, 1) - 4 * C(2, 2)) * r.c2 * r.s2 + (r.c4 + r.s4) * C(0, 1);
    bar(0, 2) = (C(0, 0) - C(0, 1) - 2 * C(2, 2)) * r.c3 * r.s -
                (C(1, 1) - C(0, 1) - 2 * C(2, 2)) * r.c * r.s3;
    bar(1, 1) = C(0, 0) * r.s4 + C(1, 1) * r.c4 + (2 * C(0, 1) + 4 * C(2, 2)) * r.c2 * r.s2;
    bar(1, 2) = (C(0, 0) - C(0, 1) - 2 * C(2, 2)) * r.c * r.s3 -
                (C(1, 1) - C(0, 1) - 2 * C(2, 2)) * r.c3 * r.s;
    bar(2, 2) = (C(0, 0) + C(1, 1) - 2 * C(0, 1) - 2 * C(2, 2)) * r.c2 * r.s2 +
                (r.c4 + r.s4) * C(2, 2);
    bar(1, 0) = bar(0, 1);
    bar(2, 0) = bar(0, 2);
    bar(2, 1) = bar(1, 2);
    return bar;
}

} // namespace

bool Lamina::CalculateStiffnessMatrix(std::ostream& log, Trace& trace)
{
    const double kS = S_scale_factor;
    const double kC = C_scale_factor;
    if (kS == 0 || kC == 0)
        return false;

    const double E2 = halphin_tasi_E2;
    const double G12 = halphin_tasi_G12;
    S.setZero();
    S(0, 0) = (1 / E1) / kS;
    S(0, 1) = S(1, 0) = -(Nu21 / E2) / kS;
    S(1, 1) = (1 / E2) / kS;
    S(2, 2) = (1 / G12) / kS;

    const double D = 1 - Nu12 * Nu21;
    C.setZero();
    C(0, 0) = E1 / (D * kC);
    C(0, 1) = C(1, 0) = (Nu12 * E2) / D / kC;
    C(1, 1) = E2 / D / kC;
    C(2, 2) = G12 / kC;

    WriteLogHeading(log, "##Stiffness matrix");
    WriteLogHeading(log, "Plane-stress orthotropic lamina : S matrix");
    PrintMatrixToLog(S, log);
    WriteLogHeading(log, "Plane-stress orthotropic lamina : C matrix");
    PrintMatrixToLog(C, log);

    PrintMatrixToTrace(S, trace);
    PrintMatrixToTrace(C, trace);
    return true;
}

bool Lamina::CalculateStiffnessMatrixWithAngle(std::ostream& log, Trace& trace)
{
    if (S_angle_scale_factor == 0 || C_angle_scale_factor == 0)
        return false;

    rotation_angle = angle;
    const double theta = (angle * std::numbers::pi) / 180;
    cos_theta = std::cos(theta);
    cos2_theta = cos_theta * cos_theta;
    cos3_theta = std::pow(cos_theta, 3);
    sin_theta = std::sin(theta);
    sin2_theta = sin_theta * sin_theta;
    sin3_theta = std::pow(sin_theta, 3);
    const Rotation r{cos_theta,  sin_theta,  cos2_theta,  sin2_theta,
                     cos3_theta, sin3_theta, cos2_theta * cos2_theta, sin2_theta * sin2_theta};

    // The rotated matrices are the true rotated ones divided by the "with Angle"
    // factors: the stored S and C carry their own factors, which are taken back out
    // here, so no modulus depends on any factor. Rotation is linear, and with equal
    // factors the ratio is exactly 1.
    S_bar = RotateCompliance(S, r) * (S_scale_factor / S_angle_scale_factor);
    C_bar = RotateStiffness(C, r) * (C_scale_factor / C_angle_scale_factor);

    WriteLogHeading(log, "##Stiffness matrix(with angle, degree)");
    WriteLogBlock(log, FormatText("C=%g\nC2=%g\nC3=%g\n", cos_theta, cos2_theta, cos3_theta));
    WriteLogBlock(log, FormatText("S=%f\nS2=%f\nS3=%f\n", sin_theta, sin2_theta, sin3_theta));
    WriteLogHeading(log, "Plane-stress orthotropic lamina : S matrix");
    PrintMatrixToLog(S_bar, log);
    WriteLogHeading(log, "Plane-stress orthotropic lamina : C matrix");
    PrintMatrixToLog(C_bar, log);

    trace.Write(FormatText("C=%f\nC2=%f\nC3=%f\n", cos_theta, cos2_theta, cos3_theta));
    trace.Write(FormatText("S=%f\nS2=%f\nS3=%f\n", sin_theta, sin2_theta, sin3_theta));
    PrintMatrixToTrace(S_bar, trace);
    PrintMatrixToTrace(C_bar, trace);
    return true;
}

void Lamina::CalculateElasticConstants(std::ostream& log, Trace& trace)
{
    SetEngineeringConstants(*this, S_bar, S_angle_scale_factor);
    WriteLogHeading(log, "##Elastic constants");
    WriteEngineeringConstants(*this, log, "Ex=%gGPa\nEy=%gGPa\nGxy=%gGPa\n", trace);
}
