#include "doc/plyforgedoc.h"

#include "doc/messages.h"
#include "theory/theoryrun.h"
#include "util/formattext.h"
#include "util/programpaths.h"
#include "util/safefilewriter.h"
#include "util/trace.h"
#include "util/recordlist.h"

#include <filesystem>

CPlyforgeDoc::CPlyforgeDoc(MessageSink* sink, ProjectListener* listener) : m_sink(sink), m_listener(listener) {}

CPlyforgeDoc::~CPlyforgeDoc() { ClearLaminae(); }

bool CPlyforgeDoc::OnNewDocument()
{
    program_folder = ProgramPaths::LogFolder();
    InitProject();
    return true;
}

void CPlyforgeDoc::InitProject()
{
    ClearLaminae();
    load_case.reset();
    failure = {};
    // The values a new project calculates with, as the ribbon shows them.
    laminate.compliance_scale_factor = 0.01;
    elastic_min = 0.1;
    elastic_max = 0.3;
    modulus_method = ModulusMethod::Chord;
    current_lamina_id = 0;
    specimen_count = 0;
    current_specimen_id = 0;
    if (m_listener)
        m_listener->ProjectInitialised();
    SetLaminaCount(0);
}

void CPlyforgeDoc::ClearLaminae()
{
    laminate.laminae.clear();
    ClearSpecimens();
}

void CPlyforgeDoc::ClearSpecimens() { specimens.clear(); }

void CPlyforgeDoc::SetLaminaCount(int count)
{
    lamina_count = count;
    if (m_listener)
        m_listener->LaminaCountChanged(count);
}

std::vector<std::string> CPlyforgeDoc::InputFiles() const
{
    std::vector<std::string> files;
    if (!project_path.empty())
        files.push_back(project_path);
    for (const auto& specimen : specimens) {
        if (specimen->readings_link)
            files.push_back(specimen->readings_link->full_path);
    }
    return files;
}

std::string CPlyforgeDoc::LogPathFor(const char* file_name) const
{
    if (program_folder.empty())
        return file_name;
    return program_folder + "/" + file_name;
}

void CPlyforgeDoc::ShowMessage(const char* text)
{
    if (m_sink)
        m_sink->ShowMessage(text);
}

void CPlyforgeDoc::KeepLog(std::string text)
{
    log_text = std::move(text);
    log_written = false;
    log_error.clear();
}

bool CPlyforgeDoc::WriteLog()
{
    // The run's log replaces the previous one only whole: a failed write leaves the
    // last log as it was, and the calculation ran all the same.
    const SafeFileWriter::Outcome outcome = SafeFileWriter::Write(log_path, log_text);
    log_error = outcome.reason;
    log_written = outcome.Ok();
    return log_written;
}

bool CPlyforgeDoc::CalculateTheory(Trace& trace)
{
    log_path = LogPathFor(kTheoreticalLogName);
    const TheoryRun run = RunTheory(laminate, load_case, trace, failure);
    run.StoreIn(laminate);
    KeepLog(run.LogText());
    if (run.failure == TheoryFailure::YoungsModulus)
        ShowMessage(msg::kCheckYoungsModulus);
    else if (run.failure == TheoryFailure::ScaleFactor)
        ShowMessage(msg::kCheckScaleFactor);
    return run.Ok();
}

bool CPlyforgeDoc::CalculateExperiment()
{
    log_path = LogPathFor(kExperimentalLogName);
    const ExperimentRun run = RunExperiment(specimens, elastic_min, elastic_max, modulus_method);
    run.StoreIn(specimens);
    KeepLog(run.LogText());
    return true;
}

void CPlyforgeDoc::BuildChartSeries(std::vector<std::vector<double>>& arrays,
                                    std::vector<std::string>& names) const
{
    for (const auto& specimen : specimens) {
        arrays.push_back(specimen->strain_series);
        arrays.push_back(specimen->stress_series);
        names.push_back(specimen->name.empty() ? FormatText("%s %d", "Lamina #", specimen->id) : specimen->name);
    }
}

ExperimentSpecimen* CPlyforgeDoc::FindSpecimen(int id) const { return FindRecord(specimens, id); }

ExperimentSpecimen& CPlyforgeDoc::FindOrCreateSpecimen(int id) { return FindOrCreateRecord(specimens, id); }

void CPlyforgeDoc::LoadProject(ProjectData&& project)
{
    ClearLaminae();
    laminate.laminae = std::move(project.laminae);
    laminate.compliance_scale_factor = project.compliance_scale_factor;
    load_case = project.load_case;
    failure = project.failure;
    lamina_count = project.lamina_count;
    current_lamina_id = project.current_lamina_id;
    specimens = std::move(project.specimens);
    specimen_count = project.specimen_count;
    current_specimen_id = project.current_specimen_id;
    elastic_min = project.elastic_min;
    elastic_max = project.elastic_max;
    modulus_method = project.modulus_method;
}
