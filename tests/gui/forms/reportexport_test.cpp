// The project report as a PDF, read back with pdftotext: the example projects'
// values under the page header, rounding noise shown as 0, an excluded specimen
// marked in the results, long tables continued under their header, Korean names, and
// a file that cannot be written; plyforge --export-pdf as a user runs it.
#include "app/reportcommands.h"
#include "forms/reportexport.h"
#include "guitestsupport.h"

#include <QComboBox>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <sys/stat.h>

namespace {

QString Run(const QString& program, const QStringList& arguments, int* status = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (status)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

QString PdfText(const QString& pdf) { return Run("pdftotext", {"-layout", pdf, "-"}); }

int PdfPages(const QString& pdf)
{
    const QString info = Run("pdfinfo", {pdf});
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? 0 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}

} // namespace

class ReportExportTest : public QObject, AppDriver {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(); }

    // The command a user runs: each example calculated and reported on one page, under
    // a header naming the program's version and the project.
    void examplesFromTheCommandLine()
    {
        const QString header = "Plyforge " PLYFORGE_VERSION " \u2014 ";
        const struct { const char* example; QStringList parts; } cases[] = {
            {"quasi-isotropic", {header + "quasi-isotropic.plyforge", "page 1 of 1", "Carbon T300", "57.5895",
                                 "57589.515937, 57589.515937, 0.312796", "Symmetric (B = 0): yes"}},
            {"three-tensile-tests",
             {header + "three-tensile-tests.plyforge", "Lamina #3", "24.9", "2001", "25223.2", "145.909",
              "Stress-Strain Curve", "chord modulus between 0.1 % and 0.3 % strain (the elastic range of ASTM D3039)"}},
        };
        for (const auto& c : cases) {
            const QString pdf = m_dir.filePath(QString(c.example) + ".pdf");
            int status = -1;
            const QString said = Run(PLYFORGE_APP, {"--export-pdf", PLYFORGE_EXAMPLES "/" + QString(c.example) +
                                                    ".plyforge", pdf}, &status);
            QVERIFY2(status == 0 && !said.contains("plyforge:"), qPrintable(said));
            QCOMPARE(PdfPages(pdf), 1);
            const QString text = PdfText(pdf);
            for (const QString& part : c.parts)
                QVERIFY2(text.contains(part), qPrintable(part + " not in:\n" + text));
            // The balanced laminate's couplings of 1e-17 are rounding, and read 0.
            QVERIFY2(!text.contains(QRegularExpression("e-(1[0-9]|[2-9][0-9])")), qPrintable(text));
        }
        int status = -1;
        const QString said = Run(PLYFORGE_APP, {"--export-pdf", PLYFORGE_EXAMPLES "/quasi-isotropic.plyforge",
                                                m_dir.filePath("missing/report.pdf")}, &status);
        QVERIFY2(status == 2 && said.contains(m_dir.filePath("missing/report.pdf")), qPrintable(said));
        // A project whose calculation is refused gives no report of nan, and says why.
        const QString refused = m_dir.filePath("refused.pdf");
        const QString why = Run(PLYFORGE_APP, {"--export-pdf", PLYFORGE_TEST_DATA "/projects/checks/lamina-angle-nan.plyforge",
                                               refused}, &status);
        QVERIFY2(status == 2 && why.contains("the angle must be a finite number") && !QFile::exists(refused),
                 qPrintable(why));
        // A pipe or a device is refused at once, never opened nor replaced.
        const QString fifo = m_dir.filePath("report.pdf");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
        for (const QString& target : {fifo, QString("/dev/full")}) {
            const QString notRegular =
                Run(PLYFORGE_APP, {"--export-pdf", PLYFORGE_EXAMPLES "/quasi-isotropic.plyforge", target}, &status);
            QVERIFY2(status == 2 && notRegular.contains(target) && notRegular.contains("not a regular file"),
                     qPrintable(notRegular));
        }
        QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo("/dev/full").exists());
    }

    // From the window: the File menu's report commands are there, and the PDF holds
    // what the results view shows, with the log pane's text as its appendix.
    void fromTheWindowWithTheLog()
    {
        Start();
        QVERIFY(Frame()->OpenProject(PLYFORGE_EXAMPLES "/three-tensile-tests.plyforge"));
        // Never calculated: the report says so where the results would stand.
        const QString before = m_dir.filePath("before.pdf");
        QVERIFY(Frame()->Reports()->ExportPdfTo(before));
        QVERIFY(PdfText(before).contains("Not calculated") && !PdfText(before).contains("25223.2"));
        Press("ID_EXPERIMT_CALCULATE");
        for (const char* id : {"ID_FILE_PRINT", "ID_FILE_PRINT_PREVIEW", "ID_FILE_PRINT_SETUP", "ID_FILE_EXPORT_PDF"})
            QVERIFY2(Frame()->findChild<QAction*>(id)->isEnabled(), id);
        Frame()->Reports()->SetIncludeLog(true);
        const QString pdf = m_dir.filePath("window.pdf");
        QVERIFY(Frame()->Reports()->ExportPdfTo(pdf));
        const QString text = PdfText(pdf);
        QVERIFY(text.contains("three-tensile-tests.plyforge") && text.contains("25223.2"));
        QVERIFY(text.contains("Appendix: calculation log") && text.contains("##Statistics"));
        QVERIFY(text.contains("Test series: basis values") && text.contains("A-basis") &&
                text.contains("Strength (n = 3): none, as there are fewer than 5 values"));
        QVERIFY(!text.contains("Not calculated") && !text.contains("Out of date"));
        // Printing takes the same way, here to a printer writing a file.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("printed.pdf"));
        QCOMPARE(Frame()->Reports()->PaintOn(printer), 2);
        QVERIFY(PdfText(m_dir.filePath("printed.pdf")).contains("page 2 of 2"));
        // Another modulus method: the results shown are of older inputs, and say so.
        auto* modulus = Ribbon<QComboBox>("ID_EXPERIMT_MODULUS");
        modulus->setCurrentIndex(1);
        Q_EMIT modulus->activated(1);
        const QString stale = m_dir.filePath("stale.pdf");
        QVERIFY(Frame()->Reports()->ExportPdfTo(stale) && PdfText(stale).contains("Out of date"));
        Stop();
    }

    // A specimen left out of the statistics says so in its results row; another
    // standard's range with the regression is named as such.
    void excludedSpecimenAndTheStandardInTheResults()
    {
        CPlyforgeDoc doc;
        doc.program_folder = m_dir.path().toStdString();
        doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/three-tensile-tests.plyforge"));
        doc.specimens[1]->excluded = true;
        doc.elastic_min = 0.05;
        doc.elastic_max = 0.25;
        doc.modulus_method = ModulusMethod::Regression;
        QVERIFY(doc.CalculateExperiment());
        const QString pdf = m_dir.filePath("excluded.pdf");
        QString error;
        QVERIFY(ReportExport::WritePdf(pdf, BuildReport(doc, nullptr), ReportExport::HeaderFor({}), error));
        const QString text = PdfText(pdf).simplified();
        const QString results = text.mid(text.indexOf("Test series: results"));
        QVERIFY2(results.contains("Lamina #2 (excluded) 25 2.05 25159.5 "), qPrintable(results));
        QVERIFY(!results.contains("Lamina #1 (excluded)") && !results.contains("Lamina #3 (excluded)"));
        QVERIFY2(text.contains("least-squares regression over the readings between 0.05 % and 0.25 % strain (the "
                               "elastic range of ISO 527)"),
                 qPrintable(text));
    }

    // A laminate of 150 plies and Korean specimen names: the tables run over several
    // pages, each page says which of how many it is and repeats the table's header.
    void longTablesContinueUnderTheirHeader()
    {
        CPlyforgeDoc doc;
        doc.program_folder = m_dir.path().toStdString();
        doc.LoadProject(ProjectReader::ReadFile(PLYFORGE_EXAMPLES "/quasi-isotropic.plyforge"));
        for (int id = 9; id <= 150; ++id) {
            auto copy = std::make_unique<Lamina>(*doc.laminate.laminae[0]);
            copy->id = id;
            doc.laminate.laminae.push_back(std::move(copy));
        }
        Trace trace = Trace::Discard();
        QVERIFY(doc.CalculateTheory(trace));
        doc.FindOrCreateSpecimen(1).name = "시편 1";
        const QString pdf = m_dir.filePath("long.pdf");
        QString error;
        QVERIFY(ReportExport::WritePdf(pdf, BuildReport(doc, nullptr), ReportExport::HeaderFor({}), error));
        const int pages = PdfPages(pdf);
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
        const QString text = PdfText(pdf);
        const QStringList sheets = text.split('\f', Qt::SkipEmptyParts);
        QCOMPARE(sheets.size(), pages);
        for (int page = 0; page < pages; ++page)
            QVERIFY(sheets[page].contains(QString("new project")) &&
                    sheets[page].contains(QString("page %1 of %2").arg(page + 1).arg(pages)));
        QVERIFY(sheets[1].contains("Fiber") && sheets[1].contains("Thickness")); // the inputs' header again
        QVERIFY(text.contains("150     Carbon T300") || text.contains("150   Carbon T300"));
        QVERIFY(text.contains("시편 1"));
        QVERIFY(!ReportExport::WritePdf(m_dir.filePath("missing/x.pdf"), {}, ReportExport::HeaderFor({}), error));
        QVERIFY(error.contains(m_dir.filePath("missing/x.pdf")));
    }
};

QTEST_MAIN(ReportExportTest)
#include "reportexport_test.moc"
