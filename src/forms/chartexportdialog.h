#pragma once

#include <QDialog>
#include <QSize>

#include <functional>

class QComboBox;
class QLabel;
class QSpinBox;

// "Export chart...": the size of the picture, in pixels or in millimetres, and its
// resolution (96, 150 or 300 dpi). The picture is the chart as the screen shows it
// at that size in millimetres, so text and lines keep their size on paper at any
// resolution; a higher one only adds detail. The dialog starts from the last size,
// unit and resolution chosen, or from the chart's size on screen the first time.
class ChartExportDialog : public QDialog {
    Q_OBJECT

public:
    ChartExportDialog(QSize shown, QWidget* parent = nullptr);

    // The picture's size in pixels, and the resolution to draw it at and record in it.
    QSize PixelSize() const;
    int Dpi() const;

    // Sets the unit (0 pixels, 1 mm), the size in it and the dpi (96, 150 or 300).
    void Choose(int unit, int width, int height, int dpi);

    // Remembers the choice for the next time; accepting the dialog does.
    void accept() override;

    // "Export chart..." as every chart has it: the size first, then the file (PNG or
    // SVG, offered as file_name), then write; the folder is remembered when it wrote.
    static void Export(QWidget* parent, QSize shown, const QString& file_name,
                       const std::function<bool(const QString& path, QSize size, int dpi)>& write);

private:
    void UnitChanged();
    void ShowOtherUnit();

    QComboBox* m_unit;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QComboBox* m_dpi;
    QLabel* m_otherUnit;
    int m_shownUnit = 0;
};
