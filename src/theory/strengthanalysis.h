#pragma once

#include "mechanics/failurecriteria.h"
#include "mechanics/laminationtheory.h"

#include <optional>
#include <string>
#include <vector>

struct Laminate;

// A ply's strength ratios at its two faces; a ply without strengths is not assessed.
struct PlyStrengthRatios {
    int id = 0;
    bool assessed = false;
    StrengthRatio bottom, top;
};

// The first ply face to fail under the load case multiplied by R, and the
// resultants R N and R M at which it does.
struct FirstPlyFailure {
    StrengthRatio ratio;
    int ply = 0;
    bool top = false;
    LaminateLoad at;
};

// A ply's failure as the load grows: lambda is the load factor, never less than the
// previous event's.
struct FailureEvent {
    double lambda = 0;
    int ply = 0;
    FailureMode mode = FailureMode::None;
};

struct LastPlyFailure {
    double lambda = 0; // of the last event
    std::vector<FailureEvent> events;
};

struct CriterionStrength {
    FailureCriterion criterion = FailureCriterion::MaxStress;
    std::vector<PlyStrengthRatios> plies; // in id order, lamina 1 at the bottom
    FirstPlyFailure first_ply;            // ratio.R infinite: no face can fail
    std::optional<LastPlyFailure> last_ply; // only when every lamina has strengths
};

struct EnvelopePoint {
    double Nx = 0, Ny = 0; // N/mm; infinite where the direction never fails
};

// The strength of a computed laminate under a load case, by each criterion: every
// assessed ply face's strength ratio, first-ply failure, last-ply failure by ply
// discount (a failed ply's moduli times 1e-6), and the first-ply envelope of in-plane
// loads in the (Nx, Ny) plane.
class StrengthAnalysis {
public:
    static constexpr double kDiscount = 1e-6;
    // Strength ratios within this, relative, are the same failure (mirror plies).
    static constexpr double kTie = 1e-12;

    // False when no lamina has strengths or the stack cannot be analysed.
    bool Run(const Laminate& laminate, const LaminateLoad& load, const FailureSettings& settings,
             const std::vector<FailureCriterion>& criteria = {kFailureCriteria.begin(), kFailureCriteria.end()},
             int envelope_directions = 0);

    LaminateLoad load;
    FailureSettings settings;
    std::vector<CriterionStrength> results;
    // One per result, directions at 360 k / n degrees; empty without directions.
    std::vector<std::vector<EnvelopePoint>> envelopes;

    // The log's "##Strength" section.
    std::string Text() const;
    // {"load", "criteria": {key: {"plies", "first_ply", "last_ply"}}, "envelope"}, numbers
    // at full precision, infinite ratios as null.
    std::string Json() const;

    struct Ply {
        int id = 0;
        double thickness = 0, angle = 0, nu12 = 0;
        Matrix3 stiffness = Matrix3::Zero(); // rotated, MPa
        PlyModuli moduli;
        std::optional<PlyFailure> failure; // none: not assessed
    };

private:
    CriterionStrength Assess(FailureCriterion criterion, const LoadResult& loaded) const;
    LastPlyFailure LastPly(FailureCriterion criterion) const;
    std::vector<EnvelopePoint> Envelope(FailureCriterion criterion, const LoadResult& unit_x,
                                        const LoadResult& unit_y, int directions) const;

    std::vector<Ply> m_plies;
    std::vector<LaminationPly> m_stack;
    LaminationResult m_laminate;
};
