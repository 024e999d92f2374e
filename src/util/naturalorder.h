#pragma once

#include <string_view>

// File names as people count them: runs of digits compare by their value, so
// "specimen 2" comes before "specimen 10"; everything else compares byte for byte.
bool NaturalLess(std::string_view a, std::string_view b);
