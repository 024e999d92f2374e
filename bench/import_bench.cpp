// Timing of the test machine import at the size a user reaches: a million rows of
// a semicolon export with decimal commas and header lines, read from its file. The
// file is written once into a private temporary folder, removed when the run ends.
#include "benchdata.h"

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
        const std::string text = benchdata::MachineExportText(kRows);
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
