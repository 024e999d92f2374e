#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CPlyforgeDoc;
struct ExperimentSpecimen;

// Synthetic but realistic inputs for the engine benchmarks. Everything is made
// deterministically (fixed seeds), once per run, outside the timed loops.
namespace benchdata {

// One tensile curve: strain rising 0..2 %, stress rising almost linearly and then
// flattening, load = stress x cross-section, each with a little measurement noise.
// The values are those of the CSV text, so a curve read from its file, from a
// project file or built in memory holds exactly the same numbers.
struct TensileCurve {
    std::vector<double> load;   // N
    std::vector<double> strain; // %
    std::vector<double> stress; // N/mm2
    std::string csv;            // header line, then "load,strain,stress" rows
};

inline constexpr double kWidth = 12.5;    // mm
inline constexpr double kThickness = 2.0; // mm
inline constexpr double kElasticMin = 0.1;
inline constexpr double kElasticMax = 0.3;

TensileCurve MakeTensileCurve(size_t readings, unsigned seed, double strength_scale = 1.0);

// The 1,000,000-reading curve every single-specimen benchmark shares.
const TensileCurve& MillionReadings();

void FillSpecimen(ExperimentSpecimen& specimen, const TensileCurve& curve);

// Appends the carbon/epoxy ply of the single-lamina example, at the given angle.
// The caller keeps the ids unique.
void AddCarbonEpoxyLamina(CPlyforgeDoc& doc, int id, double angle);

// A project of one carbon/epoxy lamina and `specimens` specimens whose readings add
// up to total_readings (one curve per specimen).
void FillReadingsProject(CPlyforgeDoc& doc, int specimens, size_t total_readings);

// A private folder under the system temporary folder, made on first use.
const std::string& ScratchFolder();
// Removes the folder and everything in it, if it was made.
void RemoveScratchFolder();

// Runs the benchmarks the command line selects, then removes the scratch folder;
// an exception ends the run with its message under name and status 1.
int RunBenchmarks(int& argc, char** argv, const char* name);

void WriteTextFile(const std::string& path, const std::string& text);

// A testing machine's export of `rows` readings as it writes one: semicolons,
// decimal commas, CR LF, a header line ("Time (s);Force (N);Strain (%);Stress (MPa)")
// and a unit line.
std::string MachineExportText(size_t rows);

} // namespace benchdata
