#pragma once

#include "mechanics/laminationtheory.h"
#include "mechanics/failurecriteria.h"
#include "theory/laminate.h"
#include "util/trace.h"

#include <optional>
#include <string>
#include <vector>

// Why a theory run stopped at a lamina.
enum class TheoryFailure {
    None,
    YoungsModulus, // a constituent's Young's modulus is 0
    ScaleFactor,   // a stiffness scale factor is 0
};

// What one theory run gives: the laminate as computed (its own copies of the laminae,
// each with its results, and the laminate's results), and the log as its blocks,
// which the caller writes to the file and shows. A run refused at a lamina holds
// what it computed up to that step and the log it wrote up to there.
struct TheoryRun {
    Laminate laminate;
    TheoryFailure failure = TheoryFailure::None;
    int failed_lamina_id = 0;
    std::vector<std::string> log_blocks;

    bool Ok() const { return failure == TheoryFailure::None; }
    std::string LogText() const;
    // Keeps every computed record in the laminate the run was given, lamina by lamina
    // in the same order; its laminae stay the same objects.
    void StoreIn(Laminate& laminate) const;
};

// Runs every lamina's steps in order, then the laminate's, then the classical
// lamination theory under the load case (when its stack can be analysed), and last
// the strength under the load case when a lamina has strengths.
TheoryRun RunTheory(const Laminate& inputs, const std::optional<LaminateLoad>& load_case, Trace& trace,
                    const FailureSettings& failure = {});
