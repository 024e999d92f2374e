#pragma once

#include "experiment/experimentspecimen.h"

#include <memory>
#include <ostream>
#include <vector>

using SpecimenList = std::vector<std::unique_ptr<ExperimentSpecimen>>;

// Writes the result section of the experiment log and evaluates every specimen in
// sequence order; a specimen that cannot be evaluated is left out of the log.
void EvaluateAllSpecimens(const SpecimenList& specimens, double elastic_min, double elastic_max,
                          std::ostream& log);
