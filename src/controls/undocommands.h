#pragma once

#include "controls/reportmodel.h"

#include <QString>
#include <QUndoCommand>

#include <string>
#include <vector>

class FormUndoStack;
class QComboBox;
class QLineEdit;

// The form edits that Undo takes back: a typed cell, a paste, a table replaced
// (Import, Initialize) and the text of an edit box.

class CellEditCommand : public QUndoCommand {
public:
    CellEditCommand(ReportModel* model, int row, int column, std::string before, std::string after);
    void redo() override { m_model->SetCellUtf8(m_row, m_column, m_after); }
    void undo() override { m_model->SetCellUtf8(m_row, m_column, m_before); }

private:
    ReportModel* m_model;
    int m_row;
    int m_column;
    std::string m_before;
    std::string m_after;
};

// Tab-separated text written from a cell on; undo gives back the rows it wrote
// over and drops the rows it added.
class PasteCommand : public QUndoCommand {
public:
    PasteCommand(ReportModel* model, std::string text, int row, int column);
    void redo() override;
    void undo() override { m_model->RestoreRows(m_first, m_before, m_rowCount); }

private:
    ReportModel* m_model;
    std::string m_text;
    int m_row;
    int m_column;
    int m_first = 0;
    int m_rowCount = 0;
    std::vector<std::string> m_before;
};

// An empty row below the last, for readings typed in one after another.
class AppendRowCommand : public QUndoCommand {
public:
    explicit AppendRowCommand(ReportModel* model);
    void redo() override;
    void undo() override { m_model->RestoreRows(m_count, {}, m_count); }

private:
    ReportModel* m_model;
    int m_count = 0;
};

// Every row replaced: the command holds the rows that are not shown, and undo and
// redo swap them with the model's.
class ReplaceRowsCommand : public QUndoCommand {
public:
    ReplaceRowsCommand(ReportModel* model, ReportModel::Rows rows, const QString& text);
    void redo() override { m_model->SwapRows(m_rows); }
    void undo() override { m_model->SwapRows(m_rows); }

private:
    ReportModel* m_model;
    ReportModel::Rows m_rows;
};

// What the user typed into an edit box; typing on in the same box merges into one step.
class LineEditCommand : public QUndoCommand {
public:
    LineEditCommand(QLineEdit* edit, QString before, QString after);
    void redo() override;
    void undo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    QLineEdit* m_edit;
    QString m_before;
    QString m_after;
};

// A choice made in a combo box; undo gives back the one before.
class ComboChoiceCommand : public QUndoCommand {
public:
    ComboChoiceCommand(QComboBox* combo, int before, int after);
    void redo() override;
    void undo() override;

private:
    QComboBox* m_combo;
    int m_before;
    int m_after;
};

// Puts a combo box under the stack: each choice the user makes becomes a ComboChoiceCommand.
void TrackCombo(QComboBox* combo, FormUndoStack* stack);
// Shows a choice in a tracked combo box as the form's own doing, not an undo step.
void SetComboChoice(QComboBox* combo, int index);

// Puts an edit box under the stack: what the user types becomes a LineEditCommand,
// and Ctrl+Z and Ctrl+Y go to the window's Undo and Redo rather than the box's own.
void TrackEdit(QLineEdit* edit, FormUndoStack* stack);
// Shows a text in a tracked edit box as the form's own doing, not an undo step.
void SetEditText(QLineEdit* edit, const QString& text);
// Lets the window's Undo and Redo shortcuts through a widget that would take them.
void PassUndoKeys(QWidget* widget);
