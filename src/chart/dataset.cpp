#include "chart/dataset.h"

#include <utility>

namespace OrvaneChart {

DataSet::DataSet(SharedSeries values, Color color, std::string name, const Axis* yAxis) :
    m_values(values ? std::move(values) : std::make_shared<const std::vector<double>>()), m_color(color), m_name(std::move(name)), m_yAxis(yAxis)
{
}

Color DataSet::drawnColor() const { return m_faded ? FadedColor(m_color) : m_color; }

double DataSet::getPosition(int index) const
{
    if (index < 0 || index >= size())
        return NoValue;
    return (*m_values)[static_cast<size_t>(index)];
}

} // namespace OrvaneChart
