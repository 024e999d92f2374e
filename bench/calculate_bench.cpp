// Timings of the ribbon's experiment Calculate in the real program, at the size a
// user reaches: eight specimens of 125,000 tensile readings each (a million points),
// pasted into the experiment form as from a spreadsheet. The main window runs shown,
// offscreen, at a desktop size; the readings are entered before any timing starts.
#include "benchdata.h"
#include "benchgui.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeapp.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "chart/chartviewer.h"
#include "chart/xychart.h"
#include "controls/listctrlreport.h"
#include "controls/treectrlcustom.h"
#include "doc/messagesink.h"
#include "doc/plyforgedoc.h"
#include "forms/experimentdlg.h"
#include "forms/resultexpview.h"
#include "guibase/messagebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSpecimens = 8;
constexpr size_t kReadings = 125'000;

// Message boxes would block an offscreen run; any message means the run failed.
class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

struct Session {
    std::unique_ptr<CPlyforgeApp> app;
    RecordingSink sink;
    bool entered = false;
    bool calculated = false;
};

Session g_session;

CMainFrame* Frame() { return g_session.app->MainWnd(); }
// A ribbon widget by its command ID.
template <typename T> T* RibbonWidget(const char* id) { return Frame()->Ribbon()->findChild<T*>(id); }
CPlyforgeDoc* Doc() { return Frame()->ActiveDocument(); }

void FlushEvents()
{
    // Layouts, resizes and paints come from posted events; two rounds let the
    // repaint a layout asks for happen too.
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void UseScratchLogFolder()
{
    // The calculation log is written to the project's folder; keep it out of the
    // working directory.
    if (CPlyforgeDoc* doc = Doc())
        doc->program_folder = benchdata::ScratchFolder();
}

template <typename View>
View* FindView()
{
    for (CChildFrame* child : Frame()->TabArea()->Children()) {
        if (auto* view = qobject_cast<View*>(child->View()))
            return view;
    }
    return nullptr;
}

bool ClickTreeItem(const QString& text)
{
    CTreeCtrlCustom* tree = Frame()->MainMenuView()->Tree();
    const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.isEmpty())
        return false;
    const QRect rect = tree->visualItemRect(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 24, rect.center().y()));
    return true;
}

// One specimen's readings as a spreadsheet copies them: load, strain and stress
// separated by tabs, a line break after every row.
QString ReadingsText(const benchdata::TensileCurve& curve)
{
    std::string tsv = curve.csv;
    tsv.erase(0, tsv.find('\n') + 1); // the header line
    for (char& c : tsv)
        if (c == ',')
            c = '\t';
    return QString::fromStdString(tsv);
}

// Starts the program and enters the eight specimens through their forms, as a user
// would: choose the count on the ribbon, then for each specimen click it in the menu
// tree, type its size and paste its readings. Selecting the next specimen commits
// the previous form; the last one stays on screen, uncommitted.
std::string EnterProject()
{
    Session& s = g_session;
    if (s.entered)
        return {};
    s.app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
    if (!s.app->InitInstance())
        return "the program did not start";
    if (!QTest::qWaitForWindowExposed(Frame()))
        return "the main window was never exposed";
    Frame()->SetTraceFile(nullptr); // the trace would flood the terminal between the timings
    Frame()->setWindowState(Qt::WindowNoState);
    Frame()->resize(1600, 1000);
    FlushEvents();
    UseScratchLogFolder();

    RibbonWidget<QLineEdit>("ID_EXPERIMT_LAMINA")->setText(QString::number(kSpecimens));
    QTest::mouseClick(RibbonWidget<QToolButton>("ID_EXPERIMT_LMN_NUM_OK"), Qt::LeftButton);
    UseScratchLogFolder(); // applying a count may start a fresh project
    for (int id = 1; id <= kSpecimens; ++id) {
        if (!ClickTreeItem(QString("Experimental Lamina #%1").arg(id)))
            return "no menu item for specimen " + std::to_string(id);
        auto* view = FindView<CPlyforgeView>();
        if (!view || !view->ExperimentDlg())
            return "no experiment form for specimen " + std::to_string(id);
        CExperimentDlg* form = view->ExperimentDlg();
        form->WidthEdit()->setText(QString::number(benchdata::kWidth));
        form->ThicknessEdit()->setText(QString::number(benchdata::kThickness));
        const benchdata::TensileCurve curve =
            benchdata::MakeTensileCurve(kReadings, 4711u + static_cast<unsigned>(id), 1.0 - 0.05 * (id - 1));
        form->Grid()->PasteText(ReadingsText(curve));
        if (form->Grid()->GetItemCount() < static_cast<int>(kReadings))
            return "the paste left " + std::to_string(form->Grid()->GetItemCount()) + " rows";
    }
    FlushEvents();
    if (!s.sink.messages.empty())
        return "message while entering: " + s.sink.messages.front();
    s.entered = true;
    return {};
}

// Empty when the results of all eight specimens are on screen, else what is wrong.
std::string CheckResults()
{
    if (!g_session.sink.messages.empty())
        return "message: " + g_session.sink.messages.front();
    CResultExpView* results = FindView<CResultExpView>();
    if (!results)
        return "no results view";
    const int rows = results->ResultList()->GetItemCount();
    if (rows != kSpecimens + 3) // and the statistics rows
        return "the results list has " + std::to_string(rows) + " rows";
    const OrvaneChart::XYChart* chart = results->Viewer()->GetChart();
    if (!chart)
        return "no chart";
    if (chart->getLayerCount() != kSpecimens)
        return "the chart has " + std::to_string(chart->getLayerCount()) + " layers";
    if (results->Viewer()->width() < 600)
        return "the chart is only " + std::to_string(results->Viewer()->width()) + " pixels wide";
    return {};
}

// The press of the ribbon's Calculate until its results are on screen: the list
// filled and the chart painted once.
void PressCalculate()
{
    QTest::mouseClick(RibbonWidget<QToolButton>("ID_EXPERIMT_CALCULATE"), Qt::LeftButton);
    FlushEvents();
    if (CResultExpView* results = FindView<CResultExpView>())
        results->Viewer()->EnsureRendered(); // in case the event loop did not paint it
}

// (a) From pressing Calculate to the results on screen: the form on screen committed
// (125,000 rows read back as numbers), the eight specimens evaluated, the log
// written and loaded, the list filled, the chart built and painted.
void BM_ExperimentCalculate8x125k(benchmark::State& state)
{
    if (const std::string error = EnterProject(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    double firstMs = -1;
    int renders = 0;
    for (auto _ : state) {
        const int rendersBefore = [] {
            CResultExpView* results = FindView<CResultExpView>();
            return results ? results->Viewer()->RenderCount() : 0;
        }();
        const auto start = std::chrono::steady_clock::now();
        PressCalculate();
        const auto end = std::chrono::steady_clock::now();

        state.PauseTiming();
        g_session.calculated = true;
        if (firstMs < 0)
            firstMs = std::chrono::duration<double, std::milli>(end - start).count();
        const std::string error = CheckResults();
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
        CResultExpView* results = FindView<CResultExpView>();
        renders += results->Viewer()->RenderCount() - rendersBefore;
        state.ResumeTiming();
    }
    // What the press worked on, so a run on less data cannot pass unnoticed.
    size_t readings = 0;
    for (const auto& specimen : Doc()->specimens)
        readings += specimen->strain_series.size();
    size_t drawn = 0;
    if (CResultExpView* results = FindView<CResultExpView>()) {
        for (const auto& layer : results->Viewer()->DrawnRows())
            drawn += layer.empty() ? 0 : layer.front().size();
        state.counters["chart_w"] = results->Viewer()->width();
        state.counters["chart_h"] = results->Viewer()->height();
    }
    state.counters["points"] = static_cast<double>(readings);
    state.counters["drawn"] = static_cast<double>(drawn);
    state.counters["first_press_ms"] = firstMs;
    state.counters["renders_per_press"] =
        benchmark::Counter(renders, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ExperimentCalculate8x125k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

// (b) One mouse move over the result on screen: the track line at a random x over
// the plot area, and the repaint of what it changed, as the event loop does it.
void BM_TrackLineMove(benchmark::State& state)
{
    if (const std::string error = EnterProject(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (!g_session.calculated) {
        PressCalculate();
        g_session.calculated = true;
    }
    if (const std::string error = CheckResults(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    OrvaneChart::CChartViewer* viewer = FindView<CResultExpView>()->Viewer();
    FlushEvents();
    const int rendersBefore = viewer->RenderCount();
    benchgui::PaintCounter counter;
    viewer->installEventFilter(&counter);

    const OrvaneChart::PlotArea* plot = viewer->GetChart()->getPlotArea();
    std::mt19937 random(99);
    std::uniform_int_distribution<int> column(plot->getLeftX(), plot->getRightX());
    size_t labels = 0;
    for (auto _ : state) {
        viewer->TrackLineAt(column(random));
        QApplication::processEvents();
        labels += viewer->ValueLabels().size();
    }
    viewer->removeEventFilter(&counter);
    viewer->RemoveTrackLine();
    FlushEvents();
    state.counters["paints_per_move"] =
        benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    state.counters["labels_per_move"] =
        benchmark::Counter(static_cast<double>(labels), benchmark::Counter::kAvgIterations);
    state.counters["renders"] = viewer->RenderCount() - rendersBefore;
}
BENCHMARK(BM_TrackLineMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300);

// Settings and standard paths of the run, apart from the user's.
void IsolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(benchdata::ScratchFolder()));
    CPlyforgeApp::InitSettingsNames();
}

} // namespace

int main(int argc, char** argv)
{
    benchgui::UseOffscreenPlatform();
    QApplication app(argc, argv);
    IsolateSettings();
    InstallMessageSink(&app, &g_session.sink);

    if (benchgui::RunBenchmarks(argc, argv) != 0)
        return 1;

    g_session.app.reset(); // the windows go before the QApplication
    benchdata::RemoveScratchFolder();
    return 0;
}
