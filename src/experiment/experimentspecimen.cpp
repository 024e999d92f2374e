#include "experiment/experimentspecimen.h"

#include <cmath>
#include <cstring>

namespace {

double GreatestValue(const std::vector<double>& series)
{
    double greatest = series.front();
    for (const double value : series) {
        if (value > greatest)
            greatest = value;
    }
    return greatest;
}

// The greatest reading strictly smaller than the greatest one, or 0 when all are
// equal: the second-greatest distinct value, found in one pass without sorting.
double SecondGreatestDistinct(const std::vector<double>& series)
{
    double greatest = series.front();
    double second = 0;
    bool has_second = false;
    for (const double value : series) {
        if (value > greatest) {
            second = greatest; // the old greatest exceeds every earlier candidate
            has_second = true;
            greatest = value;
        } else if (value < greatest && (!has_second || value > second)) {
            second = value;
            has_second = true;
        }
    }
    return has_second ? second : 0.0;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameSeries(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

} // namespace

int NearestIndex(const std::vector<double>& series, double target)
{
    int best = 0;
    double best_distance = std::fabs(series.front() - target);
    const int n = static_cast<int>(series.size());
    for (int i = 1; i < n; ++i) {
        const double distance = std::fabs(series[i] - target);
        if (distance < best_distance) {
            best_distance = distance;
            best = i;
        }
    }
    return best;
}

ChordReadings FindChordReadings(const std::vector<double>& strain_series, double elastic_min,
                                double elastic_max)
{
    return {NearestIndex(strain_series, elastic_min), NearestIndex(strain_series, elastic_max)};
}

namespace {

// The least-squares slope of stress on strain over the readings with a strain in
// [low, high]; false below two such readings or with all their strains equal.
bool RegressionSlope(const std::vector<double>& strain, const std::vector<double>& stress, double low,
                     double high, double& slope)
{
    // Centred on the first reading in range, so the sums keep their digits.
    size_t n = 0;
    double x0 = 0, y0 = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < strain.size(); ++i) {
        if (!(strain[i] >= low && strain[i] <= high) || !std::isfinite(stress[i]))
            continue;
        if (n == 0) {
            x0 = strain[i];
            y0 = stress[i];
        }
        const double x = strain[i] - x0, y = stress[i] - y0;
        ++n;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double denominator = static_cast<double>(n) * sxx - sx * sx;
    if (n < 2 || !(denominator > 0))
        return false;
    slope = (static_cast<double>(n) * sxy - sx * sy) / denominator;
    return true;
}

} // namespace

std::optional<SpecimenResult> ExperimentSpecimen::Evaluated(double elastic_min, double elastic_max,
                                                           ModulusMethod method) const
{
    const size_t n = load_series.size();
    if (n == 0 || strain_series.size() != n || stress_series.size() != n)
        return std::nullopt;

    SpecimenResult result;
    result.load_max = GreatestValue(load_series);
    result.strength = GreatestValue(stress_series);
    result.strain = SecondGreatestDistinct(strain_series);

    // Chord modulus: divide by the strain difference of the two readings actually
    // chosen, not by the width of the range that was typed.
    const ChordReadings chord = FindChordReadings(strain_series, elastic_min, elastic_max);
    const double strain_difference = strain_series[chord.high] - strain_series[chord.low];
    if (strain_difference != 0)
        result.modulus = (stress_series[chord.high] - stress_series[chord.low]) / strain_difference * 100.0 /
                         1000.0;

    if (method == ModulusMethod::Regression) {
        double slope = 0;
        if (RegressionSlope(strain_series, stress_series, elastic_min, elastic_max, slope))
            result.modulus = slope * 100.0 / 1000.0; // MPa per % strain, in GPa
        else
            result.modulus_gap = "fewer than two readings lie in the elastic range";
    }
    if (result.modulus_gap.empty() && !(GreatestValue(strain_series) >= elastic_max))
        result.modulus_gap = "the readings never reach Elastic Max.";
    return result;
}

void ExperimentSpecimen::Store(const std::optional<SpecimenResult>& result)
{
    valid = result.has_value();
    if (!result)
        return;
    load_max = result->load_max;
    strength = result->strength;
    strain = result->strain;
    modulus = result->modulus;
    modulus_gap = result->modulus_gap;
}

bool ExperimentSpecimen::Evaluate(double elastic_min, double elastic_max, ModulusMethod method)
{
    const std::optional<SpecimenResult> result = Evaluated(elastic_min, elastic_max, method);
    if (result)
        Store(result);
    return result.has_value();
}

std::string ExperimentSpecimen::DisplayName() const
{
    return name.empty() ? "Lamina #" + std::to_string(id) : name;
}

bool ExperimentSpecimen::SameInputs(const ExperimentSpecimen& other) const
{
    return id == other.id && name == other.name && SameBits(width, other.width) && SameBits(thickness, other.thickness) &&
           SameSeries(load_series, other.load_series) &&
           SameSeries(strain_series, other.strain_series) &&
           SameSeries(stress_series, other.stress_series) && unread_cells == other.unread_cells &&
           excluded == other.excluded;
}

const char* SeriesName(int column)
{
    static const char* const kNames[] = {"Load", "Strain", "Stress"};
    return column >= 0 && column < 3 ? kNames[column] : "";
}

std::string UnreadCellPlace(int specimen_id, const UnreadCell& cell)
{
    return "Specimen " + std::to_string(specimen_id) + ", row " + std::to_string(cell.row + 1) + ", " +
           SeriesName(cell.column) + ": \"" + cell.text + "\"";
}

std::uint64_t ReadingsFingerprint(const ExperimentSpecimen& specimen)
{
    // FNV-1a over 64-bit words: each step is a bijection of the running value, so
    // one reading changed changes the result.
    constexpr std::uint64_t kPrime = 0x100000001b3;
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const std::vector<double>* series :
         {&specimen.load_series, &specimen.strain_series, &specimen.stress_series}) {
        hash = (hash ^ series->size()) * kPrime;
        for (const double value : *series) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            hash = (hash ^ bits) * kPrime;
        }
    }
    return hash;
}

bool ExperimentSpecimen::ReadingsAsLinked() const
{
    return readings_link && unread_cells.empty() && ReadingsFingerprint(*this) == readings_link->fingerprint;
}
