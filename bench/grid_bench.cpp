// Timings of the report grid at the size a user reaches: a million readings pasted
// from a spreadsheet with Ctrl+V, read back as numbers when they are committed to a
// specimen, and copied out again. The real grid runs shown, offscreen; the clipboard
// is filled before the timed part, as the spreadsheet would have done.
#include "benchdata.h"
#include "benchgui.h"

#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "doc/messagesink.h"
#include "forms/experimentdlg.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"

#include <QApplication>
#include <QClipboard>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 1'000'000;

std::unique_ptr<CListCtrlReport> g_grid;

struct MemoryStatus {
    double residentMb = 0; // VmRSS
    double peakMb = 0;     // VmHWM
};

MemoryStatus ReadMemoryStatus()
{
    MemoryStatus status;
    std::ifstream file("/proc/self/status");
    std::string line;
    while (std::getline(file, line)) {
        long kb = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %ld kB", &kb) == 1)
            status.residentMb = static_cast<double>(kb) / 1024.0;
        else if (std::sscanf(line.c_str(), "VmHWM: %ld kB", &kb) == 1)
            status.peakMb = static_cast<double>(kb) / 1024.0;
    }
    return status;
}

// Lowers VmHWM to the current VmRSS, so the next reading is the peak of what follows
// alone. Without it (older kernels) the peak may stem from building the inputs.
void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The tensile curve of the engine benchmarks as a spreadsheet copies it: a tab
// between the three columns and a line break after every row.
const QString& MillionLineText()
{
    static const QString text = [] {
        std::string tsv = benchdata::MillionReadings().csv;
        tsv.erase(0, tsv.find('\n') + 1); // the header line
        for (char& c : tsv)
            if (c == ',')
                c = '\t';
        return QString::fromStdString(tsv);
    }();
    return text;
}

void FlushEvents()
{
    // The grid lays out and paints from posted events and zero timers; two rounds
    // let the repaint the layout asks for happen too.
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

CListCtrlReport& Grid()
{
    if (!g_grid) {
        g_grid = std::make_unique<CListCtrlReport>();
        g_grid->InsertColumn(QStringLiteral("Load (N)"), 120);
        g_grid->InsertColumn(QStringLiteral("Strain (%)"), 120);
        g_grid->InsertColumn(QStringLiteral("Stress (N/mm2)"), 120);
        g_grid->resize(480, 600);
        g_grid->show();
        FlushEvents();
    }
    return *g_grid;
}

void PasteOnce(CListCtrlReport& grid)
{
    grid.DeleteAllItems();
    grid.SetPasteAnchor(0, 0);
    QGuiApplication::clipboard()->setText(MillionLineText());
    FlushEvents();
    grid.PasteFromClipboard();
    FlushEvents();
}

void BM_PasteMillionLines(benchmark::State& state)
{
    CListCtrlReport& grid = Grid();
    QGuiApplication::clipboard()->setText(MillionLineText());
    MemoryStatus before;
    MemoryStatus after;
    double peakBase = 0;
    for (auto _ : state) {
        state.PauseTiming();
        grid.DeleteAllItems();
        grid.SetPasteAnchor(0, 0);
        FlushEvents();
        malloc_trim(0); // a steady starting point for the memory reading
        ResetPeakMemory();
        before = ReadMemoryStatus();
        peakBase = before.peakMb;
        state.ResumeTiming();

        grid.PasteFromClipboard();
        FlushEvents();

        state.PauseTiming();
        after = ReadMemoryStatus();
        if (grid.GetItemCount() != kLines) {
            state.SkipWithError("the paste did not fill a million rows");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = grid.GetItemCount();
    state.counters["rss_growth_MB"] = after.residentMb - before.residentMb;
    state.counters["peak_growth_MB"] = after.peakMb - peakBase;
}
BENCHMARK(BM_PasteMillionLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// What committing the grid into a specimen does: every cell through the number rule.
void BM_ReadBackAsNumbers(benchmark::State& state)
{
    CListCtrlReport& grid = Grid();
    if (grid.GetItemCount() != kLines)
        PasteOnce(grid);
    const ReportModel& model = *grid.Model();
    std::vector<double> load;
    std::vector<double> strain;
    std::vector<double> stress;
    bool allNumbers = true;
    for (auto _ : state) {
        const int rows = model.rowCount();
        load.assign(static_cast<size_t>(rows), 0.0);
        strain.assign(static_cast<size_t>(rows), 0.0);
        stress.assign(static_cast<size_t>(rows), 0.0);
        for (int row = 0; row < rows; ++row) {
            allNumbers &= ParseCell(model.CellUtf8(row, 0), load[static_cast<size_t>(row)]);
            allNumbers &= ParseCell(model.CellUtf8(row, 1), strain[static_cast<size_t>(row)]);
            allNumbers &= ParseCell(model.CellUtf8(row, 2), stress[static_cast<size_t>(row)]);
        }
        benchmark::DoNotOptimize(load.data());
        benchmark::DoNotOptimize(strain.data());
        benchmark::DoNotOptimize(stress.data());
    }
    const benchdata::TensileCurve& curve = benchdata::MillionReadings();
    if (!allNumbers || load != curve.load || strain != curve.strain || stress != curve.stress)
        state.SkipWithError("the grid's numbers differ from the pasted ones");
    state.counters["rows"] = static_cast<double>(load.size());
}
BENCHMARK(BM_ReadBackAsNumbers)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Ctrl+A, Ctrl+C of the whole grid.
void BM_CopyAllRows(benchmark::State& state)
{
    CListCtrlReport& grid = Grid();
    if (grid.GetItemCount() != kLines)
        PasteOnce(grid);
    grid.selectAll();
    FlushEvents();
    for (auto _ : state) {
        grid.CopySelectionToClipboard();
        FlushEvents();
    }
    // The copy is the pasted text without its final line break.
    QString expected = MillionLineText();
    expected.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    expected.chop(2);
    if (QGuiApplication::clipboard()->text() != expected)
        state.SkipWithError("the copied text differs from the pasted one");
    grid.clearSelection();
}
BENCHMARK(BM_CopyAllRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Messages of a failed import end the run's iteration instead of waiting for a click.
class FailingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { message = text; }
    std::string message;
};

// The experiment form's "Import..." of a million-row machine export, end to end:
// the file read (separator, decimal commas and header found), its numbers written
// into the grid as their shortest texts, the grid shown again.
void BM_ImportMillionRowsIntoForm(benchmark::State& state)
{
    static const std::string path = [] {
        const std::string file = benchdata::ScratchFolder() + "/machine_export.csv";
        benchdata::WriteTextFile(file, benchdata::MachineExportText(kLines));
        return file;
    }();
    FailingSink sink;
    InstallMessageSink(qApp, &sink);
    CExperimentDlg form;
    form.resize(700, 900);
    form.show();
    FlushEvents();
    for (auto _ : state) {
        if (!form.ImportFile(QString::fromStdString(path)) || form.Grid()->GetItemCount() != kLines) {
            state.SkipWithError(("the export was not imported: " + sink.message).c_str());
            break;
        }
        FlushEvents();
    }
    InstallMessageSink(qApp, nullptr);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLines);
}
BENCHMARK(BM_ImportMillionRowsIntoForm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchgui::UseOffscreenPlatform();
    QApplication app(argc, argv);

    if (benchgui::RunBenchmarks(argc, argv) != 0)
        return 1;

    g_grid.reset(); // before the application goes
    benchdata::RemoveScratchFolder();
    return 0;
}
