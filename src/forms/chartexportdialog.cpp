#include "forms/chartexportdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include <cmath>

namespace {

constexpr double kMillimetresPerInch = 25.4;

int ToPixels(int millimetres, int dpi) { return static_cast<int>(std::lround(millimetres * dpi / kMillimetresPerInch)); }

int ToMillimetres(int pixels, int dpi) { return static_cast<int>(std::lround(pixels * kMillimetresPerInch / dpi)); }

} // namespace

ChartExportDialog::ChartExportDialog(QSize shown, QWidget* parent)
    : QDialog(parent), m_unit(new QComboBox), m_width(new QSpinBox), m_height(new QSpinBox), m_dpi(new QComboBox)
{
    setWindowTitle(tr("Export Chart"));
    setObjectName("ChartExportDialog");
    m_unit->addItems({tr("pixels"), tr("mm")});
    m_dpi->addItems({"96", "150", "300"});
    for (QSpinBox* box : {m_width, m_height})
        box->setRange(1, 20000);
    m_width->setValue(shown.width());
    m_height->setValue(shown.height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Unit"), m_unit);
    form->addRow(tr("Width"), m_width);
    form->addRow(tr("Height"), m_height);
    form->addRow(tr("Resolution (dpi)"), m_dpi);
    form->addRow(buttons);
    m_dpi->setEnabled(false);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &ChartExportDialog::UnitChanged);
}

void ChartExportDialog::UnitChanged()
{
    // The same picture in the other unit.
    const int unit = m_unit->currentIndex();
    if (unit == m_shownUnit)
        return;
    for (QSpinBox* box : {m_width, m_height})
        box->setValue(unit == 1 ? ToMillimetres(box->value(), Dpi()) : ToPixels(box->value(), Dpi()));
    m_shownUnit = unit;
    m_dpi->setEnabled(unit == 1);
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
    m_unit->setCurrentIndex(unit);
    m_dpi->setCurrentText(QString::number(dpi));
    m_width->setValue(width);
    m_height->setValue(height);
}
