#include "controls/reportitemdelegate.h"

#include <QPainter>

#include <algorithm>

namespace {

// Far wider than any screen; only keeps the arithmetic inside int.
constexpr long long kWidestBar = 1 << 20;

} // namespace

ReportItemDelegate::ReportItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void ReportItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.endsWith(QLatin1Char('%')))
        PaintPercentage(painter, option, text);
    else
        QStyledItemDelegate::paint(painter, option, index);
}

long long ReportItemDelegate::LeadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(value * 10 + (text[i].unicode() - '0'), kWidestBar * 100);
    return negative ? -value : value;
}

int ReportItemDelegate::BarWidth(long long percent, int innerWidth)
{
    const long long width = percent * std::max(innerWidth, 0) / 100;
    return static_cast<int>(std::clamp(width, 0LL, kWidestBar));
}

void ReportItemDelegate::PaintPercentage(QPainter* painter, const QStyleOptionViewItem& option,
                                         const QString& text) const
{
    const QPalette& palette = option.palette;
    const bool selected = option.state.testFlag(QStyle::State_Selected);

    painter->save();
    QRect cell = option.rect;
    painter->fillRect(cell, selected ? palette.highlight() : palette.base());

    cell.adjust(2, 1, -2, -1);
    painter->setPen(palette.color(QPalette::Dark));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(cell.adjusted(0, 0, -1, -1)); // QPainter's outline grows right and down

    const QRect inner = cell.adjusted(1, 1, -1, -1);
    const int barWidth = BarWidth(LeadingInteger(text), inner.width());
    const QRect bar(inner.left(), inner.top(), barWidth, inner.height());
    const QRect rest(inner.left() + barWidth, inner.top(), std::max(inner.width() - barWidth, 0),
                     inner.height());

    const QColor barColor = selected ? palette.color(QPalette::Button)
                                     : palette.color(QPalette::Highlight);
    const QColor restColor = selected ? palette.color(QPalette::Base)
                                      : palette.color(QPalette::Button);
    if (!bar.isEmpty())
        painter->fillRect(bar, barColor);
    if (!rest.isEmpty())
        painter->fillRect(rest, restColor);

    painter->setFont(option.font);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (selected) {
        painter->setPen(palette.color(QPalette::Text));
        painter->drawText(inner, flags, text);
    } else {
        // The part of the text over the bar is drawn in the base colour so it stays
        // readable on the dark bar.
        const auto drawClipped = [&](const QRect& clip, const QColor& color) {
            if (clip.isEmpty())
                return;
            painter->save();
            painter->setClipRect(clip, Qt::IntersectClip);
            painter->setPen(color);
            painter->drawText(inner, flags, text);
            painter->restore();
        };
        drawClipped(bar, palette.color(QPalette::Base));
        drawClipped(rest, palette.color(QPalette::Text));
    }
    painter->restore();
}
