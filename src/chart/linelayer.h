#pragma once

#include "chart/chartdefs.h"
#include "chart/curvereducer.h"
#include "chart/dataset.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace OrvaneChart {

class Axis;

// The x values of a layer sorted by (x, row), readings without an x value left
// out; built on the first lookup. Charts of the same data share one, so a zoom
// does not sort the readings again.
struct XLookup {
    std::vector<double> sortedX;
    std::vector<int> sortedRows;
    bool ready = false;
    // Smallest and greatest y of all data sets, once found.
    std::optional<std::pair<double, double>> yRange;
    // Each data set's readings in blocks, made on its first reduction.
    std::vector<std::optional<CurveBlocks>> blocks;
};

// A layer of lines sharing one series of x values: each data set joins its
// (x, y) readings in row order. Lookups by x value use a table of the x values
// sorted once, so each costs a binary search, not a scan of the readings.
class LineLayer {
public:
    explicit LineLayer(const Axis* yAxis);
    LineLayer(const LineLayer&) = delete;
    LineLayer& operator=(const LineLayer&) = delete;

    // Without x data, reading i lies at x = i.
    void setXData(const double* values, int count);
    DataSet* addDataSet(const double* values, int count, Color color, const std::string& name = {});
    // The same, holding the readings rather than copying them.
    void setXData(SharedSeries values);
    DataSet* addDataSet(SharedSeries values, Color color, const std::string& name = {});
    // Uses (and on the first lookup fills) a sorted table shared with other layers of
    // the same readings. Call after the readings are set: setting them drops it.
    void shareLookups(std::shared_ptr<XLookup> lookup);
    void setLineWidth(int width);
    int lineWidth() const { return m_lineWidth; }
    void setFastLineMode(bool fast = true) { m_fastLineMode = fast; }
    bool fastLineMode() const { return m_fastLineMode; }

    int getDataSetCount() const { return static_cast<int>(m_dataSets.size()); }
    // Data sets in drawing order; nullptr outside the range.
    DataSet* getDataSetByZ(int index) const;

    // Index of the first reading (in row order) whose x lies within tolerance of x,
    // the nearest one if several x values do; -1 when none does.
    int getXIndexOf(double x, double tolerance = 0) const;

    // The data set's value at x: at the first reading (in row order) of exactly that
    // x, or interpolated linearly between the first two neighbouring readings that
    // lie on either side of it; NoValue when the curve does not span x.
    double valueAt(double x, const DataSet& dataSet) const;

    int readingCount() const;
    double xAt(int index) const;
    const std::vector<double>& xData() const { return *m_x; }
    // The x value of the readings nearest to value; NoValue for a layer without readings.
    double nearestX(double value) const;
    // Smallest and greatest x, or y of all data sets; false when there are no readings.
    bool xRange(double& lowest, double& highest) const;
    bool yRange(double& lowest, double& highest) const;
    // The data set's readings in blocks for CurveReducer.
    const CurveBlocks& blocksOf(int dataSet) const;
    // Builds the sorted x table now rather than on the first lookup.
    void prepareLookups() const;
    // Changes whenever readings are set or added.
    unsigned revision() const { return m_revision; }

private:
    const Axis* m_yAxis;
    SharedSeries m_x;
    std::vector<std::unique_ptr<DataSet>> m_dataSets;
    int m_lineWidth = 1;
    bool m_fastLineMode = false;
    std::shared_ptr<XLookup> m_lookup;
    unsigned m_revision = 0;
};

} // namespace OrvaneChart
