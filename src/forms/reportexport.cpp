#include "forms/reportexport.h"

#include "chart/xychart.h"
#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "forms/resultexpview.h"
#include "guibase/savedfile.h"
#include "guibase/messagebox.h"
#include "util/trace.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace {

// Messages of a run without a window go nowhere: the report shows what was calculated.
// Keeps the first message, the reason a calculation was refused.
class QuietSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override
    {
        if (first.empty())
            first = text;
    }
    std::string first;
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
                            QString& error, const QPageLayout& layout, const std::vector<std::string>& inputs)
{
    // Drawn in memory first: the target is replaced only by a whole report, and
    // never when it is a pipe, a device or a folder.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setPageLayout(layout);
        pdf.setTitle(header.file + " - " + header.title);
        pdf.setCreator(header.title);
        if (ReportPainter::Paint(pdf, blocks, header) == 0) {
            error = QObject::tr("The report could not be drawn for %1.").arg(path);
            return false;
        }
    }
    if (const QString reason = WriteSavedFile(path, file.data(), inputs); !reason.isEmpty()) {
        error = QObject::tr("The report could not be written to %1: %2").arg(path, reason);
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
    doc.project_path = QFile::encodeName(projectPath).toStdString();
    QTemporaryDir logs;
    doc.program_folder = logs.path().toStdString();
    QuietSink quiet;
    doc.SetMessageSink(&quiet);
    Trace none = Trace::Discard(); // the steps' trace is the command-line calculator's output, not this one's
    if (!doc.laminate.laminae.empty() && CalculationChecks::TheoryReady(doc, quiet))
        doc.CalculateTheory(none);
    if (!doc.specimens.empty() && CalculationChecks::ExperimentReady(doc, quiet))
        doc.CalculateExperiment();
    // A report of results that are not numbers, or of none, is no report to hand over.
    if (!quiet.first.empty()) {
        error = QObject::tr("%1: the calculation was refused: %2")
                    .arg(projectPath, TranslatedMessage(QString::fromStdString(quiet.first)));
        return false;
    }
    std::shared_ptr<const OrvaneChart::XYChart> chart;
    if (!doc.specimens.empty())
        chart = CResultExpView::SeriesChart(doc);
    return WritePdf(pdfPath, BuildReport(doc, chart), HeaderFor(projectPath), error, DefaultLayout(), doc.InputFiles());
}
