#include "benchdata.h"

#include "doc/plyforgedoc.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>

namespace benchdata {

namespace {

double ParseField(const char*& cursor, const char* end)
{
    double value = 0;
    const auto result = std::from_chars(cursor, end, value);
    if (result.ec != std::errc())
        throw std::runtime_error("benchdata: unreadable generated number");
    cursor = result.ptr + 1; // past the separator
    return value;
}

std::string g_scratch;

} // namespace

TensileCurve MakeTensileCurve(size_t readings, unsigned seed, double strength_scale)
{
    // A 0-degree carbon/epoxy coupon is nearly linear to failure; a tanh knee gives
    // the slight flattening near the top without a yield plateau.
    const double ultimate = 480.0 * strength_scale; // N/mm2
    const double knee = 1.2;                        // % strain
    const double area = kWidth * kThickness;

    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> strain_noise(-0.0003, 0.0003);
    std::uniform_real_distribution<double> stress_noise(-0.25, 0.25);

    TensileCurve curve;
    curve.load.reserve(readings);
    curve.strain.reserve(readings);
    curve.stress.reserve(readings);
    curve.csv.reserve(40 + readings * 32);
    curve.csv += "Load(N),Strain(%),Stress(N/mm2)\n";

    const double last = readings > 1 ? static_cast<double>(readings - 1) : 1.0;
    for (size_t i = 0; i < readings; ++i) {
        const double nominal = 2.0 * static_cast<double>(i) / last;
        const double strain = std::max(0.0, nominal + strain_noise(random));
        const double stress = ultimate * std::tanh(nominal / knee) + stress_noise(random);
        const double load = stress * area;

        // Round through the text, as a testing machine's export would.
        char row[96];
        const int length = std::snprintf(row, sizeof row, "%.5f,%.6f,%.5f\n", load, strain, stress);
        const char* cursor = row;
        const char* end = row + length;
        curve.load.push_back(ParseField(cursor, end));
        curve.strain.push_back(ParseField(cursor, end));
        curve.stress.push_back(ParseField(cursor, end));
        curve.csv.append(row, static_cast<size_t>(length));
    }
    return curve;
}

const TensileCurve& MillionReadings()
{
    static const TensileCurve curve = MakeTensileCurve(1'000'000, 20240611);
    return curve;
}

void FillSpecimen(ExperimentSpecimen& specimen, const TensileCurve& curve)
{
    specimen.width = kWidth;
    specimen.thickness = kThickness;
    specimen.load_series = curve.load;
    specimen.strain_series = curve.strain;
    specimen.stress_series = curve.stress;
}

void AddCarbonEpoxyLamina(CPlyforgeDoc& doc, int id, double angle)
{
    // Appended directly: looking each id up first would make a large stack quadratic.
    doc.laminate.laminae.push_back(std::make_unique<Lamina>());
    Lamina& lamina = *doc.laminate.laminae.back();
    lamina.id = id;
    lamina.fiber.name = "Carbon";
    lamina.fiber.density = 1.76;
    lamina.fiber.youngs_modulus = 230;
    lamina.fiber.poissons_ratio = 0.2;
    lamina.matrix.name = "Epoxy";
    lamina.matrix.density = 1.2;
    lamina.matrix.youngs_modulus = 3.5;
    lamina.matrix.poissons_ratio = 0.35;
    lamina.FAW = 0.6;
    lamina.thickness = 0.125;
    lamina.angle = angle;
    lamina.xi = 2;
    lamina.S_scale_factor = 0.01;
    lamina.C_scale_factor = 1.0;
    lamina.S_angle_scale_factor = 0.01;
    lamina.C_angle_scale_factor = 1.0;
}

void FillReadingsProject(CPlyforgeDoc& doc, int specimens, size_t total_readings)
{
    doc.lamina_count = 1;
    doc.laminate.compliance_scale_factor = 0.01;
    AddCarbonEpoxyLamina(doc, 1, 45);

    doc.specimen_count = specimens;
    doc.elastic_min = kElasticMin;
    doc.elastic_max = kElasticMax;
    const size_t share = total_readings / static_cast<size_t>(specimens);
    for (int id = 1; id <= specimens; ++id) {
        // The last specimen takes the remainder so the total is exact.
        const size_t readings =
            id == specimens ? total_readings - share * static_cast<size_t>(specimens - 1) : share;
        ExperimentSpecimen& specimen = doc.FindOrCreateSpecimen(id);
        if (specimens == 1 && readings == MillionReadings().load.size()) {
            FillSpecimen(specimen, MillionReadings());
        } else {
            const TensileCurve curve =
                MakeTensileCurve(readings, 1000u + static_cast<unsigned>(id), 0.95 + 0.025 * id);
            FillSpecimen(specimen, curve);
        }
    }
}

const std::string& ScratchFolder()
{
    if (g_scratch.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "plyforge-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("benchdata: cannot make a temporary folder");
        g_scratch = pattern;
    }
    return g_scratch;
}

void RemoveScratchFolder()
{
    if (g_scratch.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(g_scratch, ignored);
    g_scratch.clear();
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file)
        throw std::runtime_error("benchdata: cannot write " + path);
}

std::string MachineExportText(size_t rows)
{
    std::string text = "Time (s);Force (N);Strain (%);Stress (MPa)\r\ns;N;%;MPa\r\n";
    text.reserve(rows * 40);
    char row[128];
    for (size_t i = 0; i < rows; ++i) {
        // A nearly linear carbon/epoxy curve with a slight knee.
        const double strain = 2.0 * static_cast<double>(i) / static_cast<double>(rows);
        const double stress = 480.0 * std::tanh(strain / 1.2) / std::tanh(2.0 / 1.2);
        const int length = std::snprintf(row, sizeof row, "%.3f;%.5f;%.6f;%.4f\r\n", 0.001 * static_cast<double>(i),
                                         stress * 25.0, strain, stress);
        for (int k = 0; k < length; ++k)
            if (row[k] == '.')
                row[k] = ',';
        text.append(row, static_cast<size_t>(length));
    }
    return text;
}

int RunBenchmarks(int& argc, char** argv, const char* name)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int status = 0;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        status = 1;
    }
    benchmark::Shutdown();
    RemoveScratchFolder();
    return status;
}

} // namespace benchdata
