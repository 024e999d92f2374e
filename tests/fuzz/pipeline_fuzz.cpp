// Any bytes as a project, through the whole pipeline: a project that reads saves,
// reads back and saves again to the same text; then the theory with its card, FE
// section and lamination theory, and the experiment, give a refusal or finite
// numbers, never nan or inf as a result.
#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "doc/projectwriter.h"
#include "theory/abaquscard.h"
#include "theory/fesection.h"
#include "theory/laminateanalysis.h"
#include "util/trace.h"

#include "fuzzsupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

std::string g_folder;

class QuietSink : public MessageSink {
public:
    void ShowMessage(const std::string&) override {}
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The card, the FE section and the JSON hold keywords and numbers only.
bool NoNonFinite(const std::string& text)
{
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos;
}

void RunTheory(CPlyforgeDoc& doc, QuietSink& sink)
{
    Trace none = Trace::Discard();
    if (doc.laminate.laminae.empty() || !CalculationChecks::TheoryReady(doc, sink) || !doc.CalculateTheory(none))
        return;
    if (!CalculationChecks::TheoryResultFault(doc).empty())
        return;
    Check(NoNonFinite(MakeAbaqusCard(doc.laminate)));
    Check(NoNonFinite(FeSection(doc.laminate)));
    LaminateAnalysis analysis;
    if (analysis.Run(doc.laminate, doc.load_case))
        Check(NoNonFinite(analysis.Json()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_folder = (std::filesystem::temp_directory_path() / "plyforge-fuzz-pipeline").string();
    std::filesystem::create_directories(g_folder);
    std::ofstream(g_folder + "/a.csv", std::ios::binary) << "Load;Strain;Stress\n0;0;0\n1;0,1;2\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ReachesOutsideFuzzFolder(text))
        return 0;
    CPlyforgeDoc doc;
    try {
        doc.LoadProject(ProjectReader::Parse(text, "fuzz.plyforge", g_folder));
    } catch (const ProjectFileError&) {
        return 0;
    }
    doc.program_folder = g_folder;
    const std::string saved = ProjectWriter::Serialize(doc, g_folder);
    CPlyforgeDoc again;
    try {
        again.LoadProject(ProjectReader::Parse(saved, "saved.plyforge", g_folder));
    } catch (const ProjectFileError&) {
        std::abort(); // what was saved must open
    }
    Check(ProjectWriter::Serialize(again, g_folder) == saved);

    QuietSink sink;
    doc.SetMessageSink(&sink);
    RunTheory(doc, sink);
    if (!doc.specimens.empty() && CalculationChecks::ExperimentReady(doc, sink) && doc.CalculateExperiment())
        (void)CalculationChecks::ExperimentResultFault(doc); // named, not printed as a result
    return 0;
}
