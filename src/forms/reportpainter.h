#pragma once

#include "forms/reportcontent.h"

#include <QString>

#include <vector>

class QPagedPaintDevice;

// The header every page of a report carries.
struct ReportHeader {
    QString title; // the program and its version
    QString file; // the project's file name, or "new project"
    QString date;
};

// Lays a report out on pages of a printer or PDF writer and paints it: the header
// and "page n of m" on each page; tables that continue on the next page repeat their
// header and never split a row; a heading stays with what follows it; the chart is
// painted as vector graphics.
class ReportPainter {
public:
    // Returns the page count; 0 when the device could not be painted on.
    static int Paint(QPagedPaintDevice& device, const std::vector<ReportBlock>& blocks, const ReportHeader& header);
};
