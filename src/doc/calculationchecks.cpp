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
// Young's moduli in GPa: a gel of a few kPa to ten times diamond's.
constexpr double kMinModulus = 1e-6;
constexpr double kMaxModulus = 1e6;

// The lamina form's names of its cells, in kLaminaInputNames order; from
// kFirstPlyInput on, the ply row's, each refused with its own message.
constexpr const char* kInputLabels[] = {
    "Fiber, Density(mg/m3)",  "Fiber, Young's Modulus(GPa)",  "Fiber, Possion's Ratio",
    "Matrix, Density(mg/m3)", "Matrix, Young's Modulus(GPa)", "Matrix, Possion's Ratio",
    "FAW(%)",                 "Thickness(mm)",                "Angle(degree)",
    "xi"};
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
        const char* message =
            index >= kFirstPlyInput ? msg::kLaminaFieldNumber[index - kFirstPlyInput] : msg::kEnterNumber;
        return std::string(message) + "\n" + UnreadFieldPlace(l.id, cell);
    }
    // Infinite inputs pass the rules below and turn every result into nan; an angle
    // has no rule but being finite.
    const struct {
        const char* field;
        double value;
    } finite[] = {
        {"the fibre's density", l.fiber.density},
        {"the matrix's density", l.matrix.density},
        {"the fibre's Poisson's ratio", l.fiber.poissons_ratio},
        {"the matrix's Poisson's ratio", l.matrix.poissons_ratio},
        {"FAW (the fibre fraction)", l.FAW},
        {"the thickness", l.thickness},
        {"xi (the Halpin-Tsai factor)", l.xi},
    };
    for (const auto& input : finite) {
        if (std::isinf(input.value))
            return Fault(record, l.id, input.field, "be a finite number", input.value);
    }
    if (!std::isfinite(l.angle))
        return Fault(record, l.id, "the angle", "be a finite number", l.angle);
    // A modulus of 0 or less keeps its own message; one so large or small that the
    // stiffness matrices overflow or lose every digit is no material.
    const struct {
        const char* field;
        double value;
    } moduli[] = {{"the fibre's Young's modulus", l.fiber.youngs_modulus},
                  {"the matrix's Young's modulus", l.matrix.youngs_modulus}};
    for (const auto& modulus : moduli) {
        if (modulus.value > 0 && !(modulus.value >= kMinModulus && modulus.value <= kMaxModulus))
            return Fault(record, l.id, modulus.field, "lie between 1e-06 and 1e+06 GPa", modulus.value);
    }
    // Written so that NaN fails every rule.
    const struct {
        const char* field;
        double value;
        bool good;
        const char* rule;
    } rules[] = {
        {"the fibre's density", l.fiber.density, l.fiber.density > 0, kAboveZero},
        {"the matrix's density", l.matrix.density, l.matrix.density > 0, kAboveZero},
        {"the fibre's Poisson's ratio", l.fiber.poissons_ratio,
         l.fiber.poissons_ratio > -1 && l.fiber.poissons_ratio < 0.5, "lie between -1 and 0.5"},
        {"the matrix's Poisson's ratio", l.matrix.poissons_ratio,
         l.matrix.poissons_ratio > -1 && l.matrix.poissons_ratio < 0.5, "lie between -1 and 0.5"},
        {"FAW (the fibre fraction)", l.FAW, l.FAW >= 0 && l.FAW <= 1, "lie between 0 and 1"},
        {"the thickness", l.thickness, l.thickness > 0, kAboveZero},
        {"xi (the Halpin-Tsai factor)", l.xi, l.xi >= 0, "be 0 or greater"},
    };
    for (const auto& rule : rules) {
        if (!rule.good)
            return Fault(record, l.id, rule.field, rule.rule, rule.value);
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
                                       {"G12", l->halphin_tasi_G12}, {"the density", l->composite_density}};
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
