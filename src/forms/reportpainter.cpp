#include "forms/reportpainter.h"

#include "chart/chartrenderer.h"
#include "chart/xychart.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QObject>
#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <functional>

namespace {

// One pass over the blocks: with paint false it only counts the pages.
class Layout {
public:
    Layout(QPainter& painter, QPagedPaintDevice& device, const ReportHeader& header, int pages, bool paint)
        : m_painter(painter), m_device(device), m_header(header), m_pages(pages), m_paint(paint),
          m_width(device.width()), m_bottom(device.height())
    {
        m_body = QFont("Noto Sans", 9);
        m_bold = QFont("Noto Sans", 9, QFont::Bold);
        m_heading = QFont("Noto Sans", 13, QFont::Bold);
        m_cell = QFont("Noto Sans", 8);
        m_cellBold = QFont("Noto Sans", 8, QFont::Bold);
        m_mono = QFont("DejaVu Sans Mono", 8);
        m_mono.setStyleHint(QFont::TypeWriter);
        StartPage(false);
    }

    void Add(const ReportBlock& block)
    {
        switch (block.kind) {
        case ReportBlock::Kind::Heading: {
            const double height = Height(m_heading, block.text, m_width) + Gap(m_heading);
            // A heading keeps three lines of what follows on its page.
            Reserve(height + 3 * Line(m_body));
            Draw(m_heading, QRectF(0, m_y + Gap(m_heading) / 2, m_width, height), block.text);
            m_y += height;
            break;
        }
        case ReportBlock::Kind::Text:
            for (const QString& line : block.text.split('\n'))
                Paragraph(m_body, line);
            m_y += Line(m_body) / 2;
            break;
        case ReportBlock::Kind::Preformatted:
            // Lines as they are, cut at the page's edge rather than wrapped.
            for (const QString& line : block.text.split('\n')) {
                Reserve(Line(m_mono));
                Draw(m_mono, QRectF(0, m_y, m_width, Line(m_mono)),
                     Metrics(m_mono).elidedText(line, Qt::ElideRight, m_width, Qt::TextExpandTabs),
                     Qt::TextSingleLine | Qt::TextExpandTabs);
                m_y += Line(m_mono);
            }
            m_y += Line(m_body) / 2;
            break;
        case ReportBlock::Kind::Table:
            AddTable(block);
            break;
        case ReportBlock::Kind::Chart: {
            const double width = m_width, height = std::min(width * 0.6, (m_bottom - m_top) * 0.9);
            Reserve(height);
            if (m_paint) {
                // Recorded at the chart's own resolution, then replayed scaled: its text and
                // lines keep their proportions on a printer of any resolution, as vectors.
                const OrvaneChart::XYChart& chart = *block.chart;
                QPicture picture;
                QPainter recorder(&picture);
                OrvaneChart::ChartRenderer::Paint(chart, recorder);
                recorder.end();
                m_painter.save();
                m_painter.translate(0, m_y);
                // drawPicture scales from the picture's resolution to the device's itself.
                const double ratio = double(m_device.logicalDpiX()) / picture.logicalDpiX();
                const double scale =
                    std::min(width / (chart.getWidth() * ratio), height / (chart.getHeight() * ratio));
                m_painter.scale(scale, scale);
                m_painter.drawPicture(0, 0, picture);
                m_painter.restore();
            }
            m_y += height + Line(m_body);
            break;
        }
        }
    }

    int Pages() const { return m_page; }

private:
    // Measured as the painter draws: its font metrics on this device.
    QFontMetricsF Metrics(const QFont& font) const
    {
        m_painter.setFont(font);
        return m_painter.fontMetrics();
    }
    double Line(const QFont& font) const { return Metrics(font).lineSpacing(); }
    double Gap(const QFont& font) const { return Line(font) * 0.8; }
    double Height(const QFont& font, const QString& text, double width) const
    {
        return Metrics(font).boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text).height();
    }
    void Draw(const QFont& font, const QRectF& at, const QString& text, int flags = Qt::TextWordWrap)
    {
        if (!m_paint)
            return;
        m_painter.setFont(font);
        m_painter.drawText(at, flags | Qt::AlignLeft | Qt::AlignTop, text);
    }
    void Paragraph(const QFont& font, const QString& text, int flags = Qt::TextWordWrap)
    {
        const double height = std::max(Line(font), Height(font, text, m_width));
        Reserve(height);
        Draw(font, QRectF(0, m_y, m_width, height), text, flags);
        m_y += height;
    }

    // A new page when the height does not fit below the cursor (and something is on this page).
    bool Reserve(double height)
    {
        if (m_y + height <= m_bottom || m_y <= m_top)
            return false;
        StartPage(true);
        return true;
    }

    void StartPage(bool next)
    {
        if (next && m_paint)
            m_device.newPage();
        ++m_page;
        m_y = 0;
        const QString right = QObject::tr("page %1 of %2").arg(m_page).arg(std::max(m_pages, m_page));
        const double line = Line(m_body);
        const QString dated = m_header.date + "    " + right;
        const double rightWidth = Metrics(m_body).horizontalAdvance(dated) + Metrics(m_body).averageCharWidth() * 3;
        // The title gives way to the date and page number where both do not fit.
        const QString left = Metrics(m_bold).elidedText(m_header.title + "  \u2014  " + m_header.file, Qt::ElideMiddle,
                                                        m_width - rightWidth);
        Draw(m_bold, QRectF(0, 0, m_width, line), left, Qt::TextSingleLine);
        if (m_paint) {
            m_painter.setFont(m_body);
            m_painter.drawText(QRectF(0, 0, m_width, line), Qt::AlignRight | Qt::AlignTop, dated);
            m_painter.drawLine(QPointF(0, line * 1.3), QPointF(m_width, line * 1.3));
        }
        m_top = line * 2;
        m_y = m_top;
    }

    void AddTable(const ReportBlock& table)
    {
        const int columns = static_cast<int>(table.header.size());
        if (columns == 0)
            return;
        // Column widths from their widest cell, shrunk together to the page width.
        const QFontMetricsF metrics = Metrics(m_cell), boldMetrics = Metrics(m_cellBold);
        const double pad = metrics.averageCharWidth();
        std::vector<double> widths(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            // Half a character's slack: drawn text rounds to whole pixels and must not wrap.
            // Titles may wrap between their words; values never do.
            widths[size_t(c)] = 0;
            for (const QString& word : table.header[c].split(' '))
                widths[size_t(c)] = std::max(widths[size_t(c)], boldMetrics.horizontalAdvance(word) + 2.5 * pad);
            for (const QStringList& row : table.rows)
                widths[size_t(c)] = std::max(widths[size_t(c)], metrics.horizontalAdvance(row.value(c)) + 2.5 * pad);
        }
        double total = 0;
        for (const double w : widths)
            total += w;
        if (total > m_width)
            for (double& w : widths)
                w *= m_width / total;
        const auto rowHeight = [&](const QStringList& cells, const QFont& font) {
            double height = Line(font);
            for (int c = 0; c < columns; ++c)
                height = std::max(height, Height(font, cells.value(c), widths[size_t(c)] - 2 * pad));
            return height + pad / 2;
        };
        const auto drawRow = [&](const QStringList& cells, const QFont& font, double height, bool shaded) {
            if (m_paint) {
                if (shaded)
                    m_painter.fillRect(QRectF(0, m_y, std::min(total, m_width), height), QColor(0xE6, 0xE6, 0xE6));
                m_painter.setPen(QColor(0xB0, 0xB0, 0xB0));
                m_painter.drawLine(QPointF(0, m_y + height), QPointF(std::min(total, m_width), m_y + height));
                m_painter.setPen(Qt::black);
            }
            double x = 0;
            for (int c = 0; c < columns; ++c) {
                Draw(font, QRectF(x + pad, m_y + pad / 4, widths[size_t(c)] - 2 * pad, height), cells.value(c));
                x += widths[size_t(c)];
            }
            m_y += height;
        };
        const double headerHeight = rowHeight(table.header, m_cellBold);
        Reserve(headerHeight + (table.rows.empty() ? 0 : rowHeight(table.rows.front(), m_cell)));
        drawRow(table.header, m_cellBold, headerHeight, true);
        for (const QStringList& row : table.rows) {
            const double height = rowHeight(row, m_cell);
            if (Reserve(height)) // continued on a new page under its header again
                drawRow(table.header, m_cellBold, headerHeight, true);
            drawRow(row, m_cell, height, false);
        }
        m_y += Line(m_body);
    }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    const ReportHeader& m_header;
    const int m_pages;
    const bool m_paint;
    const double m_width;
    const double m_bottom;
    double m_top = 0;
    double m_y = 0;
    int m_page = 0;
    QFont m_body, m_bold, m_heading, m_mono, m_cell, m_cellBold;
};

} // namespace

int ReportPainter::Paint(QPagedPaintDevice& device, const std::vector<ReportBlock>& blocks, const ReportHeader& header)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    Layout count(painter, device, header, 0, false);
    for (const ReportBlock& block : blocks)
        count.Add(block);
    Layout paint(painter, device, header, count.Pages(), true);
    for (const ReportBlock& block : blocks)
        paint.Add(block);
    painter.end();
    return paint.Pages();
}
