#include "experiment/resultstable.h"

#include "experiment/experimentspecimen.h"
#include "util/formattext.h"
#include "util/numbertext.h"

ResultsTable::Cells ResultsTable::Row(const ExperimentSpecimen& s, Digits digits)
{
    auto g = [digits](double value) {
        return digits == Digits::Exact ? ShortestNumberText(value) : FormatText("%g", value);
    };
    return {FormatText("Lamina #%d", s.id), g(s.width), g(s.thickness), g(s.load_max),
            g(s.strength), g(s.strain), g(s.modulus)};
}
