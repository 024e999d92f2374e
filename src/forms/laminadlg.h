#pragma once

#include "controls/formundostack.h"

#include <QWidget>

#include <functional>
#include <vector>

class CListCtrlReport;
class CPlyInputs;
class CPlyforgeDoc;
class QLineEdit;
struct ConstituentMaterial;
struct Lamina;
struct UnreadField;

// The theory input form of one lamina: fibre and matrix, the ply inputs and the
// four matrix scale factors. It is committed into the lamina's record before
// another lamina is shown, and filled from the record (or defaults) when shown.
class CLaminaDlg : public QWidget {
    Q_OBJECT

public:
    explicit CLaminaDlg(QWidget* parent = nullptr);

    void SetDocumentProvider(std::function<CPlyforgeDoc*()> provider) { m_document = std::move(provider); }

    // What a commit does with cells that are not numbers, which the record always
    // keeps as typed: refuse, naming the first in a message (Calculate, showing another
    // lamina), or keep them without a word (a save, which tells them all afterwards).
    // Quiet keeps them too and never fails: a scale factor that is not a number leaves
    // the record's own (the form shows another lamina to undo a step there).
    enum class UnreadCells { Refuse, Keep, Quiet };
    // Commits the form into the lamina with this id, creating the record when there
    // is none; false when refusing a cell that is not a number, or, after its
    // message, when a scale factor is not one.
    bool SaveToLamina(int id, UnreadCells unread = UnreadCells::Refuse);
    // Read a row of the grids into the record; a cell that is not a number leaves NaN
    // and is kept, as typed, in unread. False when there is one.
    bool ReadConstituentRow(int row, ConstituentMaterial& material, std::vector<UnreadField>& unread);
    bool ReadLaminaRow(Lamina& lamina, std::vector<UnreadField>& unread);
    // Fill the grids from the record (defaults without one), its unread cells as typed.
    void LoadConstituentRow(int row, const Lamina* lamina);
    void LoadLaminaRow(const Lamina* lamina);
    // Shows the four factors in their edits.
    void SetScaleFactors(double s, double c, double s_angle, double c_angle);

    CListCtrlReport* ConstituentGrid() const { return m_constituentGrid; }
    CListCtrlReport* LaminaGrid() const { return m_laminaGrid; }
    CPlyInputs* PlyInputs() const { return m_plyInputs; }
    QLineEdit* ScaleFactorEdit(int index) const { return m_scaleEdits[index]; }
    // The form's edits since its lamina was shown, for Undo and Redo; cleared when
    // another lamina is shown.
    FormUndoStack* UndoStack() { return &m_undo; }

    double m_sScaleFactor = 0.01;
    double m_cScaleFactor = 1.0;
    double m_sAngleScaleFactor = 0.01;
    double m_cAngleScaleFactor = 1.0;

Q_SIGNALS:
    // The user changed something in the form.
    void Modified();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void InitControls();
    void OnClickConstituentGrid(const QPoint& pos);
    void OnClickLaminaGrid(const QPoint& pos);
    // Reads the edits into the four members; an edit that is not a number stops
    // the exchange there with a message, as a form's data exchange does.
    // The message naming the first edit that is not a number, empty when all are read.
    QString ReadScaleFactors(int id);
    static QString Place(int id, const QString& field, const QString& text);
    // The message refusing a cell of the form that is not a number.
    QString UnreadMessage(int id, const UnreadField& cell) const;

    std::function<CPlyforgeDoc*()> m_document;
    CListCtrlReport* m_constituentGrid;
    CListCtrlReport* m_laminaGrid;
    QLineEdit* m_scaleEdits[4];
    FormUndoStack m_undo;
    CPlyInputs* m_plyInputs; // after m_undo, which it uses
    // Shows the constituents' rows or the ply constants' row, as the lamina's source is.
    void ShowSourceRows();
};
