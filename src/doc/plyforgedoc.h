#pragma once

#include "doc/messagesink.h"
#include "doc/projectlistener.h"
#include "doc/projectdata.h"
#include "experiment/experimentdriver.h"
#include "theory/laminate.h"
#include "util/trace.h"

#include <string>
#include <vector>

inline constexpr const char* kTheoreticalLogName = "TheoreticalLog.txt";
inline constexpr const char* kExperimentalLogName = "ExperimentalLog.txt";

// One project: the theory laminate with its laminae, the experiment specimens, the
// counts and current record numbers of the ribbon and the menu tree, the folder the
// calculation logs go to and the path of the last log.
class CPlyforgeDoc {
public:
    explicit CPlyforgeDoc(MessageSink* sink = nullptr, ProjectListener* listener = nullptr);
    ~CPlyforgeDoc();
    CPlyforgeDoc(const CPlyforgeDoc&) = delete;
    CPlyforgeDoc& operator=(const CPlyforgeDoc&) = delete;

    std::string program_folder; // the log folder; UTF-8, no trailing separator
    std::string log_path;       // the log of the last run, theory or experiment
    std::string project_path;   // the project's file; empty until it is opened or saved
    Laminate laminate;
    // Force and moment resultants the laminate's plies are analysed under; none: no load case.
    std::optional<LaminateLoad> load_case;
    FailureSettings failure; // of Tsai-Wu and Puck
    int lamina_count = 0;
    int current_lamina_id = 0;
    SpecimenList specimens;
    double elastic_min = 0;
    double elastic_max = 0;
    ModulusMethod modulus_method = ModulusMethod::Chord;
    int specimen_count = 0;
    int current_specimen_id = 0;
    // Whether the last run's log was written in full (false: it could not be
    // opened or written, and log_path names where it should have gone).
    bool log_written = false;
    std::string log_error; // why it was not, with the system's reason
    std::string log_text;  // the last run's log as its file holds it, for the log pane

    void SetMessageSink(MessageSink* sink) { m_sink = sink; }
    void SetProjectListener(ProjectListener* listener) { m_listener = listener; }

    // A new project: program_folder is where the logs go (the executable's folder
    // in a build tree, the user's data folder when installed), then InitProject.
    bool OnNewDocument();
    void InitProject();
    void ClearLaminae();
    void ClearSpecimens();
    void SetLaminaCount(int count);

    // A run of the engine over the project's inputs, its results stored in the records,
    // the steps' trace to trace, and its log kept in log_text, ready for WriteLog (the
    // caller's to write, refused run or not).
    bool CalculateTheory(Trace& trace);
    bool CalculateExperiment();
    // Writes the last run's log to log_path, whole or not at all; log_written and
    // log_error say how it went.
    bool WriteLog();

    // For each specimen in sequence order: a copy of its strain series, then of its
    // stress series, and the legend name "Lamina # <id>".
    void BuildChartSeries(std::vector<std::vector<double>>& arrays,
                          std::vector<std::string>& names) const;

    ExperimentSpecimen* FindSpecimen(int id) const;
    ExperimentSpecimen& FindOrCreateSpecimen(int id);

    // Replaces every record, count and range with those of a project read from a file.
    void LoadProject(ProjectData&& project);

    // The files no output may replace: the project's file and the readings files it names.
    std::vector<std::string> InputFiles() const;

    // Where a run writes the log of that name.
    std::string LogPathFor(const char* file_name) const;

private:
    void ShowMessage(const char* text);
    void KeepLog(std::string text);

    MessageSink* m_sink;
    ProjectListener* m_listener;
};
