#include "chart/linelayer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace OrvaneChart {

namespace {

SharedSeries Copy(const double* values, int count)
{
    return std::make_shared<const std::vector<double>>(values, values + (values ? std::max(0, count) : 0));
}

} // namespace

LineLayer::LineLayer(const Axis* yAxis) :
    m_yAxis(yAxis), m_x(std::make_shared<const std::vector<double>>()), m_lookup(std::make_shared<XLookup>())
{
}

void LineLayer::setXData(const double* values, int count) { setXData(Copy(values, count)); }

DataSet* LineLayer::addDataSet(const double* values, int count, Color color, const std::string& name)
{
    return addDataSet(Copy(values, count), color, name);
}

void LineLayer::setXData(SharedSeries values)
{
    m_x = values ? std::move(values) : std::make_shared<const std::vector<double>>();
    m_lookup = std::make_shared<XLookup>();
    ++m_revision;
}

DataSet* LineLayer::addDataSet(SharedSeries values, Color color, const std::string& name)
{
    m_dataSets.push_back(std::make_unique<DataSet>(std::move(values), color, name, m_yAxis));
    m_lookup = std::make_shared<XLookup>(); // without x data the row count may have grown
    ++m_revision;
    return m_dataSets.back().get();
}

void LineLayer::shareLookups(std::shared_ptr<XLookup> lookup)
{
    if (lookup)
        m_lookup = std::move(lookup);
}

void LineLayer::setLineWidth(int width)
{
    m_lineWidth = std::max(0, width);
}

DataSet* LineLayer::getDataSetByZ(int index) const
{
    if (index < 0 || index >= getDataSetCount())
        return nullptr;
    return m_dataSets[static_cast<size_t>(index)].get();
}

int LineLayer::readingCount() const
{
    if (!m_x->empty())
        return static_cast<int>(m_x->size());
    int count = 0;
    for (const auto& dataSet : m_dataSets)
        count = std::max(count, dataSet->size());
    return count;
}

double LineLayer::xAt(int index) const
{
    if (index < 0 || index >= readingCount())
        return NoValue;
    return m_x->empty() ? static_cast<double>(index) : (*m_x)[static_cast<size_t>(index)];
}

void LineLayer::prepareLookups() const
{
    XLookup& lookup = *m_lookup;
    if (lookup.ready)
        return;
    const int count = readingCount();
    std::vector<int>& rows = lookup.sortedRows;
    rows.clear();
    rows.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        if (!IsNoValue(xAt(row)))
            rows.push_back(row);
    }
    if (!m_x->empty()) {
        const double* x = m_x->data();
        // Rows are pushed in order, so a stable sort by x alone keeps equal x values
        // in row order: the first reading of an x value is found first.
        std::stable_sort(rows.begin(), rows.end(), [x](int a, int b) { return x[a] < x[b]; });
    }
    lookup.sortedX.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        lookup.sortedX[i] = xAt(rows[i]);
    lookup.ready = true;
}

const CurveBlocks& LineLayer::blocksOf(int dataSet) const
{
    std::vector<std::optional<CurveBlocks>>& all = m_lookup->blocks;
    const size_t index = static_cast<size_t>(std::clamp(dataSet, 0, std::max(0, getDataSetCount() - 1)));
    if (all.size() <= index)
        all.resize(index + 1);
    if (!all[index]) {
        const DataSet* set = getDataSetByZ(static_cast<int>(index));
        const int count = set && !m_x->empty() ? std::min(set->size(), readingCount()) : 0;
        all[index] = CurveReducer::Summarize(m_x->data(), set ? set->values().data() : nullptr, count);
    }
    return *all[index];
}

int LineLayer::getXIndexOf(double x, double tolerance) const
{
    prepareLookups();
    const std::vector<double>& sortedX = m_lookup->sortedX;
    if (sortedX.empty() || IsNoValue(x))
        return -1;
    const auto begin = sortedX.begin();
    const auto at = std::lower_bound(begin, sortedX.end(), x);
    // Candidates: the first x not below the value, and the last one below it. For an
    // x below the value, the first row of that x starts its run of equal values.
    std::ptrdiff_t best = -1;
    double bestDistance = 0;
    if (at != sortedX.end()) {
        best = at - begin;
        bestDistance = *at - x;
    }
    if (at != begin) {
        const double below = *(at - 1);
        const double distance = x - below;
        if (best < 0 || distance < bestDistance) {
            best = std::lower_bound(begin, at, below) - begin;
            bestDistance = distance;
        }
    }
    if (best < 0 || bestDistance > tolerance)
        return -1;
    return m_lookup->sortedRows[static_cast<size_t>(best)];
}

double LineLayer::valueAt(double x, const DataSet& dataSet) const
{
    const std::vector<double>& ys = dataSet.values();
    const std::vector<double>& xs = *m_x;
    const size_t count = std::min(xs.size(), ys.size());
    const auto usable = [&](size_t i) { return !IsNoValue(xs[i]) && !IsNoValue(ys[i]); };
    for (size_t i = 0; i < count; ++i) {
        if (!usable(i))
            continue;
        if (xs[i] == x)
            return ys[i];
        if (i + 1 < count && usable(i + 1) && (xs[i] - x) * (xs[i + 1] - x) < 0)
            return ys[i] + (ys[i + 1] - ys[i]) * (x - xs[i]) / (xs[i + 1] - xs[i]);
    }
    return NoValue;
}

double LineLayer::nearestX(double value) const
{
    prepareLookups();
    const std::vector<double>& sortedX = m_lookup->sortedX;
    if (sortedX.empty())
        return NoValue;
    const auto at = std::lower_bound(sortedX.begin(), sortedX.end(), value);
    if (at == sortedX.end())
        return sortedX.back();
    if (at == sortedX.begin())
        return *at;
    const double above = *at;
    const double below = *(at - 1);
    return (above - value) < (value - below) ? above : below;
}

bool LineLayer::xRange(double& lowest, double& highest) const
{
    prepareLookups();
    const std::vector<double>& sortedX = m_lookup->sortedX;
    if (sortedX.empty())
        return false;
    lowest = sortedX.front();
    highest = sortedX.back();
    return true;
}

bool LineLayer::yRange(double& lowest, double& highest) const
{
    if (!m_lookup->yRange) {
        double low = NoValue, high = -NoValue;
        for (const auto& dataSet : m_dataSets) {
            for (const double value : dataSet->values()) {
                if (!IsNoValue(value)) {
                    low = std::min(low, value);
                    high = std::max(high, value);
                }
            }
        }
        m_lookup->yRange = std::pair(low, high);
    }
    lowest = m_lookup->yRange->first;
    highest = m_lookup->yRange->second;
    return lowest <= highest;
}

} // namespace OrvaneChart
