// Laminate assembly and homogenization.
#include "theory/laminate.h"
#include "util/recordlist.h"

#include "mechanics/engineeringconstants.h"
#include "util/calclog.h"
#include "util/formattext.h"
#include "util/trace.h"

#include <algorithm>

Laminate Laminate::Copy() const
{
    Laminate copy;
    static_cast<LaminateValues&>(copy) = *this;
    for (const auto& lamina : laminae)
        copy.laminae.push_back(std::make_unique<Lamina>(*lamina));
    return copy;
}

void Laminate::Initialize()
{
    FAW = 0;
    thickness = 0;
    stiffness_with_angle.setZero();
    compliance.setZero();
}

void Laminate::CalculateInformation(std::ostream& log, Trace& trace)
{
    // The fibre fraction is weighted by thickness like the stiffness, so that a
    // thick ply counts for what it carries.
    double weighted_faw = 0;
    for (const auto& lamina : laminae) {
        weighted_faw += lamina->FAW * lamina->thickness;
        thickness += lamina->thickness;
    }
    FAW = weighted_faw / thickness;

    WriteLogHeading(log, "##Information for laminate");
    WriteLogBlock(log, FormatText("FAW=%g\nThickness=%g\n", FAW, thickness));
    trace.Write(FormatText("FAW=%f\nThickness=%f\n", FAW, thickness));
}

void Laminate::CalculateStiffnessWithAngle(std::ostream& log, Trace& trace)
{
    // Thickness-weighted mean of the true rotated stiffnesses: each C_bar is stored
    // divided by its lamina's "with Angle" factor, which is multiplied back here.
    for (const auto& lamina : laminae)
        stiffness_with_angle += lamina->C_bar * (lamina->C_angle_scale_factor * lamina->thickness);
    stiffness_with_angle /= thickness;

    WriteLogHeading(log, "##Stiffness matrix(with angle, degree)");
    PrintMatrixToLog(stiffness_with_angle, log);
    PrintMatrixToTrace(stiffness_with_angle, trace);
}

void Laminate::CalculateCompliance(std::ostream& log, Trace& trace)
{
    const double k = compliance_scale_factor;
    if (k == 0)
        return;
    const Matrix3& A = stiffness_with_angle;
    delta = 2 * A(0, 1) * A(0, 2) * A(1, 2) + A(0, 0) * A(1, 1) * A(2, 2) -
            A(0, 2) * A(0, 2) * A(1, 1) - A(0, 1) * A(0, 1) * A(2, 2) - A(1, 2) * A(1, 2) * A(0, 0);
    const double d = delta * k;
    Matrix3& B = compliance;
    B(0, 0) = (A(1, 1) * A(2, 2) - A(1, 2) * A(1, 2)) / d;
    B(0, 1) = B(1, 0) = (A(0, 2) * A(1, 2) - A(0, 1) * A(2, 2)) / d;
    B(0, 2) = B(2, 0) = (A(0, 1) * A(1, 2) - A(1, 1) * A(0, 2)) / d;
    B(1, 1) = (A(0, 0) * A(2, 2) - A(0, 2) * A(0, 2)) / d;
    B(1, 2) = B(2, 1) = (A(0, 1) * A(0, 2) - A(0, 0) * A(1, 2)) / d;
    B(2, 2) = (A(0, 0) * A(1, 1) - A(0, 1) * A(0, 1)) / d;

    WriteLogHeading(log, "##Compliance matrix");
    WriteLogBlock(log, FormatText("Delta=%g\n", delta));
    PrintMatrixToLog(compliance, log);
    trace.Write(FormatText("delta=%f\n", delta));
    PrintMatrixToTrace(compliance, trace);
}

void Laminate::CalculateHomogenization(std::ostream& log, Trace& trace)
{
    SetEngineeringConstants(*this, compliance, compliance_scale_factor);
    WriteLogHeading(log, "##Material properties for laminate_Homogenization");
    WriteLogHeading(log, "Export for properties");
    WriteEngineeringConstants(*this, log, "Ex=%g\nEy=%g\nGxy=%g\n", trace);
}

void Laminate::CalculateAll(std::ostream& log, Trace& trace)
{
    Initialize();
    CalculateInformation(log, trace);
    CalculateStiffnessWithAngle(log, trace);
    CalculateCompliance(log, trace);
    CalculateHomogenization(log, trace);
    TranslateForAbaqus(log, trace);
}

bool Laminate::AnyAssessed() const
{
    return std::any_of(laminae.begin(), laminae.end(), [](const auto& lamina) { return lamina->Assessed(); });
}

Lamina* Laminate::FindLamina(int id) const { return FindRecord(laminae, id); }

Lamina& Laminate::FindOrCreateLamina(int id) { return FindOrCreateRecord(laminae, id); }
