#pragma once

#include "doc/messagesink.h"
#include "doc/plyforgedoc.h"

#include <string>
#include <vector>

// The checks the Calculate commands make before a run, with their messages. Each
// returns false after showing the message that stops the run.
class CalculationChecks {
public:
    // The first impossible input of a lamina or specimen, as its message; empty
    // when there is none.
    static std::string LaminaFault(const Lamina& lamina);
    static std::string SpecimenFault(const ExperimentSpecimen& specimen);
    // The parts of LaminaFault: the fibre and matrix, or the ply constants, by the
    // lamina's source; its strengths when it has any.
    static std::string ConstituentFault(const Lamina& lamina);
    static std::string PlyConstantsFault(const Lamina& lamina);
    static std::string StrengthFault(const Lamina& lamina);
    static std::string FailureSettingsFault(const FailureSettings& settings);

    // "Theoretical Lamina #1, Fiber, Density(mg/m3): "abc"", as the lamina form names the cell.
    static std::string UnreadFieldPlace(int lamina_id, const UnreadField& cell);
    // Every cell of the project kept as text: the laminae's, then the specimens',
    // each in id order.
    static std::vector<std::string> UnreadPlaces(const CPlyforgeDoc& doc);

    // The compliance scale factor (the ribbon's, when it is not yet the
    // document's) must be greater than 0; every configured lamina must have its
    // record, and there must be at least one.
    static bool TheoryReady(const CPlyforgeDoc& doc, double scale_factor, MessageSink& sink);
    static bool TheoryReady(const CPlyforgeDoc& doc, MessageSink& sink)
    {
        return TheoryReady(doc, doc.laminate.compliance_scale_factor, sink);
    }
    // Elastic Max. must be greater than Min.; every configured specimen must have
    // its record, and there must be at least one.
    // Both then refuse a cell kept as text, and values no real ply or specimen can
    // have, naming the record and the field: a thickness, density or width not above 0, a fibre fraction
    // outside 0..1, a constituent Poisson's ratio outside (-1, 0.5), a negative
    // Halpin-Tsai factor.
    static bool ExperimentReady(const CPlyforgeDoc& doc, MessageSink& sink);

    // After a run: the first result that is not a number (inputs that overflow the
    // calculation, readings of inf or nan), named with its record and why; empty
    // when every result is a number. Nothing is printed as a result in its place.
    static std::string TheoryResultFault(const CPlyforgeDoc& doc);
    static std::string ExperimentResultFault(const CPlyforgeDoc& doc);
    // Why the laminate's A, B, D matrix cannot be inverted: the first lamina whose own
    // stiffness is singular or not a number, else the stack as a whole.
    static std::string SingularStiffnessCause(const CPlyforgeDoc& doc);
};
