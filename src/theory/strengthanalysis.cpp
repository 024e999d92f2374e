#include "theory/strengthanalysis.h"

#include "theory/laminate.h"
#include "util/formattext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

PlyState StateOf(const PlyFace& face)
{
    return {face.stress_12[0], face.stress_12[1], face.stress_12[2],
            face.strain_12[0], face.strain_12[1], face.strain_12[2]};
}

// Clearly less than best: ratios within kTie of each other are the same, and the
// earlier ply face keeps it.
bool ClearlyLess(double R, double best)
{
    return R < best && (std::isinf(best) || !(best - R <= StrengthAnalysis::kTie * best));
}

LaminateLoad Scaled(const LaminateLoad& load, double factor)
{
    LaminateLoad scaled;
    for (int k = 0; k < 3; ++k) {
        scaled.N[k] = load.N[k] * factor;
        scaled.M[k] = load.M[k] * factor;
    }
    return scaled;
}

// What turns a strain in laminate axes into the ply-axes state, as
// LaminationTheory::ApplyLoad gives it: the stress through the ply's stiffness and the
// rotation, the strain through the rotation alone.
struct FaceMap {
    Matrix3 stress, strain;

    FaceMap(const Matrix3& stiffness, double angle)
    {
        Matrix3 rotate;
        for (int k = 0; k < 3; ++k) {
            strain.col(k) = LaminationTheory::StrainToPlyAxes(Eigen::Vector3d::Unit(k), angle);
            rotate.col(k) = LaminationTheory::StressToPlyAxes(Eigen::Vector3d::Unit(k), angle);
        }
        stress = rotate * stiffness;
    }
    PlyState State(const Eigen::Vector3d& e) const
    {
        const Eigen::Vector3d f = stress * e, g = strain * e;
        return {f[0], f[1], f[2], g[0], g[1], g[2]};
    }
};

} // namespace

bool StrengthAnalysis::Run(const Laminate& laminate, const LaminateLoad& load_case, const FailureSettings& with,
                           const std::vector<FailureCriterion>& criteria, int envelope_directions)
{
    load = load_case;
    settings = with;
    results.clear();
    envelopes.clear();
    m_plies.clear();
    m_stack.clear();
    for (const auto& lamina : laminate.laminae) {
        Ply ply{lamina->id, lamina->thickness, lamina->angle, lamina->Nu12,
                lamina->C_bar * (lamina->C_angle_scale_factor * 1000), lamina->Moduli(), std::nullopt};
        if (lamina->Assessed())
            ply.failure.emplace(lamina->strength, ply.moduli, settings);
        m_plies.push_back(std::move(ply));
    }
    std::stable_sort(m_plies.begin(), m_plies.end(), [](const Ply& a, const Ply& b) { return a.id < b.id; });
    for (const Ply& ply : m_plies)
        m_stack.push_back({ply.id, ply.thickness, ply.angle, ply.stiffness});
    if (!laminate.AnyAssessed() || !LaminationTheory::Analyse(m_stack, m_laminate))
        return false;

    const LoadResult loaded = LaminationTheory::ApplyLoad(m_stack, m_laminate, load);
    const bool all = std::all_of(m_plies.begin(), m_plies.end(), [](const Ply& p) { return p.failure.has_value(); });
    LoadResult unit_x, unit_y;
    if (envelope_directions > 0) {
        unit_x = LaminationTheory::ApplyLoad(m_stack, m_laminate, LaminateLoad{{1, 0, 0}, {0, 0, 0}});
        unit_y = LaminationTheory::ApplyLoad(m_stack, m_laminate, LaminateLoad{{0, 1, 0}, {0, 0, 0}});
    }
    for (const FailureCriterion criterion : criteria) {
        results.push_back(Assess(criterion, loaded));
        if (all)
            results.back().last_ply = LastPly(criterion);
        if (envelope_directions > 0)
            envelopes.push_back(Envelope(criterion, unit_x, unit_y, envelope_directions));
    }
    return true;
}

CriterionStrength StrengthAnalysis::Assess(FailureCriterion criterion, const LoadResult& loaded) const
{
    CriterionStrength out;
    out.criterion = criterion;
    out.first_ply.at = Scaled(load, kInfinity);
    for (size_t k = 0; k < m_plies.size(); ++k) {
        PlyStrengthRatios ratios{m_plies[k].id, m_plies[k].failure.has_value(), {}, {}};
        if (ratios.assessed) {
            ratios.bottom = m_plies[k].failure->Ratio(criterion, StateOf(loaded.plies[k].bottom));
            ratios.top = m_plies[k].failure->Ratio(criterion, StateOf(loaded.plies[k].top));
            for (const bool top : {false, true}) {
                const StrengthRatio& ratio = top ? ratios.top : ratios.bottom;
                if (ClearlyLess(ratio.R, out.first_ply.ratio.R))
                    out.first_ply = {ratio, ratios.id, top, Scaled(load, ratio.R)};
            }
        }
        out.plies.push_back(ratios);
    }
    return out;
}

LastPlyFailure StrengthAnalysis::LastPly(FailureCriterion criterion) const
{
    enum class State { Intact, MatrixFailed, FibreFailed };
    const size_t n = m_plies.size();
    std::vector<State> states(n, State::Intact);
    std::vector<Matrix3> stiffness(n);
    std::vector<FaceMap> maps;
    std::vector<double> z{-m_laminate.thickness / 2};
    for (size_t k = 0; k < n; ++k) {
        stiffness[k] = m_plies[k].stiffness;
        maps.emplace_back(stiffness[k], m_plies[k].angle);
        z.push_back(z.back() + m_plies[k].thickness);
    }
    std::vector<Eigen::Vector3d> strains(n + 1); // at the interfaces, a ply's faces sharing them
    z.back() = m_laminate.thickness / 2;
    Matrix6 abd;
    abd << m_laminate.A, m_laminate.B, m_laminate.B, m_laminate.D;
    Eigen::Matrix<double, 6, 1> resultants;
    resultants << load.N[0], load.N[1], load.N[2], load.M[0], load.M[1], load.M[2];

    LastPlyFailure out;
    size_t intact = n;
    while (intact > 0) {
        const Eigen::Matrix<double, 6, 1> deformation = abd.partialPivLu().solve(resultants);
        const Eigen::Vector3d midplane = deformation.head<3>(), curvature = deformation.tail<3>();
        for (size_t i = 0; i <= n; ++i)
            strains[i] = midplane + z[i] * curvature;
        StrengthRatio least;
        size_t at = n;
        for (size_t k = 0; k < n; ++k) {
            if (states[k] == State::FibreFailed)
                continue;
            for (const size_t face : {k, k + 1}) {
                const PlyState state = maps[k].State(strains[face]);
                const StrengthRatio ratio = states[k] == State::Intact ? m_plies[k].failure->Ratio(criterion, state)
                                                                       : m_plies[k].failure->FibreRatio(state);
                if (ClearlyLess(ratio.R, least.R)) {
                    least = ratio;
                    at = k;
                }
            }
        }
        if (at == n || !std::isfinite(least.R))
            break;
        const double lambda = out.events.empty() ? least.R : std::max(least.R, out.events.back().lambda);
        out.events.push_back({lambda, m_plies[at].id, least.mode});

        const Ply& ply = m_plies[at];
        const bool fibre = IsFibreMode(least.mode);
        intact -= states[at] == State::Intact;
        states[at] = fibre ? State::FibreFailed : State::MatrixFailed;
        const double d = kDiscount;
        const Matrix3 degraded = LaminationTheory::RotateStiffness(
            LaminationTheory::PlyStiffness(ply.moduli.E1 * (fibre ? d : 1), ply.moduli.E2 * d, ply.moduli.G12 * d,
                                           ply.nu12 * d),
            ply.angle);
        const Matrix3 change = degraded - stiffness[at];
        stiffness[at] = degraded;
        maps[at] = FaceMap(degraded, ply.angle);
        const double b = z[at], t = z[at + 1];
        abd.topLeftCorner<3, 3>() += change * (t - b);
        abd.topRightCorner<3, 3>() += change * ((t * t - b * b) / 2);
        abd.bottomLeftCorner<3, 3>() += change * ((t * t - b * b) / 2);
        abd.bottomRightCorner<3, 3>() += change * ((t * t * t - b * b * b) / 3);
    }
    out.lambda = out.events.empty() ? kInfinity : out.events.back().lambda;
    return out;
}

std::vector<EnvelopePoint> StrengthAnalysis::Envelope(FailureCriterion criterion, const LoadResult& unit_x,
                                                      const LoadResult& unit_y, int directions) const
{
    // Stresses are linear in the load: each direction's are those of the unit loads combined.
    struct Face {
        const PlyFailure* failure;
        PlyState x, y;
    };
    std::vector<Face> faces;
    for (size_t k = 0; k < m_plies.size(); ++k) {
        if (!m_plies[k].failure)
            continue;
        faces.push_back({&*m_plies[k].failure, StateOf(unit_x.plies[k].bottom), StateOf(unit_y.plies[k].bottom)});
        faces.push_back({&*m_plies[k].failure, StateOf(unit_x.plies[k].top), StateOf(unit_y.plies[k].top)});
    }
    std::vector<EnvelopePoint> points;
    points.reserve(directions);
    for (int i = 0; i < directions; ++i) {
        const double theta = 2 * std::numbers::pi * i / directions, c = std::cos(theta), s = std::sin(theta);
        double least = kInfinity;
        for (const Face& f : faces) {
            const PlyState state{c * f.x.s1 + s * f.y.s1, c * f.x.s2 + s * f.y.s2, c * f.x.t12 + s * f.y.t12,
                                 c * f.x.e1 + s * f.y.e1, c * f.x.e2 + s * f.y.e2, c * f.x.g12 + s * f.y.g12};
            least = std::min(least, f.failure->Ratio(criterion, state).R);
        }
        points.push_back({least * c, least * s});
    }
    return points;
}

namespace {

std::string Ratio(const StrengthRatio& ratio)
{
    return std::isfinite(ratio.R) ? FormatText("R=%g %s", ratio.R, FailureModeName(ratio.mode)) : "R=inf";
}

std::string Resultants(const LaminateLoad& load)
{
    return FormatText("Nx=%g Ny=%g Nxy=%g Mx=%g My=%g Mxy=%g", load.N[0], load.N[1], load.N[2], load.M[0], load.M[1],
                      load.M[2]);
}

using JsonValue = nlohmann::ordered_json;

JsonValue RatioJson(const StrengthRatio& ratio)
{
    if (!std::isfinite(ratio.R))
        return {{"R", nullptr}, {"mode", nullptr}};
    return {{"R", ratio.R}, {"mode", FailureModeName(ratio.mode)}};
}

JsonValue Triple(const std::array<double, 3>& v) { return JsonValue::array({v[0], v[1], v[2]}); }

} // namespace

std::string StrengthAnalysis::Text() const
{
    std::string out = "##Strength\n";
    out += "Load: " + Resultants(load) + "\n";
    out += FormatText("Tsai-Wu f12*=%g\nPuck p+=%g p-=%g\n\n", settings.tsai_wu_f12, settings.puck_p_plus,
                      settings.puck_p_minus);
    for (const CriterionStrength& result : results) {
        out += std::string(FailureCriterionTitle(result.criterion)) + "\n";
        for (const PlyStrengthRatios& ply : result.plies) {
            out += FormatText("Ply %d: ", ply.id);
            out += ply.assessed ? "bottom " + Ratio(ply.bottom) + ", top " + Ratio(ply.top) : "not assessed";
            out += '\n';
        }
        const FirstPlyFailure& first = result.first_ply;
        if (std::isfinite(first.ratio.R))
            out += FormatText("First-ply failure: R=%g at ply %d %s (%s), %s\n", first.ratio.R, first.ply,
                              first.top ? "top" : "bottom", FailureModeName(first.ratio.mode),
                              Resultants(first.at).c_str());
        else
            out += "First-ply failure: none, the load case never reaches the criterion\n";
        if (!result.last_ply) {
            out += "Last-ply failure: not assessed, as not every lamina has strengths\n";
        } else {
            out += FormatText("Last-ply failure: R=%g after %d events\n", result.last_ply->lambda,
                              static_cast<int>(result.last_ply->events.size()));
            for (const FailureEvent& event : result.last_ply->events)
                out += FormatText("  R=%g ply %d %s\n", event.lambda, event.ply, FailureModeName(event.mode));
        }
        out += '\n';
    }
    return out;
}

std::string StrengthAnalysis::Json() const
{
    JsonValue out;
    out["load"] = {{"N", Triple(load.N)}, {"M", Triple(load.M)}};
    JsonValue criteria = JsonValue::object();
    for (const CriterionStrength& result : results) {
        JsonValue plies = JsonValue::array();
        for (const PlyStrengthRatios& ply : result.plies) {
            if (ply.assessed)
                plies.push_back({{"id", ply.id}, {"assessed", true}, {"bottom", RatioJson(ply.bottom)},
                                 {"top", RatioJson(ply.top)}});
            else
                plies.push_back({{"id", ply.id}, {"assessed", false}, {"bottom", nullptr}, {"top", nullptr}});
        }
        const FirstPlyFailure& first = result.first_ply;
        JsonValue first_ply = RatioJson(first.ratio);
        const bool fails = std::isfinite(first.ratio.R);
        first_ply["ply"] = fails ? JsonValue(first.ply) : JsonValue();
        first_ply["face"] = fails ? JsonValue(first.top ? "top" : "bottom") : JsonValue();
        first_ply["N"] = fails ? Triple(first.at.N) : JsonValue();
        first_ply["M"] = fails ? Triple(first.at.M) : JsonValue();
        JsonValue last_ply;
        if (result.last_ply) {
            JsonValue events = JsonValue::array();
            for (const FailureEvent& event : result.last_ply->events)
                events.push_back({{"R", event.lambda}, {"ply", event.ply}, {"mode", FailureModeName(event.mode)}});
            last_ply = {{"R", std::isfinite(result.last_ply->lambda) ? JsonValue(result.last_ply->lambda) : JsonValue()},
                        {"events", events}};
        }
        criteria[FailureCriterionKey(result.criterion)] = {
            {"plies", plies}, {"first_ply", first_ply}, {"last_ply", last_ply}};
    }
    out["criteria"] = criteria;
    JsonValue envelope;
    for (size_t i = 0; i < envelopes.size(); ++i) {
        JsonValue points = JsonValue::array();
        for (const EnvelopePoint& p : envelopes[i])
            points.push_back(std::isfinite(p.Nx) && std::isfinite(p.Ny) ? JsonValue::array({p.Nx, p.Ny})
                                                                         : JsonValue::array({nullptr, nullptr}));
        envelope[FailureCriterionKey(results[i].criterion)] = points;
    }
    out["envelope"] = envelope;
    return out.dump();
}
