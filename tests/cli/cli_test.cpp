// plyforge-cli as a user runs it: the real executable, its exit status, standard
// output, standard error and the files it writes.

#include "doc/messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kCli = PLYFORGE_CLI;
const fs::path kExamples = PLYFORGE_EXAMPLES;
const fs::path kGolden = fs::path(PLYFORGE_TEST_DATA) / "golden";

const std::string kLogStart = "\nStart Calculation\n\n##Input data for material properties\nid=1\n";
const std::string kResultsHeader =
    "Name\tWidth(mm)\tThickness(mm)\tLoad Max(N)\tStrength(N/mm2)\tStrain(%)\tModulus(GPa)\n";

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    ASSERT_TRUE(file.good()) << path;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// Replaces the one occurrence of from.
std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) {
        ADD_FAILURE() << "the template must hold exactly one \"" << from << "\"";
        return text;
    }
    return text.replace(at, from.size(), to);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

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

class Cli : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "plyforge-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_logs = m_dir / "logs";
        fs::create_directory(m_logs);
    }

    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_dir, error);
    }

    std::string Project(const std::string& text, const std::string& name = "project.plyforge")
    {
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
        Result result;
        result.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
        result.out = ReadFile(out);
        result.err = ReadFile(err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    Result Theory(const std::string& project, std::vector<std::string> extra = {}, const std::string& env = "")
    {
        std::vector<std::string> args = {"theory", project, "--log-dir", m_logs.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args, env);
    }

    Result Experiment(const std::string& project, const std::string& env = "")
    {
        return Run({"experiment", project, "--log-dir", m_logs.string()}, env);
    }

    std::string TheoryLog() const { return ReadFile(m_logs / "TheoreticalLog.txt"); }
    std::string ExperimentLog() const { return ReadFile(m_logs / "ExperimentalLog.txt"); }

    fs::path m_dir;
    fs::path m_logs;
};

// --- Success ------------------------------------------------------------------------

TEST_F(Cli, TheoryOfTheBundledExample)
{
    const Result result = Theory((kExamples / "single-lamina.plyforge").string());
    ASSERT_EQ(result.status, 0) << result;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("\ncomposite_density=1.536000\n"), std::string::npos) << result;
    EXPECT_NE(result.out.find("\nEx=18.862547\n"), std::string::npos) << result;
    EXPECT_EQ(result.out, ReadFile(kGolden / "single-lamina.trace"));

    const std::string log = TheoryLog();
    EXPECT_EQ(log.rfind(kLogStart, 0), 0u) << log.substr(0, 200);
    EXPECT_EQ(log.find('\r'), std::string::npos) << "the log has LF line ends only";
    EXPECT_EQ(log, ReadFile(kGolden / "single-lamina.log"));
}

TEST_F(Cli, MaterialCard)
{
    const std::string card = (m_dir / "card.inp").string();
    WriteFile(card, std::string(10000, '#') + "\n"); // an older, longer card is replaced
    const Result result = Theory((kExamples / "single-lamina.plyforge").string(), {"--card", card});
    ASSERT_EQ(result.status, 0) << result;
    EXPECT_EQ(ReadFile(card), "*Material, name=Composite\n*Elastic, type=LAMINA\n"
                              "18862.547416, 18862.547416, 0.432091, 14776.262792, 14776.262792, 14776.262792\n");
    EXPECT_FALSE(TheoryLog().empty());

    // The options in the other order.
    fs::remove(card);
    const Result swapped = Run({"theory", (kExamples / "single-lamina.plyforge").string(), "--card", card,
                                "--log-dir", m_logs.string()});
    ASSERT_EQ(swapped.status, 0) << swapped;
    const std::vector<std::string> lines = Lines(ReadFile(card));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "*Material, name=Composite");
    EXPECT_EQ(lines[1], "*Elastic, type=LAMINA");
}

TEST_F(Cli, ExperimentResultsList)
{
    const Result result = Experiment(Project(kExperimentProject));
    ASSERT_EQ(result.status, 0) << result;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, kResultsHeader +
                              "Lamina #2\t25\t2\t1500\t30\t0.3\t10\n"
                              "Lamina #1\t12.5\t1.5\t400\t15\t0.1\t5\n");
    const std::string log = ExperimentLog();
    EXPECT_EQ(log.rfind("\nStart Calculation\n\n", 0), 0u) << log;
    EXPECT_EQ(log.find('\r'), std::string::npos);
    EXPECT_NE(log.find("##id:2\nWidth=25\nThickness=2\n"), std::string::npos) << log;
}

TEST_F(Cli, ExperimentWithAReadingsFileBesideTheProject)
{
    // Run from another folder: the readings file is found beside the project.
    const Result result = Experiment((kExamples / "three-tensile-tests.plyforge").string());
    ASSERT_EQ(result.status, 0) << result;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 4u) << result;
    EXPECT_EQ(lines[0] + "\n", kResultsHeader);
    EXPECT_EQ(lines[1].rfind("Lamina #1\t25\t2\t", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("Lamina #2\t25\t2.05\t", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("Lamina #3\t24.9\t2.02\t", 0), 0u) << lines[3];
    for (size_t i = 1; i < lines.size(); ++i) {
        size_t tabs = 0;
        for (const char c : lines[i])
            tabs += c == '\t';
        EXPECT_EQ(tabs, 6u) << lines[i];
    }
}

TEST_F(Cli, KoreanNamesAndFolders)
{
    const fs::path folder = m_dir / fs::u8path("프로젝트");
    fs::create_directory(folder);
    const fs::path logs = m_dir / fs::u8path("계산 로그");
    fs::create_directory(logs);
    const std::string project = (folder / fs::u8path("적층판.plyforge")).string();
    WriteFile(project, Replace(Replace(kTheoryProject, "\"Carbon\"", "\"탄소섬유\""), "\"Epoxy\"", "\"에폭시\""));

    const Result result = Run({"theory", project, "--log-dir", logs.string()});
    ASSERT_EQ(result.status, 0) << result;
    const std::string log = ReadFile(logs / "TheoreticalLog.txt");
    EXPECT_NE(log.find("name=탄소섬유\n"), std::string::npos) << log.substr(0, 400);
    EXPECT_NE(log.find("name=에폭시\n"), std::string::npos) << log.substr(0, 400);
}

TEST_F(Cli, Help)
{
    const Result result = Run({"--help"});
    EXPECT_EQ(result.status, 0) << result;
    EXPECT_NE(result.out.find("plyforge-cli theory PROJECT"), std::string::npos) << result;
}

// --- Refused calculations (exit 1) ----------------------------------------------------

struct Refusal {
    const char* name;
    const char* command;
    std::string project;
    const char* message;
};

std::vector<Refusal> Refusals()
{
    const std::string& t = kTheoryProject;
    const std::string& e = kExperimentProject;
    const std::string header = R"({ "format": "plyforge-project", "version": 1 })";
    const std::string second_lamina =
        R"(, { "id": 2,
      "fiber":  { "name": "Glass", "density": 2.54, "youngs_modulus": 72, "poissons_ratio": 0.22 },
      "matrix": { "name": "Resin", "density": 1.1,  "youngs_modulus": 0, "poissons_ratio": 0.38 },
      "FAW": 0.5, "thickness": 0.25, "angle": 0, "xi": 1 } ] } })";
    return {
        {"compliance scale factor 0", "theory",
         Replace(t, "\"compliance_scale_factor\": 0.01", "\"compliance_scale_factor\": 0"), msg::kScaleFactorPositive},
        {"negative compliance scale factor", "theory",
         Replace(t, "\"compliance_scale_factor\": 0.01", "\"compliance_scale_factor\": -0.01"),
         msg::kScaleFactorPositive},
        {"compliance scale factor not a number", "theory",
         Replace(t, "\"compliance_scale_factor\": 0.01", "\"compliance_scale_factor\": \"nan\""),
         msg::kScaleFactorPositive},
        {"scale factor is checked before the laminae", "theory",
         Replace(Replace(t, "\"compliance_scale_factor\": 0.01", "\"compliance_scale_factor\": 0"),
                 "\"lamina_count\": 1", "\"lamina_count\": 2"),
         msg::kScaleFactorPositive},
        {"elastic max equal to min", "experiment", Replace(e, "\"elastic_max\": 0.3", "\"elastic_max\": 0.1"),
         msg::kElasticMaxGreater},
        {"elastic max below min", "experiment", Replace(e, "\"elastic_max\": 0.3", "\"elastic_max\": 0.05"),
         msg::kElasticMaxGreater},
        {"elastic range checked before the specimens", "experiment",
         Replace(Replace(e, "\"elastic_max\": 0.3", "\"elastic_max\": 0"), "\"specimen_count\": 2",
                 "\"specimen_count\": 3"),
         msg::kElasticMaxGreater},
        {"lamina count 2 with one lamina", "theory", Replace(t, "\"lamina_count\": 1", "\"lamina_count\": 2"),
         msg::kLaminaeIncomplete},
        {"lamina count 0", "theory",
         R"({ "format": "plyforge-project", "version": 1, "theory": { "lamina_count": 0, "laminae": [] } })",
         msg::kLaminaeIncomplete},
        {"no theory section", "theory", header, msg::kLaminaeIncomplete},
        {"specimen count 3 with two specimens", "experiment",
         Replace(e, "\"specimen_count\": 2", "\"specimen_count\": 3"), msg::kLaminaeIncomplete},
        {"no experiment section", "experiment", header, msg::kLaminaeIncomplete},
        {"matrix Young's modulus 0", "theory",
         Replace(t, "\"youngs_modulus\": 3.5", "\"youngs_modulus\": 0"), msg::kCheckYoungsModulus},
        {"fiber Young's modulus 0", "theory",
         Replace(t, "\"youngs_modulus\": 230", "\"youngs_modulus\": 0"), msg::kCheckYoungsModulus},
        {"second lamina's matrix Young's modulus 0", "theory",
         Replace(Replace(t, " } ] } }", " }" + second_lamina), "\"lamina_count\": 1", "\"lamina_count\": 2"),
         msg::kCheckYoungsModulus},
        {"S scale factor 0", "theory", Replace(t, "\"S_scale_factor\": 0.01", "\"S_scale_factor\": 0"),
         msg::kCheckScaleFactor},
        {"C scale factor 0", "theory", Replace(t, "\"C_scale_factor\": 1.0", "\"C_scale_factor\": 0"),
         msg::kCheckScaleFactor},
        {"S with-angle scale factor 0", "theory",
         Replace(t, "\"S_angle_scale_factor\": 0.01", "\"S_angle_scale_factor\": 0"), msg::kCheckScaleFactor},
        {"C with-angle scale factor 0", "theory",
         Replace(t, "\"C_angle_scale_factor\": 1.0", "\"C_angle_scale_factor\": 0"), msg::kCheckScaleFactor},
    };
}

TEST_F(Cli, RefusalsShowTheMessageAloneOnStandardError)
{
    // The templates themselves calculate.
    ASSERT_EQ(Theory(Project(kTheoryProject)).status, 0);
    ASSERT_EQ(Experiment(Project(kExperimentProject)).status, 0);

    for (const Refusal& refusal : Refusals()) {
        SCOPED_TRACE(refusal.name);
        const Result result =
            Run({refusal.command, Project(refusal.project), "--log-dir", m_logs.string()});
        EXPECT_EQ(result.status, 1) << result;
        EXPECT_EQ(result.err, std::string(refusal.message) + "\n") << result;
    }
}

// --- Bad usage and unreadable projects (exit 2) ----------------------------------------

TEST_F(Cli, BadUsage)
{
    const std::string project = Project(kTheoryProject);
    const std::string logs = m_logs.string();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string expected; // in the message
    };
    const Case cases[] = {
        {"no arguments", {}, "usage"},
        {"command only", {"theory"}, "usage"},
        {"unknown command", {"calculate", project}, "calculate"},
        {"command in capitals", {"THEORY", project}, "THEORY"},
        {"unknown option", {"theory", project, "--bogus"}, "--bogus"},
        {"unknown option after a good one", {"theory", project, "--log-dir", logs, "-v"}, "-v"},
        {"option without its value", {"theory", project, "--log-dir"}, "--log-dir"},
        {"card without its value", {"theory", project, "--card"}, "--card"},
        {"card with the experiment command", {"experiment", project, "--card", "x.inp"}, "--card"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result result = Run(c.args);
        EXPECT_EQ(result.status, 2) << result;
        EXPECT_EQ(result.out, "") << result;
        EXPECT_EQ(result.err.rfind("plyforge-cli: ", 0), 0u) << result;
        EXPECT_NE(result.err.find(c.expected), std::string::npos) << result;
    }
    EXPECT_FALSE(fs::exists(m_logs / "TheoreticalLog.txt"));
    EXPECT_FALSE(fs::exists(m_dir / "x.inp"));
}

TEST_F(Cli, UnreadableProjects)
{
    const std::string missing = (m_dir / "missing.plyforge").string();
    const std::string folder = (m_dir / "folder.plyforge").string();
    fs::create_directory(folder);
    const std::string malformed = Project("{ \"format\": \"plyforge-project\",\n  \"version\": 1,\n  \"theory\": {\n",
                                          "malformed.plyforge");
    const std::string wrong_type = Project(Replace(kTheoryProject, "\"FAW\": 0.6", "\"FAW\": \"0.6\""),
                                           "wrong type.plyforge");
    const std::string newer = Project(Replace(kTheoryProject, "\"version\": 1", "\"version\": 2"), "newer.plyforge");
    struct Case {
        const char* name;
        std::string path;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"missing", missing, {missing}},
        {"a folder", folder, {folder}},
        {"malformed", malformed, {malformed, "line 4"}},
        {"wrong type", wrong_type, {wrong_type, "laminae[0].FAW"}},
        {"newer version", newer, {newer, "version"}},
    };
    for (const Case& c : cases) {
        for (const char* command : {"theory", "experiment"}) {
            SCOPED_TRACE(std::string(c.name) + ", " + command);
            const Result result = Run({command, c.path, "--log-dir", m_logs.string()});
            EXPECT_EQ(result.status, 2) << result;
            EXPECT_EQ(result.out, "") << result;
            EXPECT_EQ(result.err.rfind("plyforge-cli: ", 0), 0u) << result;
            for (const std::string& part : c.expected)
                EXPECT_NE(result.err.find(part), std::string::npos) << "\"" << part << "\" not in " << result;
        }
    }
    EXPECT_FALSE(fs::exists(m_logs / "TheoreticalLog.txt"));
    EXPECT_FALSE(fs::exists(m_logs / "ExperimentalLog.txt"));
}

// --- Outputs that cannot be written (exit 3) ---------------------------------------------

TEST_F(Cli, LogFolderThatDoesNotExist)
{
    const std::string nowhere = (m_dir / "no such folder").string();
    const Result theory = Run({"theory", (kExamples / "single-lamina.plyforge").string(), "--log-dir", nowhere});
    EXPECT_EQ(theory.status, 3) << theory;
    EXPECT_NE(theory.out.find("\nEx=18.862547\n"), std::string::npos) << theory;
    EXPECT_NE(theory.err.find(nowhere + "/TheoreticalLog.txt"), std::string::npos) << theory;

    const Result experiment = Run({"experiment", Project(kExperimentProject), "--log-dir", nowhere});
    EXPECT_EQ(experiment.status, 3) << experiment;
    EXPECT_EQ(experiment.out.rfind(kResultsHeader + "Lamina #2\t25\t2\t1500\t30\t0.3\t10\n", 0), 0u) << experiment;
    EXPECT_NE(experiment.err.find(nowhere + "/ExperimentalLog.txt"), std::string::npos) << experiment;
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST_F(Cli, CardThatCannotBeWritten)
{
    const std::string example = (kExamples / "single-lamina.plyforge").string();
    ASSERT_EQ(Theory(example).status, 0);
    const std::string good_log = TheoryLog();
    fs::remove(m_logs / "TheoreticalLog.txt");

    const fs::path folder = m_dir / "a folder";
    fs::create_directory(folder);
    for (const std::string& card : {(m_dir / "no such folder" / "card.inp").string(), folder.string()}) {
        SCOPED_TRACE(card);
        const Result result = Theory(example, {"--card", card});
        EXPECT_EQ(result.status, 3) << result;
        EXPECT_NE(result.err.find(card), std::string::npos) << result;
        EXPECT_NE(result.out.find("\nEx=18.862547\n"), std::string::npos) << result;
        // The calculation ran and its log is complete.
        EXPECT_EQ(TheoryLog(), good_log);
    }
    EXPECT_TRUE(fs::is_directory(folder));
}

// --- The user's locale -------------------------------------------------------------------

bool LocaleInstalled(const std::string& name)
{
    const int status = std::system(("locale -a 2>/dev/null | grep -qix " + Quote(name)).c_str());
    return status == 0;
}

TEST_F(Cli, OutputDoesNotDependOnTheLocale)
{
    if (!LocaleInstalled("de_DE.utf8") && !LocaleInstalled("de_DE.UTF-8"))
        RecordProperty("note", "de_DE.UTF-8 is not installed; the environment still names it");

    const std::string theory_project = (kExamples / "single-lamina.plyforge").string();
    const std::string experiment_project = Project(kExperimentProject);
    const std::string card = (m_dir / "card.inp").string();

    const Result theory = Theory(theory_project, {"--card", card}, "LC_ALL=C LANG=C");
    ASSERT_EQ(theory.status, 0) << theory;
    const std::string log = TheoryLog();
    const std::string card_text = ReadFile(card);
    const Result experiment = Experiment(experiment_project, "LC_ALL=C LANG=C");
    ASSERT_EQ(experiment.status, 0) << experiment;
    const std::string experiment_log = ExperimentLog();

    for (const std::string env : {"LC_ALL=de_DE.UTF-8", "-u LC_ALL LANG=de_DE.UTF-8 LC_NUMERIC=de_DE.UTF-8",
                                  "-u LC_ALL LANG=C LC_NUMERIC=de_DE.UTF-8"}) {
        SCOPED_TRACE(env);
        fs::remove(m_logs / "TheoreticalLog.txt");
        fs::remove(m_logs / "ExperimentalLog.txt");
        fs::remove(card);
        const Result t = Theory(theory_project, {"--card", card}, env);
        EXPECT_EQ(t.status, 0) << t;
        EXPECT_EQ(t.out, theory.out);
        EXPECT_EQ(TheoryLog(), log);
        EXPECT_EQ(ReadFile(card), card_text);
        const Result e = Experiment(experiment_project, env);
        EXPECT_EQ(e.status, 0) << e;
        EXPECT_EQ(e.out, experiment.out);
        EXPECT_EQ(ExperimentLog(), experiment_log);
    }
}

} // namespace
