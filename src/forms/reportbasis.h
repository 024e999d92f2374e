#pragma once

#include "forms/reportblock.h"

#include <vector>

class CPlyforgeDoc;

// The test series' basis values in the report, as the log gives them: each method's
// OSL, B-basis and A-basis for the strength and the modulus, the chosen method and
// why, and the specimens flagged as outliers.
std::vector<ReportBlock> BasisReportBlocks(const CPlyforgeDoc& doc);
