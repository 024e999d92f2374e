#pragma once

#include "doc/projectfields.h"

#include <initializer_list>
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
    // A lamina's "strength", with the sources of its values.
    static void ReadLaminaStrength(const json& item, const std::string& where, Lamina& lamina);
    // The optional "source" of an object's values: for each of these fields a test
    // series gave, {"series", "statistic": "mean"|"b_basis"|"a_basis", "n", "date"}.
    static void ReadSources(const json& object, const std::string& where, std::initializer_list<const char*> fields,
                            Lamina& lamina);
};
