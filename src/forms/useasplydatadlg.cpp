#include "forms/useasplydatadlg.h"

#include "doc/plyforgedoc.h"
#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "forms/shownnumber.h"
#include "theory/lamina.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace {

bool IsModulus(const std::string& field) { return field == "E1" || field == "E2"; }

} // namespace

CUseAsPlyDataDlg::CUseAsPlyDataDlg(const CPlyforgeDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_lamina(new QComboBox), m_field(new QComboBox), m_statistic(new QComboBox),
      m_value(new QLabel), m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
{
    setWindowTitle(tr("Use as ply data"));
    setObjectName("UseAsPlyDataDialog");
    for (const auto& lamina : doc.laminate.laminae)
        m_lamina->addItem(tr("Theoretical Lamina #%1").arg(lamina->id), lamina->id);
    m_statistic->addItem(tr("B-basis"), "b_basis");
    m_statistic->addItem(tr("A-basis"), "a_basis");
    m_statistic->addItem(tr("Mean"), "mean");
    m_value->setWordWrap(true);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Lamina"), m_lamina);
    form->addRow(tr("Value"), m_field);
    form->addRow(tr("Statistic of the series"), m_statistic);
    form->addRow(m_value);
    form->addRow(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_lamina, &QComboBox::currentIndexChanged, this, [this] { FillFields(); });
    connect(m_field, &QComboBox::currentIndexChanged, this, [this] { ShowValue(); });
    connect(m_statistic, &QComboBox::currentIndexChanged, this, [this] { ShowValue(); });
    FillFields();
}

void CUseAsPlyDataDlg::FillFields()
{
    const QSignalBlocker quiet(m_field);
    const QString kept = m_field->currentText();
    m_field->clear();
    for (const char* field : {"Xt", "Xc", "Yt", "Yc", "S"})
        m_field->addItem(tr("%1 (strength, MPa)").arg(field), field);
    // A ply modulus belongs to a lamina given by its ply constants.
    const Lamina* lamina = m_doc.laminate.FindLamina(m_lamina->currentData().toInt());
    if (lamina && lamina->source == LaminaSource::PlyConstants) {
        m_field->addItem(tr("E1 (modulus, GPa)"), "E1");
        m_field->addItem(tr("E2 (modulus, GPa)"), "E2");
    }
    m_field->setCurrentIndex(std::max(0, m_field->findText(kept)));
    ShowValue();
}

std::optional<CUseAsPlyDataDlg::Choice> CUseAsPlyDataDlg::Chosen() const
{
    Choice choice;
    choice.lamina_id = m_lamina->currentData().toInt();
    choice.field = m_field->currentData().toString().toStdString();
    if (choice.lamina_id <= 0 || choice.field.empty())
        return std::nullopt;
    const SeriesStatistics statistics = StatisticsOf(m_doc.specimens);
    if (IsModulus(choice.field)) {
        // The series gives a modulus as its mean alone.
        choice.statistic = "mean";
        choice.value = statistics.modulus.mean.value_or(NAN);
        choice.n = statistics.modulus.n;
    } else {
        choice.statistic = m_statistic->currentData().toString().toStdString();
        const BasisValues strength = SeriesBasisOf(m_doc.specimens).strength;
        choice.value = choice.statistic == "b_basis"   ? strength.b_basis
                       : choice.statistic == "a_basis" ? strength.a_basis
                                                       : statistics.strength.mean.value_or(NAN);
        choice.n = statistics.strength.n;
    }
    if (!std::isfinite(choice.value) || !(choice.value > 0))
        return std::nullopt;
    return choice;
}

void CUseAsPlyDataDlg::ShowValue()
{
    const bool modulus = IsModulus(m_field->currentData().toString().toStdString());
    m_statistic->setEnabled(!modulus);
    if (modulus)
        m_statistic->setCurrentIndex(m_statistic->findData("mean"));
    const std::optional<Choice> choice = Chosen();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(choice.has_value());
    if (!choice) {
        m_value->setText(tr("The series gives no such value: calculate it first, and see the basis values' note "
                            "for why a basis value may be missing."));
        return;
    }
    m_value->setText(tr("Sets %1 of lamina %2 to %3 (%4 of %5 values), as one step Undo takes back.")
                         .arg(QString::fromStdString(choice->field))
                         .arg(choice->lamina_id)
                         .arg(ShownNumber::Text(choice->value), tr(StatisticTitle(choice->statistic)))
                         .arg(choice->n));
}
