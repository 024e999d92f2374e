#include "doc/seriesimport.h"

#include "doc/projectschema.h"
#include "experiment/tensileimport.h"
#include "util/naturalorder.h"
#include "util/numberparser.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

SpecimenList ReadSeries(std::vector<std::string> paths)
{
    // Refused before any file is read: a project could not hold them all.
    if (paths.size() > static_cast<size_t>(kMaxLaminaCount))
        throw ImportError(std::to_string(paths.size()) + " files: a series holds at most " +
                          std::to_string(kMaxLaminaCount) + " specimens, one per file");
    const auto name = [](const std::string& path) { return std::filesystem::path(path).filename().string(); };
    std::stable_sort(paths.begin(), paths.end(),
                     [&](const std::string& a, const std::string& b) { return NaturalLess(name(a), name(b)); });
    SpecimenList specimens;
    std::string buffer; // one for every file: memory does not grow with their number
    for (const std::string& path : paths) {
        ImportResult table = TensileImport::ReadFile(path, {}, buffer);
        if (table.needs_column_choice)
            throw ImportError(path + ": the header does not say which columns hold Load, Strain and Stress; "
                                     "import this file alone to choose them");
        if (const std::string problem = ProjectSchema::NameLengthProblem(table.specimen_name); !problem.empty())
            throw ImportError(path + ": the Specimen ID " + problem);
        auto specimen = std::make_unique<ExperimentSpecimen>();
        specimen->id = static_cast<int>(specimens.size()) + 1;
        specimen->name = table.specimen_name;
        specimen->width = std::isfinite(table.width) ? table.width : 0;
        specimen->thickness = std::isfinite(table.thickness) ? table.thickness : 0;
        specimen->load_series = std::move(table.load);
        specimen->strain_series = std::move(table.strain);
        specimen->stress_series = std::move(table.stress);
        specimens.push_back(std::move(specimen));
    }
    return specimens;
}
