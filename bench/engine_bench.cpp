// Timings of the engine's heavy paths at the sizes a user can reach: a specimen of
// a million readings, a laminate of the largest lamina count, and the files that
// carry them. Inputs are made once, outside the timed loops; files live in a
// private temporary folder that is removed when the run ends.
#include "benchdata.h"

#include "doc/inputsdigest.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "experiment/experimentspecimen.h"
#include "experiment/seriesstatistics.h"
#include "experiment/tensileimport.h"
#include "mechanics/failurecriteria.h"
#include "mechanics/laminationtheory.h"
#include "theory/laminate.h"
#include "theory/strengthanalysis.h"
#include "theory/theoryrun.h"
#include "util/trace.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

constexpr size_t kMillion = 1'000'000;
constexpr int kLaminaCount = 10000;

const std::string& ReadingsCsvPath()
{
    static const std::string path = [] {
        const std::string file = benchdata::ScratchFolder() + "/readings-1m.csv";
        benchdata::WriteTextFile(file, benchdata::MillionReadings().csv);
        return file;
    }();
    return path;
}

// One project file per specimen split, written by the engine itself so the reader
// sees exactly what a saved project looks like.
const std::string& ProjectFilePath(int specimens)
{
    static std::map<int, std::string> paths;
    auto found = paths.find(specimens);
    if (found != paths.end())
        return found->second;
    CPlyforgeDoc doc;
    benchdata::FillReadingsProject(doc, specimens, kMillion);
    const std::string path =
        benchdata::ScratchFolder() + "/readings-1m-" + std::to_string(specimens) + ".plyforge";
    ProjectWriter::WriteFile(path, doc);
    return paths.emplace(specimens, path).first->second;
}

size_t ReadingCount(const ProjectData& project)
{
    size_t count = 0;
    for (const auto& specimen : project.specimens)
        count += specimen->load_series.size();
    return count;
}

double FileBytes(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0.0 : static_cast<double>(size);
}

// A computed [0/45/-45/90] repeated stack of T300/5208-like plies given by their
// constants and strengths, 0.125 mm each. Without strengths on the first ply the
// analysis skips last-ply failure, which only runs when every ply has them.
Laminate StrengthLaminate(int plies, bool every_ply_has_strengths = true)
{
    constexpr std::array<double, 4> kAngles = {0, 45, -45, 90};
    Laminate inputs;
    inputs.compliance_scale_factor = 0.01;
    inputs.laminae.reserve(static_cast<size_t>(plies));
    for (int id = 1; id <= plies; ++id) {
        auto lamina = std::make_unique<Lamina>();
        lamina->id = id;
        lamina->source = LaminaSource::PlyConstants;
        lamina->ply = {181, 10.3, 7.17, 0.28, 0.3};
        if (every_ply_has_strengths || id != 1)
            lamina->strength = PlyStrengths{1500, 1500, 40, 246, 68};
        lamina->thickness = 0.125;
        lamina->angle = kAngles[static_cast<size_t>(id - 1) % kAngles.size()];
        lamina->S_scale_factor = lamina->S_angle_scale_factor = 0.01;
        lamina->C_scale_factor = lamina->C_angle_scale_factor = 1;
        inputs.laminae.push_back(std::move(lamina));
    }
    Trace discard = Trace::Discard();
    TheoryRun run = RunTheory(inputs, std::nullopt, discard);
    if (!run.Ok())
        throw std::runtime_error("the strength laminate could not be computed");
    return std::move(run.laminate);
}

// In-plane tension with a little shear: every criterion fails some ply.
const LaminateLoad kStrengthLoad{{1000, 200, 100}, {0, 0, 0}};

// ---------------------------------------------------------------------------

void BM_EvaluateSpecimen1M(benchmark::State& state)
{
    ExperimentSpecimen specimen;
    specimen.id = 1;
    benchdata::FillSpecimen(specimen, benchdata::MillionReadings());

    for (auto _ : state) {
        const bool ok = specimen.Evaluate(benchdata::kElasticMin, benchdata::kElasticMax);
        benchmark::DoNotOptimize(ok);
        // Through the record's address: g++ garbles a double lvalue handed to
        // DoNotOptimize by reference (google/benchmark issue 903).
        benchmark::DoNotOptimize(&specimen);
        benchmark::ClobberMemory();
        if (!ok) {
            state.SkipWithError("Evaluate refused the specimen");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(specimen.load_series.size()));
    state.counters["modulus_GPa"] = specimen.modulus;
    state.counters["strength_MPa"] = specimen.strength;
    state.SetLabel("target < 20 ms");
}
BENCHMARK(BM_EvaluateSpecimen1M)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// What each edit of a specimen of a million readings adds once the series has results:
// the digest that tells whether the results are still those of the inputs.
void BM_ExperimentInputsDigest1M(benchmark::State& state)
{
    CPlyforgeDoc doc;
    doc.specimens.push_back(std::make_unique<ExperimentSpecimen>());
    doc.specimens.back()->id = 1;
    benchdata::FillSpecimen(*doc.specimens.back(), benchdata::MillionReadings());
    for (auto _ : state)
        benchmark::DoNotOptimize(ExperimentInputsDigest(doc));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(doc.specimens.back()->load_series.size()));
    state.SetLabel("target < 10 ms, a small part of an edit");
}
BENCHMARK(BM_ExperimentInputsDigest1M)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// What the series adds to a Calculate of 8 x 125,000 readings: the regression
// modulus (Arg 1; Arg 0 the chord alone) and the statistics.
void BM_SeriesEvaluate8x125k(benchmark::State& state)
{
    const auto& million = benchdata::MillionReadings();
    SpecimenList specimens;
    for (int k = 0; k < 8; ++k) {
        specimens.push_back(std::make_unique<ExperimentSpecimen>());
        ExperimentSpecimen& s = *specimens.back();
        s.id = k + 1;
        ExperimentSpecimen whole;
        benchdata::FillSpecimen(whole, million);
        const size_t n = whole.load_series.size() / 8;
        s.load_series.assign(whole.load_series.begin(), whole.load_series.begin() + n);
        s.strain_series.assign(whole.strain_series.begin(), whole.strain_series.begin() + n);
        s.stress_series.assign(whole.stress_series.begin(), whole.stress_series.begin() + n);
    }
    const ModulusMethod method = state.range(0) ? ModulusMethod::Regression : ModulusMethod::Chord;
    for (auto _ : state) {
        for (auto& s : specimens)
            s->valid = s->Evaluate(benchdata::kElasticMin, benchdata::kElasticMax, method);
        const SeriesStatistics statistics = StatisticsOf(specimens);
        benchmark::DoNotOptimize(&statistics);
        benchmark::ClobberMemory();
    }
    state.SetLabel(state.range(0) ? "regression and statistics" : "chord and statistics");
}
BENCHMARK(BM_SeriesEvaluate8x125k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// ---------------------------------------------------------------------------

void BM_TheoryRun10kLaminae(benchmark::State& state)
{
    CPlyforgeDoc doc;
    std::FILE* trace = nullptr;
    try {
        doc.program_folder = benchdata::ScratchFolder() + "/theory";
        std::filesystem::create_directories(doc.program_folder);
        doc.lamina_count = kLaminaCount;
        doc.laminate.compliance_scale_factor = 0.01;
        constexpr std::array<double, 4> kAngles = {0, 45, -45, 90};
        doc.laminate.laminae.reserve(kLaminaCount);
        for (int id = 1; id <= kLaminaCount; ++id)
            benchdata::AddCarbonEpoxyLamina(doc, id, kAngles[static_cast<size_t>(id - 1) % kAngles.size()]);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }

    // The trace is still formatted and written, just not to the terminal.
    if (!state.error_occurred()) {
        trace = std::fopen("/dev/null", "w");
        if (!trace)
            state.SkipWithError("cannot open /dev/null for the trace");
    }
    Trace toNull(trace);

    for (auto _ : state) {
        const bool ok = doc.CalculateTheory(toNull) && doc.WriteLog();
        benchmark::DoNotOptimize(ok);
        if (!ok || !doc.log_written) {
            state.SkipWithError("the theory run failed or its log was not written");
            break;
        }
    }

    if (trace)
        std::fclose(trace);
    state.SetItemsProcessed(state.iterations() * kLaminaCount);
    state.counters["log_MB"] = FileBytes(doc.log_path) / 1e6;
    state.counters["Ex_GPa"] = doc.laminate.Ex;
    state.SetLabel("target < 300 ms");
}
BENCHMARK(BM_TheoryRun10kLaminae)->Unit(benchmark::kMillisecond)->Iterations(5);

// Classical lamination theory of 10,000 plies (a repeated [0/45/-45/90] stack of the
// orthotropic ply) with a load case: A, B, D, the 6x6 inverse, constants and each
// ply's strains and stresses at both faces. The plies' rotated stiffnesses are made
// outside the timing, as the theory run has them already.
void BM_LaminationTheory10kPlies(benchmark::State& state)
{
    const double c = std::sqrt(0.5);
    Matrix3 q;
    q << 140905.8, 3019.4, 0, 3019.4, 10064.7, 0, 0, 0, 5000;
    std::vector<LaminationPly> plies;
    for (int k = 0; k < 10000; ++k) {
        const double angle = std::array{0.0, 45.0, -45.0, 90.0}[k % 4];
        Matrix3 t; // rotates stresses from ply to laminate axes
        const double cs = angle == 0 ? 1 : angle == 90 ? 0 : c, sn = angle == 0 ? 0 : angle == 90 ? 1 : angle > 0 ? c : -c;
        t << cs * cs, sn * sn, -2 * cs * sn, sn * sn, cs * cs, 2 * cs * sn, cs * sn, -cs * sn, cs * cs - sn * sn;
        Matrix3 r = Matrix3::Identity(); // engineering shear strain
        r(2, 2) = 2;
        plies.push_back({k + 1, 0.125, angle, t * q * r * t.transpose() * r.inverse()});
    }
    const LaminateLoad load{{100, 20, 5}, {10, 2, 1}};
    size_t faces = 0;
    for (auto _ : state) {
        LaminationResult laminate;
        if (!LaminationTheory::Analyse(plies, laminate)) {
            state.SkipWithError("the stack could not be analysed");
            break;
        }
        const LoadResult result = LaminationTheory::ApplyLoad(plies, laminate, load);
        faces += 2 * result.plies.size();
        benchmark::DoNotOptimize(result.plies.data());
    }
    state.counters["faces"] = static_cast<double>(faces) / static_cast<double>(state.iterations());
    state.SetLabel("target < 50 ms");
}
BENCHMARK(BM_LaminationTheory10kPlies)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// ---------------------------------------------------------------------------

// What the strength of a 1,000-ply laminate costs once its stack is computed: all six
// criteria, each with first-ply and (every ply having strengths) last-ply failure.
void BM_StrengthAllCriteria1000Plies(benchmark::State& state)
{
    Laminate laminate;
    try {
        laminate = StrengthLaminate(1000, state.range(0) != 0);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    size_t events = 0;
    for (auto _ : state) {
        StrengthAnalysis analysis;
        if (!analysis.Run(laminate, kStrengthLoad, FailureSettings{})) {
            state.SkipWithError("the strength analysis refused the laminate");
            break;
        }
        events = 0;
        for (const CriterionStrength& result : analysis.results)
            events += result.last_ply ? result.last_ply->events.size() : 0;
        benchmark::DoNotOptimize(analysis.results.data());
        benchmark::ClobberMemory();
    }
    state.counters["last_ply_events"] = static_cast<double>(events);
    state.SetLabel(state.range(0) ? "first- and last-ply, target < 50 ms" : "first-ply only, information");
}
BENCHMARK(BM_StrengthAllCriteria1000Plies)->ArgName("last_ply")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The (Nx, Ny) first-ply envelope at a tenth of a degree, all six criteria, over
// 100 plies; Arg 0 drops one ply's strengths so last-ply failure is left out.
void BM_StrengthEnvelope3600Directions100Plies(benchmark::State& state)
{
    Laminate laminate;
    try {
        laminate = StrengthLaminate(100, state.range(0) != 0);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    const std::vector<FailureCriterion> criteria(kFailureCriteria.begin(), kFailureCriteria.end());
    for (auto _ : state) {
        StrengthAnalysis analysis;
        if (!analysis.Run(laminate, kStrengthLoad, FailureSettings{}, criteria, 3600)) {
            state.SkipWithError("the strength analysis refused the laminate");
            break;
        }
        benchmark::DoNotOptimize(analysis.envelopes.data());
        benchmark::DoNotOptimize(analysis.results.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(state.range(0) ? "with last-ply, target < 50 ms" : "envelope and first-ply only, information");
}
BENCHMARK(BM_StrengthEnvelope3600Directions100Plies)->ArgName("last_ply")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------

void BM_ReadReadingsCsv1M(benchmark::State& state)
{
    std::string path;
    try {
        path = ReadingsCsvPath();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }

    size_t rows = 0;
    for (auto _ : state) {
        try {
            ImportOptions options;
            options.source = ReadingsSource::ProjectReadings;
            ImportResult table = TensileImport::ReadFile(path, options);
            rows = table.load.size();
            benchmark::DoNotOptimize(table.stress.data());
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    if (!state.error_occurred() && rows != kMillion)
        state.SkipWithError("the readings file did not give 1,000,000 rows");
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rows));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes(path)));
    state.SetLabel("target < 400 ms");
}
BENCHMARK(BM_ReadReadingsCsv1M)->Unit(benchmark::kMillisecond)->Iterations(10);

// ---------------------------------------------------------------------------

// Arg: how many specimens share the million readings.
void BM_ReadProjectFile1M(benchmark::State& state)
{
    const int specimens = static_cast<int>(state.range(0));
    std::string path;
    try {
        path = ProjectFilePath(specimens);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }

    size_t readings = 0;
    for (auto _ : state) {
        try {
            ProjectData project = ProjectReader::ReadFile(path);
            readings = ReadingCount(project);
            benchmark::DoNotOptimize(project.specimens.data());
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    if (!state.error_occurred() && readings != kMillion)
        state.SkipWithError("the project file did not give 1,000,000 readings");
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(readings));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes(path)));
    state.SetLabel("target < 3 s");
}
BENCHMARK(BM_ReadProjectFile1M)->ArgName("specimens")->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SerializeProject1M(benchmark::State& state)
{
    CPlyforgeDoc doc;
    benchdata::FillReadingsProject(doc, static_cast<int>(state.range(0)), kMillion);

    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = ProjectWriter::Serialize(doc);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kMillion));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    state.SetLabel("information");
}
BENCHMARK(BM_SerializeProject1M)->ArgName("specimens")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// Includes the temporary file, fsync and rename of a real save.
void BM_WriteProjectFile1M(benchmark::State& state)
{
    CPlyforgeDoc doc;
    std::string path;
    try {
        benchdata::FillReadingsProject(doc, static_cast<int>(state.range(0)), kMillion);
        path = benchdata::ScratchFolder() + "/written-1m.plyforge";
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }

    for (auto _ : state) {
        try {
            ProjectWriter::WriteFile(path, doc);
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kMillion));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes(path)));
    state.SetLabel("information");
}
BENCHMARK(BM_WriteProjectFile1M)->ArgName("specimens")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return benchdata::RunBenchmarks(argc, argv, "engine_bench");
}
