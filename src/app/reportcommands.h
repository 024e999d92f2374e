#pragma once

#include "forms/reportpainter.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

// Print, Print Preview, Print Setup, Quick Print and Export PDF of the active
// project's report. The paper and orientation chosen in Print Setup, and whether the
// calculation log goes in as an appendix, are remembered in the settings.
class ReportCommands : public QObject {
    Q_OBJECT

public:
    // report(withLog) builds the report of the project on screen; header its header.
    // inputs names the project's files, which a PDF never replaces.
    ReportCommands(QWidget* window, std::function<std::vector<ReportBlock>(bool)> report,
                   std::function<ReportHeader()> header, std::function<std::vector<std::string>()> inputs);
    ~ReportCommands() override;

    void Print();
    void QuickPrint();
    void Preview();
    void Setup();
    void ExportPdf();
    // Writes the report as a PDF on the printer's paper; false after a message.
    bool ExportPdfTo(const QString& path);

    bool IncludeLog() const;
    void SetIncludeLog(bool include);
    // Prints the report on that printer; its page count, 0 after a message.
    int PaintOn(QPrinter& printer);

private:
    void RememberPage();

    QWidget* m_window;
    std::function<std::vector<ReportBlock>(bool)> m_report;
    std::function<ReportHeader()> m_header;
    std::function<std::vector<std::string>()> m_inputs;
    std::unique_ptr<QPrinter> m_printer;
};
