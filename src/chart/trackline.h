#pragma once

#include "chart/markuptext.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace OrvaneChart {

class XYChart;

// What the track line shows for one mouse position: a dashed vertical line at the
// data x nearest to the mouse, that x value in a box under the plot area, and for
// every curve with a reading at exactly that x a dashed leader to the y axis, a dot
// and the y value in a box of the curve's colour beside the axis. Built from the
// chart's full data, so values never come from the reduced drawing.
class TrackLine {
public:
    struct Label {
        QString
            markup; // as the chart library writes it, e.g. "<*font,bgColor=ff00*> 80.12 <*/font*>"
        QString text;     // the visible text, trimmed: "80.12"
        QColor box;       // the box behind the text
        QColor textColor; // white
        QPoint anchor;    // reference point in chart pixels
        int alignment =
            0; // where the anchor sits on the box: 8 top centre, 6 right middle, 4 left middle
    };
    struct Dot {
        QPoint centre;
        int radius = 4;
        QColor color;
    };
    // A dashed horizontal line from the track line to the y axis label.
    struct Leader {
        int fromX = 0;
        int toX = 0;
        int y = 0;
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
    const std::vector<Leader>& leaders() const { return m_leaders; }

    // The font of every track label: bold sans-serif 8.
    static QFont LabelFont();
    // Everything paint() touches, in chart pixels.
    QRect bounds() const;
    void paint(QPainter& painter) const;

private:
    static Label MakeLabel(const QString& markup, QPoint anchor, int alignment);

    bool m_empty = true;
    double m_xValue = 0;
    int m_x = 0;
    int m_top = 0;
    int m_bottom = 0;
    Label m_xLabel;
    std::vector<Label> m_valueLabels;
    std::vector<Dot> m_dots;
    std::vector<Leader> m_leaders;
};

} // namespace OrvaneChart
