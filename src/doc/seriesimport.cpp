#include "doc/seriesimport.h"

#include "experiment/tensileimport.h"
#include "util/naturalorder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

SpecimenList ReadSeries(std::vector<std::string> paths)
{
    const auto name = [](const std::string& path) { return std::filesystem::path(path).filename().string(); };
    std::stable_sort(paths.begin(), paths.end(),
                     [&](const std::string& a, const std::string& b) { return NaturalLess(name(a), name(b)); });
    SpecimenList specimens;
    for (const std::string& path : paths) {
        ImportResult table = TensileImport::ReadFile(path);
        if (table.needs_column_choice)
            throw ImportError(path + ": the header does not say which columns hold Load, Strain and Stress; "
                                     "import this file alone to choose them");
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
