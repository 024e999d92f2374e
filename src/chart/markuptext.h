#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace OrvaneChart {

// A chart text with its mark-up: "<*font,bgColor=ff00*> 80.12 <*/font*>" is the
// text " 80.12 " on a box of colour 0x00ff00. Tags other than the background
// colour are accepted and ignored.
class MarkupText {
public:
    MarkupText() = default;
    explicit MarkupText(const QString& markup);

    const QString& markup() const { return m_markup; }
    // The text as drawn, tags removed, spaces kept.
    const QString& text() const { return m_text; }
    bool hasBox() const { return m_box.isValid(); }
    QColor box() const { return m_box; }

    // The rectangle the text (and its box) covers when its reference point is anchor;
    // alignment is a keypad position (4 left, 6 right, 8 top centre...).
    QRect boundsAt(const QFont& font, QPoint anchor, int alignment) const;
    void draw(QPainter& painter, const QFont& font, const QColor& textColor, QPoint anchor,
              int alignment) const;

private:
    QString m_markup;
    QString m_text;
    QColor m_box;
};

} // namespace OrvaneChart
