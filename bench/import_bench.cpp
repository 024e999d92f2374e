// Timing of the test machine import at the size a user reaches: a million rows of
// a semicolon export with decimal commas and header lines, read from its file. The
// file is written once into a private temporary folder, removed when the run ends.
#include "experiment/tensileimport.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr size_t kRows = 1'000'000;

class ExportFile {
public:
    ExportFile()
    {
        m_folder = fs::temp_directory_path() / ("plyforge_import_bench_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        m_path = (m_folder / "machine_export.csv").string();
        std::string text = "Time (s);Force (N);Strain (%);Stress (MPa)\r\ns;N;%;MPa\r\n";
        text.reserve(kRows * 40);
        char row[128];
        for (size_t i = 0; i < kRows; ++i) {
            // A nearly linear carbon/epoxy curve with a slight knee, as a machine writes it.
            const double strain = 2.0 * static_cast<double>(i) / kRows;
            const double stress = 480.0 * std::tanh(strain / 1.2) / std::tanh(2.0 / 1.2);
            const int length = std::snprintf(row, sizeof row, "%.3f;%.5f;%.6f;%.4f\r\n", 0.001 * static_cast<double>(i),
                                             stress * 25.0, strain, stress);
            for (int k = 0; k < length; ++k)
                if (row[k] == '.')
                    row[k] = ',';
            text.append(row, static_cast<size_t>(length));
        }
        std::ofstream out(m_path, std::ios::binary);
        out << text;
        if (!out)
            throw std::runtime_error("import_bench: cannot write " + m_path);
    }
    ~ExportFile()
    {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    const std::string& Path() const { return m_path; }

private:
    fs::path m_folder;
    std::string m_path;
};

const ExportFile& MillionRowExport()
{
    static const ExportFile file;
    return file;
}

void BM_ImportMillionRowsDecimalComma(benchmark::State& state)
{
    const std::string& path = MillionRowExport().Path();
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

} // namespace

BENCHMARK_MAIN();
