#pragma once

#include "chart/chartdefs.h"

#include <utility>

namespace OrvaneChart {

// Where the legend goes and how it looks; its entries are the named data sets of
// the chart's layers, in layer order.
class LegendBox {
public:
    LegendBox(int x, int y, bool vertical, TextStyle style) :
        m_x(x), m_y(y), m_vertical(vertical), m_style(std::move(style))
    {
    }

    void setBackground(Color color, Color edgeColor = Transparent, int raisedEffect = 0)
    {
        m_background = color;
        m_edge = edgeColor;
        m_raisedEffect = raisedEffect;
    }

    int x() const { return m_x; }
    int y() const { return m_y; }
    bool isVertical() const { return m_vertical; }
    const TextStyle& style() const { return m_style; }
    Color background() const { return m_background; }
    Color edgeColor() const { return m_edge; }
    int raisedEffect() const { return m_raisedEffect; }

private:
    int m_x;
    int m_y;
    bool m_vertical;
    TextStyle m_style;
    Color m_background = Transparent;
    Color m_edge = LineColor;
    int m_raisedEffect = 0;
};

} // namespace OrvaneChart
