#pragma once

#include "mechanics/matrix3.h"
#include "theory/lamina.h"

#include <memory>
#include <ostream>
#include <vector>

// The laminate-level inputs and results, apart from the laminae.
struct LaminateValues {
    double FAW = 0;       // thickness-weighted mean fibre fraction
    double thickness = 0; // mm, sum over the laminae
    Matrix3 stiffness_with_angle = Matrix3::Zero();
    double compliance_scale_factor = 0;
    double delta = 0;
    Matrix3 compliance = Matrix3::Zero();
    double Ex = 0;
    double Ey = 0;
    double Gxy = 0;
    double NUxy = 0;
    double NUyx = 0;
    double ETAxyx = 0;
    double ETAxyy = 0;
    double E1 = 0;
    double E2 = 0;
    double NU12 = 0;
    double G12 = 0;
    double G13 = 0;
    double G23 = 0;
};

// The ordered stack of laminae, in the order each was first committed, with the
// laminate-level results. Owns its laminae.
struct Laminate : LaminateValues {
    std::vector<std::unique_ptr<Lamina>> laminae;

    Laminate() = default;
    Laminate(Laminate&&) = default;
    Laminate& operator=(Laminate&&) = default;
    // A deep copy: its own copies of the laminae.
    Laminate Copy() const;

    void Initialize();
    void CalculateInformation(std::ostream& log, Trace& trace);
    void CalculateStiffnessWithAngle(std::ostream& log, Trace& trace);
    void CalculateCompliance(std::ostream& log, Trace& trace);
    void CalculateHomogenization(std::ostream& log, Trace& trace);
    void TranslateForAbaqus(std::ostream& log, Trace& trace);
    // The laminate steps in their order, from Initialize to TranslateForAbaqus, once
    // every ply has its rotated stiffness.
    void CalculateAll(std::ostream& log, Trace& trace);

    // Whether some lamina has strengths, so that there is a strength to assess.
    bool AnyAssessed() const;
    // The record with this id, or nullptr (linear search from the front).
    Lamina* FindLamina(int id) const;
    // The record with this id, appended at the end when there is none yet.
    Lamina& FindOrCreateLamina(int id);
};
