#include "experiment/resultsjson.h"

#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "util/numbertext.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <optional>

namespace {

std::string Number(std::optional<double> value)
{
    return JsonNumberText(value.value_or(std::numeric_limits<double>::quiet_NaN()));
}

std::string Text(const std::string& text)
{
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Statistic(const SeriesStatistic& s)
{
    return "{\"n\": " + std::to_string(s.n) + ", \"mean\": " + Number(s.mean) + ", \"sd\": " + Number(s.sd) +
           ", \"cv\": " + Number(s.cv) + "}";
}

} // namespace

std::string ResultsJson(const SpecimenList& specimens, double elastic_min, double elastic_max, ModulusMethod method)
{
    const std::string method_name = method == ModulusMethod::Regression ? "\"regression\"" : "\"chord\"";
    std::string out = "{\"specimens\": [";
    for (size_t i = 0; i < specimens.size(); ++i) {
        const ExperimentSpecimen& s = *specimens[i];
        const auto result = [&s](double value) { return s.valid ? std::optional<double>(value) : std::nullopt; };
        out += i ? ",\n  " : "\n  ";
        out += "{\"id\": " + std::to_string(s.id) + ", \"name\": " + Text(s.DisplayName()) +
               ", \"included\": " + (s.excluded ? "false" : "true") + ", \"width\": " + Number(s.width) +
               ", \"thickness\": " + Number(s.thickness) + ", \"load_max\": " + Number(result(s.load_max)) +
               ", \"strength\": " + Number(result(s.strength)) + ", \"strain\": " + Number(result(s.strain)) +
               ", \"modulus\": " + Number(s.modulus_gap.empty() ? result(s.modulus) : std::nullopt) +
               ", \"modulus_method\": " + method_name + "}";
    }
    const SeriesStatistics statistics = StatisticsOf(specimens);
    out += "],\n \"statistics\": {\"load_max\": " + Statistic(statistics.load_max) +
           ", \"strength\": " + Statistic(statistics.strength) + ", \"strain\": " + Statistic(statistics.strain) +
           ", \"modulus\": " + Statistic(statistics.modulus) + "},\n \"basis\": " + SeriesBasisOf(specimens).Json() +
           ",\n \"elastic_min\": " + Number(elastic_min) +
           ", \"elastic_max\": " + Number(elastic_max) + "}\n";
    return out;
}
