#include "theory/fesection.h"

#include "theory/laminate.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// The shortest text that reads back to the value, within the width of a CalculiX
// input field, 20 characters (a longer one is cut, not rounded, by its reader).
std::string Field(double value, size_t width = 20)
{
    std::string text = ShortestNumberText(value);
    for (int digits = 16; text.size() > width && digits > 0; --digits)
        text = FormatText("%.*g", digits, value);
    return text;
}

// A data line of at most 132 characters, CalculiX's limit: fields lose digits only
// where eight full-precision values would not fit.
std::string Line(std::initializer_list<double> values, const char* end = "\n")
{
    std::string out;
    for (size_t width = 20; width > 6; --width) {
        out.clear();
        for (const double value : values)
            out += (out.empty() ? "" : ", ") + Field(value, width);
        if (out.size() + 1 <= 132)
            break;
    }
    return out + end;
}


} // namespace

std::string FeSection(const Laminate& laminate, const std::string& elset)
{
    std::vector<const Lamina*> plies;
    for (const auto& lamina : laminate.laminae)
        plies.push_back(lamina.get());
    std::stable_sort(plies.begin(), plies.end(), [](const Lamina* a, const Lamina* b) { return a->id < b->id; });

    std::string out = "** Plyforge composite section: " + std::to_string(plies.size()) +
                      " laminae, lamina 1 at the bottom; MPa and mm\n";
    for (const Lamina* ply : plies) {
        const double e1 = ply->E1 * 1000, e2 = ply->halphin_tasi_E2 * 1000, g12 = ply->halphin_tasi_G12 * 1000;
        const double g23 = e2 / (2 * (1 + ply->Nu23));
        out += "*MATERIAL, NAME=PLY_" + std::to_string(ply->id) + "\n*ELASTIC, TYPE=ENGINEERING CONSTANTS\n";
        out += Line({e1, e2, e2, ply->Nu12, ply->Nu12, ply->Nu23, g12, g12}, ",\n") + Line({g23}, ", 0.\n");
    }
    // One orientation per distinct angle, ORI_1, ORI_2, ... in the order they appear.
    std::vector<double> angles;
    const auto orientation = [&angles](double angle) {
        return "ORI_" + std::to_string(std::find(angles.begin(), angles.end(), angle) - angles.begin() + 1);
    };
    for (const Lamina* ply : plies) {
        if (std::find(angles.begin(), angles.end(), ply->angle) != angles.end())
            continue;
        angles.push_back(ply->angle);
        // The fibre direction and the in-plane normal to it; exact zeros at right
        // angles rather than cos(90 degrees) = 6e-17.
        const double theta = ply->angle * std::numbers::pi / 180;
        const auto exact = [](double v) { return std::abs(v) < 1e-15 ? 0.0 : v; };
        const double c = exact(std::cos(theta)), s = exact(std::sin(theta));
        out += "** " + orientation(ply->angle) + ": " + Field(ply->angle) + " degrees\n*ORIENTATION, NAME=" +
               orientation(ply->angle) + ", SYSTEM=RECTANGULAR\n";
        out += Line({c, s, 0, -s, c, 0});
    }
    out += "*SHELL SECTION, ELSET=" + elset + ", COMPOSITE\n";
    for (const Lamina* ply : plies)
        out += Field(ply->thickness) + ", 3, PLY_" + std::to_string(ply->id) + ", " + orientation(ply->angle) + "\n";
    return out;
}
