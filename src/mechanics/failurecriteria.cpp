#include "mechanics/failurecriteria.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Keeps the lesser ratio; on a tie the earlier mode, as the calls come in mode order.
void Least(StrengthRatio& best, double R, FailureMode mode)
{
    if (R < best.R)
        best = {R, mode};
}

// R for a criterion that grows with the load as a bound over a stress: the bound over
// the stress when the stress points that way, else never.
double Over(double bound, double stress) { return stress > 0 ? bound / stress : kInfinity; }

// The positive root of a R^2 + b R - 1 = 0, the least when there are two; infinite
// when there is none. Written without cancellation: 2 / (b + sqrt(b^2 + 4a)).
double PositiveRoot(double a, double b)
{
    if (a == 0)
        return b > 0 ? 1 / b : kInfinity;
    const double discriminant = b * b + 4 * a;
    if (discriminant < 0 || (a < 0 && b <= 0))
        return kInfinity;
    return 2 / (b + std::sqrt(discriminant));
}

// R of a quadratic exposure q = 1 / R^2.
double FromSquares(double q) { return q > 0 ? 1 / std::sqrt(q) : kInfinity; }

} // namespace

const char* FailureModeName(FailureMode mode)
{
    switch (mode) {
    case FailureMode::FibreTension: return "fibre_tension";
    case FailureMode::FibreCompression: return "fibre_compression";
    case FailureMode::MatrixTension: return "matrix_tension";
    case FailureMode::MatrixCompression: return "matrix_compression";
    case FailureMode::Shear: return "shear";
    case FailureMode::IffA: return "iff_a";
    case FailureMode::IffB: return "iff_b";
    case FailureMode::IffC: return "iff_c";
    case FailureMode::None: break;
    }
    return "";
}

bool IsFibreMode(FailureMode mode) { return mode == FailureMode::FibreTension || mode == FailureMode::FibreCompression; }

const char* FailureCriterionKey(FailureCriterion criterion)
{
    constexpr const char* keys[] = {"max-stress", "max-strain", "tsai-hill", "tsai-wu", "hashin", "puck"};
    return keys[static_cast<int>(criterion)];
}

const char* FailureCriterionTitle(FailureCriterion criterion)
{
    constexpr const char* titles[] = {"Maximum stress", "Maximum strain", "Tsai-Hill", "Tsai-Wu", "Hashin", "Puck"};
    return titles[static_cast<int>(criterion)];
}

std::optional<FailureCriterion> FailureCriterionFromKey(std::string_view key)
{
    for (const FailureCriterion criterion : kFailureCriteria) {
        if (key == FailureCriterionKey(criterion))
            return criterion;
    }
    return std::nullopt;
}

PlyFailure::PlyFailure(const PlyStrengths& s, const PlyModuli& moduli, const FailureSettings& settings)
    : m_s(s), m_e(moduli), m_st(s.TransverseShear())
{
    m_f1 = 1 / s.Xt - 1 / s.Xc;
    m_f2 = 1 / s.Yt - 1 / s.Yc;
    m_f11 = 1 / (s.Xt * s.Xc);
    m_f22 = 1 / (s.Yt * s.Yc);
    m_f66 = 1 / (s.S * s.S);
    m_f12 = settings.tsai_wu_f12 * std::sqrt(m_f11 * m_f22);

    m_p_plus = settings.puck_p_plus;
    m_p_minus = settings.puck_p_minus;
    // The fracture resistance against transverse compression, Yc / 2 in the limit p- = 0.
    m_r_tt = m_p_minus > 0 ? s.S / (2 * m_p_minus) * (std::sqrt(1 + 2 * m_p_minus * s.Yc / s.S) - 1) : s.Yc / 2;
    m_p_tt = m_p_minus * m_r_tt / s.S;
    m_tau21c = s.S * std::sqrt(1 + 2 * m_p_tt);
}

StrengthRatio PlyFailure::Ratio(FailureCriterion criterion, const PlyState& state) const
{
    switch (criterion) {
    case FailureCriterion::MaxStress: return MaxStress(state);
    case FailureCriterion::MaxStrain: return MaxStrain(state);
    case FailureCriterion::TsaiHill: return TsaiHill(state);
    case FailureCriterion::TsaiWu: return TsaiWu(state);
    case FailureCriterion::Hashin: return Hashin(state);
    case FailureCriterion::Puck: return Puck(state);
    }
    return {};
}

StrengthRatio PlyFailure::FibreRatio(const PlyState& state) const
{
    StrengthRatio best;
    Least(best, Over(m_s.Xt, state.s1), FailureMode::FibreTension);
    Least(best, Over(m_s.Xc, -state.s1), FailureMode::FibreCompression);
    return best;
}

StrengthRatio PlyFailure::MaxStress(const PlyState& p) const
{
    StrengthRatio best = FibreRatio(p);
    Least(best, Over(m_s.Yt, p.s2), FailureMode::MatrixTension);
    Least(best, Over(m_s.Yc, -p.s2), FailureMode::MatrixCompression);
    Least(best, Over(m_s.S, std::abs(p.t12)), FailureMode::Shear);
    return best;
}

StrengthRatio PlyFailure::MaxStrain(const PlyState& p) const
{
    StrengthRatio best;
    Least(best, Over(m_s.Xt / m_e.E1, p.e1), FailureMode::FibreTension);
    Least(best, Over(m_s.Xc / m_e.E1, -p.e1), FailureMode::FibreCompression);
    Least(best, Over(m_s.Yt / m_e.E2, p.e2), FailureMode::MatrixTension);
    Least(best, Over(m_s.Yc / m_e.E2, -p.e2), FailureMode::MatrixCompression);
    Least(best, Over(m_s.S / m_e.G12, std::abs(p.g12)), FailureMode::Shear);
    return best;
}

FailureMode PlyFailure::InteractionMode(const PlyState& p) const
{
    const double X = p.s1 >= 0 ? m_s.Xt : m_s.Xc;
    const double Y = p.s2 >= 0 ? m_s.Yt : m_s.Yc;
    const struct {
        double exposure;
        FailureMode mode;
    } terms[] = {{std::abs(p.s1) / X, p.s1 >= 0 ? FailureMode::FibreTension : FailureMode::FibreCompression},
                 {std::abs(p.s2) / Y, p.s2 >= 0 ? FailureMode::MatrixTension : FailureMode::MatrixCompression},
                 {std::abs(p.t12) / m_s.S, FailureMode::Shear}};
    const auto* greatest = &terms[0];
    for (const auto& term : terms) {
        if (term.exposure > greatest->exposure)
            greatest = &term;
    }
    return greatest->mode;
}

StrengthRatio PlyFailure::TsaiHill(const PlyState& p) const
{
    const double X = p.s1 >= 0 ? m_s.Xt : m_s.Xc;
    const double Y = p.s2 >= 0 ? m_s.Yt : m_s.Yc;
    const double q = (p.s1 / X) * (p.s1 / X) - p.s1 * p.s2 / (X * X) + (p.s2 / Y) * (p.s2 / Y) +
                     (p.t12 / m_s.S) * (p.t12 / m_s.S);
    const double R = FromSquares(q);
    return {R, std::isinf(R) ? FailureMode::None : InteractionMode(p)};
}

StrengthRatio PlyFailure::TsaiWu(const PlyState& p) const
{
    const double a = m_f11 * p.s1 * p.s1 + m_f22 * p.s2 * p.s2 + m_f66 * p.t12 * p.t12 + 2 * m_f12 * p.s1 * p.s2;
    const double b = m_f1 * p.s1 + m_f2 * p.s2;
    const double R = PositiveRoot(a, b);
    return {R, std::isinf(R) ? FailureMode::None : InteractionMode(p)};
}

StrengthRatio PlyFailure::Hashin(const PlyState& p) const
{
    StrengthRatio best;
    const double shear = (p.t12 / m_s.S) * (p.t12 / m_s.S);
    if (p.s1 >= 0)
        Least(best, FromSquares((p.s1 / m_s.Xt) * (p.s1 / m_s.Xt) + shear), FailureMode::FibreTension);
    else
        Least(best, m_s.Xc / -p.s1, FailureMode::FibreCompression);
    if (p.s2 >= 0) {
        Least(best, FromSquares((p.s2 / m_s.Yt) * (p.s2 / m_s.Yt) + shear), FailureMode::MatrixTension);
    } else {
        const double half = 2 * m_st;
        const double a = (p.s2 / half) * (p.s2 / half) + shear;
        const double b = ((m_s.Yc / half) * (m_s.Yc / half) - 1) * (p.s2 / m_s.Yc);
        Least(best, PositiveRoot(a, b), FailureMode::MatrixCompression);
    }
    return best;
}

StrengthRatio PlyFailure::Puck(const PlyState& p) const
{
    StrengthRatio best = FibreRatio(p);
    const double S = m_s.S, t = p.t12, s2 = p.s2;
    double exposure = 0;
    FailureMode mode = FailureMode::IffA;
    if (s2 >= 0) {
        const double k = 1 - m_p_plus * m_s.Yt / S;
        exposure = std::sqrt((t / S) * (t / S) + k * k * (s2 / m_s.Yt) * (s2 / m_s.Yt)) + m_p_plus * s2 / S;
    } else if (-s2 <= m_r_tt * std::abs(t) / m_tau21c) {
        mode = FailureMode::IffB;
        exposure = (std::sqrt(t * t + (m_p_minus * s2) * (m_p_minus * s2)) + m_p_minus * s2) / S;
    } else {
        mode = FailureMode::IffC;
        const double shear = t / (2 * (1 + m_p_tt) * S);
        exposure = (shear * shear + (s2 / m_s.Yc) * (s2 / m_s.Yc)) * m_s.Yc / -s2;
    }
    Least(best, exposure > 0 ? 1 / exposure : kInfinity, mode);
    return best;
}

FormulaSwitches PlyFailure::Switches(FailureCriterion criterion) const
{
    FormulaSwitches out;
    switch (criterion) {
    case FailureCriterion::TsaiHill:
        // X and Y follow the signs; the root of the quadratic is convex while it is
        // positive semi-definite, 4 X^2 >= Y^2 for every X and Y it may take.
        out.count = 2;
        out.planes[0] = {1, 0, 0};
        out.planes[1] = {0, 1, 0};
        out.convex = 2 * std::min(m_s.Xt, m_s.Xc) >= std::max(m_s.Yt, m_s.Yc);
        break;
    case FailureCriterion::Hashin:
        out.count = 2;
        out.planes[0] = {1, 0, 0};
        out.planes[1] = {0, 1, 0};
        break;
    case FailureCriterion::Puck:
        // Tension against compression across, and the border of modes B and C on
        // either sign of the shear.
        out.count = 3;
        out.planes[0] = {0, 1, 0};
        out.planes[1] = {0, m_tau21c, m_r_tt};
        out.planes[2] = {0, m_tau21c, -m_r_tt};
        break;
    case FailureCriterion::MaxStress:
    case FailureCriterion::MaxStrain:
    case FailureCriterion::TsaiWu: break;
    }
    return out;
}

bool PlyFailure::operator==(const PlyFailure& o) const
{
    const auto key = [](const PlyFailure& f) {
        return std::array{f.m_s.Xt, f.m_s.Xc, f.m_s.Yt,  f.m_s.Yc,  f.m_s.S,      f.m_st,
                          f.m_e.E1, f.m_e.E2, f.m_e.G12, f.m_f12, f.m_p_plus, f.m_p_minus};
    };
    return key(*this) == key(o);
}
