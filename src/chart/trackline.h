#pragma once

#include "chart/chartdefs.h"
#include "chart/markuptext.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace OrvaneChart {

class PlotArea;
class XYChart;

// What the track line shows for one mouse position: a dashed vertical line at the
// data x nearest to the mouse, that x value in a box under the plot area, and for
// every curve that spans that x a dot on the curve and a box of the curve's colour
// beside the line naming the curve and its y value there (interpolated between the
// readings around x). The boxes run in the order of the values, highest on top,
// stacked so that none hides another. Built from the chart's full data, so values
// never come from the reduced drawing.
class TrackLine {
public:
    struct Label {
        // As the chart library writes it, e.g.
        // "<*font,bgColor=1f77b4*> Lamina # 3: 80.12 <*/font*>".
        QString markup;
        QString text;     // the visible text, trimmed: "Lamina # 3: 80.12"
        QString value;    // the value alone: "80.12"
        QColor box;       // the box behind the text
        QColor textColor; // white or black, whichever stands out more on the box
        // The curve's pattern; a patterned curve's box starts with a sample of it.
        LineDash dash = LineDash::Solid;
        QPoint anchor; // reference point in chart pixels
        // Where the anchor sits on the box: 8 top centre, 6 right middle, 4 left middle.
        int alignment = 0;
    };
    struct Dot {
        QPoint centre;
        int radius = 4;
        QColor color;
    };

    // Empty (nothing drawn) when the chart has no readings.
    static TrackLine Build(const XYChart& chart, int mouseX);

    bool isEmpty() const { return m_empty; }
    double xValue() const { return m_xValue; }
    // The vertical line: at x, from top down to bottom (plot bottom + 6).
    int x() const { return m_x; }
    int top() const { return m_top; }
    int bottom() const { return m_bottom; }
    const Label& xLabel() const { return m_xLabel; }
    const std::vector<Label>& valueLabels() const { return m_valueLabels; }
    const std::vector<Dot>& dots() const { return m_dots; }

    // The font of every track label: bold sans-serif 8.
    static QFont LabelFont();
    // The rectangle a label covers: its box, with the pattern sample if it has one.
    static QRect LabelBounds(const Label& label, const QFont& font = LabelFont());
    // Everything paint() touches, in chart pixels.
    QRect bounds() const;
    void paint(QPainter& painter) const;

private:
    static Label MakeLabel(const QString& markup, QPoint anchor, int alignment);
    // A dot and a value box for each curve that spans the line's x inside the plot.
    void AddValueLabels(const XYChart& chart, const PlotArea& plot);
    // Moves the value boxes apart vertically within the plot (or, when there are more
    // than it holds, within the chart down to the plot's bottom, in as many columns
    // as they need), and to the left of the line where the right side has no room.
    void PlaceValueLabels(const PlotArea& plot);
    // Stacks the labels [first, last) one below the other between top and bottom.
    void StackLabels(size_t first, size_t last, int top, int bottom, int height);

    bool m_empty = true;
    double m_xValue = 0;
    int m_x = 0;
    int m_top = 0;
    int m_bottom = 0;
    Label m_xLabel;
    std::vector<Label> m_valueLabels;
    std::vector<Dot> m_dots;
};

} // namespace OrvaneChart
