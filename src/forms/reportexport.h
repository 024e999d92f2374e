#pragma once

#include "forms/reportpainter.h"

#include <QPageLayout>
#include <QString>

#include <string>
#include <vector>

class CPlyforgeDoc;
class QPagedPaintDevice;

// The report of a project as its printed pages and its PDF.
class ReportExport {
public:
    // The header of a project's report: the program with its version, the project's
    // file name (or "new project") and today's date.
    static ReportHeader HeaderFor(const QString& projectPath);
    // Writes the report to a PDF file in whole or not at all; false with the reason.
    // On the paper of layout (A4 portrait, 18 and 15 mm margins, when not given).
    // Never over one of inputs, the project's files.
    static bool WritePdf(const QString& path, const std::vector<ReportBlock>& blocks, const ReportHeader& header,
                         QString& error, const QPageLayout& layout = DefaultLayout(),
                         const std::vector<std::string>& inputs = {});
    static QPageLayout DefaultLayout();
    // Runs the project's calculations as the Calculate buttons do (its logs in a
    // temporary folder) and writes its report, for plyforge --export-pdf.
    static bool ExportProject(const QString& projectPath, const QString& pdfPath, QString& error);
};
