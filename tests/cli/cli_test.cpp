// plyforge-cli as a user runs it: the real executable, its exit status, standard
// output, standard error and the files it writes.

#include "doc/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kCli = PLYFORGE_CLI;
const fs::path kExamples = PLYFORGE_EXAMPLES;
const std::string kExample = (kExamples / "single-lamina.plyforge").string();

const std::string kCard = "*Material, name=Composite\n*Elastic, type=LAMINA\n"
                          "18862.547416, 18862.547416, 0.432091, 14776.262792, 14776.262792, 14776.262792\n";

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Golden(const std::string& name) { return ReadFile(fs::path(PLYFORGE_TEST_DATA) / "golden" / name); }

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    ASSERT_TRUE(file.good()) << path;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "\"" << from << "\" not in the template";
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Changes "key": from to "key": to.
std::string Set(const std::string& text, const std::string& key, const std::string& from, const std::string& to)
{
    return Replace(text, "\"" + key + "\": " + from, "\"" + key + "\": " + to);
}

struct Result { int status = -1; std::string out, err; };

std::ostream& operator<<(std::ostream& stream, const Result& result)
{
    return stream << "exit status " << result.status << "\n--- stdout:\n"
                  << result.out.substr(0, 2000) << "\n--- stderr:\n"
                  << result.err;
}

// The one-lamina carbon/epoxy project of the bundled example.
const std::string kTheoryProject = R"({ "format": "plyforge-project", "version": 1,
  "theory": { "lamina_count": 1, "compliance_scale_factor": 0.01,
    "laminae": [ { "id": 1,
      "fiber":  { "name": "Carbon", "density": 1.76, "youngs_modulus": 230, "poissons_ratio": 0.2 },
      "matrix": { "name": "Epoxy",  "density": 1.2,  "youngs_modulus": 3.5, "poissons_ratio": 0.35 },
      "FAW": 0.6, "thickness": 0.125, "angle": 45, "xi": 2,
      "S_scale_factor": 0.01, "C_scale_factor": 1.0, "S_angle_scale_factor": 0.01, "C_angle_scale_factor": 1.0 } ] } })";

// Two specimens in sequence order 2, 1.
//   #2: load max 1500, strength 30, second-greatest strain 0.3, chord from strain
//       0.1 to 0.3: (30 - 10) / 0.2 % = 100 N/mm2 per % = 10 GPa.
//   #1: 400, 15, 0.1, (15 - 5) / 0.2 % = 5 GPa.
const std::string kExperimentProject = R"({ "format": "plyforge-project", "version": 1,
  "experiment": { "specimen_count": 2, "elastic_min": 0.1, "elastic_max": 0.3,
    "specimens": [
      { "id": 2, "width": 25, "thickness": 2,
        "load": [0, 500, 1000, 1500, 1200], "strain": [0, 0.1, 0.2, 0.3, 0.35], "stress": [0, 10, 20, 30, 24] },
      { "id": 1, "width": 12.5, "thickness": 1.5,
        "load": [0, 200, 400], "strain": [0, 0.1, 0.3], "stress": [0, 5, 15] } ] } })";

const std::string kResultsHeader =
    "Name\tWidth(mm)\tThickness(mm)\tLoad Max(N)\tStrength(N/mm2)\tStrain(%)\tModulus(GPa)\n";
const std::string kExperimentResults =
    kResultsHeader + "Lamina #2\t25\t2\t1500\t30\t0.3\t10\nLamina #1\t12.5\t1.5\t400\t15\t0.1\t5\n";

class Cli : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "plyforge-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::create_directory(m_logs = m_dir / "logs");
    }

    void TearDown() override { std::error_code ignored; fs::remove_all(m_dir, ignored); }

    // Writes a project file, by default under a name of its own.
    std::string Project(const std::string& text, std::string name = "")
    {
        if (name.empty())
            name = "project" + std::to_string(++m_projects) + ".plyforge";
        const fs::path path = m_dir / fs::u8path(name);
        WriteFile(path, text);
        return path.string();
    }

    // Runs the calculator in the temporary folder; env is prepended as NAME=value words.
    Result Run(const std::vector<std::string>& args, const std::string& env = "")
    {
        const fs::path out = m_dir / "stdout.txt";
        const fs::path err = m_dir / "stderr.txt";
        std::string command = "cd " + Quote(m_dir.string()) + " && env " + env + " " + Quote(kCli);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
        const int raw = std::system(command.c_str());
        return {(raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }

    // command PROJECT --log-dir <the test's log folder> extra...
    Result Calc(const std::string& command, const std::string& project, std::vector<std::string> extra = {},
                const std::string& env = "")
    {
        extra.insert(extra.begin(), {command, project, "--log-dir", m_logs.string()});
        return Run(extra, env);
    }

    std::string TheoryLog() const { return ReadFile(m_logs / "TheoreticalLog.txt"); }
    std::string ExperimentLog() const { return ReadFile(m_logs / "ExperimentalLog.txt"); }

    fs::path m_dir;
    fs::path m_logs;
    int m_projects = 0;
};

// --- Success ------------------------------------------------------------------------

// Every run writes the same results: a German locale's decimal comma must not leak into
// them. The first run, in the C locale, is the reference for the experiment log.
TEST_F(Cli, BundledExampleAndExperimentInAnyLocale)
{
    const std::string experiment = Project(kExperimentProject);
    const std::string card = (m_dir / "card.inp").string();
    std::string experiment_log;
    for (const std::string env : {"LC_ALL=C LANG=C", "LC_ALL=de_DE.UTF-8",
                                  "-u LC_ALL LANG=de_DE.UTF-8 LC_NUMERIC=de_DE.UTF-8",
                                  "-u LC_ALL LANG=C LC_NUMERIC=de_DE.UTF-8"}) {
        SCOPED_TRACE(env);
        WriteFile(card, std::string(10000, '#') + "\n"); // an older, longer card is replaced
        fs::remove(m_logs / "TheoreticalLog.txt");
        fs::remove(m_logs / "ExperimentalLog.txt");
        const Result theory = Calc("theory", kExample, {"--card", card}, env);
        EXPECT_EQ(theory.status, 0) << theory;
        EXPECT_EQ(theory.err, "");
        for (const char* value : {"\ncomposite_density=1.536000\n", "\nEx=18.862547\n"})
            EXPECT_NE(theory.out.find(value), std::string::npos) << value;
        EXPECT_EQ(theory.out, Golden("single-lamina.trace"));
        EXPECT_EQ(TheoryLog(), Golden("single-lamina.log"));
        EXPECT_EQ(ReadFile(card), kCard);

        const Result result = Calc("experiment", experiment, {}, env);
        EXPECT_EQ(result.status, 0) << result;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, kExperimentResults);
        const std::string log = ExperimentLog();
        EXPECT_EQ(log.rfind("\nStart Calculation\n\n", 0), 0u) << log;
        EXPECT_EQ(log.find('\r'), std::string::npos);
        EXPECT_NE(log.find("##id:2\nWidth=25\nThickness=2\n"), std::string::npos) << log;
        if (experiment_log.empty())
            experiment_log = log;
        EXPECT_EQ(log, experiment_log);
    }
}

TEST_F(Cli, ExperimentWithAReadingsFileBesideTheProject)
{
    // Run from another folder: the readings file is found beside the project.
    const Result result = Calc("experiment", (kExamples / "three-tensile-tests.plyforge").string());
    ASSERT_EQ(result.status, 0) << result;
    EXPECT_EQ(result.out.rfind(kResultsHeader, 0), 0u) << result;
    size_t at = 0;
    for (const char* row : {"\nLamina #1\t25\t2\t", "\nLamina #2\t25\t2.05\t", "\nLamina #3\t24.9\t2.02\t"}) {
        at = result.out.find(row, at);
        ASSERT_NE(at, std::string::npos) << row << " in order in " << result;
    }
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 4) << result;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\t'), 4 * 6) << result;
}

TEST_F(Cli, KoreanNamesAndFoldersAndOptionsInEitherOrder)
{
    const fs::path folder = m_dir / fs::u8path("프로젝트");
    const fs::path logs = m_dir / fs::u8path("계산 로그");
    fs::create_directory(folder);
    fs::create_directory(logs);
    const std::string project = (folder / fs::u8path("적층판.plyforge")).string();
    const std::string card = (folder / fs::u8path("재료 카드.inp")).string();
    WriteFile(project, Replace(Replace(kTheoryProject, "\"Carbon\"", "\"탄소섬유\""), "\"Epoxy\"", "\"에폭시\""));

    const Result result = Run({"theory", project, "--card", card, "--log-dir", logs.string()});
    ASSERT_EQ(result.status, 0) << result;
    const std::string log = ReadFile(logs / "TheoreticalLog.txt");
    EXPECT_NE(log.find("name=탄소섬유\n"), std::string::npos) << log.substr(0, 400);
    EXPECT_NE(log.find("name=에폭시\n"), std::string::npos) << log.substr(0, 400);
    EXPECT_EQ(ReadFile(card), kCard);
}

TEST_F(Cli, HelpAndVersion)
{
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0) << help;
    for (const char* text : {"plyforge-cli theory PROJECT", "experiment PROJECT", "--log-dir DIR",
                             "--card FILE", "--version", "Exit status"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    const Result version = Run({"--version"});
    EXPECT_EQ(version.status, 0) << version;
    EXPECT_EQ(version.out, "plyforge-cli " PLYFORGE_VERSION "\n");
}

// A readings file that does not fit in the memory the process may have: refused
// like any unreadable project (exit 2), never an abort.
TEST_F(Cli, ReadingsFileBeyondTheMemoryLimit)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#else
    std::string rows;
    for (int i = 0; i < 6'000'000; ++i)
        rows += "1,2,3\n"; // 36 MB of text, 144 MB of readings
    WriteFile(m_dir / "big.csv", rows);
    const std::string project = Project(R"({ "format": "plyforge-project", "version": 1, "experiment": {
        "specimens": [ { "id": 1, "width": 25, "thickness": 2, "readings_file": "big.csv" } ] } })");
    const fs::path err = m_dir / "stderr.txt";
    const std::string command = "ulimit -v 100000 && exec " + Quote(kCli) + " experiment " + Quote(project) +
                                " --log-dir " + Quote(m_logs.string()) + " >/dev/null 2>" + Quote(err.string());
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(raw != -1 && WIFEXITED(raw)) << "status " << raw;
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    const std::string message = ReadFile(err);
    EXPECT_EQ(message.rfind("plyforge-cli: " + project + ": specimens[0].readings_file: ", 0), 0u) << message;
    EXPECT_NE(message.find("not enough memory"), std::string::npos) << message;
#endif
}

// --- Refused calculations (exit 1): the message alone on standard error ----------------

TEST_F(Cli, RefusedCalculations)
{
    const std::string &t = kTheoryProject, &e = kExperimentProject;
    const std::string empty = R"({ "format": "plyforge-project", "version": 1 })";
    const std::string no_laminae =
        R"({ "format": "plyforge-project", "version": 1, "theory": { "lamina_count": 0, "laminae": [] } })";
    const std::string soft_second_lamina = Set(Replace(t, " } ] } }", R"( }, { "id": 2,
      "fiber":  { "name": "Glass", "density": 2.54, "youngs_modulus": 72, "poissons_ratio": 0.22 },
      "matrix": { "name": "Resin", "density": 1.1,  "youngs_modulus": 0, "poissons_ratio": 0.38 },
      "FAW": 0.5, "thickness": 0.25, "angle": 0, "xi": 1 } ] } })"), "lamina_count", "1", "2");
    const struct { std::string command, project; const char* message; } refusals[] = {
        {"theory", Set(t, "compliance_scale_factor", "0.01", "0"), msg::kScaleFactorPositive},
        {"theory", Set(t, "compliance_scale_factor", "0.01", "-0.01"), msg::kScaleFactorPositive},
        {"theory", Set(t, "compliance_scale_factor", "0.01", "\"nan\""), msg::kScaleFactorPositive},
        // The scale factor is checked before the laminae, the elastic range before the specimens.
        {"theory", Set(Set(t, "compliance_scale_factor", "0.01", "0"), "lamina_count", "1", "2"),
         msg::kScaleFactorPositive},
        {"experiment", Set(e, "elastic_max", "0.3", "0.1"), msg::kElasticMaxGreater},
        {"experiment", Set(e, "elastic_max", "0.3", "0.05"), msg::kElasticMaxGreater},
        {"experiment", Set(Set(e, "elastic_max", "0.3", "0"), "specimen_count", "2", "3"), msg::kElasticMaxGreater},
        {"theory", Set(t, "lamina_count", "1", "2"), msg::kLaminaeIncomplete},
        {"theory", no_laminae, msg::kLaminaeIncomplete},
        {"theory", empty, msg::kLaminaeIncomplete},
        {"experiment", Set(e, "specimen_count", "2", "3"), msg::kLaminaeIncomplete},
        {"experiment", empty, msg::kLaminaeIncomplete},
        {"theory", Set(t, "youngs_modulus", "3.5", "0"), msg::kCheckYoungsModulus},
        {"theory", Set(t, "youngs_modulus", "230", "0"), msg::kCheckYoungsModulus},
        {"theory", soft_second_lamina, msg::kCheckYoungsModulus},
        {"theory", Set(t, "S_scale_factor", "0.01", "0"), msg::kCheckScaleFactor},
        {"theory", Set(t, "C_scale_factor", "1.0", "0"), msg::kCheckScaleFactor},
        {"theory", Set(t, "S_angle_scale_factor", "0.01", "0"), msg::kCheckScaleFactor},
        {"theory", Set(t, "C_angle_scale_factor", "1.0", "0"), msg::kCheckScaleFactor},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.command + " " + refusal.project);
        const Result result = Calc(refusal.command, Project(refusal.project));
        EXPECT_EQ(result.status, 1) << result;
        EXPECT_EQ(result.err, std::string(refusal.message) + "\n") << result;
    }
}

// --- Bad usage, unreadable projects (exit 2) and outputs not written (exit 3) --------------

TEST_F(Cli, FailuresNameTheirCause)
{
    const std::string project = Project(kTheoryProject);
    const std::string logs = m_logs.string();
    const std::string nowhere = (m_dir / "no such folder").string();
    const std::string folder = (m_dir / "a folder").string();
    const std::string card_logs = (m_dir / "card logs").string();
    fs::create_directory(folder);
    fs::create_directory(card_logs);
    const std::string trace = Golden("single-lamina.trace");
    // Results are shown even when their files cannot be written.
    struct Case { int status; std::vector<std::string> args, message_parts; std::string out = ""; };
    std::vector<Case> cases = {
        {2, {}, {"usage"}},
        {2, {"theory"}, {"usage"}},
        {2, {"calculate", project}, {"calculate"}},
        {2, {"THEORY", project}, {"THEORY"}},
        {2, {"theory", project, "--bogus"}, {"--bogus"}},
        {2, {"theory", project, "--log-dir", logs, "-v"}, {"-v"}},
        {2, {"theory", project, "--log-dir"}, {"--log-dir"}},
        {2, {"theory", project, "--card"}, {"--card"}},
        {2, {"experiment", project, "--card", "x.inp"}, {"--card"}},
        {3, {"theory", kExample, "--log-dir", nowhere}, {nowhere + "/TheoreticalLog.txt"}, trace},
        {3, {"experiment", Project(kExperimentProject), "--log-dir", nowhere}, {nowhere + "/ExperimentalLog.txt"},
         kExperimentResults},
        {3, {"theory", kExample, "--log-dir", card_logs, "--card", nowhere + "/card.inp"}, {nowhere + "/card.inp"},
         trace},
        {3, {"theory", kExample, "--log-dir", card_logs, "--card", folder}, {folder}, trace},
    };
    // An unreadable project is named, with where or what went wrong when that is known.
    const std::pair<std::string, std::string> unreadable[] = {
        {(m_dir / "missing.plyforge").string(), ""},
        {folder, ""},
        {Project("{ \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": {\n", "malformed.plyforge"),
         "line 4"},
        {Project(Set(kTheoryProject, "FAW", "0.6", "\"0.6\""), "wrong type.plyforge"), "laminae[0].FAW"},
        {Project(Set(kTheoryProject, "version", "1", "2"), "newer.plyforge"), "version"},
    };
    for (const auto& [path, what] : unreadable)
        for (const char* command : {"theory", "experiment"})
            cases.push_back({2, {command, path, "--log-dir", logs}, {path, what}});

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Result result = Run(c.args);
        EXPECT_EQ(result.status, c.status) << result;
        EXPECT_EQ(result.out, c.out) << result;
        EXPECT_EQ(result.err.rfind("plyforge-cli: ", 0), 0u) << result;
        for (const std::string& part : c.message_parts)
            EXPECT_NE(result.err.find(part), std::string::npos) << "\"" << part << "\" not in " << result;
    }
    EXPECT_FALSE(fs::exists(m_logs / "TheoreticalLog.txt"));
    EXPECT_FALSE(fs::exists(m_logs / "ExperimentalLog.txt"));
    EXPECT_FALSE(fs::exists(m_dir / "x.inp"));
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_TRUE(fs::is_directory(folder));
    // The card is written last: the calculation's log is complete without it.
    EXPECT_EQ(ReadFile(fs::path(card_logs) / "TheoreticalLog.txt"), Golden("single-lamina.log"));
}

} // namespace
