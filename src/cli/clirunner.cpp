#include "cli/clirunner.h"

#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "mechanics/abaquscard.h"
#include "util/formattext.h"

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: plyforge-cli theory PROJECT [--log-dir DIR] [--card FILE]\n"
    "       plyforge-cli experiment PROJECT [--log-dir DIR]\n";

// Messages the desktop program shows in a box go to standard error, one line each.
class StderrSink : public MessageSink {
public:
    explicit StderrSink(std::ostream& err) : m_err(err) {}
    void ShowMessage(const std::string& text) override { m_err << text << '\n' << std::flush; }

private:
    std::ostream& m_err;
};

struct Arguments {
    std::string command;
    std::string project;
    std::optional<std::string> log_dir;
    std::optional<std::string> card;
};

// Returns an error text, or an empty one when the arguments are good.
std::string ParseArguments(int argc, const char* const* argv, Arguments& args)
{
    if (argc < 3)
        return "missing arguments";
    args.command = argv[1];
    if (args.command != "theory" && args.command != "experiment")
        return "unknown command \"" + args.command + "\"";
    args.project = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option != "--log-dir" && option != "--card")
            return "unknown option \"" + option + "\"";
        if (option == "--card" && args.command != "theory")
            return "--card is an option of the theory command";
        if (i + 1 >= argc)
            return option + " needs a value";
        (option == "--log-dir" ? args.log_dir : args.card) = argv[++i];
    }
    return {};
}

std::string ResultRow(const ExperimentSpecimen& s)
{
    return FormatText("Lamina #%d\t%g\t%g\t%g\t%g\t%g\t%g", s.id, s.width, s.thickness, s.load_max,
                      s.strength, s.strain, s.modulus);
}

} // namespace

int CliRunner::Run(int argc, const char* const* argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        m_out << kUsage;
        return kSuccess;
    }
    Arguments args;
    if (const std::string error = ParseArguments(argc, argv, args); !error.empty()) {
        m_err << "plyforge-cli: " << error << '\n' << kUsage;
        return kBadInput;
    }

    ProjectData project;
    try {
        project = ProjectReader::ReadFile(args.project);
    } catch (const ProjectFileError& error) {
        m_err << "plyforge-cli: " << error.what() << '\n';
        return kBadInput;
    }

    StderrSink sink(m_err);
    CPlyforgeDoc doc(&sink);
    doc.OnNewDocument();
    if (args.log_dir)
        doc.program_folder = *args.log_dir;
    doc.LoadProject(std::move(project));

    const bool theory = args.command == "theory";
    if (theory) {
        if (!CalculationChecks::TheoryReady(doc, sink) || !doc.CalculateTheory())
            return kRefused;
    } else {
        if (!CalculationChecks::ExperimentReady(doc, sink))
            return kRefused;
        doc.CalculateExperiment();
        m_out << "Name\tWidth(mm)\tThickness(mm)\tLoad Max(N)\tStrength(N/mm2)\tStrain(%)\tModulus(GPa)\n";
        for (const auto& specimen : doc.specimens)
            m_out << ResultRow(*specimen) << '\n';
        m_out.flush();
    }

    int status = kSuccess;
    if (!doc.log_written) {
        m_err << "plyforge-cli: cannot write the calculation log " << doc.log_path << '\n';
        status = kNotWritten;
    }
    if (args.card) {
        std::ofstream card(*args.card, std::ios::out | std::ios::trunc);
        card << MakeAbaqusCard(doc.laminate, "\n");
        card.close();
        if (!card) {
            m_err << "plyforge-cli: cannot write the material card " << *args.card << '\n';
            status = kNotWritten;
        }
    }
    return status;
}
