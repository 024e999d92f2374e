#pragma once

#include "util/messagelanguage.h"

#include "doc/seriescomparison.h"
#include "mechanics/failurecriteria.h"

#include <optional>
#include <ostream>
#include <vector>

class CPlyforgeDoc;
class MessageSink;
class Trace;

// The command-line calculator:
//   plyforge-cli theory PROJECT [--log-dir DIR] [--card FILE]
//   plyforge-cli experiment PROJECT [--log-dir DIR] [--json] [--modulus chord|regression]
//                                   [--range MIN MAX]
//   plyforge-cli laminate PROJECT [--log-dir DIR] [--json] [--load Nx Ny Nxy Mx My Mxy]
//   plyforge-cli strength PROJECT [--log-dir DIR] [--json] [--load Nx Ny Nxy Mx My Mxy]
//                                 [--criterion NAME|all] [--envelope N]
//   plyforge-cli compare PROJECT [--log-dir DIR] [--json] [--direction x|y] [--criterion NAME]
//   plyforge-cli --help | --version
// Exit status: 0 success; 1 the calculation was refused or stopped; 2 bad usage or
// an unreadable project file; 3 the log or card could not be written.
class CliRunner {
public:
    enum ExitCode { kSuccess = 0, kRefused = 1, kBadInput = 2, kNotWritten = 3 };

    // Messages are shown in language; without one, as their source texts are.
    CliRunner(std::ostream& out, std::ostream& err, std::optional<MessageLanguage> language = std::nullopt)
        : m_out(out), m_err(err), m_language(language)
    {
    }
    int Run(int argc, const char* const* argv);

private:
    // The theory run, then the laminate's lamination theory printed; 0 or kRefused.
    int RunLaminate(CPlyforgeDoc& doc, MessageSink& sink, bool json);
    // The theory run, then the strength under the project's load case; 0 or kRefused.
    int RunStrength(CPlyforgeDoc& doc, MessageSink& sink, bool json, const std::vector<FailureCriterion>& criteria,
                    int envelope);
    // The theory and the experiment, then the laminate's prediction beside the series; 0 or kRefused.
    int RunCompare(CPlyforgeDoc& doc, MessageSink& sink, bool json, SeriesComparison::Direction direction,
                   FailureCriterion criterion);
    // The theory as every theory command runs it: the checks, the run, its log written
    // (a refused run's too), then no result that is not a number. False after a message.
    static bool RunTheory(CPlyforgeDoc& doc, MessageSink& sink, Trace& trace);

    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<MessageLanguage> m_language;
};
