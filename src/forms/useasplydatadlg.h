#pragma once

#include <QDialog>

#include <optional>
#include <string>

class CPlyforgeDoc;
class QComboBox;
class QDialogButtonBox;
class QLabel;

// "Use as ply data": which lamina's strength (Xt, Xc, Yt, Yc, S) takes the series'
// B-basis, A-basis or mean strength, or which ply modulus (E1, E2, for a lamina given by
// its ply constants) its mean modulus.
class CUseAsPlyDataDlg : public QDialog {
    Q_OBJECT

public:
    CUseAsPlyDataDlg(const CPlyforgeDoc& doc, QWidget* parent = nullptr);

    struct Choice {
        int lamina_id = 0;
        std::string field;     // "Xt", ..., "E2"
        std::string statistic; // "mean", "b_basis", "a_basis"
        double value = 0;      // MPa, or GPa for a modulus
        int n = 0;
    };
    // The value the choices give; none when it cannot be used.
    std::optional<Choice> Chosen() const;

    QComboBox* LaminaBox() const { return m_lamina; }
    QComboBox* FieldBox() const { return m_field; }
    QComboBox* StatisticBox() const { return m_statistic; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    void FillFields();
    void ShowValue();

    const CPlyforgeDoc& m_doc;
    QComboBox* m_lamina;
    QComboBox* m_field;
    QComboBox* m_statistic;
    QLabel* m_value;
    QDialogButtonBox* m_buttons;
};
