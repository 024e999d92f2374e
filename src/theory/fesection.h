#pragma once

#include <string>

struct Laminate;

// The laminate as a layered shell section for a finite-element model, an input
// fragment that ABAQUS and CalculiX both read: one *MATERIAL per lamina with its
// engineering constants in MPa (transversely isotropic: E3 = E2, nu13 = nu12,
// G13 = G12, nu23 from the micromechanics and G23 = E2 / (2 (1 + nu23))), an
// *ORIENTATION per distinct angle, and a *SHELL SECTION, COMPOSITE listing the
// laminae bottom (lamina 1) to top. Needs a finished theory run. LF line ends.
std::string FeSection(const Laminate& laminate, const std::string& elset = "LAMINATE");
