#include "chart/markuptext.h"

#include "chart/chartdefs.h"

#include <QFontMetrics>
#include <QPainter>

namespace OrvaneChart {

namespace {

// Reads "bgColor=<hex>" among the comma-separated attributes of a font tag.
QColor BoxColorOf(const QString& tag)
{
    const QStringList parts = tag.split(QLatin1Char(','));
    for (const QString& part : parts) {
        const QString attribute = part.trimmed();
        if (!attribute.startsWith(QLatin1String("bgColor="), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const uint value = attribute.mid(8).toUInt(&ok, 16);
        if (ok) {
            // The top byte is transparency, not opacity.
            return QColor::fromRgb((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff,
                                   255 - static_cast<int>((value >> 24) & 0xff));
        }
    }
    return {};
}

} // namespace

MarkupText::MarkupText(const QString& markup) : m_markup(markup)
{
    int position = 0;
    while (position < markup.size()) {
        const int open = markup.indexOf(QLatin1String("<*"), position);
        if (open < 0)
            break;
        const int close = markup.indexOf(QLatin1String("*>"), open + 2);
        if (close < 0)
            break;
        m_text += markup.mid(position, open - position);
        const QString tag = markup.mid(open + 2, close - open - 2);
        if (tag.startsWith(QLatin1String("font"), Qt::CaseInsensitive)) {
            const QColor box = BoxColorOf(tag);
            if (box.isValid())
                m_box = box;
        }
        position = close + 2;
    }
    m_text += markup.mid(position);
}

QRect MarkupText::boundsAt(const QFont& font, QPoint anchor, int alignment) const
{
    if (alignment < BottomLeft || alignment > TopRight)
        alignment = TopLeft;
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(m_text) + 2;
    const int height = metrics.height() + 2;
    // Keypad layout: 1 2 3 along the bottom, 4 5 6 through the middle, 7 8 9 on top.
    const int column = (alignment - 1) % 3; // 0 left, 1 centre, 2 right
    const int row = (alignment - 1) / 3;    // 0 bottom, 1 middle, 2 top
    const int left = anchor.x() - (column == 0 ? 0 : column == 1 ? width / 2 : width);
    const int top = anchor.y() - (row == 2 ? 0 : row == 1 ? height / 2 : height);
    return QRect(left, top, width, height);
}

void MarkupText::draw(QPainter& painter, const QFont& font, const QColor& textColor, QPoint anchor,
                      int alignment) const
{
    const QRect bounds = boundsAt(font, anchor, alignment);
    if (m_box.isValid())
        painter.fillRect(bounds, m_box);
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(bounds, Qt::AlignCenter | Qt::TextDontClip, m_text);
}

} // namespace OrvaneChart
