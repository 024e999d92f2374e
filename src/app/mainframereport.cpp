#include "app/mainframe.h"

#include "app/childframe.h"
#include "app/logview.h"
#include "app/mditabarea.h"
#include "app/projectfiles.h"
#include "app/reportcommands.h"
#include "chart/xychart.h"
#include "controls/richeditcustomctrl.h"
#include "doc/plyforgedoc.h"
#include "forms/reportexport.h"
#include "forms/resultexpview.h"

#include <algorithm>

std::vector<ReportBlock> CMainFrame::ReportOfActiveProject(bool withLog)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return {};
    CommitFormOnScreen(*doc); // what the form shows is what the report shows
    // The chart as the results view shows it (zoomed, curves hidden); without the
    // view, as it would first show it.
    std::shared_ptr<const OrvaneChart::XYChart> chart;
    for (CChildFrame* child : TabArea()->Children()) {
        if (auto* results = qobject_cast<CResultExpView*>(child->View()); results && child->Document() == doc)
            chart = results->ShownChart();
    }
    if (!chart && std::any_of(doc->specimens.begin(), doc->specimens.end(),
                              [](const auto& s) { return !s->strain_series.empty(); }))
        chart = CResultExpView::SeriesChart(*doc);
    return BuildReport(*doc, chart, withLog ? m_logView->RichEdit()->toPlainText() : QString(),
                       {m_project->Results(ProjectSide::Theory), m_project->Results(ProjectSide::Experiment)});
}

ReportCommands* CMainFrame::CreateReportCommands()
{
    return new ReportCommands(
        this, [this](bool withLog) { return ReportOfActiveProject(withLog); },
        [this] { return ReportExport::HeaderFor(m_files->Path()); },
        [this] {
            const CPlyforgeDoc* doc = ActiveDocument();
            return doc ? doc->InputFiles() : std::vector<std::string>();
        });
}
