#pragma once

#include <QColor>
#include <QHeaderView>

// The flat column header of the report grids: one background colour, titles centred
// in black, no frames, separators or sort arrows.
class CHeaderCustomCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CHeaderCustomCtrl(QWidget* parent = nullptr);

    void SetBackColor(const QColor& color);
    QColor BackColor() const { return m_backColor; }
    QColor TextColor() const { return m_textColor; }
    int FixedHeight() const { return m_height; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateHeight();

    int m_height = 17;
    QColor m_backColor;
    QColor m_textColor = Qt::black;
};
