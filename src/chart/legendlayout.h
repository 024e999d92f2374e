#pragma once

#include "chart/chartdefs.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace OrvaneChart {

class XYChart;

// Where the legend's entries go: a line sample in the curve's colour and pattern and
// the curve's name, one entry after the other from the legend's corner. Entries that
// do not fit the chart's width start another row; when the rows would reach into the
// plot area the font steps down until they fit (or the smallest readable size is
// reached, and the chart moves its plot down instead).
class LegendLayout {
public:
    struct Entry {
        QString name;
        QColor color;
        LineDash dash = LineDash::Solid;
        int lineWidth = 1;
        QRect symbol; // the line sample's box
        QRect text;
        bool hidden = false;
        // The line sample's pen: the curve's colour and pattern.
        QPen SamplePen() const;
    };

    // Empty when the chart has no legend; entries are the named data sets in layer order.
    static LegendLayout Make(const XYChart& chart);

    const std::vector<Entry>& entries() const { return m_entries; }
    int rows() const { return m_rows; }
    const QFont& font() const { return m_font; }
    QRect bounds() const;
    void paint(QPainter& painter) const;

private:
    // Places the entries with the current font; returns the number of rows.
    int arrange(int left, int top, int right);

    std::vector<Entry> m_entries;
    QFont m_font;
    QColor m_textColor;
    int m_rows = 0;
};

} // namespace OrvaneChart
