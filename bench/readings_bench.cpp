// The readings files of a project at the size a test series reaches: 8 specimens
// of 125,000 readings, each in its own CSV file (about 27 MB in all), read by the
// project reader and by the whole `plyforge-cli experiment` run. Against them,
// the floor: the same files read and every number converted with fast_float and
// nothing else, and the two number conversions the parser could be built on.
//
//   readings_bench                      runs the benchmarks
//   readings_bench --write-data=DIR     writes the files and the project into DIR
//                                       and exits (bench/pandas_readings.py uses it)
#include "benchdata.h"

#include "cli/clirunner.h"
#include "doc/projectreader.h"
#include "experiment/tensileimport.h"
#include "util/textfile.h"

#include <benchmark/benchmark.h>
#include <fast_float/fast_float.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kSpecimens = 8;
constexpr size_t kReadingsEach = 125'000;
constexpr double kNumbers = 3.0 * kSpecimens * kReadingsEach;

struct Data {
    std::vector<std::string> files;
    std::string project;
    std::string logs;
};

Data WriteData(const std::string& folder)
{
    Data data;
    std::string specimens;
    for (int id = 1; id <= kSpecimens; ++id) {
        const std::string name = "specimen" + std::to_string(id) + ".csv";
        data.files.push_back(folder + "/" + name);
        benchdata::WriteTextFile(data.files.back(),
                                 benchdata::MakeTensileCurve(kReadingsEach, 1000u + id, 0.95 + 0.025 * id).csv);
        specimens += std::string(id > 1 ? ",\n" : "") + "    { \"id\": " + std::to_string(id) +
                     ", \"width\": 12.5, \"thickness\": 2, \"readings_file\": \"" + name + "\" }";
    }
    data.project = folder + "/series.plyforge";
    benchdata::WriteTextFile(data.project, "{ \"format\": \"plyforge-project\", \"version\": 1,\n"
                                           "  \"experiment\": { \"elastic_min\": 0.1, \"elastic_max\": 0.3,\n"
                                           "  \"specimens\": [\n" + specimens + " ] } }\n");
    data.logs = folder + "/logs";
    std::filesystem::create_directories(data.logs);
    return data;
}

const Data& BenchData()
{
    static const Data data = WriteData(benchdata::ScratchFolder());
    return data;
}

void PerNumber(benchmark::State& state)
{
    // Seconds per billion numbers: nanoseconds per number.
    state.counters["ns_per_number"] = benchmark::Counter(
        kNumbers * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Converts every number of one readings file text after its header line: each
// number is followed by exactly one separator or line break.
template <typename Convert>
double ConvertAll(std::string_view text, Convert convert)
{
    const char* p = text.data() + text.find('\n') + 1;
    const char* const end = text.data() + text.size();
    double sum = 0;
    while (p < end) {
        double value = 0;
        p = convert(p, end, value) + 1;
        sum += value;
    }
    return sum;
}

const char* FastFloat(const char* p, const char* end, double& value)
{
    return fast_float::from_chars(p, end, value).ptr;
}

const char* FromChars(const char* p, const char* end, double& value) { return std::from_chars(p, end, value).ptr; }

// ---------------------------------------------------------------------------

// The floor: read the files and convert every number, nothing more.
void BM_FloorReadAndConvert(benchmark::State& state)
{
    const Data& data = BenchData();
    std::string buffer;
    for (auto _ : state)
        for (const std::string& file : data.files)
            benchmark::DoNotOptimize(ConvertAll(TextFile::Read(file, buffer), FastFloat));
    PerNumber(state);
}
BENCHMARK(BM_FloorReadAndConvert)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The parser on one core: each file in turn, as the project reader reads them.
void BM_ParseFilesOneCore(benchmark::State& state)
{
    const Data& data = BenchData();
    ImportOptions options;
    options.source = ReadingsSource::ProjectReadings;
    std::string buffer; // kept from file to file, as the project reader does
    for (auto _ : state)
        for (const std::string& file : data.files)
            benchmark::DoNotOptimize(TensileImport::ReadFile(file, options, buffer).stress.data());
    PerNumber(state);
}
BENCHMARK(BM_ParseFilesOneCore)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The project reader: the readings files in parallel, one per core.
void BM_ReadProjectParallel(benchmark::State& state)
{
    const Data& data = BenchData();
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectReader::ReadFile(data.project).specimens.data());
    PerNumber(state);
}
BENCHMARK(BM_ReadProjectParallel)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

// The whole `plyforge-cli experiment` run, in this process: read, evaluate, log.
void BM_CliExperiment(benchmark::State& state)
{
    const Data& data = BenchData();
    const char* argv[] = {"plyforge-cli", "experiment", data.project.c_str(), "--log-dir", data.logs.c_str()};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (CliRunner(out, err).Run(5, argv) != CliRunner::kSuccess) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    PerNumber(state);
}
BENCHMARK(BM_CliExperiment)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

// The two conversions the parser could be built on, on texts already in memory.
template <const char* (*Convert)(const char*, const char*, double&)>
void BM_Convert(benchmark::State& state)
{
    std::vector<std::string> texts;
    for (const std::string& file : BenchData().files)
        texts.push_back(TextFile::Read(file));
    for (auto _ : state)
        for (const std::string& text : texts)
            benchmark::DoNotOptimize(ConvertAll(text, Convert));
    PerNumber(state);
}
BENCHMARK(BM_Convert<FastFloat>)->Name("BM_ConvertFastFloat")->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Convert<FromChars>)->Name("BM_ConvertStdFromChars")->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strncmp(argv[1], "--write-data=", 13) == 0) {
        const std::string folder = argv[1] + 13;
        std::filesystem::create_directories(folder);
        std::printf("%s\n", WriteData(folder).project.c_str());
        return 0;
    }
    return benchdata::RunBenchmarks(argc, argv, "readings_bench");
}
