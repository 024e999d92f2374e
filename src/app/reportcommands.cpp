#include "app/reportcommands.h"

#include "forms/filedialogs.h"
#include "forms/reportexport.h"
#include "guibase/messagebox.h"

#include <QAction>
#include <QCheckBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>
#include <QToolBar>
#include <QVBoxLayout>

ReportCommands::ReportCommands(QWidget* window, std::function<std::vector<ReportBlock>(bool)> report,
                               std::function<ReportHeader()> header, std::function<std::vector<std::string>()> inputs)
    : QObject(window), m_window(window), m_report(std::move(report)), m_header(std::move(header)),
      m_inputs(std::move(inputs)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    QSettings settings;
    const auto size = static_cast<QPageSize::PageSizeId>(settings.value("Report/PageSize", QPageSize::A4).toInt());
    m_printer->setPageSize(QPageSize(size == QPageSize::Letter ? QPageSize::Letter : QPageSize::A4));
    m_printer->setPageOrientation(settings.value("Report/Landscape", false).toBool() ? QPageLayout::Landscape
                                                                                      : QPageLayout::Portrait);
    m_printer->setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
}

ReportCommands::~ReportCommands() = default;

bool ReportCommands::IncludeLog() const { return QSettings().value("Report/IncludeLog", false).toBool(); }

void ReportCommands::SetIncludeLog(bool include) { QSettings().setValue("Report/IncludeLog", include); }

int ReportCommands::PaintOn(QPrinter& printer)
{
    const int pages = ReportPainter::Paint(printer, m_report(IncludeLog()), m_header());
    if (pages == 0)
        ShowMessageBox(m_window, tr("The report could not be printed on %1.").arg(printer.printerName()));
    return pages;
}

void ReportCommands::Print()
{
    QPrintDialog dialog(m_printer.get(), m_window);
    // The log as an appendix, a choice among the dialog's options.
    auto* options = new QWidget;
    options->setWindowTitle(tr("Report"));
    auto* log = new QCheckBox(tr("Include the calculation log as an appendix"), options);
    log->setChecked(IncludeLog());
    (new QVBoxLayout(options))->addWidget(log);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetIncludeLog(log->isChecked());
    PaintOn(*m_printer);
}

void ReportCommands::QuickPrint()
{
    // No printer chosen and none installed: ask, as Print does, rather than fail.
    if (m_printer->outputFormat() == QPrinter::NativeFormat && QPrinterInfo::availablePrinters().isEmpty()) {
        Print();
        return;
    }
    PaintOn(*m_printer);
}

void ReportCommands::Preview()
{
    QPrintPreviewDialog dialog(m_printer.get(), m_window);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PaintOn(*printer); });
    if (auto* toolbar = dialog.findChild<QToolBar*>()) {
        QAction* log = toolbar->addAction(tr("Calculation log"));
        log->setObjectName("ReportIncludeLog");
        log->setCheckable(true);
        log->setChecked(IncludeLog());
        log->setToolTip(tr("Include the calculation log as an appendix"));
        connect(log, &QAction::toggled, &dialog, [this, &dialog](bool on) {
            SetIncludeLog(on);
            if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
                preview->updatePreview();
        });
    }
    dialog.exec();
    RememberPage();
}

void ReportCommands::Setup()
{
    QPageSetupDialog dialog(m_printer.get(), m_window);
    if (dialog.exec() == QDialog::Accepted)
        RememberPage();
}

void ReportCommands::RememberPage()
{
    QSettings settings;
    settings.setValue("Report/PageSize", static_cast<int>(m_printer->pageLayout().pageSize().id()));
    settings.setValue("Report/Landscape", m_printer->pageLayout().orientation() == QPageLayout::Landscape);
}

void ReportCommands::ExportPdf()
{
    QString name = m_header().file;
    name = name.endsWith(".plyforge") ? name.chopped(9) + ".pdf" : QStringLiteral("Report.pdf");
    const QString path = FileDialogs::AskSavePath(m_window, tr("Export PDF"), name, tr("PDF files (*.pdf)"));
    if (!path.isEmpty() && ExportPdfTo(path))
        FileDialogs::RememberFolderOf(path);
}

bool ReportCommands::ExportPdfTo(const QString& path)
{
    QString error;
    if (ReportExport::WritePdf(path, m_report(IncludeLog()), m_header(), error, m_printer->pageLayout(), m_inputs()))
        return true;
    ShowMessageBox(m_window, error);
    return false;
}
