#include "experiment/experimentdriver.h"

#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "util/calclog.h"
#include "util/formattext.h"

#include <sstream>

namespace {

std::string SpecimenBlock(const ExperimentSpecimen& specimen, const SpecimenResult& result)
{
    std::string block = FormatText("##id:%d\nWidth=%g\nThickness=%g\nLoad Max.=%g\nStrength:%g\n"
                                   "Strain:%g\nModulus=%g\n",
                                   specimen.id, specimen.width, specimen.thickness, result.load_max,
                                   result.strength, result.strain, result.modulus);
    if (!result.modulus_gap.empty())
        block += "No modulus over the elastic range: " + result.modulus_gap + "\n";
    std::ostringstream log;
    WriteLogBlock(log, block);
    return log.str();
}

std::string StatisticsBlock(const std::vector<SpecimenResult>& included)
{
    const SeriesStatistics statistics = StatisticsOf(included);
    const auto text = [](const std::optional<double>& value) {
        return value ? FormatText("%g", *value) : std::string();
    };
    std::string block = FormatText("Included specimens=%d\n", static_cast<int>(included.size()));
    const std::pair<const char*, const SeriesStatistic*> rows[] = {{"Load Max.", &statistics.load_max},
                                                                  {"Strength", &statistics.strength},
                                                                  {"Strain", &statistics.strain},
                                                                  {"Modulus", &statistics.modulus}};
    for (const auto& [name, statistic] : rows)
        block += FormatText("%s: Mean=%s SD=%s CV(%%)=%s\n", name, text(statistic->mean).c_str(),
                            text(statistic->sd).c_str(), text(statistic->cv).c_str());
    std::ostringstream log;
    WriteLogHeading(log, "##Statistics");
    WriteLogBlock(log, block);
    return log.str();
}

} // namespace

std::string ExperimentRun::LogText() const { return JoinLogBlocks(log_blocks); }

void ExperimentRun::StoreIn(SpecimenList& specimens) const
{
    for (size_t i = 0; i < specimens.size() && i < results.size(); ++i)
        specimens[i]->Store(results[i]);
}

ExperimentRun RunExperiment(const SpecimenList& specimens, double elastic_min, double elastic_max,
                            ModulusMethod method)
{
    ExperimentRun run;
    std::ostringstream opening;
    opening << "\nStart Calculation\n\n";
    WriteLogHeading(opening, "##Result for Experimental Calculation");
    WriteLogBlock(opening, FormatText("Elastic Range Min=%g\nElastic Range Max=%g\n%s", elastic_min, elastic_max,
                                      method == ModulusMethod::Regression ? "Modulus method=Regression\n" : ""));
    run.log_blocks.push_back(opening.str());

    std::vector<SpecimenResult> included;
    std::vector<int> ids;
    for (const auto& specimen : specimens) {
        run.results.push_back(specimen->Evaluated(elastic_min, elastic_max, method));
        const std::optional<SpecimenResult>& result = run.results.back();
        if (!result)
            continue;
        run.log_blocks.push_back(SpecimenBlock(*specimen, *result));
        if (!specimen->excluded) {
            included.push_back(*result);
            ids.push_back(specimen->id);
        }
    }
    run.log_blocks.push_back(StatisticsBlock(included));
    run.log_blocks.push_back(SeriesBasisOf(included, ids).Text());
    return run;
}
