#pragma once

#include <QPen>
#include <QStyledItemDelegate>

#include <vector>

// Draws the report grid's cells: a text ending in "%" is shown as a percentage bar
// with the text centred on it; every other cell is drawn the ordinary way. A row may
// carry a swatch: a short line in a pen (a curve's colour and pattern) before the
// text of its first cell, after its check box.
class ReportItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ReportItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The integer of the text's leading digits (after white space and a sign), as the
    // C library's atoi reads it; saturates instead of overflowing.
    static long long LeadingInteger(const QString& text);
    // Width of the bar for percent of innerWidth. Deliberately not limited to the
    // cell: more than 100 % runs past it.
    static int BarWidth(long long percent, int innerWidth);

    // The row's swatch; a pen of Qt::NoPen removes it. Rows keep their swatches until
    // cleared, whatever happens to their texts.
    void SetRowSwatch(int row, const QPen& pen);
    QPen RowSwatch(int row) const;
    void ClearRowSwatches();

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    void PaintPercentage(QPainter* painter, const QStyleOptionViewItem& option,
                         const QString& text) const;

    std::vector<QPen> m_swatches; // by row; Qt::NoPen for none
};
