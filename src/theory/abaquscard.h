#pragma once

#include "theory/laminate.h"

#include <string>
#include <string_view>

// The ABAQUS material card of the laminate's translated constants: three lines,
// each ended by lineEnd (CR LF in the results view, LF in files of this platform).
std::string MakeAbaqusCard(const Laminate& laminate, std::string_view lineEnd = "\r\n");
