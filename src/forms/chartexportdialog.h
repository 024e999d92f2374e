#pragma once

#include <QDialog>
#include <QSize>

class QComboBox;
class QSpinBox;

// "Export chart...": the size of the picture, in pixels or in millimetres at a
// resolution of 96, 150 or 300 dpi, starting from the chart's size on screen.
class ChartExportDialog : public QDialog {
    Q_OBJECT

public:
    ChartExportDialog(QSize shown, QWidget* parent = nullptr);

    // The picture's size in pixels, and the resolution to record in it.
    QSize PixelSize() const;
    int Dpi() const;

    // Sets the unit (0 pixels, 1 mm), the size in it and the dpi (96, 150 or 300).
    void Choose(int unit, int width, int height, int dpi);

private:
    void UnitChanged();

    QComboBox* m_unit;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QComboBox* m_dpi;
    int m_shownUnit = 0;
};
