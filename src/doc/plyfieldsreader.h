#pragma once

#include "doc/projectfields.h"

#include <string>

struct FailureSettings;
struct Lamina;
struct PlyStrengths;

// The strength side of a project file: a lamina's ply constants (in place of its
// fibre and matrix), its strengths, and the theory's failure settings. Faults are
// the project reader's, naming where they stand.
class PlyFieldsReader : private ProjectFields {
public:
    static void ReadPlyConstants(const json& item, const std::string& where, Lamina& lamina);
    static void ReadStrengths(const json& object, const std::string& where, PlyStrengths& strengths);
    static void ReadFailure(const json& object, FailureSettings& settings);
};
