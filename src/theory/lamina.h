#pragma once

#include "mechanics/failurecriteria.h"
#include "mechanics/matrix3.h"
#include "theory/constituentmaterial.h"
#include "util/trace.h"

#include <array>
#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The number inputs of a lamina by the names the project file gives them, in the
// order the lamina form shows them.
inline constexpr std::array<const char*, 22> kLaminaInputNames = {
    "fiber.density",  "fiber.youngs_modulus",  "fiber.poissons_ratio",
    "matrix.density", "matrix.youngs_modulus", "matrix.poissons_ratio",
    "FAW",            "thickness",             "angle",
    "xi",
    "ply.E1",         "ply.E2",                "ply.G12",
    "ply.nu12",       "ply.nu23",              "ply.density",
    "strength.Xt",    "strength.Xc",           "strength.Yt",
    "strength.Yc",    "strength.S",            "strength.ST"};
// Where the ply constants and the strengths begin in kLaminaInputNames.
inline constexpr int kFirstPlyConstantInput = 10;
inline constexpr int kFirstStrengthInput = 16;

// Whether a lamina is built from its fibre and matrix or given by its ply's own constants.
enum class LaminaSource { FibreMatrix, PlyConstants };

// A ply's constants from a datasheet or a test: moduli in GPa, the density in g/cm3
// (NaN: not given).
struct PlyConstants {
    double E1 = 0;
    double E2 = 0;
    double G12 = 0;
    double nu12 = 0;
    double nu23 = 0.3;
    double density = std::numeric_limits<double>::quiet_NaN();
};

// Where a ply value came from when a test series gave it: the series (its name or
// file), the statistic ("mean", "b_basis", "a_basis"), the number of values and the
// day it was taken.
struct ValueSource {
    std::string series;
    std::string statistic;
    int n = 0;
    std::string date;
    bool operator==(const ValueSource&) const = default;
};

// The input a source's field names ("Xt" a strength, "E1" a ply modulus), or -1.
int SourcedInputIndex(std::string_view field);

// "mean", "b_basis", "a_basis" as a reader says them: "mean", "B-basis", "A-basis".
const char* StatisticTitle(std::string_view statistic);

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
    LaminaSource source = LaminaSource::FibreMatrix;
    PlyConstants ply; // the inputs of a lamina given by its ply constants
    // MPa; NaN where not given: a lamina without strengths is not assessed for failure.
    PlyStrengths strength{kNoStrength, kNoStrength, kNoStrength, kNoStrength, kNoStrength, kNoStrength};
    std::vector<UnreadField> unread_cells; // in kLaminaInputNames order
    // Of the strengths (Xt ... S) and the ply moduli (E1, E2) a test series gave, by
    // their names; a value typed over loses its source.
    std::map<std::string, ValueSource> sources;

    static constexpr double kNoStrength = std::numeric_limits<double>::quiet_NaN();

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
    // In place of the micromechanics steps for a lamina given by its ply constants.
    void UsePlyConstants(std::ostream& log, Trace& trace);
    // The sources of its values, when a series gave any.
    void LogSources(std::ostream& log) const;
    void ApplyHalpinTsai(std::ostream& log, Trace& trace);
    void CalculateNuAndK(std::ostream& log, Trace& trace);
    void CalculateWeightFractionAndDensity(std::ostream& log, Trace& trace);
    // False, with nothing changed or written, when S_scale_factor or C_scale_factor is 0.
    bool CalculateStiffnessMatrix(std::ostream& log, Trace& trace);
    // False, with nothing changed or written, when a "with Angle" factor is 0.
    bool CalculateStiffnessMatrixWithAngle(std::ostream& log, Trace& trace);
    void CalculateElasticConstants(std::ostream& log, Trace& trace);

    // Whether it takes part in the failure analysis: some strength is given, or typed.
    bool Assessed() const;
    // Its moduli as its stiffness uses them, in MPa.
    PlyModuli Moduli() const { return {E1 * 1000, halphin_tasi_E2 * 1000, halphin_tasi_G12 * 1000}; }

    // True when every input field equals the other's, bit for bit.
    bool SameInputs(const Lamina& other) const;

    // The number input at that position of kLaminaInputNames.
    double& Input(int index);
    double Input(int index) const { return const_cast<Lamina*>(this)->Input(index); }
};
