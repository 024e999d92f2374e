#pragma once

#include <memory>
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

// One tensile specimen: its inputs (width, thickness and three readings series of
// equal length) and the four results of its last successful evaluation.
struct ExperimentSpecimen {
    int id = 0;
    unsigned char valid = 0; // cleared when an evaluation fails; nothing reads it
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
    double load_max = 0; // N
    double strength = 0; // N/mm2
    double strain = 0;   // %
    double modulus = 0;  // GPa
    // Why the readings give no modulus over the range (empty when they do): the
    // modulus above is then not a measurement of it.
    std::string modulus_gap;

    // Writes the four results; false, with the record untouched, when the series
    // are empty or of unequal length.
    bool Evaluate(double elastic_min, double elastic_max, ModulusMethod method = ModulusMethod::Chord);

    // Its ID, or "Lamina #<id>" without one, as lists, exports and the chart name it.
    std::string DisplayName() const;

    // True when every input equals the other's, bit for bit.
    bool SameInputs(const ExperimentSpecimen& other) const;
};

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
