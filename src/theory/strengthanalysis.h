#pragma once

#include "theory/strengthply.h"

#include <optional>
#include <string>
#include <vector>

struct Laminate;
class PlyFailureSearch;

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
    static constexpr double kDiscount = kPlyFailureSearch;
    static constexpr double kTie = kStrengthTie;

    // False when no lamina has strengths or the stack cannot be analysed.
    bool Run(const Laminate& laminate, const LaminateLoad& load, const FailureSettings& settings,
             const std::vector<FailureCriterion>& criteria = {kFailureCriteria.begin(), kFailureCriteria.end()},
             int envelope_directions = 0);

    // Last-ply failure and the envelope evaluate every ply face instead of searching
    // the few that can fail first: slower, the same results; what the search is
    // checked against.
    bool every_face = false;

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

private:
    CriterionStrength Assess(FailureCriterion criterion, const LoadResult& loaded) const;
    static std::vector<EnvelopePoint> Envelope(PlyFailureSearch& search, const LoadResult& unit_x,
                                               const LoadResult& unit_y, int directions);

    std::vector<StrengthPly> m_plies;
    std::vector<LaminationPly> m_stack;
    LaminationResult m_laminate;
};
