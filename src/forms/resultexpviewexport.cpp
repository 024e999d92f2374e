// The results view's exports: the results list as CSV, the chart as a picture.
#include "forms/resultexpview.h"

#include "chart/chartviewer.h"
#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "guibase/messagebox.h"
#include "guibase/savedfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPixmap>

bool CResultExpView::ExportResultsCsv(const QString& path)
{
    auto csvCell = [](QString text) {
        if (text.contains(',') || text.contains('"')) {
            text.replace("\"", "\"\"");
            text = '"' + text + '"';
        }
        return text;
    };
    QString text;
    for (int column = 0; column < m_resultList->GetColumnCount(); ++column)
        text += (column ? "," : "") + csvCell(m_resultList->model()->headerData(column, Qt::Horizontal).toString());
    text += ",Included\n";
    // The list's rows with every digit: a spreadsheet reads the numbers the run gave.
    const auto addRow = [&](const ResultsTable::Cells& row, const QString& included) {
        for (size_t column = 0; column < row.size(); ++column)
            text += (column ? "," : "") + csvCell(QString::fromStdString(row[column]));
        text += "," + included + '\n';
    };
    for (size_t i = 0; i < m_exactRows.size(); ++i)
        addRow(m_exactRows[i], m_resultList->Model()->RowChecked(static_cast<int>(i)) ? "yes" : "no");
    for (const ResultsTable::Cells& row : m_exactStatistics)
        addRow(row, QString());
    if (const QString reason = WriteSavedFile(path, text.toUtf8(), InputFiles()); !reason.isEmpty()) {
        ShowMessageBox(this, tr("The results could not be written to %1: %2").arg(path, reason));
        return false;
    }
    return true;
}

bool CResultExpView::ExportChartImage(const QString& path, QSize size, int dpi)
{
    // Refused before it is drawn: a picture never replaces the project or its readings.
    if (const QString refusal = SavedFileRefusal(path, InputFiles()); !refusal.isEmpty()) {
        ShowMessageBox(this, tr("The chart could not be written to %1: %2").arg(path, refusal));
        return false;
    }
    UpdateChart();
    if (size.isValid() && m_viewer->GetChart()) {
        if (!OrvaneChart::CChartViewer::ExportView(m_chartView, path, size, dpi)) {
            ShowMessageBox(this, tr("The chart could not be written to %1").arg(path));
            return false;
        }
        return true;
    }
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        if (!m_viewer->ExportSvg(path)) {
            ShowMessageBox(this, tr("The chart could not be written to %1").arg(path));
            return false;
        }
        return true;
    }
    const QPixmap picture = m_viewer->grab();
    const QByteArray format = QFileInfo(path).suffix().toUpper().toLatin1();
    QBuffer buffer;
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !picture.save(&buffer, format.isEmpty() ? "PNG" : format.constData()) ||
        !WriteSavedFile(path, buffer.data()).isEmpty()) {
        ShowMessageBox(this, tr("The chart could not be written to %1").arg(path));
        return false;
    }
    return true;
}
