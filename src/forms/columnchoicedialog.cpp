#include "forms/columnchoicedialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

ColumnChoiceDialog::ColumnChoiceDialog(const ImportResult& table, const ImportOptions& proposal, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Choose the columns"));
    auto* layout = new QFormLayout(this);
    layout->addRow(new QLabel(tr("The file has %1 columns. Which hold the readings?").arg(table.column_count)));
    const char* names[3] = {"Load(N)", "Strain(%)", "Stress(N/mm2)"};
    const int proposed[3] = {proposal.load_column, proposal.strain_column, proposal.stress_column};
    for (int i = 0; i < 3; ++i) {
        m_combos[i] = new QComboBox;
        for (int column = 0; column < table.column_count; ++column) {
            QString label = tr("Column %1").arg(column + 1);
            if (column < static_cast<int>(table.header_names.size()) && !table.header_names[column].empty())
                label += " \u2013 " + QString::fromStdString(table.header_names[column]);
            m_combos[i]->addItem(label, column);
        }
        const int index = proposed[i] >= 0 && proposed[i] < table.column_count ? proposed[i] : i;
        m_combos[i]->setCurrentIndex(std::min(index, table.column_count - 1));
        layout->addRow(names[i], m_combos[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

ImportOptions ColumnChoiceDialog::Choice() const
{
    ImportOptions options;
    options.load_column = m_combos[0]->currentData().toInt();
    options.strain_column = m_combos[1]->currentData().toInt();
    options.stress_column = m_combos[2]->currentData().toInt();
    return options;
}
