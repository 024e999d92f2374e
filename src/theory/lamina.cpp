#include "theory/lamina.h"

#include "util/calclog.h"
#include "util/formattext.h"
#include "util/trace.h"

#include <cstring>

bool ConstituentMaterial::SameInputs(const ConstituentMaterial& other) const
{
    auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return name == other.name && same(density, other.density) &&
           same(youngs_modulus, other.youngs_modulus) && same(poissons_ratio, other.poissons_ratio);
}

bool Lamina::SameInputs(const Lamina& other) const
{
    auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return id == other.id && fiber.SameInputs(other.fiber) && matrix.SameInputs(other.matrix) &&
           same(FAW, other.FAW) && same(thickness, other.thickness) && same(angle, other.angle) &&
           same(xi, other.xi) && unread_cells == other.unread_cells && same(S_scale_factor, other.S_scale_factor) &&
           same(C_scale_factor, other.C_scale_factor) &&
           same(S_angle_scale_factor, other.S_angle_scale_factor) &&
           same(C_angle_scale_factor, other.C_angle_scale_factor) && source == other.source &&
           std::memcmp(&ply, &other.ply, sizeof ply) == 0 &&
           std::memcmp(&strength, &other.strength, sizeof strength) == 0 && sources == other.sources;
}

bool Lamina::Assessed() const
{
    const double given[] = {strength.Xt, strength.Xc, strength.Yt, strength.Yc, strength.S, strength.ST};
    for (const double value : given) {
        if (value == value)
            return true;
    }
    for (const UnreadField& cell : unread_cells) {
        if (LaminaInputIndex(cell.field) >= kFirstStrengthInput)
            return true;
    }
    return false;
}

int LaminaInputIndex(std::string_view name)
{
    for (size_t i = 0; i < kLaminaInputNames.size(); ++i) {
        if (name == kLaminaInputNames[i])
            return static_cast<int>(i);
    }
    return -1;
}

double& Lamina::Input(int index)
{
    double* const inputs[] = {&fiber.density,  &fiber.youngs_modulus,  &fiber.poissons_ratio,
                              &matrix.density, &matrix.youngs_modulus, &matrix.poissons_ratio,
                              &FAW,            &thickness,             &angle,
                              &xi,
                              &ply.E1,         &ply.E2,                &ply.G12,
                              &ply.nu12,       &ply.nu23,              &ply.density,
                              &strength.Xt,    &strength.Xc,           &strength.Yt,
                              &strength.Yc,    &strength.S,            &strength.ST};
    static_assert(sizeof inputs / sizeof inputs[0] == kLaminaInputNames.size());
    return *inputs[index];
}

namespace {

void DeriveShearAndBulk(ConstituentMaterial& material, Trace& trace)
{
    const double E = material.youngs_modulus;
    const double nu = material.poissons_ratio;
    material.shear_modulus = E / ((nu + 1) + (nu + 1));
    material.bulk_modulus = E / ((1 - (nu + nu)) * 3);
    trace.Write(FormatText("shear_modulus=%f\nbulk_modulus=%f\n", material.shear_modulus,
                                  material.bulk_modulus));
}

void WriteConstituent(std::ostream& log, const char* kind, const ConstituentMaterial& material)
{
    WriteLogBlock(log, FormatText("%s material name=%s\n Density=%gmg/m3\n Young's modulus=%gGPa\n "
                                  "Possion's ratio=%g\n",
                                  kind, material.name.c_str(), material.density,
                                  material.youngs_modulus, material.poissons_ratio));
}

} // namespace

bool Lamina::CalculateMaterialProperties(std::ostream& log, Trace& trace)
{
    // The matrix is tested first; exact comparisons, so a NaN modulus passes.
    if (matrix.youngs_modulus == 0)
        return false;
    if (fiber.youngs_modulus == 0)
        return false;

    DeriveShearAndBulk(fiber, trace);
    DeriveShearAndBulk(matrix, trace);

    const double Vf = FAW;
    const double Ef = fiber.youngs_modulus;
    const double Em = matrix.youngs_modulus;
    const double Gf = fiber.shear_modulus;
    const double Gm = matrix.shear_modulus;
    E1 = Vf * Ef + Em * (1 - Vf);
    E2 = 1.0 / (Vf / Ef + (1 - Vf) / Em);
    G12 = 1.0 / (Vf / Gf + (1 - Vf) / Gm);
    G23 = Gf * Vf + Gm * (1 - Vf);
    E1_E2 = E1 / E2;

    WriteLogHeading(log, "##Input data for material properties");
    WriteLogBlock(log, FormatText("id=%d\n", id));
    WriteConstituent(log, "Fiber", fiber);
    WriteConstituent(log, "Matrix", matrix);
    WriteLogHeading(log, "##Calculation for material properties");
    WriteLogBlock(log, FormatText("FAW=%g%%\nThickness=%gmm\nAngle=%gDegree\nxi=%g\n", FAW, thickness,
                                  angle, xi));
    WriteLogHeading(log, "##Calculation for material properties");
    WriteLogBlock(log, FormatText("E1=%g\nE2=%g\n", E1, E2));
    WriteLogBlock(log, FormatText("G12=%g\nG23=%g\n", G12, G23));
    WriteLogBlock(log, FormatText("E1/E2=%g\n", E1_E2));

    trace.Write(FormatText("E1=%g\nE2=%g\n", E1, E2));
    trace.Write(FormatText("G12=%g\nG23=%g\n", G12, G23));
    return true;
}

void Lamina::UsePlyConstants(std::ostream& log, Trace& trace)
{
    // The ply's moduli stand where the micromechanics would put them: the stiffness
    // reads E2 and G12 from the Halpin-Tsai results.
    E1 = ply.E1;
    E2 = halphin_tasi_E2 = ply.E2;
    G12 = halphin_tasi_G12 = ply.G12;
    G23 = ply.E2 / (2 * (1 + ply.nu23));
    E1_E2 = E1 / E2;
    Nu12 = ply.nu12;
    Nu21 = Nu12 * E2 / E1;
    Nu23 = ply.nu23;
    composite_density = ply.density;

    WriteLogHeading(log, "##Input data for material properties");
    WriteLogBlock(log, FormatText("id=%d\n", id));
    WriteLogHeading(log, "##Ply constants (the micromechanics steps are skipped)");
    WriteLogBlock(log, FormatText("Thickness=%gmm\nAngle=%gDegree\n", thickness, angle));
    WriteLogBlock(log, FormatText("E1=%g\nE2=%g\nG12=%g\nG23=%g\n", E1, E2, G12, G23));
    WriteLogBlock(log, FormatText("Nu12=%g\nNu21=%g\nNu23=%g\n", Nu12, Nu21, Nu23));
    if (ply.density == ply.density)
        WriteLogBlock(log, FormatText("Density of composite=%g\n", composite_density));
    trace.Write(FormatText("E1=%g\nE2=%g\n", E1, E2));
    trace.Write(FormatText("G12=%g\nG23=%g\n", G12, G23));
}

int SourcedInputIndex(std::string_view field)
{
    const std::string name = (field == "E1" || field == "E2" ? "ply." : "strength.") + std::string(field);
    return field == "ST" ? -1 : LaminaInputIndex(name);
}

const char* StatisticTitle(std::string_view statistic)
{
    if (statistic == "b_basis")
        return "B-basis";
    if (statistic == "a_basis")
        return "A-basis";
    return "mean";
}

void Lamina::LogSources(std::ostream& log) const
{
    if (sources.empty())
        return;
    std::string block;
    for (const auto& [field, source] : sources) {
        const int index = SourcedInputIndex(field);
        block += FormatText("%s=%g: %s of the series %s, n=%d, %s\n", field.c_str(), index < 0 ? 0.0 : Input(index),
                            StatisticTitle(source.statistic), source.series.c_str(), source.n, source.date.c_str());
    }
    WriteLogHeading(log, "##Values from test series");
    WriteLogBlock(log, block);
}

void Lamina::ApplyHalpinTsai(std::ostream& log, Trace& trace)
{
    const double Vf = FAW;
    const double Ef = fiber.youngs_modulus;
    const double Em = matrix.youngs_modulus;
    const double Gf = fiber.shear_modulus;
    const double Gm = matrix.shear_modulus;
    // One reinforcement factor serves both equations.
    halphin_tasi_ETA_E2 = (Ef / Em - 1) / (Ef / Em + xi);
    halphin_tasi_ETA_G12 = (Gf / Gm - 1) / (Gf / Gm + xi);
    halphin_tasi_E2 = (halphin_tasi_ETA_E2 * xi * Vf + 1) * Em / (1 - halphin_tasi_ETA_E2 * Vf);
    halphin_tasi_G12 = (halphin_tasi_ETA_G12 * xi * Vf + 1) * Gm / (1 - halphin_tasi_ETA_G12 * Vf);

    WriteLogHeading(log, "##Applied Halphin-Tasi method");
    WriteLogBlock(log, FormatText("E2=%g\nG12=%g", halphin_tasi_E2, halphin_tasi_G12));
    WriteLogBlock(log, FormatText("ETA E2=%g\nETA G12=%g", halphin_tasi_ETA_E2, halphin_tasi_ETA_G12));

    trace.Write(FormatText("halphin_tasi_ETA_E2=%f\nhalphin_tasi_ETA_G12=%f\n",
                                  halphin_tasi_ETA_E2, halphin_tasi_ETA_G12));
    trace.Write(
        FormatText("halphin_tasi_E2=%f\nhalphin_tasi_G12=%f\n", halphin_tasi_E2, halphin_tasi_G12));
}

void Lamina::CalculateNuAndK(std::ostream& log, Trace& trace)
{
    const double Vf = FAW;
    Nu12 = Vf * fiber.poissons_ratio + (1 - Vf) * matrix.poissons_ratio;
    Nu21 = Nu12 * halphin_tasi_E2 / E1;
    k = 1.0 / ((1 - Vf) / matrix.bulk_modulus + Vf / fiber.bulk_modulus);
    Nu23 = (1 - Nu21) - halphin_tasi_E2 / (k * 3);

    WriteLogHeading(log, "##Calculation for Nu and k");
    WriteLogBlock(log, FormatText("Nu12=%g\nNu21=%g\nNu23=%g\nk=%g\n", Nu12, Nu21, Nu23, k));

    trace.Write(FormatText("k=%f\n", k));
    trace.Write(FormatText("Nu12=%f\nNu21=%f\nNu23=%f\n", Nu12, Nu21, Nu23));
}

void Lamina::CalculateWeightFractionAndDensity(std::ostream& log, Trace& trace)
{
    const double Vf = FAW;
    const double rf = fiber.density;
    const double rm = matrix.density;
    const double a = rf * Vf;
    fibers_weight_fraction = a / ((1 - Vf) * rm + a);
    // A composite's density is the volume-weighted sum of its constituents'.
    composite_density = Vf * rf + (1 - Vf) * rm;

    WriteLogHeading(log, "##Calculation for weight fraction of fibers and density of composite");
    WriteLogBlock(log, FormatText("Weight fraction of fibers=%g\nDensity of composite=%g\n",
                                  fibers_weight_fraction, composite_density));

    trace.Write(FormatText("fibers_weight_fraction=%f\ncomposite_density=%f\n",
                                  fibers_weight_fraction, composite_density));
}
