#pragma once

#include "experiment/tensileimport.h"

#include <QDialog>

class QComboBox;

// Asks which columns of an imported table hold Load, Strain and Stress.
class ColumnChoiceDialog : public QDialog {
    Q_OBJECT

public:
    ColumnChoiceDialog(const ImportResult& table, const ImportOptions& proposal, QWidget* parent = nullptr);
    ImportOptions Choice() const;

private:
    QComboBox* m_combos[3];
};
