#include "app/calculationcontroller.h"

#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "util/trace.h"

#include <QCursor>
#include <QGuiApplication>

bool CalculationController::Run(ProjectSide side, const std::function<bool()>& ready,
                                const std::function<bool()>& run)
{
    if (!m_project.Doc() || !ready())
        return false;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const bool done = run();
    m_project.Doc()->WriteLog(); // a refused run's log too: it says how far the run came
    QGuiApplication::restoreOverrideCursor();
    if (done)
        m_project.MarkCalculated(side);
    return done;
}

bool CalculationController::CalculateTheory(double scale_factor, Trace& trace)
{
    CPlyforgeDoc* doc = m_project.Doc();
    return Run(
        ProjectSide::Theory, [&] { return CalculationChecks::TheoryReady(*doc, scale_factor, m_messages); },
        [&] { return doc->CalculateTheory(trace); });
}

bool CalculationController::CalculateExperiment()
{
    CPlyforgeDoc* doc = m_project.Doc();
    return Run(
        ProjectSide::Experiment, [&] { return CalculationChecks::ExperimentReady(*doc, m_messages); },
        [&] { return doc->CalculateExperiment(); });
}
