#pragma once

#include "doc/messagesink.h"
#include "doc/plyforgedoc.h"

// The checks the Calculate commands make before a run, with their messages. Each
// returns false after showing the message that stops the run.
class CalculationChecks {
public:
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
    static bool ExperimentReady(const CPlyforgeDoc& doc, MessageSink& sink);
};
