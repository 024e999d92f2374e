#pragma once

#include "model/projectdocument.h"

#include <functional>

class MessageSink;
class Trace;

// The Calculate commands on the project alone: the checks, the run, and its results
// marked as those of the present inputs. The window commits its forms and ribbon
// before and shows the results and the log after, so this is tested on a project
// without widgets.
class CalculationController {
public:
    CalculationController(ProjectDocument& project, MessageSink& messages) : m_project(project), m_messages(messages)
    {
    }

    // The theory with the ribbon's scale factor, its steps traced to trace; false
    // after the message of the check or step that refused it.
    bool CalculateTheory(double scale_factor, Trace& trace);
    // The experiment with the project's elastic range and modulus method.
    bool CalculateExperiment();

private:
    // The checks, then the run under a wait cursor, then the results marked.
    bool Run(ProjectSide side, const std::function<bool()>& ready, const std::function<bool()>& run);

    ProjectDocument& m_project;
    MessageSink& m_messages;
};
