#pragma once

#include <array>
#include <limits>
#include <optional>
#include <string_view>

// How a ply fails, in the order that breaks ties: where two modes give the same
// strength ratio, the earlier one is named.
enum class FailureMode {
    FibreTension,
    FibreCompression,
    MatrixTension,
    MatrixCompression,
    Shear,
    IffA,
    IffB,
    IffC,
    None, // the criterion is never reached
};

// "fibre_tension", ..., "iff_c"; empty for None.
const char* FailureModeName(FailureMode mode);
bool IsFibreMode(FailureMode mode);

enum class FailureCriterion { MaxStress, MaxStrain, TsaiHill, TsaiWu, Hashin, Puck };
inline constexpr std::array<FailureCriterion, 6> kFailureCriteria = {
    FailureCriterion::MaxStress, FailureCriterion::MaxStrain, FailureCriterion::TsaiHill,
    FailureCriterion::TsaiWu,    FailureCriterion::Hashin,    FailureCriterion::Puck};

// "max-stress", "max-strain", "tsai-hill", "tsai-wu", "hashin", "puck".
const char* FailureCriterionKey(FailureCriterion criterion);
// "Maximum stress", ..., "Puck", as tables and the log head them.
const char* FailureCriterionTitle(FailureCriterion criterion);
std::optional<FailureCriterion> FailureCriterionFromKey(std::string_view key);

// A ply's strengths in MPa, compressive ones as magnitudes; ST is the transverse
// shear strength, NaN when not given (then Yc / 2).
struct PlyStrengths {
    double Xt = 0, Xc = 0, Yt = 0, Yc = 0, S = 0;
    double ST = std::numeric_limits<double>::quiet_NaN();

    double TransverseShear() const { return ST == ST ? ST : Yc / 2; }
    bool operator==(const PlyStrengths&) const = default;
};

// The laminate-wide parameters of Tsai-Wu and Puck.
struct FailureSettings {
    double tsai_wu_f12 = -0.5; // F12 = f12 * sqrt(F11 * F22), in (-1, 1)
    double puck_p_plus = 0.30; // inclination parameters, in [0, 1)
    double puck_p_minus = 0.25;
    bool operator==(const FailureSettings&) const = default;
};

// Stresses (MPa) and strains (engineering shear) in ply axes: 1 along the fibres.
struct PlyState {
    double s1 = 0, s2 = 0, t12 = 0;
    double e1 = 0, e2 = 0, g12 = 0;
};

// The ply's moduli as its stiffness uses them, MPa: the maximum strain criterion's
// allowable strains are its strengths over these.
struct PlyModuli {
    double E1 = 0, E2 = 0, G12 = 0;
};

// The factor by which the load must be multiplied for the criterion to reach 1
// (above 1: safe); infinite, with mode None, where it never can be.
struct StrengthRatio {
    double R = std::numeric_limits<double>::infinity();
    FailureMode mode = FailureMode::None;
};

// The planes c . (s1, s2, t12) = 0 across which a criterion changes its formula.
// Between them 1 / R is a convex function of the state when convex is true, so along a
// line of states the least R lies at the ends of each stretch.
struct FormulaSwitches {
    int count = 0;
    std::array<std::array<double, 3>, 3> planes{};
    bool convex = true;
};

// A ply's criterion, computed once per ply from its strengths and the settings.
class PlyFailure {
public:
    PlyFailure(const PlyStrengths& strengths, const PlyModuli& moduli, const FailureSettings& settings);

    StrengthRatio Ratio(FailureCriterion criterion, const PlyState& state) const;
    // Fibre failure alone, Xt / s1 or Xc / -s1: what a ply whose matrix has failed can still give.
    StrengthRatio FibreRatio(const PlyState& state) const;
    // Of Ratio; FibreRatio has none and is convex.
    FormulaSwitches Switches(FailureCriterion criterion) const;
    // The same strengths, moduli and settings: the same ratio for every state.
    bool operator==(const PlyFailure& other) const;

private:
    StrengthRatio MaxStress(const PlyState& state) const;
    StrengthRatio MaxStrain(const PlyState& state) const;
    StrengthRatio TsaiHill(const PlyState& state) const;
    StrengthRatio TsaiWu(const PlyState& state) const;
    StrengthRatio Hashin(const PlyState& state) const;
    StrengthRatio Puck(const PlyState& state) const;
    // The mode of the greatest of |s1|/X, |s2|/Y, |t12|/S, X and Y chosen by sign.
    FailureMode InteractionMode(const PlyState& state) const;

    PlyStrengths m_s;
    PlyModuli m_e;
    double m_st = 0;
    // Tsai-Wu
    double m_f1 = 0, m_f2 = 0, m_f11 = 0, m_f22 = 0, m_f66 = 0, m_f12 = 0;
    // Puck
    double m_p_plus = 0, m_p_minus = 0, m_r_tt = 0, m_p_tt = 0, m_tau21c = 0;
};
