#pragma once

#include "experiment/experimentspecimen.h"

#include <optional>
#include <string>
#include <vector>

// What one experiment run gives: a result for each specimen in sequence order (none
// where its readings cannot be evaluated) and the log as its blocks, which the
// caller writes to the file and shows.
struct ExperimentRun {
    std::vector<std::optional<SpecimenResult>> results;
    std::vector<std::string> log_blocks;

    std::string LogText() const;
    // Keeps the results in the specimens the run was given, in the same order.
    void StoreIn(SpecimenList& specimens) const;
};

// Evaluates every specimen over the elastic range. The log opens the result section,
// gives one section per evaluated specimen (a specimen whose readings give no modulus
// over the range says why) and ends with the statistics and the basis values of the
// included ones.
ExperimentRun RunExperiment(const SpecimenList& specimens, double elastic_min, double elastic_max,
                            ModulusMethod method = ModulusMethod::Chord);
