#pragma once

#include "forms/reportblock.h"
#include "model/projectdocument.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CPlyforgeDoc;

namespace OrvaneChart {
class XYChart;
}

// Whether each side's results belong to the project's present inputs.
struct ReportResultStates {
    ProjectDocument::ResultState theory = ProjectDocument::ResultState::Current;
    ProjectDocument::ResultState experiment = ProjectDocument::ResultState::Current;
};

// The report of a project, from the data the views show: the laminate's inputs and
// results, the test series' inputs and results with the statistics, the stress-strain
// chart (the one given, as shown, or none), and the calculation log as an appendix
// when it is given. Results never calculated read "Not calculated"; results of older
// inputs say so above them.
std::vector<ReportBlock> BuildReport(const CPlyforgeDoc& doc, std::shared_ptr<const OrvaneChart::XYChart> chart,
                                     const QString& log = {}, ReportResultStates states = {});
