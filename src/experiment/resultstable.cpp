#include "experiment/resultstable.h"

#include "experiment/experimentspecimen.h"
#include "util/formattext.h"

std::array<std::string, ResultsTable::kColumnCount> ResultsTable::Row(const ExperimentSpecimen& s)
{
    auto g = [](double value) { return FormatText("%g", value); };
    return {FormatText("Lamina #%d", s.id), g(s.width), g(s.thickness), g(s.load_max),
            g(s.strength), g(s.strain), g(s.modulus)};
}
