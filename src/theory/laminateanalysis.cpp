#include "theory/laminateanalysis.h"

#include "theory/laminate.h"
#include "util/formattext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using JsonValue = nlohmann::ordered_json;

template <class MatrixType> JsonValue Rows(const MatrixType& m)
{
    JsonValue rows = JsonValue::array();
    for (int r = 0; r < m.rows(); ++r) {
        JsonValue row = JsonValue::array();
        for (int c = 0; c < m.cols(); ++c)
            row.push_back(m(r, c));
        rows.push_back(row);
    }
    return rows;
}

JsonValue Vector(const Eigen::Vector3d& v) { return JsonValue::array({v[0], v[1], v[2]}); }

JsonValue Face(const PlyFace& f)
{
    return {{"strain_xy", Vector(f.strain_xy)},
            {"stress_xy", Vector(f.stress_xy)},
            {"strain_12", Vector(f.strain_12)},
            {"stress_12", Vector(f.stress_12)}};
}

// Entries within the classification's tolerance of zero print as 0, as the
// classification counts them: rounding leaves 1e-12 where a balanced stack has none.
void AppendMatrix(std::string& out, const char* title, const Matrix3& m, double scale)
{
    out += title;
    out += '\n';
    const Matrix3 shown = m.unaryExpr([scale](double v) { return std::abs(v) <= LaminationTheory::kTolerance * scale ? 0.0 : v; });
    for (int r = 0; r < 3; ++r)
        out += FormatText("  %14.6g %14.6g %14.6g\n", shown(r, 0), shown(r, 1), shown(r, 2));
}

std::string Triple(const Eigen::Vector3d& v) { return FormatText("%12.6g %12.6g %12.6g", v[0], v[1], v[2]); }

} // namespace

bool LaminateAnalysis::Run(const Laminate& laminate, const std::optional<LaminateLoad>& load_case)
{
    plies.clear();
    for (const auto& lamina : laminate.laminae)
        plies.push_back({lamina->id, lamina->thickness, lamina->angle,
                         lamina->C_bar * (lamina->C_angle_scale_factor * 1000)}); // the true C-bar, GPa to MPa
    std::stable_sort(plies.begin(), plies.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    if (!LaminationTheory::Analyse(plies, result))
        return false;
    load = load_case;
    loaded = load ? LaminationTheory::ApplyLoad(plies, result, *load) : LoadResult();
    return true;
}

std::string LaminateAnalysis::Json() const
{
    const LaminationResult& r = result;
    JsonValue out;
    out["thickness"] = r.thickness;
    out["A"] = Rows(r.A);
    out["B"] = Rows(r.B);
    out["D"] = Rows(r.D);
    out["abd_inverse"] = Rows(r.abd_inverse);
    out["membrane"] = {{"Ex", r.membrane.Ex / 1000}, {"Ey", r.membrane.Ey / 1000}, {"Gxy", r.membrane.Gxy / 1000},
                       {"nuxy", r.membrane.nuxy}, {"nuyx", r.membrane.nuyx}};
    out["flexural"] = {{"Exf", r.flexural.Exf / 1000}, {"Eyf", r.flexural.Eyf / 1000},
                       {"Gxyf", r.flexural.Gxyf / 1000}, {"nuxyf", r.flexural.nuxyf}};
    out["symmetric"] = r.symmetric;
    out["balanced"] = r.balanced;
    out["load"] = nullptr;
    if (load) {
        JsonValue plyResults = JsonValue::array();
        for (const PlyLoadResult& p : loaded.plies)
            plyResults.push_back({{"id", p.id}, {"z_bottom", p.z_bottom}, {"z_top", p.z_top},
                                  {"bottom", Face(p.bottom)}, {"top", Face(p.top)}});
        out["load"] = {{"N", load->N},
                       {"M", load->M},
                       {"midplane_strain", Vector(loaded.midplane_strain)},
                       {"curvature", Vector(loaded.curvature)},
                       {"plies", plyResults}};
    }
    return out.dump(-1, ' ', false, JsonValue::error_handler_t::replace) + '\n';
}

std::vector<std::vector<std::string>> LaminateAnalysis::PlyRows(int axes) const
{
    std::vector<std::vector<std::string>> rows;
    for (const PlyLoadResult& p : loaded.plies) {
        for (const auto& [name, z, face] : {std::tuple{"bottom", p.z_bottom, &p.bottom},
                                            std::tuple{"top", p.z_top, &p.top}}) {
            std::vector<std::string> row{std::to_string(p.id), name, FormatText("%g", z)};
            for (const Eigen::Vector3d* v : axes == 0 ? std::array{&face->strain_xy, &face->stress_xy}
                                                      : std::array{&face->strain_12, &face->stress_12})
                for (int k = 0; k < 3; ++k)
                    row.push_back(FormatText("%g", (*v)[k]));
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::string LaminateAnalysis::Text(bool plyTable) const
{
    const LaminationResult& r = result;
    std::string out = FormatText("Laminate of %d %s, thickness %g mm (ply 1 at the bottom)\n",
                                 static_cast<int>(plies.size()), plies.size() == 1 ? "ply" : "plies", r.thickness);
    const double aScale = r.A.cwiseAbs().maxCoeff();
    AppendMatrix(out, "A (N/mm)", r.A, aScale);
    AppendMatrix(out, "B (N)", r.B, aScale * r.thickness);
    AppendMatrix(out, "D (N mm)", r.D, r.D.cwiseAbs().maxCoeff());
    out += FormatText("Membrane: Ex=%gGPa Ey=%gGPa Gxy=%gGPa NUxy=%g NUyx=%g\n", r.membrane.Ex / 1000,
                      r.membrane.Ey / 1000, r.membrane.Gxy / 1000, r.membrane.nuxy, r.membrane.nuyx);
    out += FormatText("Flexural: Exf=%gGPa Eyf=%gGPa Gxyf=%gGPa NUxyf=%g\n", r.flexural.Exf / 1000,
                      r.flexural.Eyf / 1000, r.flexural.Gxyf / 1000, r.flexural.nuxyf);
    const auto yes = [](bool value) { return value ? "yes" : "no"; };
    out += FormatText("Symmetric (B = 0): %s; balanced (A13 = A23 = 0): %s; D13 = D23 = 0: %s\n", yes(r.symmetric),
                      yes(r.balanced), yes(r.bend_twist_free));
    if (!r.symmetric)
        out += "B \u2260 0: stretching and bending are coupled; the homogenized constants describe in-plane "
               "behaviour only.\n";
    if (!load)
        return out;
    out += FormatText("Load: Nx=%g Ny=%g Nxy=%g N/mm, Mx=%g My=%g Mxy=%g N mm/mm\n", load->N[0], load->N[1],
                      load->N[2], load->M[0], load->M[1], load->M[2]);
    out += "Mid-plane strain (x, y, xy): " + Triple(loaded.midplane_strain) + "\n";
    out += "Curvature (1/mm):            " + Triple(loaded.curvature) + "\n";
    if (!plyTable)
        return out;
    out += "Ply\tFace\tz(mm)\tStrain x, y, xy\tStress x, y, xy (MPa)\tStrain 1, 2, 12\tStress 1, 2, 12 (MPa)\n";
    for (const PlyLoadResult& p : loaded.plies) {
        for (const auto& [name, z, face] : {std::tuple{"bottom", p.z_bottom, &p.bottom},
                                            std::tuple{"top", p.z_top, &p.top}})
            out += FormatText("%d\t%s\t%g\t", p.id, name, z) + Triple(face->strain_xy) + '\t' +
                   Triple(face->stress_xy) + '\t' + Triple(face->strain_12) + '\t' + Triple(face->stress_12) + '\n';
    }
    return out;
}
