#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A reading the user typed or pasted that is not a number, kept as it was written
// so that nothing is lost; its place in the series holds NaN.
struct UnreadCell {
    int row = 0;    // from 0
    int column = 0; // 0 load, 1 strain, 2 stress
    std::string text;
    bool operator==(const UnreadCell&) const = default;
};

// The series' names as the form's columns show them: "Load", "Strain", "Stress".
const char* SeriesName(int column);

// "Specimen 2, row 4, Stress: "abc"", with the row counted from 1 as the form shows it.
std::string UnreadCellPlace(int specimen_id, const UnreadCell& cell);

// How the modulus is taken over the elastic range: the chord between the readings
// nearest its ends, or the least-squares slope of stress on strain over every
// reading inside it.
enum class ModulusMethod { Chord, Regression };

// The readings file a project named for a specimen's readings, so that saving can
// name it again rather than store the readings, as long as they are what was read.
struct ReadingsLink {
    std::string path;      // as the project gave it: relative to the project's folder, or absolute
    std::string full_path; // where it was read
    std::array<int, 3> columns = {-1, -1, -1}; // as the project gave them, from 0; -1: from the header
    std::uint64_t fingerprint = 0;              // ReadingsFingerprint of the readings as read
    // What the file gave where the project left it out (NaN: the project gave it).
    double width = std::numeric_limits<double>::quiet_NaN();
    double thickness = std::numeric_limits<double>::quiet_NaN();
    std::string name; // empty: the project gave it, or neither did
};

// The four results of one evaluation of a specimen's readings, and why they give no
// modulus over the elastic range (empty when they do).
struct SpecimenResult {
    double load_max = 0; // N
    double strength = 0; // N/mm2
    double strain = 0;   // %
    double modulus = 0;  // GPa
    std::string modulus_gap;
};

// One tensile specimen: its inputs (width, thickness and three readings series of
// equal length) and the four results of its last successful evaluation.
struct ExperimentSpecimen {
    int id = 0;
    unsigned char valid = 0; // whether the last run could evaluate its readings
    // The specimen's own ID as the lab or its testing machine writes it ("A-17");
    // empty for none, when lists name it by its number.
    std::string name;
    double width = 0;        // mm
    double thickness = 0;    // mm
    std::vector<double> load_series;   // N
    std::vector<double> strain_series; // %
    std::vector<double> stress_series; // N/mm2
    std::vector<UnreadCell> unread_cells; // in row order, then column order
    bool excluded = false; // left out of the series' statistics (it broke at the grips, say)
    std::optional<ReadingsLink> readings_link; // none: the readings belong to the project
    double load_max = 0; // N
    double strength = 0; // N/mm2
    double strain = 0;   // %
    double modulus = 0;  // GPa
    // Why the readings give no modulus over the range (empty when they do): the
    // modulus above is then not a measurement of it.
    std::string modulus_gap;

    // The four results of the readings; none when the series are empty or of unequal length.
    std::optional<SpecimenResult> Evaluated(double elastic_min, double elastic_max,
                                            ModulusMethod method = ModulusMethod::Chord) const;
    // Keeps a run's result in the record; none: it could not be evaluated (valid cleared).
    void Store(const std::optional<SpecimenResult>& result);
    // Evaluated, then stored; false, with the results untouched, when there is none.
    bool Evaluate(double elastic_min, double elastic_max, ModulusMethod method = ModulusMethod::Chord);

    // Its ID, or "Lamina #<id>" without one, as lists, exports and the chart name it.
    std::string DisplayName() const;

    // True when every input equals the other's, bit for bit. Where the readings
    // came from is no input.
    bool SameInputs(const ExperimentSpecimen& other) const;

    // True when the readings are linked to a file and still those read from it.
    bool ReadingsAsLinked() const;
};

// A fingerprint of the three series: a change of any one reading always changes it.
std::uint64_t ReadingsFingerprint(const ExperimentSpecimen& specimen);

using SpecimenList = std::vector<std::unique_ptr<ExperimentSpecimen>>;

// Position of the reading nearest to target; of equally near readings the first
// wins. The series must not be empty.
int NearestIndex(const std::vector<double>& series, double target);

// The chord readings of the elastic range: positions of the strains nearest to
// the two bounds. The series must not be empty.
struct ChordReadings {
    int low = 0;
    int high = 0;
};
ChordReadings FindChordReadings(const std::vector<double>& strain_series, double elastic_min,
                                double elastic_max);
