#include "chart/legendlayout.h"

#include "chart/chartfont.h"
#include "chart/chartpen.h"
#include "chart/xychart.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace OrvaneChart {

namespace {

constexpr int kSymbolWidth = 24; // one whole dash-dot-dot pattern
constexpr int kSymbolGap = 5;    // between the line sample and its name
constexpr int kEntryGap = 14;    // between one entry's name and the next sample
constexpr int kRightMargin = 10; // kept free at the chart's right edge
constexpr int kPadding = 3;      // inside the legend box, as around any boxed text
// Below this the names are hard to read; the chart gives the legend more rows instead.
constexpr double kSmallestFont = 7;

} // namespace

LegendLayout LegendLayout::Make(const XYChart& chart)
{
    LegendLayout layout;
    const LegendBox* box = chart.getLegend();
    if (!box)
        return layout;
    for (int l = 0; l < chart.getLayerCount(); ++l) {
        const LineLayer* layer = chart.getLayerByZ(l);
        for (int d = 0; d < layer->getDataSetCount(); ++d) {
            const DataSet* dataSet = layer->getDataSetByZ(d);
            if (dataSet->getDataName().empty())
                continue;
            Entry entry;
            entry.name = QString::fromStdString(dataSet->getDataName());
            entry.color = dataSet->hidden() ? QColor(0xbb, 0xbb, 0xbb) : ToQColor(dataSet->drawnColor());
            entry.dash = dataSet->dash();
            entry.hidden = dataSet->hidden();
            entry.lineWidth = layer->lineWidth();
            layout.m_entries.push_back(entry);
        }
    }
    layout.m_textColor = ToQColor(box->style().color);

    const int left = box->x() + kPadding;
    const int top = box->y() + kPadding;
    const int right = std::max(left + 1, chart.getWidth() - kRightMargin);
    const int plotTop = chart.plotArea().getTopY();
    // Rows may use the room down to the plot area when the legend sits above it,
    // short of the top y label, which stands half its height above the plot.
    const int bottom = plotTop > top ? plotTop - 7 : chart.getHeight();
    double size = box->style().size;
    for (;;) {
        layout.m_font = ChartFont::Make(box->style().font, size);
        layout.m_rows = layout.arrange(left, top, right);
        if (layout.bounds().bottom() < bottom || size <= kSmallestFont)
            break;
        size = std::max(kSmallestFont, size - 0.5);
    }
    return layout;
}

int LegendLayout::arrange(int left, int top, int right)
{
    const QFontMetrics metrics(m_font);
    const int rowHeight = metrics.height() + 1;
    int x = left;
    int y = top;
    int rows = m_entries.empty() ? 0 : 1;
    for (Entry& entry : m_entries) {
        const int textWidth = metrics.horizontalAdvance(entry.name);
        const int width = kSymbolWidth + kSymbolGap + textWidth;
        if (x > left && x + width > right) {
            x = left;
            y += rowHeight;
            ++rows;
        }
        entry.symbol = QRect(x, y, kSymbolWidth, rowHeight);
        entry.text = QRect(x + kSymbolWidth + kSymbolGap, y, textWidth, rowHeight);
        x += width + kEntryGap;
    }
    return rows;
}

QPen LegendLayout::Entry::SamplePen() const
{
    // At least two pixels thick, so that the colour reads at a glance.
    QPen pen = CurvePen(0, std::max(2, lineWidth), dash);
    pen.setColor(color);
    return pen;
}

QRect LegendLayout::bounds() const
{
    QRect area;
    for (const Entry& entry : m_entries)
        area |= entry.symbol | entry.text;
    return area;
}

void LegendLayout::paint(QPainter& painter) const
{
    painter.save();
    painter.setFont(m_font);
    for (const Entry& entry : m_entries) {
        painter.setPen(entry.SamplePen());
        const int y = entry.symbol.center().y();
        painter.drawLine(entry.symbol.left() + 1, y, entry.symbol.right() - 1, y);
        painter.setPen(entry.hidden ? QColor(0x99, 0x99, 0x99) : m_textColor);
        painter.drawText(entry.text, Qt::AlignLeft | Qt::AlignVCenter, entry.name);
    }
    painter.restore();
}

} // namespace OrvaneChart
