#include "theory/theoryrun.h"

#include "theory/laminateanalysis.h"
#include "theory/strengthanalysis.h"
#include "util/calclog.h"

#include <sstream>

namespace {

// The steps of one lamina in driver order; the first failure says why.
TheoryFailure RunLaminaSteps(Lamina& lamina, std::ostream& log, Trace& trace)
{
    if (lamina.source == LaminaSource::PlyConstants) {
        lamina.UsePlyConstants(log, trace);
    } else {
        if (!lamina.CalculateMaterialProperties(log, trace))
            return TheoryFailure::YoungsModulus;
        lamina.ApplyHalpinTsai(log, trace);
        lamina.CalculateNuAndK(log, trace);
        lamina.CalculateWeightFractionAndDensity(log, trace);
    }
    if (!lamina.CalculateStiffnessMatrix(log, trace) || !lamina.CalculateStiffnessMatrixWithAngle(log, trace))
        return TheoryFailure::ScaleFactor;
    lamina.CalculateElasticConstants(log, trace);
    lamina.LogSources(log);
    return TheoryFailure::None;
}

} // namespace

std::string TheoryRun::LogText() const { return JoinLogBlocks(log_blocks); }

void TheoryRun::StoreIn(Laminate& target) const
{
    static_cast<LaminateValues&>(target) = laminate;
    for (size_t i = 0; i < target.laminae.size() && i < laminate.laminae.size(); ++i)
        *target.laminae[i] = *laminate.laminae[i];
}

TheoryRun RunTheory(const Laminate& inputs, const std::optional<LaminateLoad>& load_case, Trace& trace,
                    const FailureSettings& failure)
{
    TheoryRun run;
    run.laminate = inputs.Copy();
    run.log_blocks.emplace_back("\nStart Calculation\n\n");
    for (const auto& lamina : run.laminate.laminae) {
        std::ostringstream log;
        run.failure = RunLaminaSteps(*lamina, log, trace);
        run.log_blocks.push_back(log.str());
        if (!run.Ok()) {
            run.failed_lamina_id = lamina->id;
            trace.Flush();
            return run;
        }
    }

    std::ostringstream log;
    run.laminate.CalculateAll(log, trace);
    run.log_blocks.push_back(log.str());
    // The laminate as classical lamination theory sees it, after all the run wrote before.
    if (LaminateAnalysis analysis; analysis.Run(run.laminate, load_case))
        run.log_blocks.push_back("##Laminate (classical lamination theory)\n" + analysis.Text() + '\n');
    if (StrengthAnalysis strength; load_case && strength.Run(run.laminate, *load_case, failure))
        run.log_blocks.push_back(strength.Text());
    trace.Flush();
    return run;
}
