#pragma once

#include "experiment/experimentspecimen.h"
#include "mechanics/failurecriteria.h"

#include <string>

struct Laminate;

// The laminate's prediction beside the test series' measurement, for coupons pulled
// along x or y: the membrane modulus against the mean modulus, and the first- and
// last-ply failure stress under a uniaxial load (lambda / h for a unit resultant)
// against the mean strength and its B-basis. Numbers that cannot be given are NaN;
// every difference is 100 (predicted - measured) / measured.
struct SeriesComparison {
    enum class Direction { X, Y };
    Direction direction = Direction::X;
    FailureCriterion criterion = FailureCriterion::TsaiWu;

    double predicted_modulus;      // GPa
    double measured_modulus_mean;  // GPa, over the included specimens with a modulus
    double measured_modulus_sd;    // sample SD (n - 1)
    int modulus_n = 0;
    double modulus_difference;     // %

    double fpf, lpf;               // MPa
    double fpf_strain;             // % on the predicted line, where first-ply failure ends it
    double measured_strength_mean, measured_b_basis; // MPa
    double fpf_difference, lpf_difference;           // %

    // {"direction", "criterion", "modulus": {...}, "strength": {...}}, null for NaN.
    std::string Json() const;
    std::string Text() const;
};

const char* DirectionKey(SeriesComparison::Direction direction); // "x", "y"

// The laminate as a theory run computed it (its thickness and plies' stiffnesses),
// and the series with the results of its last run.
SeriesComparison CompareSeries(const Laminate& laminate, const FailureSettings& settings,
                               const SpecimenList& specimens, SeriesComparison::Direction direction,
                               FailureCriterion criterion);
