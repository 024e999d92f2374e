#pragma once

#include "experiment/experimentspecimen.h"

#include <memory>
#include <ostream>
#include <vector>

// Writes the result section of the experiment log and evaluates every specimen in
// sequence order; a specimen that cannot be evaluated is left out of the log. A
// specimen whose readings give no modulus over the range says why in its section,
// and the log ends with the series' statistics.
void EvaluateAllSpecimens(const SpecimenList& specimens, double elastic_min, double elastic_max,
                          std::ostream& log, ModulusMethod method = ModulusMethod::Chord);

// The statistics section of the log.
void WriteStatistics(const SpecimenList& specimens, std::ostream& log);
