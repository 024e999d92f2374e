#pragma once

#include <cstdint>

class CPlyforgeDoc;

// A digest of what each half of a project calculates from: equal digests, the same
// inputs. Results compare it with the digest they were calculated from, so inputs
// edited and then edited back (or undone) are the results' inputs again. What is
// shown only (the load case, a specimen left out of the statistics) is not in it.
std::uint64_t TheoryInputsDigest(const CPlyforgeDoc& doc);
std::uint64_t ExperimentInputsDigest(const CPlyforgeDoc& doc);
