#pragma once

#include "experiment/basisvalues.h"
#include "experiment/experimentspecimen.h"

#include <string>
#include <vector>

// The basis values of a series' strength and modulus, over the included specimens
// that have one, with the ids of the specimens behind each value.
struct SeriesBasis {
    BasisValues strength, modulus;
    std::vector<int> strength_ids, modulus_ids;

    // The specimen ids flagged as outliers of either property.
    bool IsOutlier(int id) const;
    // The log's "##Basis values" section.
    std::string Text() const;
    // {"strength": {...}, "modulus": {...}}.
    std::string Json() const;
};

// Over the specimens that are included and were evaluated by the last run.
SeriesBasis SeriesBasisOf(const SpecimenList& specimens);
// Over these results of the specimens with these ids, all taken as included.
SeriesBasis SeriesBasisOf(const std::vector<SpecimenResult>& included, const std::vector<int>& ids);
