// The compare command of the command-line calculator: the laminate's prediction
// beside the test series.
#include "cli/clirunner.h"

#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "util/trace.h"

int CliRunner::RunCompare(CPlyforgeDoc& doc, MessageSink& sink, bool json, SeriesComparison::Direction direction,
                          FailureCriterion criterion)
{
    if (doc.laminate.laminae.empty() || doc.specimens.empty()) {
        sink.ShowMessage("The project needs a laminate and a test series to compare: import the series into the "
                         "theory project.");
        return kRefused;
    }
    std::string steps; // the theory command's output, not this one's
    Trace trace(steps);
    if (!RunTheory(doc, sink, trace))
        return kRefused;
    // The caller reports a log that could not be written: the theory's, if it was one.
    const bool theory_logged = doc.log_written;
    const std::string theory_log = doc.log_path, theory_error = doc.log_error;
    if (!CalculationChecks::ExperimentReady(doc, sink))
        return kRefused;
    doc.CalculateExperiment();
    if (doc.WriteLog() && !theory_logged) {
        doc.log_written = false;
        doc.log_path = theory_log;
        doc.log_error = theory_error;
    }
    if (const std::string fault = CalculationChecks::ExperimentResultFault(doc); !fault.empty()) {
        sink.ShowMessage(fault);
        return kRefused;
    }
    const SeriesComparison comparison = CompareSeries(doc.laminate, doc.failure, doc.specimens, direction, criterion);
    m_out << (json ? comparison.Json() : comparison.Text());
    m_out.flush();
    return kSuccess;
}
