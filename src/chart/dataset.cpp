#include "chart/dataset.h"

#include <utility>

namespace OrvaneChart {

DataSet::DataSet(std::vector<double> values, Color color, std::string name, const Axis* yAxis) :
    m_values(std::move(values)), m_color(color), m_name(std::move(name)), m_yAxis(yAxis)
{
}

double DataSet::getPosition(int index) const
{
    if (index < 0 || index >= size())
        return NoValue;
    return m_values[static_cast<size_t>(index)];
}

} // namespace OrvaneChart
