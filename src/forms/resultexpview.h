#pragma once

#include "chart/chartview.h"
#include "experiment/resultstable.h"
#include "forms/resultstatebanner.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class CListCtrlReport;
class QLabel;
class QPushButton;
class CComparisonPanel;
struct SeriesComparison;
struct SeriesBasis;
class CPlyforgeDoc;

namespace OrvaneChart {
class CChartViewer;
}

// "Experimental Formula Result": one row of results per specimen and, below, the
// stress-strain curves of all specimens with a track line under the mouse.
class CResultExpView : public QWidget {
    Q_OBJECT

public:
    explicit CResultExpView(QWidget* parent = nullptr);
    // The project's files (its own and the readings it names), which no export replaces.
    void SetInputFiles(std::function<std::vector<std::string>()> files) { m_inputFiles = std::move(files); }
    std::vector<std::string> InputFiles() const { return m_inputFiles ? m_inputFiles() : std::vector<std::string>(); }
    ~CResultExpView() override;

    // The project the view follows: whether its results are out of date, and the
    // statistics as specimens are left out or taken in.
    void SetProject(ProjectDocument* project);
    // Says at the top whether the results shown belong to the project's inputs; the
    // chart of out-of-date results is drawn grey.
    void ShowResultState(ProjectDocument::ResultState state);
    ResultStateBanner* StateBanner() const { return m_stateBanner; }
    bool ChartGreyed() const;
    void FillResultList(const CPlyforgeDoc* doc);
    void RefreshChart(const CPlyforgeDoc* doc);
    // The chart as shown now (zoomed or not, curves hidden or not), at its size.
    std::unique_ptr<OrvaneChart::XYChart> ShownChart() const;
    // The series' stress-strain chart as the view first shows it, for a report.
    static std::unique_ptr<OrvaneChart::XYChart> SeriesChart(const CPlyforgeDoc& doc);

    CListCtrlReport* ResultList() const { return m_resultList; }
    OrvaneChart::CChartViewer* Viewer() const { return m_viewer; }
    const OrvaneChart::CChartView& ChartView() const { return m_chartView; }
    // Builds the chart now if its data or size changed since the last one.
    void UpdateChart();

    void OnMouseMovePlotArea(int x);
    // All readings again, after a zoom or pan.
    void ResetZoom();

    // The results list as CSV (an "Included" column, the statistics rows last) and the
    // chart as a picture; false after a message.
    bool ExportResultsCsv(const QString& path);
    // With a size in pixels, the chart is drawn again as the screen would show it at
    // that size in millimetres at dpi: a PNG of exactly that size recording dpi, an
    // SVG of that size in millimetres. Without, the chart on screen is saved as it is.
    bool ExportChartImage(const QString& path, QSize size = {}, int dpi = 96);

Q_SIGNALS:
    // The user ticked or cleared a specimen's "included" box.
    void SpecimenIncludedChanged(int id, bool included);
    // Files dropped on the view: a series to import.
    void FilesDropped(const QStringList& paths);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static void FillChartView(const CPlyforgeDoc& doc, OrvaneChart::CChartView& view,
                              const SeriesComparison* comparison = nullptr);
    static void AddPrediction(const CPlyforgeDoc& doc, const SeriesComparison* comparison,
                              std::vector<std::vector<double>>& data, std::vector<std::string>& names);

    void FitListHeight();
    void ShowBasis(const SeriesBasis& basis);
    void ConnectNavigation();
    OrvaneChart::CChartView m_chartView;
    OrvaneChart::CChartViewer* m_viewer;
    CListCtrlReport* m_resultList;
    ResultStateBanner* m_stateBanner;
    ProjectDocument* m_project = nullptr;
    std::vector<ResultsTable::Cells> m_exactRows; // the list's rows, every digit
    std::vector<ResultsTable::Cells> m_exactStatistics; // and the basis rows
    QLabel* m_basisLine;
    CComparisonPanel* m_comparison;
    QPushButton* m_useAsPlyData;
    void UseAsPlyData();
    const CPlyforgeDoc* m_shownDoc = nullptr;
    std::vector<int> m_ids;                // the specimen of each row
    std::vector<std::string> m_gaps;       // why a row has no modulus
    unsigned m_builtRevision = ~0u;
    std::function<std::vector<std::string>()> m_inputFiles;
};
