#pragma once

#include "chart/chartdefs.h"

namespace OrvaneChart {

// The rectangle the curves are drawn in, with its fill and grid colours. Pixel
// coordinates are chart image coordinates; the right and bottom edges lie at
// left + width and top + height.
class PlotArea {
public:
    PlotArea() = default;
    PlotArea(int x, int y, int width, int height) : m_x(x), m_y(y), m_width(width), m_height(height)
    {
    }

    void setBackground(Color color, Color altColor = Transparent, Color edgeColor = Transparent)
    {
        m_background = color;
        m_altBackground = altColor;
        m_edge = edgeColor;
    }
    void setGridColor(Color horizontal, Color vertical)
    {
        m_horizontalGrid = horizontal;
        m_verticalGrid = vertical;
    }

    int getLeftX() const { return m_x; }
    int getTopY() const { return m_y; }
    int getRightX() const { return m_x + m_width; }
    int getBottomY() const { return m_y + m_height; }
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }

    Color background() const { return m_background; }
    Color altBackground() const { return m_altBackground; }
    Color edgeColor() const { return m_edge; }
    Color horizontalGridColor() const { return m_horizontalGrid; }
    Color verticalGridColor() const { return m_verticalGrid; }

private:
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    Color m_background = Transparent;
    Color m_altBackground = Transparent;
    Color m_edge = Transparent;
    Color m_horizontalGrid = 0xc0c0c0;
    Color m_verticalGrid = Transparent;
};

} // namespace OrvaneChart
