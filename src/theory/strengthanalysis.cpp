#include "theory/strengthanalysis.h"

#include "theory/laminate.h"
#include "theory/plyfailuresearch.h"
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

LaminateLoad Scaled(const LaminateLoad& load, double factor)
{
    LaminateLoad scaled;
    for (int k = 0; k < 3; ++k) {
        scaled.N[k] = load.N[k] * factor;
        scaled.M[k] = load.M[k] * factor;
    }
    return scaled;
}

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
        StrengthPly ply{lamina->id, lamina->thickness, lamina->angle, lamina->Nu12,
                        lamina->C_bar * (lamina->C_angle_scale_factor * 1000), lamina->Moduli(), std::nullopt};
        if (lamina->Assessed())
            ply.failure.emplace(lamina->strength, ply.moduli, settings);
        m_plies.push_back(std::move(ply));
    }
    std::stable_sort(m_plies.begin(), m_plies.end(),
                     [](const StrengthPly& a, const StrengthPly& b) { return a.id < b.id; });
    for (const StrengthPly& ply : m_plies)
        m_stack.push_back({ply.id, ply.thickness, ply.angle, ply.stiffness});
    if (!laminate.AnyAssessed() || !LaminationTheory::Analyse(m_stack, m_laminate))
        return false;

    const LoadResult loaded = LaminationTheory::ApplyLoad(m_stack, m_laminate, load);
    const bool all =
        std::all_of(m_plies.begin(), m_plies.end(), [](const StrengthPly& p) { return p.failure.has_value(); });
    LoadResult unit_x, unit_y;
    if (envelope_directions > 0) {
        unit_x = LaminationTheory::ApplyLoad(m_stack, m_laminate, LaminateLoad{{1, 0, 0}, {0, 0, 0}});
        unit_y = LaminationTheory::ApplyLoad(m_stack, m_laminate, LaminateLoad{{0, 1, 0}, {0, 0, 0}});
    }
    // Grouping the plies is only worth it for last-ply failure or an envelope.
    std::optional<PlyFailureSearch> search;
    if (all || envelope_directions > 0)
        search.emplace(m_plies, m_laminate);
    for (const FailureCriterion criterion : criteria) {
        results.push_back(Assess(criterion, loaded));
        if (all) {
            search->Start(criterion, every_face);
            results.back().last_ply = search->LastPly(load);
        }
        if (envelope_directions > 0) {
            search->Start(criterion, every_face);
            envelopes.push_back(Envelope(*search, unit_x, unit_y, envelope_directions));
        }
    }
    return true;
}

CriterionStrength StrengthAnalysis::Assess(FailureCriterion criterion, const LoadResult& loaded) const
{
    CriterionStrength out;
    out.criterion = criterion;
    out.first_ply.at = Scaled(load, kInfinity);
    double least = kInfinity;
    for (size_t k = 0; k < m_plies.size(); ++k) {
        PlyStrengthRatios ratios{m_plies[k].id, m_plies[k].failure.has_value(), {}, {}};
        if (ratios.assessed) {
            ratios.bottom = m_plies[k].failure->Ratio(criterion, StateOf(loaded.plies[k].bottom));
            ratios.top = m_plies[k].failure->Ratio(criterion, StateOf(loaded.plies[k].top));
            least = std::min({least, ratios.bottom.R, ratios.top.R});
        }
        out.plies.push_back(ratios);
    }
    if (!std::isfinite(least))
        return out;
    // Ratios within the tie of the least are the same failure (mirror plies): the
    // lowest face has it.
    const double bound = least + kTie * least;
    for (const PlyStrengthRatios& ratios : out.plies) {
        for (const bool top : {false, true}) {
            const StrengthRatio& ratio = top ? ratios.top : ratios.bottom;
            if (ratios.assessed && ratio.R <= bound) {
                out.first_ply = {ratio, ratios.id, top, Scaled(load, ratio.R)};
                return out;
            }
        }
    }
    return out;
}

std::vector<EnvelopePoint> StrengthAnalysis::Envelope(PlyFailureSearch& search, const LoadResult& unit_x,
                                                      const LoadResult& unit_y, int directions)
{
    // The deformation is linear in the load: each direction's is that of the unit loads combined.
    std::vector<EnvelopePoint> points;
    points.reserve(static_cast<size_t>(directions));
    for (int i = 0; i < directions; ++i) {
        const double theta = 2 * std::numbers::pi * i / directions, c = std::cos(theta), s = std::sin(theta);
        const double least = search.Least(c * unit_x.midplane_strain + s * unit_y.midplane_strain,
                                          c * unit_x.curvature + s * unit_y.curvature);
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
