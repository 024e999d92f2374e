#pragma once

#include "util/messagelanguage.h"

#include <optional>

#include <ostream>

class CPlyforgeDoc;
class MessageSink;

// The command-line calculator:
//   plyforge-cli theory PROJECT [--log-dir DIR] [--card FILE]
//   plyforge-cli experiment PROJECT [--log-dir DIR] [--json] [--modulus chord|regression]
//                                   [--range MIN MAX]
//   plyforge-cli laminate PROJECT [--log-dir DIR] [--json] [--load Nx Ny Nxy Mx My Mxy]
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

    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<MessageLanguage> m_language;
};
