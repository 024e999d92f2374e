#include "forms/resultexpview.h"

#include "chart/chartviewer.h"
#include "chart/xychart.h"
#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "doc/plyforgedoc.h"
#include "experiment/resultstable.h"
#include "guibase/captions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QKeyEvent>
#include <QPushButton>
#include <QSaveFile>
#include "forms/filedialogs.h"
#include "guibase/messagebox.h"
#include <QVBoxLayout>

#include <algorithm>

CResultExpView::CResultExpView(QWidget* parent)
    : QWidget(parent), m_viewer(new OrvaneChart::CChartViewer), m_resultList(new CListCtrlReport)
{
    setObjectName("ResultExpView");
    // The window that hosts the view takes this caption.
    setWindowTitle(captions::kExperimentResult);
    m_resultList->setObjectName("ResultList");
    m_viewer->setObjectName("ChartViewer");
    for (const char* title : ResultsTable::kColumnTitles)
        m_resultList->InsertColumn(title, 100);
    // Every title reads in full; the values widen their column when they need to.
    m_resultList->resizeColumnsToContents();
    m_resultList->Header()->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    m_resultList->SizeLastColumnToFill();
    FitListHeight();
    // Below this the plot area would vanish; a small window gives the room from its log pane.
    m_viewer->setMinimumSize(360, 260);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    auto* buttons = new QHBoxLayout;
    auto* exportCsv = new QPushButton(tr("Export results..."));
    exportCsv->setObjectName("ExportResultsButton");
    auto* exportChart = new QPushButton(tr("Export chart..."));
    exportChart->setObjectName("ExportChartButton");
    for (QPushButton* b : {exportCsv, exportChart}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    connect(exportCsv, &QPushButton::clicked, this, [this] {
        const QString path = FileDialogs::AskSavePath(this, tr("Export Results"), "results.csv",
                                                          tr("CSV (*.csv);;All files (*)"));
        if (!path.isEmpty() && ExportResultsCsv(path))
            FileDialogs::RememberFolderOf(path);
    });
    connect(exportChart, &QPushButton::clicked, this, [this] {
        const QString path = FileDialogs::AskSavePath(this, tr("Export Chart"), "stress-strain.png",
                                                          tr("PNG image (*.png);;SVG drawing (*.svg);;All files (*)"));
        if (!path.isEmpty() && ExportChartImage(path))
            FileDialogs::RememberFolderOf(path);
    });
    layout->addLayout(buttons);
    layout->addWidget(m_resultList);
    layout->addWidget(m_viewer, 1);

    m_chartView.Reset();
    connect(m_viewer, &OrvaneChart::CChartViewer::MouseMovePlotArea, this, &CResultExpView::OnMouseMovePlotArea);
}

CResultExpView::~CResultExpView() = default;

void CResultExpView::FillResultList(const CPlyforgeDoc* doc)
{
    if (!doc)
        return;
    m_resultList->DeleteAllItems();
    m_exactRows.clear();
    for (const auto& s : doc->specimens) {
        m_exactRows.push_back(ResultsTable::Row(*s, ResultsTable::Digits::Exact));
        QStringList cells;
        for (const std::string& cell : ResultsTable::Row(*s))
            cells << QString::fromStdString(cell);
        m_resultList->AppendRow(cells);
    }
    m_resultList->resizeColumnsToContents();
    FitListHeight();
}

void CResultExpView::FitListHeight()
{
    // Its rows and no more, three at least and at most about six, so the chart keeps the room.
    const int rows = std::clamp(m_resultList->GetItemCount(), 3, 6);
    const int scrollBar = m_resultList->horizontalScrollBar()->sizeHint().height();
    m_resultList->setFixedHeight(m_resultList->horizontalHeader()->height() +
                                 rows * m_resultList->verticalHeader()->defaultSectionSize() +
                                 2 * m_resultList->frameWidth() + scrollBar + 2);
}

void CResultExpView::RefreshChart(const CPlyforgeDoc* doc)
{
    if (!doc || doc->specimens.empty())
        return;
    m_chartData.clear();
    std::vector<std::string> names;
    doc->BuildChartSeries(m_chartData, names);
    m_chartView.SetLayout(1);
    m_chartView.SetTitle("Stress-Strain Curve");
    m_chartView.SetXTitle("Strain (%)");
    m_chartView.SetYTitle("Stress (MPa)");
    m_chartView.SetData(m_chartData, names);
    // The reduced drawing keeps the two readings the modulus was taken from.
    std::vector<std::vector<int>> keep;
    for (const auto& s : doc->specimens) {
        if (s->strain_series.empty()) {
            keep.emplace_back();
            continue;
        }
        const ChordReadings chord = FindChordReadings(s->strain_series, doc->elastic_min, doc->elastic_max);
        keep.push_back({chord.low, chord.high});
    }
    m_chartView.SetKeepIndices(std::move(keep));
    m_chartData.clear();
    UpdateChart();
}

void CResultExpView::UpdateChart()
{
    const QSize size = m_viewer->size();
    if (size.width() > 50 && size.height() > 50)
        m_chartView.SetChartSize(size.width(), size.height());
    if (m_chartView.Revision() == m_builtRevision && m_viewer->GetChart())
        return;
    std::unique_ptr<OrvaneChart::XYChart> chart = m_chartView.CreateChart();
    // Room for five to ten strain labels even on a small chart.
    chart->xAxis()->setTickDensity(50);
    m_viewer->SetChart(std::move(chart));
    m_builtRevision = m_chartView.Revision();
}

void CResultExpView::OnMouseMovePlotArea(int x) { m_viewer->TrackLineAt(x); }

void CResultExpView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CResultExpView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateChart();
}

void CResultExpView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    UpdateChart();
}

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
    text += '\n';
    // The list's rows with every digit: a spreadsheet reads the numbers the run gave.
    for (const ResultsTable::Cells& row : m_exactRows) {
        for (size_t column = 0; column < row.size(); ++column)
            text += (column ? "," : "") + csvCell(QString::fromStdString(row[column]));
        text += '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        ShowMessageBox(tr("The results could not be written to %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool CResultExpView::ExportChartImage(const QString& path)
{
    UpdateChart();
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        if (!m_viewer->ExportSvg(path)) {
            ShowMessageBox(tr("The chart could not be written to %1").arg(path));
            return false;
        }
        return true;
    }
    const QPixmap picture = m_viewer->grab();
    if (picture.isNull() || !picture.save(path)) {
        ShowMessageBox(tr("The chart could not be written to %1").arg(path));
        return false;
    }
    return true;
}
