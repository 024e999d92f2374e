#pragma once

#include "experiment/experimentspecimen.h"

#include <string>
#include <vector>

// A test series from a testing machine's files, one file per specimen: the files in
// the natural order of their names ("2" before "10") become specimens 1, 2, ...,
// each with the width and thickness its file writes above the readings (else 0).
// At most as many files as a project holds specimens (kMaxLaminaCount), refused
// before any is read; a Specimen ID longer than a project name may be is refused.
// Throws ImportError naming the file that cannot be read, or whose header does not
// say which columns hold Load, Strain and Stress (import that one alone to choose).
SpecimenList ReadSeries(std::vector<std::string> paths);
