// Any bytes as a readings table, for both readers of it (the form's import and a
// project's readings file) and a column choice taken from the first bytes: the
// parser returns or throws ImportError, never anything else, and what it returns
// holds together.
#include "experiment/tensileimport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ParseOnce(std::string_view text, const ImportOptions& options)
{
    try {
        const ImportResult result = TensileImport::Parse(text, "fuzz.csv", options);
        Check(result.load.size() == result.strain.size() && result.load.size() == result.stress.size());
        Check(result.column_count >= 3 && result.column_count <= 1000);
        // A column the data does not hold is never returned, chosen or not.
        for (const int column : {result.load_column, result.strain_column, result.stress_column})
            Check(column < result.column_count && (column >= 0 || result.needs_column_choice));
        if (result.needs_column_choice) {
            Check(options.source == ReadingsSource::MachineExport);
            Check(result.load.empty());
        }
    } catch (const ImportError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseOnce(text, {});
    ImportOptions project;
    project.source = ReadingsSource::ProjectReadings;
    ParseOnce(text, project);
    if (size >= 3) {
        // A choice as the column dialog would give it, some of it out of range.
        ImportOptions chosen;
        chosen.load_column = data[0] % 8 - 1;
        chosen.strain_column = data[1] % 8 - 1;
        chosen.stress_column = data[2] % 8 - 1;
        ParseOnce(text.substr(3), chosen);
    }
    return 0;
}
