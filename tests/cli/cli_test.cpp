// plyforge-cli as a user runs it: the real executable, its exit status, output and
// files, once per exit status. The checks before a run are the engine's.
#include "doc/messages.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

const std::string kExample = ExampleFile("single-lamina.plyforge");

std::string ReadFile(const fs::path& path) { return ReadWholeFile(path); }

std::string Golden(const std::string& name) { return ReadFile(TestDataFile("golden/" + name)); }

// The paths of a run hold no quote of their own.
std::string Quote(const std::string& text) { return "'" + text + "'"; }

struct Result {
    int status = -1;
    std::string out, err;
};

std::ostream& operator<<(std::ostream& out, const Result& r)
{
    return out << "exit status " << r.status << "\n--- stdout:\n" << r.out.substr(0, 2000) << "\n--- stderr:\n"
               << r.err;
}

// Two specimens in sequence order 2, 1. #2: load max 1500, strength 30, second-greatest
// strain 0.3, chord 0.1 to 0.3: (30 - 10) / 0.2 % = 10 GPa. #1: 400, 15, 0.1, 5 GPa.
const std::string kExperimentProject = R"({ "format": "plyforge-project", "version": 1,
  "experiment": { "specimen_count": 2, "elastic_min": 0.1, "elastic_max": 0.3,
    "specimens": [
      { "id": 2, "width": 25, "thickness": 2,
        "load": [0, 500, 1000, 1500, 1200], "strain": [0, 0.1, 0.2, 0.3, 0.35], "stress": [0, 10, 20, 30, 24] },
      { "id": 1, "width": 12.5, "thickness": 1.5,
        "load": [0, 200, 400], "strain": [0, 0.1, 0.3], "stress": [0, 5, 15] } ] } })";
const std::string kExperimentResults =
    "Name\tWidth(mm)\tThickness(mm)\tLoad Max(N)\tStrength(N/mm2)\tStrain(%)\tModulus(GPa)\n"
    "Lamina #2\t25\t2\t1500\t30\t0.3\t10\nLamina #1\t12.5\t1.5\t400\t15\t0.1\t5\n";

class Cli : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(m_logs = m_dir / fs::u8path("계산 로그"));
        m_experiment = Project("experiment.plyforge", kExperimentProject);
    }
    std::string Project(const std::string& name, const std::string& text)
    {
        WriteWholeFile(m_dir / name, text);
        return (m_dir / name).string();
    }
    // Runs the calculator in the temporary folder, after the shell words in prefix.
    Result Run(const std::vector<std::string>& args, const std::string& prefix = "")
    {
        const std::string out = (m_dir / "stdout.txt").string(), err = (m_dir / "stderr.txt").string();
        std::string command = "cd " + Quote(m_dir.string()) + " && " + prefix + " " + Quote(PLYFORGE_CLI);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err) + " </dev/null").c_str());
        return {(raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }
    std::string Log(const char* name) const { return ReadFile(m_logs / name); }

    TempDir m_folder;
    const fs::path m_dir = m_folder.Path();
    fs::path m_logs;
    std::string m_experiment;
};

// Exit 0, with the same results in every locale: a decimal comma must not leak into
// them. The first run, in the C locale, is the reference for the experiment log.
TEST_F(Cli, SameResultsAndFilesInTheCAndACommaDecimalLocale)
{
    const std::string card = (m_logs / fs::u8path("재료 카드.inp")).string();
    std::string experiment_log;
    for (const std::string env :
         {"env LC_ALL=C", "env LC_ALL=de_DE.UTF-8", "env -u LC_ALL LANG=C LC_NUMERIC=de_DE.UTF-8"}) {
        SCOPED_TRACE(env);
        WriteWholeFile(card, std::string(10000, '#') + '\n'); // an older, longer card is replaced
        fs::remove(m_logs / "TheoreticalLog.txt");
        const Result theory = Run({"theory", kExample, "--card", card, "--log-dir", m_logs.string()}, env);
        EXPECT_TRUE(theory.status == 0 && theory.err.empty()) << theory;
        EXPECT_EQ(theory.out, Golden("single-lamina.trace"));
        EXPECT_EQ(Log("TheoreticalLog.txt"), Golden("single-lamina.log"));
        EXPECT_EQ(ReadFile(card), "*Material, name=Composite\n*Elastic, type=LAMINA\n"
                                  "18862.547416, 18862.547416, 0.432091, 14776.262792, 14776.262792, 14776.262792\n");
        const Result experiment = Run({"experiment", m_experiment, "--log-dir", m_logs.string()}, env);
        EXPECT_TRUE(experiment.status == 0 && experiment.err.empty()) << experiment;
        EXPECT_EQ(experiment.out, kExperimentResults);
        const std::string log = Log("ExperimentalLog.txt");
        EXPECT_NE(log.find("##id:2\nWidth=25\nThickness=2\n"), std::string::npos) << log;
        if (experiment_log.empty())
            experiment_log = log;
        EXPECT_EQ(log, experiment_log);
    }
}

// --json prints one object with the statistics; --modulus and --range override the
// project's for the run: #1 never reaches 0.32 and has no modulus, #2's readings
// from 0.1 to 0.3 % rise by 100 MPa a percent: 10 GPa.
TEST_F(Cli, JsonResultsWithTheRunsOwnMethodAndRange)
{
    const Result run = Run({"experiment", m_experiment, "--log-dir", m_logs.string(), "--json", "--modulus",
                            "regression", "--range", "0.1", "0.32"});
    EXPECT_TRUE(run.status == 0 && run.err.empty()) << run;
    for (const char* part : {"{\"id\": 2, \"name\": \"Lamina #2\", \"included\": true, \"width\": 25, \"thickness\": 2, "
                             "\"load_max\": 1500, \"strength\": 30, \"strain\": 0.3, \"modulus\": 10, "
                             "\"modulus_method\": \"regression\"}",
                             "\"modulus\": null", "\"modulus\": {\"n\": 1, \"mean\": 10, \"sd\": null, \"cv\": null}",
                             "\"strength\": {\"n\": 2, \"mean\": 22.5, \"sd\": 10.606601717798213",
                             "\"elastic_min\": 0.1, \"elastic_max\": 0.32}",
                             // Two values give no basis values, and say so by nulls.
                             "\"basis\": {\"strength\": {\"n\": 2, \"outliers\": [], \"osl\": {\"normal\": null, "
                             "\"lognormal\": null, \"weibull\": null}, \"weibull\": {\"shape\": null, \"scale\": null}, "
                             "\"b\": {\"normal\": null, \"lognormal\": null, \"weibull\": null, \"nonparametric\": null}",
                             "\"chosen\": null, \"b_basis\": null, \"a_basis\": null}, \"modulus\": {\"n\": 1"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run;
    EXPECT_NE(Log("ExperimentalLog.txt").find("Modulus method=Regression"), std::string::npos);
    // The text table leaves the cell empty where the JSON has null, never a modulus of 0.
    const Result text = Run({"experiment", m_experiment, "--log-dir", m_logs.string(), "--range", "0.1", "0.32"});
    EXPECT_NE(text.out.find("Lamina #1\t12.5\t1.5\t400\t15\t0.1\t\n"), std::string::npos) << text;
}

// The laminate's lamination theory as JSON: its membrane modulus is the theory's own
// (the card's E1), and a load is carried through to every ply.
TEST_F(Cli, LaminateJsonAgreesWithTheTheory)
{
    const Result run = Run({"laminate", ExampleFile("quasi-isotropic.plyforge"), "--log-dir", m_logs.string(),
                            "--json", "--load", "100", "0", "0", "0", "0", "0"});
    ASSERT_TRUE(run.status == 0 && run.err.empty()) << run;
    const nlohmann::json result = nlohmann::json::parse(run.out);
    EXPECT_NEAR(result["membrane"]["Ex"].get<double>(), 57.589515937, 1e-9);
    EXPECT_TRUE(result["symmetric"].get<bool>() && result["balanced"].get<bool>());
    EXPECT_EQ(result["load"]["plies"].size(), 8u);
    // The run's log is the theory's, its laminate section with the load case.
    const std::string golden = Golden("quasi-isotropic.log"), log = Log("TheoreticalLog.txt");
    EXPECT_TRUE(StartsWith(log, golden.substr(0, golden.size() - 1) + "Load: Nx=100 Ny=0"));
}

// The cross-ply beside its coupons: the prediction, the series and the differences
// as one JSON object; a project without a series is refused.
TEST_F(Cli, CompareGivesThePredictionBesideTheSeries)
{
    const Result run = Run({"compare", ExampleFile("cross-ply-coupons.plyforge"), "--log-dir", m_logs.string(),
                            "--json", "--criterion", "max-stress"});
    ASSERT_TRUE(run.status == 0 && run.err.empty()) << run;
    const nlohmann::json result = nlohmann::json::parse(run.out);
    EXPECT_EQ(result["direction"], "x");
    EXPECT_EQ(result["criterion"], "max-stress");
    const auto& modulus = result["modulus"];
    EXPECT_EQ(modulus["n"], 6);
    EXPECT_NEAR(modulus["difference_percent"].get<double>(),
                100 * (modulus["predicted"].get<double>() / modulus["measured_mean"].get<double>() - 1), 1e-9);
    const auto& strength = result["strength"];
    EXPECT_LT(strength["fpf"].get<double>(), strength["lpf"].get<double>());
    EXPECT_LT(strength["measured_b_basis"].get<double>(), strength["measured_mean"].get<double>());
    // Both runs leave their logs.
    EXPECT_NE(Log("TheoreticalLog.txt").find("##Information for laminate"), std::string::npos);
    EXPECT_NE(Log("ExperimentalLog.txt").find("##Basis values"), std::string::npos);

    const Result alone = Run({"compare", ExampleFile("cross-ply-strength.plyforge"), "--log-dir", m_logs.string()});
    EXPECT_EQ(alone.status, 1);
    EXPECT_NE(alone.err.find("a laminate and a test series"), std::string::npos) << alone;
}

// The strength of a cross-ply given by its ply constants: every criterion's plies,
// first- and last-ply failure and the envelope, as one JSON object.
TEST_F(Cli, StrengthJsonHasEveryCriterion)
{
    const Result run = Run({"strength", ExampleFile("cross-ply-strength.plyforge"), "--log-dir", m_logs.string(),
                            "--json", "--envelope", "8"});
    ASSERT_TRUE(run.status == 0 && run.err.empty()) << run;
    const nlohmann::json result = nlohmann::json::parse(run.out);
    EXPECT_EQ(result["load"]["N"], nlohmann::json::parse("[100.0, 20.0, 0.0]"));
    ASSERT_EQ(result["criteria"].size(), 6u);
    for (const auto& [name, criterion] : result["criteria"].items()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(criterion["plies"].size(), 4u);
        // The 90-degree plies crack first, the lowest id of the mirror pair named.
        EXPECT_EQ(criterion["first_ply"]["ply"], 2);
        EXPECT_EQ(criterion["last_ply"]["events"].size(), 4u);
        EXPECT_GE(criterion["last_ply"]["R"].get<double>(), criterion["first_ply"]["R"].get<double>());
        EXPECT_EQ(result["envelope"][name].size(), 8u);
    }
    EXPECT_NE(Log("TheoreticalLog.txt").find("\n##Strength\nLoad: Nx=100 Ny=20"), std::string::npos);

    // One criterion in words; no envelope without asking.
    const Result text = Run({"strength", ExampleFile("cross-ply-strength.plyforge"), "--log-dir", m_logs.string(),
                             "--criterion", "hashin", "--load", "-100", "0", "0", "0", "0", "0"});
    ASSERT_EQ(text.status, 0) << text;
    EXPECT_TRUE(StartsWith(text.out, "##Strength\nLoad: Nx=-100 Ny=0")) << text;
    EXPECT_NE(text.out.find("Hashin\nPly 1: bottom R="), std::string::npos) << text;
    EXPECT_EQ(text.out.find("Puck\nPly"), std::string::npos);
}

// Exit 1: the message alone on standard error, and no results; once for each command.
TEST_F(Cli, RefusedOrStoppedCalculationExitsOneWithTheMessage)
{
    // A project of the text with its first "from" replaced by "to".
    const auto edited = [this](const std::string& name, std::string text, const std::string& from, const char* to) {
        return Project(name, text.replace(text.find(from), from.size(), to));
    };
    const struct { std::string command, project; const char* message; } refusals[] = {
        {"experiment", edited("range.plyforge", kExperimentProject, "0.3", "0.1"), msg::kElasticMaxGreater},
        {"theory", edited("thin.plyforge", ReadFile(kExample), "0.125", "-0.125"),
         "Theoretical Lamina #1: the thickness must be greater than 0 (it is -0.125)."},
        // A cell the form kept as text.
        {"theory",
         edited("unread.plyforge", ReadFile(kExample), R"("FAW": 0.6)",
                R"("FAW": "nan", "unread_cells": [{ "field": "FAW", "text": "0,6 %" }])"),
         "숫자를 입력하세요(FAW)\nTheoretical Lamina #1, FAW(%): \"0,6 %\""},
        {"experiment",
         Project("inf.plyforge", R"({ "format": "plyforge-project", "version": 1, "experiment": { "specimens": [
             { "id": 1, "width": 10, "thickness": 2, "load": [0, 1, 2], "strain": [0, 0.2, 0.4], "stress": [0, "inf", 2] } ] } })"),
         "Experimental Lamina #1: the strength is not a number (inf): a reading is inf or nan."},
    };
    // The original texts under a Korean locale.
    const std::string korean = "LANGUAGE= LC_ALL= LC_MESSAGES= LANG=ko_KR.UTF-8";
    for (const auto& refusal : refusals) {
        const Result result = Run({refusal.command, refusal.project, "--log-dir", m_logs.string()}, korean);
        EXPECT_TRUE(result.status == 1 && result.out.empty()) << result;
        EXPECT_EQ(result.err, std::string(refusal.message) + "\n") << result;
    }
    // Every other locale gets the English translation.
    for (const char* locale : {"en_US.UTF-8", "de_DE.UTF-8", "C"}) {
        const Result result = Run({"experiment", refusals[0].project, "--log-dir", m_logs.string()},
                                  std::string("LANGUAGE= LC_ALL= LC_MESSAGES= LANG=") + locale);
        EXPECT_EQ(result.err, "Elastic Max. must be greater than Elastic Min.\n") << result;
    }
}

// Exit 2: bad usage, or a project that cannot be read, named with where or what went
// wrong; a readings file beyond the memory the process may have is never an abort.
TEST_F(Cli, BadUsageOrUnreadableProjectExitsTwo)
{
    const std::string missing = (m_dir / "missing.plyforge").string();
    const std::string malformed =
        Project("malformed.plyforge", "{ \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": {\n");
    std::string rows;
    for (int i = 0; i < 6'000'000; ++i)
        rows += "1,2,3\n"; // 36 MB of text, 144 MB of readings
    WriteWholeFile(m_dir / "big.csv", rows);
    const std::string big = Project("big.plyforge", R"({ "format": "plyforge-project", "version": 1, "experiment": {
        "specimens": [ { "id": 1, "width": 25, "thickness": 2, "readings_file": "big.csv" } ] } })");
    const struct { std::vector<std::string> args, parts; std::string prefix = ""; } cases[] = {
        {{}, {"usage"}},
        {{"frobnicate", kExample}, {"frobnicate"}},
        {{"theory", kExample, "--log-dir", m_logs.string(), "-v"}, {"-v"}},
        {{"theory", kExample, "--log-dir"}, {"--log-dir"}},
        {{"experiment", m_experiment, "--card", "x.inp"}, {"--card"}},
        {{"experiment", m_experiment, "--range", "0.1", "x"}, {"--range"}},
        {{"theory", kExample, "--json"}, {"--json"}},
        {{"laminate", kExample, "--load", "1", "2", "3", "4", "5", "x"}, {"--load needs six finite", "\"x\""}},
        {{"laminate", kExample, "--load", "0x10", "0", "0", "0", "0", "0"}, {"\"0x10\" is not one"}},
        {{"laminate", kExample, "--load", "1", "nan", "0", "0", "0", "0"}, {"\"nan\" is not one"}},
        {{"laminate", kExample, "--load", "1", "0", "inf", "0", "0", "0"}, {"\"inf\" is not one"}},
        {{"laminate", kExample, "--load", "1", "0", "0", "1e400", "0", "0"}, {"\"1e400\" is not one"}},
        {{"laminate", kExample, "--load", "1", "0", "0", "0", "0", "0", "--load", "2", "0", "0", "0", "0", "0"},
         {"--load is given twice"}},
        {{"strength", kExample, "--log-dir", m_logs.string()}, {"no load case", "--load"}},
        {{"strength", kExample, "--criterion", "von-mises"}, {"--criterion is one of", "\"von-mises\""}},
        {{"strength", kExample, "--envelope", "0"}, {"--envelope needs a whole number"}},
        {{"laminate", kExample, "--envelope", "8"}, {"not an option of the laminate command"}},
        {{"compare", kExample, "--direction", "z"}, {"--direction is \"x\" or \"y\""}},
        {{"compare", kExample, "--criterion", "all"}, {"--criterion is one of", "\"all\""}},
        {{"theory", missing}, {missing}},
        {{"experiment", malformed}, {malformed, "line 4"}},
#if !defined(__SANITIZE_ADDRESS__) // AddressSanitizer needs more address space than the limit leaves
        {{"experiment", big}, {big + ": specimens[0].readings_file: ", "not enough memory"}, "ulimit -v 100000 &&"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Result result = Run(c.args, c.prefix);
        EXPECT_TRUE(result.status == 2 && result.out.empty() && result.err.rfind("plyforge-cli: ", 0) == 0) << result;
        for (const std::string& part : c.parts)
            EXPECT_NE(result.err.find(part), std::string::npos) << "\"" << part << "\" not in " << result;
    }
    EXPECT_TRUE(fs::is_empty(m_logs));
    EXPECT_FALSE(fs::exists(m_dir / "x.inp"));
}

// Exit 3: the results are shown all the same, and what could not be written is named.
// The card is written last: the calculation's log is complete without it.
TEST_F(Cli, LogOrCardNotWrittenExitsThree)
{
    const std::string nowhere = (m_dir / "no such folder").string();
    const Result log = Run({"experiment", m_experiment, "--log-dir", nowhere});
    EXPECT_EQ(log.status, 3) << log;
    EXPECT_EQ(log.out, kExperimentResults);
    EXPECT_NE(log.err.find(nowhere + "/ExperimentalLog.txt"), std::string::npos) << log;

    const Result card = Run({"theory", kExample, "--log-dir", m_logs.string(), "--card", nowhere + "/card.inp"});
    EXPECT_EQ(card.status, 3) << card;
    EXPECT_EQ(card.out, Golden("single-lamina.trace"));
    EXPECT_NE(card.err.find(nowhere + "/card.inp"), std::string::npos) << card;
    EXPECT_EQ(Log("TheoreticalLog.txt"), Golden("single-lamina.log"));
    EXPECT_FALSE(fs::exists(nowhere));
}

// An output naming an input is bad usage, refused before the run: the project and
// the log are left as they were. A pipe is refused promptly after the run, never
// opened (that would block), and so is a device such as /dev/full.
TEST_F(Cli, OutputNeverReplacesTheProjectNorOpensAPipe)
{
    const std::string project = Project("p.plyforge", ReadFile(kExample));
    const std::string named_as_log = Project("TheoreticalLog.txt", ReadFile(kExample));
    fs::create_symlink("p.plyforge", m_dir / "alias.inp");
    const std::vector<std::vector<std::string>> cases = {
        {"theory", project, "--log-dir", m_logs.string(), "--card", project},
        {"laminate", project, "--log-dir", m_logs.string(), "--fe-section", (m_dir / "alias.inp").string()},
        {"theory", named_as_log, "--log-dir", m_dir.string()}};
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const Result result = Run(args);
        EXPECT_TRUE(result.status == 2 && result.out.empty()) << result;
        ExpectContains(result.err, {"plyforge-cli: cannot write the ", "is the input file"});
        EXPECT_EQ(ReadFile(args[1]), ReadFile(kExample));
    }
    EXPECT_TRUE(fs::is_empty(m_logs));

    // Killed after a while rather than hanging the tests, should it open the pipe.
    const std::string fifo = (m_dir / "section.inp").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& target : {fifo, std::string("/dev/full")}) {
        const Result result =
            Run({"laminate", project, "--log-dir", m_logs.string(), "--fe-section", target}, "timeout -s KILL 20");
        EXPECT_EQ(result.status, 3) << result;
        ExpectContains(result.err, {"cannot write the FE section " + target, "not a regular file"});
    }
    EXPECT_TRUE(fs::is_fifo(fifo) && fs::is_character_file("/dev/full"));
}

TEST_F(Cli, HelpAndVersion)
{
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0) << help;
    for (const char* text : {"theory PROJECT", "experiment PROJECT", "--log-dir DIR", "--card FILE", "Exit status"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    const Result version = Run({"--version"});
    EXPECT_TRUE(version.status == 0 && version.out == "plyforge-cli " PLYFORGE_VERSION "\n") << version;
}

} // namespace
