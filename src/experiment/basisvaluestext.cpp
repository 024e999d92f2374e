#include "experiment/basisvalues.h"
#include "util/formattext.h"
#include "util/numbertext.h"

#include <cmath>

namespace {

std::string Shown(double value) { return std::isnan(value) ? "none" : FormatText("%g", value); }

std::string Json(double value) { return std::isfinite(value) ? ShortestNumberText(value) : "null"; }

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
                          Json(values.Of(method)).c_str());
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
    return "{\"n\": " + std::to_string(n) + ", \"outliers\": [" + flagged + "], \"osl\": {\"normal\": " +
           ::Json(osl_normal) + ", \"lognormal\": " + ::Json(osl_lognormal) + ", \"weibull\": " + ::Json(osl_weibull) +
           "}, \"weibull\": {\"shape\": " + ::Json(weibull_shape) + ", \"scale\": " + ::Json(weibull_scale) +
           "}, \"b\": " + ByMethodJson(b) + ", \"a\": " + ByMethodJson(a) + ", \"chosen\": " +
           (chosen ? "\"" + std::string(BasisMethodKey(*chosen)) + "\"" : std::string("null")) +
           ", \"b_basis\": " + ::Json(b_basis) + ", \"a_basis\": " + ::Json(a_basis) + "}";
}
