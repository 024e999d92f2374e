#include "forms/envelopechart.h"

#include "chart/chartnavigator.h"
#include "chart/chartviewer.h"
#include "forms/chartexportdialog.h"
#include "guibase/messagebox.h"
#include "guibase/savedfile.h"
#include "chart/xychart.h"
#include "theory/strengthanalysis.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

CEnvelopeChart::CEnvelopeChart(QWidget* parent) : QWidget(parent), m_viewer(new OrvaneChart::CChartViewer)
{
    setObjectName("EnvelopeChart");
    m_viewer->setObjectName("EnvelopeViewer");
    m_viewer->setMinimumSize(320, 260);
    auto* exportChart = new QPushButton(tr("Export chart..."));
    exportChart->setObjectName("ExportEnvelopeButton");
    exportChart->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportChart);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(m_viewer, 1);
    connect(m_viewer, &OrvaneChart::CChartViewer::MouseMovePlotArea, m_viewer, &OrvaneChart::CChartViewer::TrackLineAt);
    OrvaneChart::ChartNavigator::Follow(m_viewer, m_view, [this] { UpdateChart(); });
    connect(exportChart, &QPushButton::clicked, this, [this] {
        if (!m_hasCurves) {
            ShowMessageBox(this, tr("There is no failure envelope yet: enter a load case and press \"Calculate\"."));
            return;
        }
        ChartExportDialog::Export(this, QSize(m_view.ChartWidth(), m_view.ChartHeight()), "failure-envelope.png",
                                  [this](const QString& path, QSize size, int dpi) {
                                      return ExportImage(path, size, dpi);
                                  });
    });
    m_view.Reset();
}

bool CEnvelopeChart::FillView(const StrengthAnalysis& analysis, const LaminateLoad& load, OrvaneChart::CChartView& view)
{
    std::vector<std::vector<double>> arrays;
    std::vector<std::string> names;
    double extent = 0;
    for (size_t i = 0; i < analysis.envelopes.size(); ++i) {
        std::vector<double> x, y;
        for (const EnvelopePoint& point : analysis.envelopes[i]) {
            // A direction that never fails has no point: the curve goes on past it.
            if (!std::isfinite(point.Nx) || !std::isfinite(point.Ny))
                continue;
            x.push_back(point.Nx);
            y.push_back(point.Ny);
            extent = std::max({extent, std::abs(point.Nx), std::abs(point.Ny)});
        }
        if (x.empty())
            continue;
        x.push_back(x.front()); // closed
        y.push_back(y.front());
        arrays.push_back(std::move(x));
        arrays.push_back(std::move(y));
        names.push_back(FailureCriterionTitle(analysis.results[i].criterion));
    }
    if (arrays.empty())
        return false;
    // The load case as a diamond a sixtieth of the envelopes' size across.
    const double r = extent / 60, nx = load.N[0], ny = load.N[1];
    arrays.push_back({nx + r, nx, nx - r, nx, nx + r});
    arrays.push_back({ny, ny + r, ny, ny - r, ny});
    names.push_back("Load case");
    view.SetLayout(1);
    view.SetTitle("Failure envelope");
    view.SetXTitle("Nx (N/mm)");
    view.SetYTitle("Ny (N/mm)");
    const bool filled = view.SetData(arrays, names);
    // An envelope's shape is what it shows: Nx and Ny to the same scale.
    view.SetEqualScale(true);
    return filled;
}

void CEnvelopeChart::Show(const StrengthAnalysis* analysis, const LaminateLoad* load)
{
    m_view.Reset();
    m_hasCurves = analysis && load && FillView(*analysis, *load, m_view);
    UpdateChart();
}

std::unique_ptr<OrvaneChart::XYChart> CEnvelopeChart::ShownChart() const
{
    return m_hasCurves ? m_view.CreateChart() : nullptr;
}

bool CEnvelopeChart::ExportImage(const QString& path, QSize size, int dpi)
{
    // Refused before it is drawn: a picture never replaces the project or its readings.
    const std::vector<std::string> inputs = m_inputFiles ? m_inputFiles() : std::vector<std::string>();
    if (const QString refusal = SavedFileRefusal(path, inputs); !refusal.isEmpty()) {
        ShowMessageBox(this, tr("The chart could not be written to %1: %2").arg(path, refusal));
        return false;
    }
    if (!m_hasCurves || !OrvaneChart::CChartViewer::ExportView(m_view, path, size, dpi)) {
        ShowMessageBox(this, tr("The chart could not be written to %1").arg(path));
        return false;
    }
    return true;
}

void CEnvelopeChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateChart();
}

void CEnvelopeChart::UpdateChart()
{
    const QSize size = m_viewer->size();
    if (size.width() > 50 && size.height() > 50)
        m_view.SetChartSize(size.width(), size.height());
    m_viewer->SetChart(m_view.CreateChart());
}
