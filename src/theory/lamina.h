#pragma once

#include "mechanics/matrix3.h"
#include "theory/constituentmaterial.h"
#include "util/trace.h"

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The number inputs of a lamina by the names the project file gives them, in the
// order the lamina form shows them.
inline constexpr std::array<const char*, 10> kLaminaInputNames = {
    "fiber.density",  "fiber.youngs_modulus",  "fiber.poissons_ratio",
    "matrix.density", "matrix.youngs_modulus", "matrix.poissons_ratio",
    "FAW",            "thickness",             "angle",
    "xi"};

// The position of that name in kLaminaInputNames, or -1.
int LaminaInputIndex(std::string_view name);

// An input typed into the lamina form that is not a number, kept as typed so that
// nothing is lost; the input itself holds NaN.
struct UnreadField {
    std::string field; // one of kLaminaInputNames
    std::string text;
    bool operator==(const UnreadField&) const = default;
};

// One ply: its two constituents, its ply inputs, its scale factors and every result
// computed for it. The calculation steps are called in declaration order by the
// theory driver; each writes its section of the calculation log and its trace.
struct Lamina {
    int id = 0;
    ConstituentMaterial fiber;
    ConstituentMaterial matrix;
    double FAW = 0;       // fibre fraction, used unchanged as the volume fraction
    double thickness = 0; // mm
    double angle = 0;     // degrees
    double xi = 0;        // Halpin-Tsai reinforcement factor
    std::vector<UnreadField> unread_cells; // in kLaminaInputNames order

    double E1 = 0;
    double E2 = 0;
    double G12 = 0;
    double G23 = 0;
    double E1_E2 = 0;
    double halphin_tasi_E2 = 0;
    double halphin_tasi_G12 = 0;
    double halphin_tasi_ETA_E2 = 0;
    double halphin_tasi_ETA_G12 = 0;
    double Nu12 = 0;
    double Nu21 = 0;
    double Nu23 = 0;
    double k = 0;
    double fibers_weight_fraction = 0;
    double composite_density = 0;

    double S_scale_factor = 0;
    double C_scale_factor = 0;
    Matrix3 S = Matrix3::Zero();
    Matrix3 C = Matrix3::Zero();
    double S_angle_scale_factor = 0;
    double C_angle_scale_factor = 0;
    double rotation_angle = 0;
    double cos_theta = 0;
    double cos2_theta = 0;
    double cos3_theta = 0;
    double sin_theta = 0;
    double sin2_theta = 0;
    double sin3_theta = 0;
    Matrix3 S_bar = Matrix3::Zero();
    Matrix3 C_bar = Matrix3::Zero();

    double Ex = 0;
    double Ey = 0;
    double Gxy = 0;
    double NUxy = 0;
    double NUyx = 0;
    double ETAxyx = 0;
    double ETAxyy = 0;

    // False, with nothing computed or written, when a Young's modulus is 0.
    bool CalculateMaterialProperties(std::ostream& log, Trace& trace);
    void ApplyHalpinTsai(std::ostream& log, Trace& trace);
    void CalculateNuAndK(std::ostream& log, Trace& trace);
    void CalculateWeightFractionAndDensity(std::ostream& log, Trace& trace);
    // False, with nothing changed or written, when S_scale_factor or C_scale_factor is 0.
    bool CalculateStiffnessMatrix(std::ostream& log, Trace& trace);
    // False, with nothing changed or written, when a "with Angle" factor is 0.
    bool CalculateStiffnessMatrixWithAngle(std::ostream& log, Trace& trace);
    void CalculateElasticConstants(std::ostream& log, Trace& trace);

    // True when every input field equals the other's, bit for bit.
    bool SameInputs(const Lamina& other) const;

    // The number input at that position of kLaminaInputNames.
    double& Input(int index);
};
