#include "experiment/seriesbasis.h"

#include "util/calclog.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

template <class Result> struct Samples {
    std::vector<double> strength, modulus;
    std::vector<int> strength_ids, modulus_ids;

    // Values that are no number take no part: sorting them would be undefined.
    void Add(const Result& result, int id)
    {
        if (std::isfinite(result.strength)) {
            strength.push_back(result.strength);
            strength_ids.push_back(id);
        }
        if (result.modulus_gap.empty() && std::isfinite(result.modulus)) {
            modulus.push_back(result.modulus);
            modulus_ids.push_back(id);
        }
    }
    SeriesBasis Basis() const
    {
        return {ComputeBasisValues(strength), ComputeBasisValues(modulus), strength_ids, modulus_ids};
    }
};

bool Flagged(const BasisValues& values, const std::vector<int>& ids, int id)
{
    return std::any_of(values.outliers.begin(), values.outliers.end(),
                       [&](int i) { return ids[static_cast<size_t>(i)] == id; });
}

} // namespace

bool SeriesBasis::IsOutlier(int id) const
{
    return Flagged(strength, strength_ids, id) || Flagged(modulus, modulus_ids, id);
}

std::string SeriesBasis::Text() const
{
    std::ostringstream log;
    WriteLogHeading(log, "##Basis values");
    WriteLogBlock(log, strength.Text("Strength", strength_ids));
    WriteLogBlock(log, modulus.Text("Modulus", modulus_ids));
    return log.str();
}

std::string SeriesBasis::Json() const
{
    return "{\"strength\": " + strength.Json(strength_ids) + ", \"modulus\": " + modulus.Json(modulus_ids) + "}";
}

SeriesBasis SeriesBasisOf(const SpecimenList& specimens)
{
    Samples<ExperimentSpecimen> samples;
    for (const auto& specimen : specimens) {
        if (!specimen->excluded && specimen->valid)
            samples.Add(*specimen, specimen->id);
    }
    return samples.Basis();
}

SeriesBasis SeriesBasisOf(const std::vector<SpecimenResult>& included, const std::vector<int>& ids)
{
    Samples<SpecimenResult> samples;
    for (size_t i = 0; i < included.size(); ++i)
        samples.Add(included[i], ids[i]);
    return samples.Basis();
}
