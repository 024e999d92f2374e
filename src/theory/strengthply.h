#pragma once

#include "mechanics/failurecriteria.h"
#include "mechanics/laminationtheory.h"

#include <optional>
#include <vector>

// A failed ply's moduli are multiplied by this in last-ply failure.
inline constexpr double kPlyFailureSearch = 1e-6;
// Strength ratios within this, relative, are the same failure (mirror plies).
inline constexpr double kStrengthTie = 1e-12;

// A ply as the strength analysis sees it.
struct StrengthPly {
    int id = 0;
    double thickness = 0, angle = 0, nu12 = 0;
    Matrix3 stiffness = Matrix3::Zero(); // rotated, MPa
    PlyModuli moduli;
    std::optional<PlyFailure> failure; // none: not assessed
};

// A ply's failure as the load grows: lambda is the load factor, never less than
// the previous event's.
struct FailureEvent {
    double lambda = 0;
    int ply = 0;
    FailureMode mode = FailureMode::None;
};

struct LastPlyFailure {
    double lambda = 0; // of the last event
    std::vector<FailureEvent> events;
};
