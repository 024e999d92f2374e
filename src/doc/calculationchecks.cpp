#include "doc/calculationchecks.h"

#include "doc/messages.h"
#include "util/formattext.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// "Theoretical Lamina #2: the thickness must be greater than 0 (it is -0.125)."
std::string Fault(const char* record, int id, const char* field, const char* rule, double value)
{
    return FormatText("%s%d: %s must %s (it is %g).", record, id, field, rule, value);
}

constexpr const char* kAboveZero = "be greater than 0";
constexpr double kMinModulus = 1e-6;
constexpr double kMaxModulus = 1e6;

// The lamina form's names of its cells, in kLaminaInputNames order; from
// kFirstPlyInput on, the ply row's, each refused with its own message.
constexpr const char* kInputLabels[] = {
    "Fiber, Density(mg/m3)",  "Fiber, Young's Modulus(GPa)",  "Fiber, Possion's Ratio",
    "Matrix, Density(mg/m3)", "Matrix, Young's Modulus(GPa)", "Matrix, Possion's Ratio",
    "FAW(%)",                 "Thickness(mm)",                "Angle(degree)",
    "xi",
    "Ply, E1(GPa)",           "Ply, E2(GPa)",                 "Ply, G12(GPa)",
    "Ply, v12",               "Ply, v23",                     "Ply, Density(g/cm3)",
    "Strengths, Xt(MPa)",     "Strengths, Xc(MPa)",           "Strengths, Yt(MPa)",
    "Strengths, Yc(MPa)",     "Strengths, S(MPa)",            "Strengths, ST(MPa)"};
constexpr int kFirstPlyInput = 6;
static_assert(std::size(kInputLabels) == kLaminaInputNames.size());

template <typename Record> std::vector<const Record*> InIdOrder(const std::vector<std::unique_ptr<Record>>& records)
{
    std::vector<const Record*> sorted;
    for (const auto& record : records)
        sorted.push_back(record.get());
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->id < b->id; });
    return sorted;
}

} // namespace

std::string CalculationChecks::UnreadFieldPlace(int lamina_id, const UnreadField& cell)
{
    const int index = LaminaInputIndex(cell.field);
    return std::string("Theoretical Lamina #") + std::to_string(lamina_id) + ", " +
           (index < 0 ? cell.field.c_str() : kInputLabels[index]) + ": \"" + cell.text + "\"";
}

std::vector<std::string> CalculationChecks::UnreadPlaces(const CPlyforgeDoc& doc)
{
    std::vector<std::string> places;
    for (const Lamina* lamina : InIdOrder(doc.laminate.laminae)) {
        for (const UnreadField& cell : lamina->unread_cells)
            places.push_back(UnreadFieldPlace(lamina->id, cell));
    }
    for (const ExperimentSpecimen* specimen : InIdOrder(doc.specimens)) {
        for (const UnreadCell& cell : specimen->unread_cells)
            places.push_back(UnreadCellPlace(specimen->id, cell));
    }
    return places;
}

std::string CalculationChecks::LaminaFault(const Lamina& l)
{
    constexpr const char* record = "Theoretical Lamina #";
    if (!l.unread_cells.empty()) {
        const UnreadField& cell = l.unread_cells.front();
        const int index = LaminaInputIndex(cell.field);
        const char* message = index >= kFirstPlyInput && index < kFirstPlyConstantInput
                                  ? msg::kLaminaFieldNumber[index - kFirstPlyInput]
                                  : msg::kEnterNumber;
        return std::string(message) + "\n" + UnreadFieldPlace(l.id, cell);
    }
    if (!std::isfinite(l.thickness) || !(l.thickness > 0))
        return Fault(record, l.id, "the thickness", std::isinf(l.thickness) ? "be a finite number" : kAboveZero,
                     l.thickness);
    if (!std::isfinite(l.angle))
        return Fault(record, l.id, "the angle", "be a finite number", l.angle);
    std::string fault = l.source == LaminaSource::PlyConstants ? PlyConstantsFault(l) : ConstituentFault(l);
    if (fault.empty() && l.Assessed())
        fault = StrengthFault(l);
    return fault;
}

namespace {

struct Rule {
    const char* field;
    double value;
    bool good;
    const char* rule;
};

template <size_t N> std::string FirstBroken(int id, const Rule (&rules)[N])
{
    for (const Rule& rule : rules) {
        if (!rule.good)
            return Fault("Theoretical Lamina #", id, rule.field, rule.rule, rule.value);
    }
    return {};
}

bool Positive(double value) { return std::isfinite(value) && value > 0; }
// Young's moduli in GPa: a gel of a few kPa to ten times diamond's.
bool PlausibleModulus(double value) { return value >= kMinModulus && value <= kMaxModulus; }
constexpr const char* kModulusRange = "lie between 1e-06 and 1e+06 GPa";

} // namespace

std::string CalculationChecks::ConstituentFault(const Lamina& l)
{
    // Written so that NaN and infinite inputs fail every rule.
    const Rule rules[] = {
        {"the fibre's density", l.fiber.density, Positive(l.fiber.density), kAboveZero},
        {"the fibre's Young's modulus", l.fiber.youngs_modulus, l.fiber.youngs_modulus > 0, kAboveZero},
        {"the fibre's Young's modulus", l.fiber.youngs_modulus, PlausibleModulus(l.fiber.youngs_modulus), kModulusRange},
        {"the fibre's Poisson's ratio", l.fiber.poissons_ratio,
         l.fiber.poissons_ratio > -1 && l.fiber.poissons_ratio < 0.5, "lie between -1 and 0.5"},
        {"the matrix's density", l.matrix.density, Positive(l.matrix.density), kAboveZero},
        {"the matrix's Young's modulus", l.matrix.youngs_modulus, l.matrix.youngs_modulus > 0, kAboveZero},
        {"the matrix's Young's modulus", l.matrix.youngs_modulus, PlausibleModulus(l.matrix.youngs_modulus),
         kModulusRange},
        {"the matrix's Poisson's ratio", l.matrix.poissons_ratio,
         l.matrix.poissons_ratio > -1 && l.matrix.poissons_ratio < 0.5, "lie between -1 and 0.5"},
        {"FAW (the fibre fraction)", l.FAW, l.FAW >= 0 && l.FAW <= 1, "lie between 0 and 1"},
        {"xi (the Halpin-Tsai factor)", l.xi, std::isfinite(l.xi) && l.xi >= 0, "be 0 or greater"},
    };
    return FirstBroken(l.id, rules);
}

std::string CalculationChecks::PlyConstantsFault(const Lamina& l)
{
    const PlyConstants& p = l.ply;
    const Rule rules[] = {
        {"E1", p.E1, p.E1 > 0, kAboveZero},
        {"E1", p.E1, PlausibleModulus(p.E1), kModulusRange},
        {"E2", p.E2, p.E2 > 0, kAboveZero},
        {"E2", p.E2, PlausibleModulus(p.E2), kModulusRange},
        {"G12", p.G12, p.G12 > 0, kAboveZero},
        {"G12", p.G12, PlausibleModulus(p.G12), kModulusRange},
        // The ply's stiffness is positive definite only so.
        {"v12", p.nu12, std::isfinite(p.nu12) && p.nu12 * p.nu12 < p.E1 / p.E2, "have a square below E1/E2"},
        {"v23", p.nu23, p.nu23 > -1 && p.nu23 < 1, "lie between -1 and 1"},
        {"the density", p.density, std::isnan(p.density) || Positive(p.density), kAboveZero},
    };
    return FirstBroken(l.id, rules);
}

std::string CalculationChecks::StrengthFault(const Lamina& l)
{
    const PlyStrengths& s = l.strength;
    const std::pair<const char*, double> given[] = {{"the strength Xt", s.Xt}, {"the strength Xc", s.Xc},
                                                    {"the strength Yt", s.Yt}, {"the strength Yc", s.Yc},
                                                    {"the strength S", s.S}};
    for (const auto& [field, value] : given) {
        if (std::isnan(value))
            return FormatText("Theoretical Lamina #%d: %s is missing: give all five strengths (MPa), or none.", l.id,
                              field);
    }
    const Rule rules[] = {
        {"the strength Xt", s.Xt, Positive(s.Xt), kAboveZero}, {"the strength Xc", s.Xc, Positive(s.Xc), kAboveZero},
        {"the strength Yt", s.Yt, Positive(s.Yt), kAboveZero}, {"the strength Yc", s.Yc, Positive(s.Yc), kAboveZero},
        {"the strength S", s.S, Positive(s.S), kAboveZero},
        {"the strength ST", s.ST, std::isnan(s.ST) || Positive(s.ST), kAboveZero},
    };
    return FirstBroken(l.id, rules);
}

std::string CalculationChecks::FailureSettingsFault(const FailureSettings& f)
{
    const struct {
        const char* field;
        double value;
        bool good;
        const char* rule;
    } rules[] = {
        {"tsai_wu_f12", f.tsai_wu_f12, f.tsai_wu_f12 > -1 && f.tsai_wu_f12 < 1, "lie between -1 and 1"},
        {"puck_p_plus", f.puck_p_plus, f.puck_p_plus >= 0 && f.puck_p_plus < 1, "lie in [0, 1)"},
        {"puck_p_minus", f.puck_p_minus, f.puck_p_minus >= 0 && f.puck_p_minus < 1, "lie in [0, 1)"},
    };
    for (const auto& rule : rules) {
        if (!rule.good)
            return FormatText("The failure setting %s must %s (it is %g).", rule.field, rule.rule, rule.value);
    }
    return {};
}

std::string CalculationChecks::SpecimenFault(const ExperimentSpecimen& s)
{
    constexpr const char* record = "Experimental Lamina #";
    if (!s.unread_cells.empty())
        return std::string(msg::kNotANumber) + "\n" + UnreadCellPlace(s.id, s.unread_cells.front());
    if (!(s.width > 0))
        return Fault(record, s.id, "the width", kAboveZero, s.width);
    if (!(s.thickness > 0))
        return Fault(record, s.id, "the thickness", kAboveZero, s.thickness);
    return {};
}

namespace {

// The first fault of the records taken in id order, shown; false when there is one.
template <typename Records, typename FaultOf>
bool NoFault(const Records& records, FaultOf fault_of, MessageSink& sink)
{
    for (const auto* record : InIdOrder(records)) {
        if (const std::string text = fault_of(*record); !text.empty()) {
            sink.ShowMessage(text);
            return false;
        }
    }
    return true;
}

} // namespace

bool CalculationChecks::TheoryReady(const CPlyforgeDoc& doc, double scale_factor, MessageSink& sink)
{
    // Written so that a NaN factor is refused too.
    if (!(scale_factor > 0)) {
        sink.ShowMessage(msg::kScaleFactorPositive);
        return false;
    }
    if (doc.lamina_count == 0 ||
        doc.lamina_count != static_cast<int>(doc.laminate.laminae.size())) {
        sink.ShowMessage(msg::kLaminaeIncomplete);
        return false;
    }
    if (const std::string fault = FailureSettingsFault(doc.failure); !fault.empty()) {
        sink.ShowMessage(fault);
        return false;
    }
    return NoFault(doc.laminate.laminae, LaminaFault, sink);
}

bool CalculationChecks::ExperimentReady(const CPlyforgeDoc& doc, MessageSink& sink)
{
    if (!(doc.elastic_max > doc.elastic_min)) {
        sink.ShowMessage(msg::kElasticMaxGreater);
        return false;
    }
    if (doc.specimen_count == 0 || doc.specimen_count != static_cast<int>(doc.specimens.size())) {
        sink.ShowMessage(msg::kLaminaeIncomplete);
        return false;
    }
    return NoFault(doc.specimens, SpecimenFault, sink);
}

namespace {

struct NamedResult {
    const char* name;
    double value;
};

template <size_t N> const NamedResult* FirstNotFinite(const NamedResult (&results)[N])
{
    for (const NamedResult& result : results)
        if (!std::isfinite(result.value))
            return &result;
    return nullptr;
}

} // namespace

std::string CalculationChecks::TheoryResultFault(const CPlyforgeDoc& doc)
{
    for (const Lamina* l : InIdOrder(doc.laminate.laminae)) {
        const NamedResult results[] = {{"Ex", l->Ex},     {"Ey", l->Ey},         {"Gxy", l->Gxy},
                                       {"NUxy", l->NUxy}, {"NUyx", l->NUyx},     {"E2", l->halphin_tasi_E2},
                                       {"G12", l->halphin_tasi_G12},
                                       // A ply given without its density has none to show.
                                       {"the density", std::isnan(l->composite_density) && l->source == LaminaSource::PlyConstants &&
                                                               std::isnan(l->ply.density)
                                                           ? 0.0
                                                           : l->composite_density}};
        if (const NamedResult* bad = FirstNotFinite(results))
            return FormatText("Theoretical Lamina #%d: %s is not a number (%g): the inputs overflow the "
                              "calculation.", l->id, bad->name, bad->value);
    }
    const Laminate& m = doc.laminate;
    const NamedResult results[] = {{"Ex", m.Ex},         {"Ey", m.Ey},     {"Gxy", m.Gxy},
                                   {"NUxy", m.NUxy},     {"NUyx", m.NUyx}, {"ETAxyx", m.ETAxyx},
                                   {"ETAxyy", m.ETAxyy}, {"E1", m.E1},     {"E2", m.E2},
                                   {"NU12", m.NU12},     {"G12", m.G12}};
    if (const NamedResult* bad = FirstNotFinite(results))
        return FormatText("The laminate's %s is not a number (%g): its stiffness cannot be inverted.", bad->name,
                          bad->value);
    return {};
}

std::string CalculationChecks::ExperimentResultFault(const CPlyforgeDoc& doc)
{
    for (const ExperimentSpecimen* s : InIdOrder(doc.specimens)) {
        // A modulus the readings cannot give is an empty result, not a wrong one.
        const NamedResult results[] = {{"the greatest load", s->load_max},
                                       {"the strength", s->strength},
                                       {"the strain", s->strain},
                                       {"the modulus", s->modulus_gap.empty() ? s->modulus : 0.0}};
        if (const NamedResult* bad = FirstNotFinite(results))
            return FormatText("Experimental Lamina #%d: %s is not a number (%g): a reading is inf or nan.", s->id,
                              bad->name, bad->value);
    }
    return {};
}

namespace {
// The ply value that makes a ply's stiffness singular: a modulus that is not a
// positive number, or Poisson's ratios whose product reaches 1 (1 - v12 v21 = 0).
std::string SingularCause(const Lamina& l)
{
    for (const auto& [value, name] : {std::pair{l.E1, "E1"}, std::pair{l.E2, "E2"}, std::pair{l.G12, "G12"}}) {
        if (!std::isfinite(value) || !(value > 0))
            return FormatText("its %s is %g GPa", name, value);
    }
    const double product = l.Nu12 * l.Nu21;
    if (!std::isfinite(product) || !(std::abs(1 - product) > 1e-9))
        return FormatText("its Poisson's ratios give v12 * v21 = %g (v12 = %g, v21 = %g), and 1 - v12 * v21 must not be 0",
                          product, l.Nu12, l.Nu21);
    return FormatText("its moduli span too wide a range (E1 = %g, E2 = %g, G12 = %g GPa)", l.E1, l.E2, l.G12);
}
} // namespace

std::string CalculationChecks::SingularStiffnessCause(const CPlyforgeDoc& doc)
{
    for (const Lamina* l : InIdOrder(doc.laminate.laminae)) {
        const double scale = l->C_bar.cwiseAbs().maxCoeff();
        const double det = l->C_bar.determinant();
        // Singular within rounding: a billionth of what the entries' size would give.
        if (!std::isfinite(det) || !(std::abs(det) > 1e-9 * scale * scale * scale))
            return FormatText("The laminate's stiffness cannot be inverted: Theoretical Lamina #%d's rotated stiffness "
                              "matrix is singular (determinant %g), because %s.",
                              l->id, det, SingularCause(*l).c_str());
    }
    return "The laminate's stiffness cannot be inverted: its A, B, D matrix is singular for this stack.";
}
