#pragma once

#include <vector>

// One tensile specimen: its inputs (width, thickness and three readings series of
// equal length) and the four results of its last successful evaluation.
struct ExperimentSpecimen {
    int id = 0;
    unsigned char valid = 0; // cleared when an evaluation fails; nothing reads it
    double width = 0;        // mm
    double thickness = 0;    // mm
    std::vector<double> load_series;   // N
    std::vector<double> strain_series; // %
    std::vector<double> stress_series; // N/mm2
    double load_max = 0; // N
    double strength = 0; // N/mm2
    double strain = 0;   // %
    double modulus = 0;  // GPa

    // Writes the four results; false, with the record untouched, when the series
    // are empty or of unequal length.
    bool Evaluate(double elastic_min, double elastic_max);

    // True when every input equals the other's, bit for bit.
    bool SameInputs(const ExperimentSpecimen& other) const;
};

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
