#pragma once

#include "experiment/experimentspecimen.h"

#include <string>

// The results of an experiment run as one JSON object: each specimen's inputs and
// results, the series' statistics and the elastic range. Numbers are the shortest
// texts that read back to the same doubles; what is empty or not a finite number
// is null.
std::string ResultsJson(const SpecimenList& specimens, double elastic_min, double elastic_max,
                        ModulusMethod method);
