#include "experiment/experimentdriver.h"

#include "experiment/seriesstatistics.h"
#include "util/calclog.h"
#include "util/formattext.h"

void EvaluateAllSpecimens(const SpecimenList& specimens, double elastic_min, double elastic_max,
                          std::ostream& log, ModulusMethod method)
{
    WriteLogHeading(log, "##Result for Experimental Calculation");
    WriteLogBlock(log, FormatText("Elastic Range Min=%g\nElastic Range Max=%g\n%s", elastic_min, elastic_max,
                                  method == ModulusMethod::Regression ? "Modulus method=Regression\n" : ""));
    for (const auto& specimen : specimens) {
        if (!specimen->Evaluate(elastic_min, elastic_max, method)) {
            specimen->valid = 0;
            continue;
        }
        specimen->valid = 1;
        std::string block = FormatText("##id:%d\nWidth=%g\nThickness=%g\nLoad Max.=%g\nStrength:%g\n"
                                       "Strain:%g\nModulus=%g\n",
                                       specimen->id, specimen->width, specimen->thickness, specimen->load_max,
                                       specimen->strength, specimen->strain, specimen->modulus);
        if (!specimen->modulus_gap.empty())
            block += "No modulus over the elastic range: " + specimen->modulus_gap + "\n";
        WriteLogBlock(log, block);
    }
    WriteStatistics(specimens, log);
}

void WriteStatistics(const SpecimenList& specimens, std::ostream& log)
{
    const SeriesStatistics statistics = StatisticsOf(specimens);
    int included = 0;
    for (const auto& specimen : specimens)
        included += !specimen->excluded && specimen->valid;
    const auto text = [](const std::optional<double>& value) {
        return value ? FormatText("%g", *value) : std::string();
    };
    std::string block = FormatText("Included specimens=%d\n", included);
    const std::pair<const char*, const SeriesStatistic*> rows[] = {{"Load Max.", &statistics.load_max},
                                                                  {"Strength", &statistics.strength},
                                                                  {"Strain", &statistics.strain},
                                                                  {"Modulus", &statistics.modulus}};
    for (const auto& [name, statistic] : rows)
        block += FormatText("%s: Mean=%s SD=%s CV(%%)=%s\n", name, text(statistic->mean).c_str(),
                            text(statistic->sd).c_str(), text(statistic->cv).c_str());
    WriteLogHeading(log, "##Statistics");
    WriteLogBlock(log, block);
}
