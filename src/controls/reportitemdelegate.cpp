#include "controls/reportitemdelegate.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// Far wider than any screen; only keeps the arithmetic inside int.
constexpr long long kWidestBar = 1 << 20;
// A swatch as long as a chart legend's line sample, on a line of text.
constexpr QSize kSwatchSize(24, 10);

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

void ReportItemDelegate::SetRowSwatch(int row, const QPen& pen)
{
    if (row < 0)
        return;
    if (static_cast<size_t>(row) >= m_swatches.size()) {
        if (pen.style() == Qt::NoPen)
            return;
        m_swatches.resize(static_cast<size_t>(row) + 1, QPen(Qt::NoPen));
    }
    m_swatches[static_cast<size_t>(row)] = pen;
}

QPen ReportItemDelegate::RowSwatch(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_swatches.size())
        return QPen(Qt::NoPen);
    return m_swatches[static_cast<size_t>(row)];
}

void ReportItemDelegate::ClearRowSwatches() { m_swatches.clear(); }

void ReportItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != 0)
        return;
    const QPen pen = RowSwatch(index.row());
    if (pen.style() == Qt::NoPen)
        return;
    // Drawn as the cell's icon, so the style lays it out beside the check box and text.
    const qreal ratio = option->widget ? option->widget->devicePixelRatioF() : 1.0;
    QPixmap swatch(kSwatchSize * ratio);
    swatch.setDevicePixelRatio(ratio);
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.setPen(pen);
    painter.drawLine(QPointF(0, kSwatchSize.height() / 2.0), QPointF(kSwatchSize.width(), kSwatchSize.height() / 2.0));
    painter.end();
    QIcon icon;
    // The same pixmap when selected: the style would tint it with the highlight.
    icon.addPixmap(swatch, QIcon::Normal);
    icon.addPixmap(swatch, QIcon::Selected);
    option->icon = icon;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = kSwatchSize;
}
