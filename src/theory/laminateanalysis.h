#pragma once

#include "mechanics/laminationtheory.h"

#include <optional>
#include <string>
#include <vector>

struct Laminate;

// Classical lamination theory of the laminate a theory run has computed: its
// laminae stacked in id order, lamina 1 at the bottom, each with its rotated
// stiffness as the run left it, and an optional load case.
struct LaminateAnalysis {
    std::vector<LaminationPly> plies;
    LaminationResult result;
    std::optional<LaminateLoad> load;
    LoadResult loaded; // when load is set

    // False when the laminate has no laminae or its stack cannot be analysed.
    bool Run(const Laminate& laminate, const std::optional<LaminateLoad>& load_case);

    // One JSON object: thickness, A, B, D and their inverse (rows), the membrane and
    // flexural constants (moduli in GPa), the classification and the load case or
    // null. Numbers are the shortest texts that read back to the same doubles.
    std::string Json() const;
    // The same for a reader: the matrices with units, the constants, the
    // classification with its warning, and a table of the plies under the load
    // (without it when plyTable is false).
    std::string Text(bool plyTable = true) const;
    // The plies' faces under the load, one row each: ply, face, z, then the strains
    // and stresses in laminate axes (axes 0) or in ply axes (axes 1), "%g" numbers.
    std::vector<std::vector<std::string>> PlyRows(int axes) const;
};
