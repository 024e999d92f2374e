#include "controls/headercustomctrl.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

// The header's nominal height; larger fonts get more so their titles are not clipped.
constexpr int kNominalHeight = 17;

} // namespace

CHeaderCustomCtrl::CHeaderCustomCtrl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_backColor(0xE6, 0xE6, 0xE6)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setDefaultAlignment(Qt::AlignCenter);
    UpdateHeight();
}

void CHeaderCustomCtrl::SetBackColor(const QColor& color)
{
    m_backColor = color;
    viewport()->update();
}

QSize CHeaderCustomCtrl::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(m_height);
    return size;
}

void CHeaderCustomCtrl::paintEvent(QPaintEvent* event)
{
    // Painted whole here: the style would add frames, separators and, right of the
    // last section, its own empty-area drawing.
    QPainter painter(viewport());
    painter.fillRect(event->rect(), m_backColor);
    if (count() == 0)
        return;
    int first = visualIndexAt(event->rect().left());
    int last = visualIndexAt(event->rect().right());
    if (first < 0)
        first = 0;
    if (last < 0)
        last = count() - 1;
    for (int visual = first; visual <= last; ++visual) {
        const int logical = logicalIndex(visual);
        if (logical < 0 || isSectionHidden(logical))
            continue;
        const QRect rect(sectionViewportPosition(logical), 0, sectionSize(logical),
                         viewport()->height());
        paintSection(&painter, rect, logical);
    }
}

void CHeaderCustomCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->fillRect(rect, m_backColor);
    if (model()) {
        const QString title =
            model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        painter->setPen(m_textColor);
        painter->setFont(font());
        painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, title);
    }
    painter->restore();
}

void CHeaderCustomCtrl::changeEvent(QEvent* event)
{
    QHeaderView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateHeight();
}

void CHeaderCustomCtrl::UpdateHeight()
{
    const int height = std::max(kNominalHeight, fontMetrics().height() + 6);
    if (height == m_height)
        return;
    m_height = height;
    updateGeometry();
}
