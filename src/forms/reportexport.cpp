#include "forms/reportexport.h"

#include "chart/xychart.h"
#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "forms/resultexpview.h"
#include "util/traceoutput.h"

#include <QDate>
#include <QFileInfo>
#include <QObject>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

// Messages of a run without a window go nowhere: the report shows what was calculated.
class QuietSink : public MessageSink {
public:
    void ShowMessage(const std::string&) override {}
};

} // namespace

ReportHeader ReportExport::HeaderFor(const QString& projectPath)
{
    // A report handed over names the program and version that calculated it.
    return {QStringLiteral("Plyforge " PLYFORGE_VERSION),
            projectPath.isEmpty() ? QObject::tr("new project") : QFileInfo(projectPath).fileName(),
            QDate::currentDate().toString(Qt::ISODate)};
}

QPageLayout ReportExport::DefaultLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                       QPageLayout::Millimeter);
}

bool ReportExport::WritePdf(const QString& path, const std::vector<ReportBlock>& blocks, const ReportHeader& header,
                            QString& error, const QPageLayout& layout)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QObject::tr("The report could not be written to %1: %2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setPageLayout(layout);
        pdf.setTitle(header.file + " - " + header.title);
        pdf.setCreator(header.title);
        if (ReportPainter::Paint(pdf, blocks, header) == 0) {
            file.cancelWriting();
            error = QObject::tr("The report could not be drawn for %1.").arg(path);
            return false;
        }
    }
    if (!file.commit()) {
        error = QObject::tr("The report could not be written to %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool ReportExport::ExportProject(const QString& projectPath, const QString& pdfPath, QString& error)
{
    CPlyforgeDoc doc;
    try {
        doc.LoadProject(ProjectReader::ReadFile(projectPath.toStdString()));
    } catch (const ProjectFileError& failure) {
        error = QString::fromStdString(failure.what());
        return false;
    }
    QTemporaryDir logs;
    doc.program_folder = logs.path().toStdString();
    QuietSink quiet;
    doc.SetMessageSink(&quiet);
    std::string trace; // the steps' trace is the command-line calculator's output, not this one's
    TraceOutput::SetCapture(&trace);
    if (!doc.laminate.laminae.empty() && CalculationChecks::TheoryReady(doc, quiet))
        doc.CalculateTheory();
    if (!doc.specimens.empty() && CalculationChecks::ExperimentReady(doc, quiet))
        doc.CalculateExperiment();
    TraceOutput::SetCapture(nullptr);
    std::shared_ptr<const OrvaneChart::XYChart> chart;
    if (!doc.specimens.empty())
        chart = CResultExpView::SeriesChart(doc);
    return WritePdf(pdfPath, BuildReport(doc, chart), HeaderFor(projectPath), error);
}
