#include "forms/resultexpview.h"

#include "chart/chartnavigator.h"
#include "chart/chartpen.h"
#include "chart/chartviewer.h"
#include "chart/xychart.h"
#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "controls/reportitemdelegate.h"
#include "controls/reportmodel.h"
#include "doc/plyforgedoc.h"
#include "experiment/resultstable.h"
#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "guibase/captions.h"

#include <QGraphicsColorizeEffect>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QLabel>
#include <QPushButton>
#include "forms/chartexportdialog.h"
#include "forms/comparisonpanel.h"
#include "forms/filedialogs.h"
#include "guibase/droppedfiles.h"
#include "guibase/messagebox.h"
#include "guibase/savedfile.h"
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

CResultExpView::CResultExpView(QWidget* parent)
    : QWidget(parent), m_viewer(new OrvaneChart::CChartViewer), m_resultList(new CListCtrlReport),
      m_stateBanner(new ResultStateBanner)
{
    setObjectName("ResultExpView");
    setAcceptDrops(true); // machine files dropped here become a series
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
    // A modulus the readings cannot give over the range is an empty, marked cell.
    m_resultList->Model()->SetCellCheck([this](int row, int column, const std::string&) {
        constexpr int kModulusColumn = ResultsTable::kColumnCount - 1;
        if (column != kModulusColumn || row >= static_cast<int>(m_gaps.size()) || m_gaps[size_t(row)].empty())
            return QString();
        return tr("No modulus over the elastic range: %1").arg(QString::fromStdString(m_gaps[size_t(row)]));
    });
    connect(m_resultList->Model(), &ReportModel::RowCheckToggled, this, [this](int row, bool checked) {
        if (row < static_cast<int>(m_ids.size()))
            Q_EMIT SpecimenIncludedChanged(m_ids[static_cast<size_t>(row)], checked);
    });
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
    auto* resetZoom = new QPushButton(tr("Reset zoom"));
    resetZoom->setObjectName("ResetZoomButton");
    resetZoom->setAutoDefault(false);
    resetZoom->setToolTip(tr("Show all readings again (Home, or a double-click on the chart)"));
    buttons->addWidget(resetZoom);
    connect(resetZoom, &QPushButton::clicked, this, &CResultExpView::ResetZoom);
    m_useAsPlyData = new QPushButton(tr("Use as ply data..."));
    m_useAsPlyData->setObjectName("UseAsPlyDataButton");
    m_useAsPlyData->setAutoDefault(false);
    m_useAsPlyData->setToolTip(tr("Set a lamina's strength or ply modulus to this series' basis value or mean"));
    m_useAsPlyData->setEnabled(false);
    buttons->addWidget(m_useAsPlyData);
    connect(m_useAsPlyData, &QPushButton::clicked, this, &CResultExpView::UseAsPlyData);
    buttons->addStretch();
    connect(exportCsv, &QPushButton::clicked, this, [this] {
        const QString path = FileDialogs::AskSavePath(this, tr("Export Results"), "results.csv",
                                                          tr("CSV (*.csv);;All files (*)"));
        if (!path.isEmpty() && ExportResultsCsv(path))
            FileDialogs::RememberFolderOf(path);
    });
    connect(exportChart, &QPushButton::clicked, this, [this] {
        // The size first: what is shown (zoomed or not) at any size and resolution.
        UpdateChart();
        ChartExportDialog::Export(this, QSize(m_chartView.ChartWidth(), m_chartView.ChartHeight()), "stress-strain.png",
                                  [this](const QString& path, QSize size, int dpi) {
                                      return ExportChartImage(path, size, dpi);
                                  });
    });
    layout->addWidget(m_stateBanner, 0, Qt::AlignLeft);
    layout->addLayout(buttons);
    layout->addWidget(m_resultList);
    // Under the list: how the basis values were found, or why there are none.
    m_basisLine = new QLabel;
    m_basisLine->setObjectName("BasisLine");
    m_basisLine->setWordWrap(true);
    m_basisLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_basisLine);
    m_comparison = new CComparisonPanel;
    layout->addWidget(m_comparison);
    connect(m_comparison, &CComparisonPanel::ComparisonChanged, this, [this] { RefreshChart(m_shownDoc); });
    layout->addWidget(m_viewer, 1);

    m_chartView.Reset();
    connect(m_viewer, &OrvaneChart::CChartViewer::MouseMovePlotArea, this, &CResultExpView::OnMouseMovePlotArea);
    // The chart follows the viewer's size, which also changes when the list grows.
    m_viewer->installEventFilter(this);
    ConnectNavigation();
}

void CResultExpView::SetProject(ProjectDocument* project)
{
    m_project = project;
    connect(project, &ProjectDocument::Changed, this, [this](const ProjectChange& change) {
        // Leaving a specimen out changes the statistics at once: they follow from the
        // stored results.
        if (change.kind == ProjectChange::Kind::Included) {
            FillResultList(m_project->Doc());
            RefreshChart(m_project->Doc());
        }
        // A new laminate is a new prediction beside the series.
        if (change.kind == ProjectChange::Kind::Results && change.side == ProjectSide::Theory && m_shownDoc) {
            m_comparison->Show(m_project->Doc());
            RefreshChart(m_project->Doc());
        }
        ShowResultState(m_project->Results(ProjectSide::Experiment));
    });
    ShowResultState(project->Results(ProjectSide::Experiment));
}

void CResultExpView::ShowResultState(ProjectDocument::ResultState state)
{
    m_stateBanner->ShowState(state);
    // Curves of older inputs are drawn grey, so they are never taken for this project's.
    const bool grey = state == ProjectDocument::ResultState::OutOfDate;
    if (grey == ChartGreyed())
        return;
    if (grey) {
        auto* effect = new QGraphicsColorizeEffect;
        effect->setColor(QColor(128, 128, 128));
        effect->setStrength(1.0);
        m_viewer->setGraphicsEffect(effect);
    } else {
        m_viewer->setGraphicsEffect(nullptr);
    }
}

bool CResultExpView::ChartGreyed() const { return m_viewer->graphicsEffect() != nullptr; }

void CResultExpView::ConnectNavigation()
{
    OrvaneChart::ChartNavigator::Follow(m_viewer, m_chartView, [this] { UpdateChart(); });
}

void CResultExpView::ResetZoom()
{
    if (!m_chartView.Zoomed())
        return;
    m_chartView.ResetZoom();
    UpdateChart();
}

void CResultExpView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CResultExpView::dropEvent(QDropEvent* event)
{
    const QStringList paths = DroppedFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT FilesDropped(paths);
}

bool CResultExpView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewer && event->type() == QEvent::Resize)
        UpdateChart();
    return QWidget::eventFilter(watched, event);
}

CResultExpView::~CResultExpView() = default;

void CResultExpView::FillResultList(const CPlyforgeDoc* doc)
{
    if (!doc)
        return;
    m_resultList->DeleteAllItems();
    m_exactRows.clear();
    m_ids.clear();
    m_gaps.clear();
    const auto append = [this](const ResultsTable::Cells& row) {
        QStringList cells;
        for (const std::string& cell : row)
            cells << QString::fromStdString(cell);
        m_resultList->AppendRow(cells);
    };
    auto* delegate = qobject_cast<ReportItemDelegate*>(m_resultList->itemDelegate());
    delegate->ClearRowSwatches();
    for (const auto& s : doc->specimens) {
        m_exactRows.push_back(ResultsTable::Row(*s, ResultsTable::Digits::Exact, ResultsTable::Gap::Empty));
        append(ResultsTable::Row(*s, ResultsTable::Digits::Shown, ResultsTable::Gap::Empty));
        const int row = m_resultList->GetItemCount() - 1;
        m_resultList->Model()->SetRowCheck(row, !s->excluded);
        // The specimen's curve is the row's: its colour and pattern, faded when left out.
        const OrvaneChart::Color color = OrvaneChart::CChartView::SeriesColor(row);
        delegate->SetRowSwatch(row, OrvaneChart::CurvePen(s->excluded ? OrvaneChart::FadedColor(color) : color, 2,
                                                          OrvaneChart::CChartView::SeriesDash(row)));
        m_ids.push_back(s->id);
        m_gaps.push_back(s->modulus_gap);
    }
    // The series under its specimens: the included ones' mean, deviation and variation,
    // then their basis values.
    const SeriesStatistics statistics = StatisticsOf(doc->specimens);
    const SeriesBasis basis = SeriesBasisOf(doc->specimens);
    for (const ResultsTable::Cells& row : ResultsTable::StatisticsRows(statistics, ResultsTable::Digits::Shown))
        append(row);
    for (const ResultsTable::Cells& row : ResultsTable::BasisRows(basis, ResultsTable::Digits::Shown))
        append(row);
    const auto exact = ResultsTable::StatisticsRows(statistics, ResultsTable::Digits::Exact);
    const auto exactBasis = ResultsTable::BasisRows(basis, ResultsTable::Digits::Exact);
    m_exactStatistics.assign(exact.begin(), exact.end());
    m_exactStatistics.insert(m_exactStatistics.end(), exactBasis.begin(), exactBasis.end());
    ShowBasis(basis);
    m_shownDoc = doc;
    m_comparison->Show(doc);
    m_useAsPlyData->setEnabled(!doc->laminate.laminae.empty() && !doc->specimens.empty());
    m_resultList->resizeColumnsToContents();
    FitListHeight();
}

void CResultExpView::FitListHeight()
{
    // Its rows and no more, three at least and at most about eight, so the chart keeps the room.
    const int rows = std::clamp(m_resultList->GetItemCount(), 3, 8);
    const int scrollBar = m_resultList->horizontalScrollBar()->sizeHint().height();
    m_resultList->setFixedHeight(m_resultList->horizontalHeader()->height() +
                                 rows * m_resultList->verticalHeader()->defaultSectionSize() +
                                 2 * m_resultList->frameWidth() + scrollBar + 2);
}

void CResultExpView::RefreshChart(const CPlyforgeDoc* doc)
{
    if (!doc || doc->specimens.empty())
        return;
    m_shownDoc = doc;
    const std::optional<SeriesComparison>& comparison = m_comparison->Comparison();
    FillChartView(*doc, m_chartView, comparison ? &*comparison : nullptr);
    UpdateChart();
}

void CResultExpView::FillChartView(const CPlyforgeDoc& doc, OrvaneChart::CChartView& view,
                                   const SeriesComparison* comparison)
{
    std::vector<std::vector<double>> data;
    std::vector<std::string> names;
    doc.BuildChartSeries(data, names);
    const size_t measured = names.size();
    AddPrediction(doc, comparison, data, names);
    view.SetLayout(1);
    view.SetTitle("Stress-Strain Curve");
    view.SetXTitle("Strain (%)");
    view.SetYTitle("Stress (MPa)");
    view.SetData(data, names);
    // The reduced drawing keeps the two readings the modulus was taken from.
    std::vector<std::vector<int>> keep;
    std::vector<bool> dashed;
    for (const auto& s : doc.specimens) {
        dashed.push_back(s->excluded);
        if (s->strain_series.empty()) {
            keep.emplace_back();
            continue;
        }
        const ChordReadings chord = FindChordReadings(s->strain_series, doc.elastic_min, doc.elastic_max);
        keep.push_back({chord.low, chord.high});
    }
    // The laminate's lines, dashed over the measured curves.
    std::vector<bool> reference(names.size(), false);
    for (size_t extra = measured; extra < names.size(); ++extra) {
        reference[extra] = true;
        keep.emplace_back();
    }
    view.SetReference(std::move(reference));
    view.SetKeepIndices(std::move(keep));
    view.SetDashed(std::move(dashed));
    view.SetBand(doc.elastic_min, doc.elastic_max);
}

void CResultExpView::AddPrediction(const CPlyforgeDoc& doc, const SeriesComparison* comparison,
                                   std::vector<std::vector<double>>& data, std::vector<std::string>& names)
{
    if (!comparison || !std::isfinite(comparison->fpf) || !std::isfinite(comparison->fpf_strain))
        return;
    // sigma = E epsilon from 0 to first-ply failure.
    data.push_back({0, comparison->fpf_strain});
    data.push_back({0, comparison->fpf});
    names.push_back(tr("Predicted (laminate)").toStdString());
    if (!std::isfinite(comparison->lpf))
        return;
    // The last-ply failure stress across the strains the curves span.
    double last = comparison->fpf_strain;
    for (const auto& s : doc.specimens) {
        if (!s->strain_series.empty())
            last = std::max(last, *std::max_element(s->strain_series.begin(), s->strain_series.end()));
    }
    data.push_back({0, last});
    data.push_back({comparison->lpf, comparison->lpf});
    names.push_back(tr("Last-ply failure (laminate)").toStdString());
}

std::unique_ptr<OrvaneChart::XYChart> CResultExpView::ShownChart() const { return m_chartView.CreateChart(); }

std::unique_ptr<OrvaneChart::XYChart> CResultExpView::SeriesChart(const CPlyforgeDoc& doc)
{
    OrvaneChart::CChartView view;
    FillChartView(doc, view);
    view.SetChartSize(900, 600);
    return view.CreateChart();
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
    if (event->key() == Qt::Key_Home) {
        ResetZoom();
        event->accept();
        return;
    }
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
