#pragma once

#include <string>

// A fibre or matrix material of one lamina. The first four fields are input; the
// shear and bulk moduli are derived by the lamina's first calculation step.
struct ConstituentMaterial {
    std::string name;         // UTF-8, as typed
    double density = 0;       // mg/m3
    double youngs_modulus = 0; // GPa
    double poissons_ratio = 0;
    double shear_modulus = 0; // GPa
    double bulk_modulus = 0;  // GPa

    bool SameInputs(const ConstituentMaterial& other) const;
};
