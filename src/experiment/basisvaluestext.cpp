#include "experiment/basisvalues.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <cmath>

namespace {

std::string Shown(double value) { return std::isnan(value) ? "none" : FormatText("%g", value); }


std::string ByMethodText(const BasisByMethod& values)
{
    std::string out;
    for (const BasisMethod method : kBasisMethods)
        out += FormatText(" %s=%s", BasisMethodKey(method), Shown(values.Of(method)).c_str());
    return out;
}

std::string ByMethodJson(const BasisByMethod& values)
{
    std::string out;
    for (const BasisMethod method : kBasisMethods)
        out += FormatText("%s\"%s\": %s", out.empty() ? "" : ", ", BasisMethodKey(method),
                          JsonNumberText(values.Of(method)).c_str());
    return "{" + out + "}";
}

} // namespace

std::string BasisValues::Text(const char* property, const std::vector<int>& ids) const
{
    std::string out = FormatText("%s\nn=%d\n", property, n);
    std::string flagged;
    for (const int i : outliers)
        flagged += FormatText("%sid %d", flagged.empty() ? "" : ", ", ids[static_cast<size_t>(i)]);
    out += "Outliers: " + (flagged.empty() ? std::string("none") : flagged) + "\n";
    out += FormatText("OSL normal=%s lognormal=%s weibull=%s\n", Shown(osl_normal).c_str(),
                      Shown(osl_lognormal).c_str(), Shown(osl_weibull).c_str());
    out += FormatText("Weibull shape=%s scale=%s\n", Shown(weibull_shape).c_str(), Shown(weibull_scale).c_str());
    out += "B-basis" + ByMethodText(b) + "\n";
    out += "A-basis" + ByMethodText(a) + "\n";
    if (chosen)
        out += FormatText("Chosen: %s, B-basis=%s, A-basis=%s\n", BasisMethodKey(*chosen), Shown(b_basis).c_str(),
                          Shown(a_basis).c_str());
    out += "Note: " + note + "\n";
    return out;
}

std::string BasisValues::Json(const std::vector<int>& ids) const
{
    std::string flagged;
    for (const int i : outliers)
        flagged += (flagged.empty() ? "" : ", ") + std::to_string(ids[static_cast<size_t>(i)]);
    const std::string chosen_key = chosen ? "\"" + std::string(BasisMethodKey(*chosen)) + "\"" : "null";
    return "{\"n\": " + std::to_string(n) + ", \"outliers\": [" + flagged + "], \"osl\": {\"normal\": " +
           JsonNumberText(osl_normal) + ", \"lognormal\": " + JsonNumberText(osl_lognormal) +
           ", \"weibull\": " + JsonNumberText(osl_weibull) + "}, \"weibull\": {\"shape\": " +
           JsonNumberText(weibull_shape) + ", \"scale\": " + JsonNumberText(weibull_scale) + "}, \"b\": " +
           ByMethodJson(b) + ", \"a\": " + ByMethodJson(a) + ", \"chosen\": " + chosen_key +
           ", \"b_basis\": " + JsonNumberText(b_basis) + ", \"a_basis\": " + JsonNumberText(a_basis) + "}";
}
