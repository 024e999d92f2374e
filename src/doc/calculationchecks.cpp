#include "doc/calculationchecks.h"

#include "doc/messages.h"

bool CalculationChecks::TheoryReady(const CPlyforgeDoc& doc, double scale_factor, MessageSink& sink)
{
    // Written so that a NaN factor is refused too.
    if (!(scale_factor > 0)) {
        sink.ShowMessage(msg::kScaleFactorPositive);
        return false;
    }
    if (doc.lamina_count == 0 ||
        doc.lamina_count != static_cast<int>(doc.laminate.laminae.size())) {
        sink.ShowMessage(msg::kLaminaeIncomplete);
        return false;
    }
    return true;
}

bool CalculationChecks::ExperimentReady(const CPlyforgeDoc& doc, MessageSink& sink)
{
    if (!(doc.elastic_max > doc.elastic_min)) {
        sink.ShowMessage(msg::kElasticMaxGreater);
        return false;
    }
    if (doc.specimen_count == 0 || doc.specimen_count != static_cast<int>(doc.specimens.size())) {
        sink.ShowMessage(msg::kLaminaeIncomplete);
        return false;
    }
    return true;
}
