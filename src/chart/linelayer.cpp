#include "chart/linelayer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace OrvaneChart {

LineLayer::LineLayer(const Axis* yAxis) : m_yAxis(yAxis) {}

void LineLayer::setXData(const double* values, int count)
{
    m_x.assign(values, values + (values ? std::max(0, count) : 0));
    m_lookupsReady = false;
    ++m_revision;
}

DataSet* LineLayer::addDataSet(const double* values, int count, Color color, const std::string& name)
{
    std::vector<double> copy(values, values + (values ? std::max(0, count) : 0));
    m_dataSets.push_back(std::make_unique<DataSet>(std::move(copy), color, name, m_yAxis));
    m_lookupsReady = false;
    ++m_revision;
    return m_dataSets.back().get();
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
    if (!m_x.empty())
        return static_cast<int>(m_x.size());
    int count = 0;
    for (const auto& dataSet : m_dataSets)
        count = std::max(count, dataSet->size());
    return count;
}

double LineLayer::xAt(int index) const
{
    if (index < 0 || index >= readingCount())
        return NoValue;
    return m_x.empty() ? static_cast<double>(index) : m_x[static_cast<size_t>(index)];
}

void LineLayer::prepareLookups() const
{
    if (m_lookupsReady)
        return;
    const int count = readingCount();
    m_sortedRows.clear();
    m_sortedRows.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        if (!IsNoValue(xAt(row)))
            m_sortedRows.push_back(row);
    }
    if (!m_x.empty()) {
        const double* x = m_x.data();
        // Rows are pushed in order, so a stable sort by x alone keeps equal x values
        // in row order: the first reading of an x value is found first.
        std::stable_sort(m_sortedRows.begin(), m_sortedRows.end(), [x](int a, int b) { return x[a] < x[b]; });
    }
    m_sortedX.resize(m_sortedRows.size());
    for (size_t i = 0; i < m_sortedRows.size(); ++i)
        m_sortedX[i] = xAt(m_sortedRows[i]);
    m_lookupsReady = true;
}

int LineLayer::getXIndexOf(double x, double tolerance) const
{
    prepareLookups();
    if (m_sortedX.empty() || IsNoValue(x))
        return -1;
    const auto begin = m_sortedX.begin();
    const auto at = std::lower_bound(begin, m_sortedX.end(), x);
    // Candidates: the first x not below the value, and the last one below it. For an
    // x below the value, the first row of that x starts its run of equal values.
    std::ptrdiff_t best = -1;
    double bestDistance = 0;
    if (at != m_sortedX.end()) {
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
    return m_sortedRows[static_cast<size_t>(best)];
}

double LineLayer::valueAt(double x, const DataSet& dataSet) const
{
    const std::vector<double>& ys = dataSet.values();
    const size_t count = std::min(m_x.size(), ys.size());
    const auto usable = [&](size_t i) { return !IsNoValue(m_x[i]) && !IsNoValue(ys[i]); };
    for (size_t i = 0; i < count; ++i) {
        if (!usable(i))
            continue;
        if (m_x[i] == x)
            return ys[i];
        if (i + 1 < count && usable(i + 1) && (m_x[i] - x) * (m_x[i + 1] - x) < 0)
            return ys[i] + (ys[i + 1] - ys[i]) * (x - m_x[i]) / (m_x[i + 1] - m_x[i]);
    }
    return NoValue;
}

double LineLayer::nearestX(double value) const
{
    prepareLookups();
    if (m_sortedX.empty())
        return NoValue;
    const auto at = std::lower_bound(m_sortedX.begin(), m_sortedX.end(), value);
    if (at == m_sortedX.end())
        return m_sortedX.back();
    if (at == m_sortedX.begin())
        return *at;
    const double above = *at;
    const double below = *(at - 1);
    return (above - value) < (value - below) ? above : below;
}

bool LineLayer::xRange(double& lowest, double& highest) const
{
    prepareLookups();
    if (m_sortedX.empty())
        return false;
    lowest = m_sortedX.front();
    highest = m_sortedX.back();
    return true;
}

} // namespace OrvaneChart
