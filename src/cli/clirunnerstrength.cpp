// The strength command of the command-line calculator.
#include "cli/clirunner.h"

#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "theory/strengthanalysis.h"
#include "util/formattext.h"
#include "util/trace.h"

#include <cmath>

int CliRunner::RunStrength(CPlyforgeDoc& doc, MessageSink& sink, bool json,
                           const std::vector<FailureCriterion>& criteria, int envelope)
{
    std::string text; // the theory command's output, not this one's
    Trace trace(text);
    if (!RunTheory(doc, sink, trace))
        return kRefused;
    if (!doc.laminate.AnyAssessed()) {
        sink.ShowMessage("No lamina has strengths, so none can be assessed: give a lamina its strengths "
                         "Xt, Xc, Yt, Yc and S (MPa).");
        return kRefused;
    }
    StrengthAnalysis analysis;
    if (!analysis.Run(doc.laminate, *doc.load_case, doc.failure, criteria, envelope)) {
        sink.ShowMessage(CalculationChecks::SingularStiffnessCause(doc));
        return kRefused;
    }
    if (json) {
        m_out << analysis.Json() << '\n';
    } else {
        m_out << analysis.Text();
        for (size_t i = 0; i < analysis.envelopes.size(); ++i) {
            m_out << "Failure envelope, " << FailureCriterionTitle(analysis.results[i].criterion) << ": Nx Ny\n";
            for (const EnvelopePoint& point : analysis.envelopes[i])
                m_out << FormatText("%g\t%g\n", point.Nx, point.Ny);
        }
    }
    m_out.flush();
    return kSuccess;
}
