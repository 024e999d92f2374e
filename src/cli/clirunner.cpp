#include "cli/clirunner.h"

#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "experiment/resultsjson.h"
#include "experiment/resultstable.h"
#include "theory/abaquscard.h"
#include "theory/fesection.h"
#include "theory/laminateanalysis.h"
#include "mechanics/failurecriteria.h"
#include "util/messagelanguage.h"
#include "util/safefilewriter.h"
#include "util/trace.h"
#include "util/numberparser.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: plyforge-cli theory PROJECT [--log-dir DIR] [--card FILE]\n"
    "       plyforge-cli experiment PROJECT [--log-dir DIR] [--json] [--modulus chord|regression]\n"
    "                                       [--range MIN MAX]\n"
    "       plyforge-cli laminate PROJECT [--log-dir DIR] [--json] [--load Nx Ny Nxy Mx My Mxy]\n"
    "                                     [--fe-section FILE]\n"
    "       plyforge-cli strength PROJECT [--log-dir DIR] [--json] [--load Nx Ny Nxy Mx My Mxy]\n"
    "                                     [--criterion NAME|all] [--envelope N]\n"
    "       plyforge-cli compare PROJECT [--log-dir DIR] [--json] [--direction x|y]\n"
    "                                    [--criterion NAME]\n"
    "       plyforge-cli --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Runs Plyforge's calculations on a project file (.plyforge) without the desktop\n"
    "program, with the same checks and messages.\n"
    "\n"
    "Commands:\n"
    "  theory PROJECT      computes every lamina and the laminate, writes\n"
    "                      TheoreticalLog.txt and prints the trace of every step\n"
    "  experiment PROJECT  evaluates every specimen, writes ExperimentalLog.txt and\n"
    "                      prints the results list (a header line, then one\n"
    "                      tab-separated line per specimen)\n"
    "  laminate PROJECT    runs the theory (writing TheoreticalLog.txt) and prints the\n"
    "                      laminate's classical lamination theory: A, B and D, the\n"
    "                      membrane and flexural constants, whether it is symmetric\n"
    "                      and balanced, and each ply's strains and stresses under a load\n"
    "  strength PROJECT    runs the theory (writing TheoreticalLog.txt) and prints each\n"
    "                      assessed ply's strength ratio R and failure mode at both\n"
    "                      faces under the load case, first-ply and last-ply failure,\n"
    "                      by each criterion: max-stress, max-strain, tsai-hill,\n"
    "                      tsai-wu, hashin, puck\n"
    "  compare PROJECT     runs the theory and the experiment (writing both logs) and\n"
    "                      prints the laminate's predicted modulus and first- and\n"
    "                      last-ply failure stress under a uniaxial load beside the\n"
    "                      series' mean modulus, mean strength and B-basis\n"
    "\n"
    "Options:\n"
    "  --log-dir DIR       the folder the calculation log goes to (default: the\n"
    "                      executable's folder in a build, ~/.local/share/plyforge\n"
    "                      when installed)\n"
    "  --card FILE         theory only: also write the ABAQUS material card\n"
    "  --json              experiment, laminate, strength and compare: print the results\n"
    "                      as one JSON\n"
    "                      object (for an experiment with the series' statistics and\n"
    "                      the elastic range)\n"
    "  --modulus METHOD    experiment only: \"chord\" or \"regression\" instead of the\n"
    "                      project's modulus method\n"
    "  --range MIN MAX     experiment only: this elastic range (strain in %) instead of\n"
    "                      the project's\n"
    "  --load Nx Ny Nxy Mx My Mxy\n"
    "                      laminate and strength: force (N/mm) and moment (N mm/mm) resultants\n"
    "                      to find the plies' strains and stresses under, instead\n"
    "                      of the project's load case\n"
    "  --criterion NAME    strength: one criterion, or all (the default); compare: the\n"
    "                      criterion of the failure stresses (default tsai-wu)\n"
    "  --direction x|y     compare only: the coupons' test direction (default x)\n"
    "  --envelope N        strength only: also the first-ply failure envelope of\n"
    "                      in-plane loads (Nx, Ny) in N directions, 1 to 100000\n"
    "  --fe-section FILE   laminate only: also write the laminate as a composite shell\n"
    "                      section (materials, orientations, *SHELL SECTION) that\n"
    "                      ABAQUS and CalculiX read\n"
    "  -h, --help          print this text and exit\n"
    "  -v, --version       print the version and exit\n"
    "\n"
    "Exit status: 0 success; 1 the calculation was refused or stopped (the message on\n"
    "standard error); 2 bad usage (an output naming the project or a readings file\n"
    "included) or a project file that cannot be read; 3 the log, card or section\n"
    "could not be written (the calculation still ran; a file is only ever replaced\n"
    "whole, and never a pipe, device or folder).\n";

// Messages the desktop program shows in a box go to standard error, one line each,
// in the user's language.
class StderrSink : public MessageSink {
public:
    StderrSink(std::ostream& err, std::optional<MessageLanguage> language) : m_err(err), m_language(language) {}
    void ShowMessage(const std::string& text) override
    {
        m_err << (m_language ? TranslateMessage(text, *m_language) : text) << '\n' << std::flush;
    }

private:
    std::ostream& m_err;
    std::optional<MessageLanguage> m_language;
};

struct Arguments {
    std::string command;
    std::string project;
    std::optional<std::string> log_dir;
    std::optional<std::string> card;
    bool json = false;
    std::optional<ModulusMethod> modulus;
    std::optional<std::pair<double, double>> range;
    std::optional<LaminateLoad> load;
    std::optional<std::string> fe_section;
    std::vector<FailureCriterion> criteria{kFailureCriteria.begin(), kFailureCriteria.end()};
    SeriesComparison::Direction direction = SeriesComparison::Direction::X;
    int envelope = 0;
    std::set<std::string> given; // the options seen
};

// Returns an error text, or an empty one when the option at argv[i] (and its
// values, i moved past them) is good.
std::string ParseOption(int argc, const char* const* argv, int& i, Arguments& args)
{
    const std::string option = argv[i];
    // The commands each option belongs to, and the values it takes.
    static const std::map<std::string, std::pair<std::vector<std::string>, int>> kOptions = {
        {"--log-dir", {{"theory", "experiment", "laminate", "strength", "compare"}, 1}},
        {"--card", {{"theory"}, 1}},
        {"--json", {{"experiment", "laminate", "strength", "compare"}, 0}},
        {"--direction", {{"compare"}, 1}},
        {"--modulus", {{"experiment"}, 1}},
        {"--range", {{"experiment"}, 2}},
        {"--load", {{"laminate", "strength"}, 6}},
        {"--fe-section", {{"laminate"}, 1}},
        {"--criterion", {{"strength", "compare"}, 1}},
        {"--envelope", {{"strength"}, 1}}};
    const auto known = kOptions.find(option);
    if (known == kOptions.end())
        return "unknown option \"" + option + "\"";
    const auto& [commands, values] = known->second;
    if (std::find(commands.begin(), commands.end(), args.command) == commands.end())
        return option + " is not an option of the " + args.command + " command";
    // A second value would silently replace the first.
    if (!args.given.insert(option).second)
        return option + " is given twice";
    if (option == "--json") {
        args.json = true;
        return {};
    }
    if (i + values >= argc)
        return option + " needs " + (values == 1 ? "a value" : std::to_string(values) + " values");
    if (option == "--load") {
        LaminateLoad load;
        for (int k = 0; k < 6; ++k) {
            double& value = k < 3 ? load.N[static_cast<size_t>(k)] : load.M[static_cast<size_t>(k - 3)];
            // Decimal numbers only: no hex ("0x10" would read as 16), nan, inf or overflow.
            if (!ParseTableNumber(argv[i + 1 + k], value) || !std::isfinite(value))
                return "--load needs six finite decimal numbers: Nx Ny Nxy Mx My Mxy (\"" +
                       std::string(argv[i + 1 + k]) + "\" is not one)";
        }
        args.load = load;
    } else if (option == "--range") {
        double low = 0, high = 0;
        if (!ParseNumber(argv[i + 1], low) || !ParseNumber(argv[i + 2], high) || !*argv[i + 1] || !*argv[i + 2])
            return "--range needs two numbers";
        args.range = std::pair{low, high};
    } else if (option == "--criterion") {
        const std::string name = argv[i + 1];
        if (const std::optional<FailureCriterion> criterion = FailureCriterionFromKey(name))
            args.criteria = {*criterion};
        else if (name != "all" || args.command == "compare")
            return "--criterion is one of max-stress, max-strain, tsai-hill, tsai-wu, hashin, puck" +
                   std::string(args.command == "compare" ? "" : " or all") + " (\"" + name + "\" is not)";
    } else if (option == "--direction") {
        const std::string direction = argv[i + 1];
        if (direction != "x" && direction != "y")
            return "--direction is \"x\" or \"y\"";
        args.direction = direction == "x" ? SeriesComparison::Direction::X : SeriesComparison::Direction::Y;
    } else if (option == "--envelope") {
        double directions = 0;
        if (!ParseTableNumber(argv[i + 1], directions) || !(directions >= 1 && directions <= 100000) ||
            directions != std::floor(directions))
            return "--envelope needs a whole number of directions from 1 to 100000";
        args.envelope = static_cast<int>(directions);
    } else if (option == "--modulus") {
        const std::string method = argv[i + 1];
        if (method != "chord" && method != "regression")
            return "--modulus is \"chord\" or \"regression\"";
        args.modulus = method == "chord" ? ModulusMethod::Chord : ModulusMethod::Regression;
    } else {
        (option == "--log-dir" ? args.log_dir : option == "--card" ? args.card : args.fe_section) = argv[i + 1];
    }
    i += values;
    return {};
}

// Returns an error text, or an empty one when the arguments are good.
std::string ParseArguments(int argc, const char* const* argv, Arguments& args)
{
    if (argc < 3)
        return "missing arguments";
    args.command = argv[1];
    if (args.command != "theory" && args.command != "experiment" && args.command != "laminate" &&
        args.command != "strength" && args.command != "compare")
        return "unknown command \"" + args.command + "\"";
    args.project = argv[2];
    for (int i = 3; i < argc; ++i) {
        if (std::string error = ParseOption(argc, argv, i, args); !error.empty())
            return error;
    }
    return {};
}

template <typename Cells> void PrintTabbed(std::ostream& out, const Cells& cells)
{
    const char* separator = "";
    for (const auto& cell : cells) {
        out << separator << cell;
        separator = "\t";
    }
    out << '\n';
}

// An output that names one of the run's inputs (the project or a readings file it
// names, through any link) would destroy it: that is bad usage, refused before the run.
std::string OutputOverInput(const Arguments& args, const CPlyforgeDoc& doc)
{
    SafeFileWriter::Options inputs;
    inputs.inputs = doc.InputFiles();
    const std::optional<std::string> log =
        doc.LogPathFor(args.command == "experiment" ? kExperimentalLogName : kTheoreticalLogName);
    // compare writes both logs.
    const std::optional<std::string> second =
        args.command == "compare" ? std::optional(doc.LogPathFor(kExperimentalLogName)) : std::nullopt;
    for (const auto& [path, what] : {std::pair{log, "calculation log"}, std::pair{second, "calculation log"},
                                     std::pair{args.card, "material card"}, std::pair{args.fe_section, "FE section"}}) {
        if (!path)
            continue;
        const SafeFileWriter::Outcome check = SafeFileWriter::Check(*path, inputs);
        if (check.refusal == SafeFileWriter::Refusal::SameAsInput)
            return std::string("cannot write the ") + what + " " + *path + ": " + check.reason;
    }
    return {};
}

} // namespace

bool CliRunner::RunTheory(CPlyforgeDoc& doc, MessageSink& sink, Trace& trace)
{
    if (!CalculationChecks::TheoryReady(doc, sink))
        return false;
    const bool ran = doc.CalculateTheory(trace);
    doc.WriteLog();
    if (!ran)
        return false;
    if (const std::string fault = CalculationChecks::TheoryResultFault(doc); !fault.empty()) {
        sink.ShowMessage(fault);
        return false;
    }
    return true;
}

int CliRunner::RunLaminate(CPlyforgeDoc& doc, MessageSink& sink, bool json)
{
    std::string text; // the theory command's output, not this one's
    Trace trace(text);
    if (!RunTheory(doc, sink, trace))
        return kRefused;
    LaminateAnalysis analysis;
    if (!analysis.Run(doc.laminate, doc.load_case)) {
        sink.ShowMessage(CalculationChecks::SingularStiffnessCause(doc));
        return kRefused;
    }
    // The JSON holds no word with "nan" or "inf" in it: only a number can.
    if (const std::string json_text = analysis.Json();
        json_text.find("nan") != std::string::npos || json_text.find("inf") != std::string::npos) {
        sink.ShowMessage("The plies' strains and stresses are not numbers under this load case: it overflows "
                         "the calculation.");
        return kRefused;
    }
    m_out << (json ? analysis.Json() : analysis.Text());
    m_out.flush();
    return kSuccess;
}

int CliRunner::Run(int argc, const char* const* argv)
{
    if (argc == 2) {
        const std::string option = argv[1];
        if (option == "--help" || option == "-h") {
            m_out << kUsage << kHelp;
            return kSuccess;
        }
        if (option == "--version" || option == "-v") {
            m_out << "plyforge-cli " << PLYFORGE_VERSION << '\n';
            return kSuccess;
        }
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

    StderrSink sink(m_err, m_language);
    CPlyforgeDoc doc(&sink);
    doc.OnNewDocument();
    if (args.log_dir)
        doc.program_folder = *args.log_dir;
    doc.LoadProject(std::move(project));
    doc.project_path = args.project;
    if (const std::string clash = OutputOverInput(args, doc); !clash.empty()) {
        m_err << "plyforge-cli: " << clash << '\n';
        return kBadInput;
    }

    if (args.command == "compare") {
        const FailureCriterion criterion = args.given.count("--criterion") ? args.criteria.front()
                                                                           : FailureCriterion::TsaiWu;
        if (const int refused = RunCompare(doc, sink, args.json, args.direction, criterion))
            return refused;
    } else if (args.command == "theory") {
        Trace trace; // the theory command's output: its steps on standard output
        if (!RunTheory(doc, sink, trace))
            return kRefused;
    } else if (args.command == "laminate" || args.command == "strength") {
        if (args.load)
            doc.load_case = args.load; // for the log too
        if (args.command == "strength" && !doc.load_case) {
            m_err << "plyforge-cli: the project has no load case: give one with --load Nx Ny Nxy Mx My Mxy\n";
            return kBadInput;
        }
        const int refused = args.command == "laminate" ? RunLaminate(doc, sink, args.json)
                                                       : RunStrength(doc, sink, args.json, args.criteria, args.envelope);
        if (refused)
            return refused;
    } else {
        if (args.modulus)
            doc.modulus_method = *args.modulus;
        if (args.range)
            std::tie(doc.elastic_min, doc.elastic_max) = *args.range;
        if (!CalculationChecks::ExperimentReady(doc, sink))
            return kRefused;
        doc.CalculateExperiment();
        doc.WriteLog();
        if (const std::string fault = CalculationChecks::ExperimentResultFault(doc); !fault.empty()) {
            sink.ShowMessage(fault);
            return kRefused;
        }
        if (args.json) {
            m_out << ResultsJson(doc.specimens, doc.elastic_min, doc.elastic_max, doc.modulus_method);
        } else {
            PrintTabbed(m_out, ResultsTable::kColumnTitles);
            for (const auto& specimen : doc.specimens)
                PrintTabbed(m_out, ResultsTable::Row(*specimen, ResultsTable::Digits::Shown, ResultsTable::Gap::Empty));
        }
        m_out.flush();
    }

    int status = kSuccess;
    if (!doc.log_written) {
        m_err << "plyforge-cli: cannot write the calculation log " << doc.log_path << ": " << doc.log_error << '\n';
        status = kNotWritten;
    }
    // The card and the section are written last: the calculation's log is complete without them.
    for (const auto& [path, what] : {std::pair{args.card, "material card"}, std::pair{args.fe_section, "FE section"}}) {
        if (!path)
            continue;
        const std::string text = path == args.card ? MakeAbaqusCard(doc.laminate, "\n") : FeSection(doc.laminate);
        if (const auto written = SafeFileWriter::Write(*path, text); !written.Ok()) {
            m_err << "plyforge-cli: cannot write the " << what << ' ' << *path << ": " << written.reason << '\n';
            status = kNotWritten;
        }
    }
    return status;
}
