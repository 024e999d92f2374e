#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace OrvaneChart {
class XYChart;
}

// One piece of a printed report, laid out top to bottom.
struct ReportBlock {
    enum class Kind { Heading, Text, Table, Preformatted, Chart };
    Kind kind = Kind::Text;
    QString text;                 // heading, text (one paragraph per line), preformatted lines
    QStringList header;           // table column titles
    std::vector<QStringList> rows; // table rows
    std::shared_ptr<const OrvaneChart::XYChart> chart;
};
