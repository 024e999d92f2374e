#pragma once

#include <QStyledItemDelegate>

// Draws the report grid's cells: a text ending in "%" is shown as a percentage bar
// with the text centred on it; every other cell is drawn the ordinary way.
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

private:
    void PaintPercentage(QPainter* painter, const QStyleOptionViewItem& option,
                         const QString& text) const;
};
