// Timing of the test machine import at the sizes a user reaches: a million rows of
// a semicolon export with decimal commas and header lines, and a series of 200
// specimen exports as a machine writes them (every number quoted, thousands grouped
// by commas) against the same files with plain numbers. The files are written once
// into a private temporary folder, removed when the run ends.
#include "benchdata.h"

#include "experiment/tensileimport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr size_t kRows = 1'000'000;

const std::string& MillionRowExport()
{
    static const std::string path = [] {
        const std::string file = benchdata::ScratchFolder() + "/machine_export.csv";
        benchdata::WriteTextFile(file, benchdata::MachineExportText(kRows));
        return file;
    }();
    return path;
}

void BM_ImportMillionRowsDecimalComma(benchmark::State& state)
{
    const std::string& path = MillionRowExport();
    for (auto _ : state) {
        ImportResult result = TensileImport::ReadFile(path);
        if (result.load.size() != kRows || !result.decimal_comma || result.load_column != 1)
            state.SkipWithError("the export was not read as written");
        benchmark::DoNotOptimize(result.stress.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRows));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(path)));
}
BENCHMARK(BM_ImportMillionRowsDecimalComma)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// A tensile series: 200 specimens of 240 readings in five columns (time, extension,
// load, strain, stress), the specimen's data above them, CR LF.

constexpr int kSpecimens = 200;
constexpr int kReadingsEach = 240;

// "%.5f", with the whole part grouped in thousands ("2,296.97510") when grouped.
std::string Number(double value, bool grouped)
{
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.5f", value);
    std::string number(text, static_cast<size_t>(length));
    if (!grouped)
        return number;
    const size_t digits_from = number[0] == '-' ? 1 : 0;
    for (size_t at = number.find('.'); at > digits_from + 3; at -= 3)
        number.insert(at - 3, 1, ',');
    return number;
}

std::string SpecimenExport(int id, bool quoted, std::mt19937& random)
{
    std::uniform_real_distribution<double> spread(-1, 1);
    std::normal_distribution<double> noise(0, 0.05);
    const double width = 10 + 0.1 * spread(random);
    const double thickness = 2 + 0.02 * spread(random);
    const double area = width * thickness;
    const double modulus = 40000 + 2000 * spread(random); // MPa
    const double failure = 1.6 + 0.2 * spread(random);    // % strain at break
    const auto cell = [quoted](double value) {
        return quoted ? '"' + Number(value, true) + '"' : Number(value, false);
    };
    std::string rows;
    double strength = 0;
    for (int i = 0; i < kReadingsEach; ++i) {
        const double strain = i * failure / 200; // past the break the load falls away
        double stress = strain <= failure ? modulus * strain / 100 * (1 - strain / 6) : 15 * (1 + spread(random));
        stress += noise(random);
        strength = std::max(strength, stress);
        rows += cell(i * 0.1) + ',' + cell(strain * 0.5) + ',' + cell(stress * area) + ',' + cell(strain) + ',' +
                cell(stress) + "\r\n";
    }
    return "Specimen number (included)," + std::to_string(id) + "\r\nSpecimen ID,\"S-" + std::to_string(id) +
           "\"\r\nThickness," + cell(thickness) + ",mm\r\nWidth," + cell(width) +
           ",mm\r\nTensile stress at Tensile strength," + cell(strength) +
           ",MPa\r\n\r\nTime,Extension,Load,Tensile strain (Strain 1),Tensile stress\r\n"
           "(s),(mm),(N),(%),(MPa)\r\n" + rows;
}

struct SeriesFiles {
    std::vector<std::string> quoted;
    std::vector<std::string> plain;
};

const SeriesFiles& Series()
{
    static const SeriesFiles files = [] {
        SeriesFiles made;
        const std::string folder = benchdata::ScratchFolder();
        for (const bool quoted : {true, false}) {
            std::mt19937 random(12); // the same numbers both ways
            for (int id = 1; id <= kSpecimens; ++id) {
                const std::string path =
                    folder + (quoted ? "/quoted-" : "/plain-") + std::to_string(id) + ".csv";
                benchdata::WriteTextFile(path, SpecimenExport(id, quoted, random));
                (quoted ? made.quoted : made.plain).push_back(path);
            }
        }
        return made;
    }();
    return files;
}

template <bool kQuoted>
void BM_ImportSeries(benchmark::State& state)
{
    const SeriesFiles& files = Series();
    const std::vector<std::string>& paths = kQuoted ? files.quoted : files.plain;
    const ImportOptions options;
    std::string buffer; // kept from file to file, as a caller reading a series does
    for (const size_t k : {size_t(0), paths.size() - 1}) {
        const ImportResult quoted = TensileImport::ReadFile(files.quoted[k], options, buffer);
        const ImportResult plain = TensileImport::ReadFile(files.plain[k], options, buffer);
        if (quoted.load.size() != kReadingsEach || quoted.load_column != 2 || quoted.load != plain.load ||
            quoted.strain != plain.strain || quoted.stress != plain.stress || quoted.width != plain.width) {
            state.SkipWithError("the quoted and plain files do not read as the same numbers");
            return;
        }
    }
    size_t bytes = 0;
    for (const std::string& path : paths)
        bytes += fs::file_size(path);
    for (auto _ : state)
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(TensileImport::ReadFile(path, options, buffer).stress.data());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSpecimens * kReadingsEach);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ImportSeries<true>)->Name("BM_ImportSeriesQuoted")->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ImportSeries<false>)->Name("BM_ImportSeriesPlain")->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    return benchdata::RunBenchmarks(argc, argv, "import_bench");
}
