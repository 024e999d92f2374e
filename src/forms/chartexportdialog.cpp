#include "forms/chartexportdialog.h"

#include "forms/filedialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QSpinBox>

#include <cmath>

namespace {

constexpr double kMillimetresPerInch = 25.4;
const char* const kUnitKey = "ChartExport/Unit";
const char* const kWidthKey = "ChartExport/Width";
const char* const kHeightKey = "ChartExport/Height";
const char* const kDpiKey = "ChartExport/Dpi";

int ToPixels(int millimetres, int dpi) { return static_cast<int>(std::lround(millimetres * dpi / kMillimetresPerInch)); }

int ToMillimetres(int pixels, int dpi) { return static_cast<int>(std::lround(pixels * kMillimetresPerInch / dpi)); }

} // namespace

ChartExportDialog::ChartExportDialog(QSize shown, QWidget* parent)
    : QDialog(parent), m_unit(new QComboBox), m_width(new QSpinBox), m_height(new QSpinBox), m_dpi(new QComboBox),
      m_otherUnit(new QLabel)
{
    setWindowTitle(tr("Export Chart"));
    setObjectName("ChartExportDialog");
    m_unit->addItems({tr("pixels"), tr("mm")});
    m_dpi->addItems({"96", "150", "300"});
    m_dpi->setToolTip(tr("Text and lines keep their size in millimetres; a higher resolution adds detail"));
    for (QSpinBox* box : {m_width, m_height})
        box->setRange(1, 20000);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Unit"), m_unit);
    form->addRow(tr("Width"), m_width);
    form->addRow(tr("Height"), m_height);
    form->addRow(tr("Resolution (dpi)"), m_dpi);
    form->addRow(QString(), m_otherUnit);
    form->addRow(buttons);

    const QSettings settings;
    if (settings.contains(kWidthKey) && settings.contains(kHeightKey)) {
        Choose(settings.value(kUnitKey, 0).toInt(), settings.value(kWidthKey).toInt(),
               settings.value(kHeightKey).toInt(), settings.value(kDpiKey, 96).toInt());
    } else {
        Choose(0, shown.width(), shown.height(), 96);
    }
    connect(m_unit, &QComboBox::currentIndexChanged, this, &ChartExportDialog::UnitChanged);
    for (QSpinBox* box : {m_width, m_height})
        connect(box, &QSpinBox::valueChanged, this, &ChartExportDialog::ShowOtherUnit);
    connect(m_dpi, &QComboBox::currentIndexChanged, this, &ChartExportDialog::ShowOtherUnit);
    ShowOtherUnit();
}

void ChartExportDialog::UnitChanged()
{
    // The same picture in the other unit.
    const int unit = m_unit->currentIndex();
    if (unit == m_shownUnit)
        return;
    m_shownUnit = unit;
    for (QSpinBox* box : {m_width, m_height})
        box->setValue(unit == 1 ? ToMillimetres(box->value(), Dpi()) : ToPixels(box->value(), Dpi()));
    ShowOtherUnit();
}

void ChartExportDialog::ShowOtherUnit()
{
    const QSize pixels = PixelSize();
    if (m_unit->currentIndex() == 1) {
        m_otherUnit->setText(tr("%1 x %2 pixels").arg(pixels.width()).arg(pixels.height()));
        return;
    }
    const auto millimetres = [this](int value) { return QString::number(value * kMillimetresPerInch / Dpi(), 'f', 1); };
    m_otherUnit->setText(tr("%1 x %2 mm").arg(millimetres(pixels.width()), millimetres(pixels.height())));
}

QSize ChartExportDialog::PixelSize() const
{
    if (m_unit->currentIndex() == 0)
        return {m_width->value(), m_height->value()};
    return {ToPixels(m_width->value(), Dpi()), ToPixels(m_height->value(), Dpi())};
}

int ChartExportDialog::Dpi() const { return m_dpi->currentText().toInt(); }

void ChartExportDialog::Choose(int unit, int width, int height, int dpi)
{
    m_unit->setCurrentIndex(unit == 1 ? 1 : 0);
    m_shownUnit = m_unit->currentIndex();
    m_dpi->setCurrentText(QString::number(dpi));
    m_width->setValue(width);
    m_height->setValue(height);
}

void ChartExportDialog::accept()
{
    QSettings settings;
    settings.setValue(kUnitKey, m_unit->currentIndex());
    settings.setValue(kWidthKey, m_width->value());
    settings.setValue(kHeightKey, m_height->value());
    settings.setValue(kDpiKey, Dpi());
    QDialog::accept();
}

void ChartExportDialog::Export(QWidget* parent, QSize shown, const QString& file_name,
                               const std::function<bool(const QString& path, QSize size, int dpi)>& write)
{
    ChartExportDialog size(shown, parent);
    if (size.exec() != QDialog::Accepted)
        return;
    const QString path = FileDialogs::AskSavePath(parent, tr("Export Chart"), file_name,
                                                  tr("PNG image (*.png);;SVG drawing (*.svg);;All files (*)"));
    if (!path.isEmpty() && write(path, size.PixelSize(), size.Dpi()))
        FileDialogs::RememberFolderOf(path);
}
