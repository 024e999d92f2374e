#pragma once

#include <QHash>
#include <QTableView>

#include <functional>

class CHeaderCustomCtrl;
class QLineEdit;
class FormUndoStack;
class ReportModel;

// The report grid of every form and list: a table of texts with a custom header,
// in-place editing of one cell started by the owner, percentage-bar cells, and
// tab-separated copy and paste. Holds a million rows. Tab and Shift+Tab move from
// cell to cell, Enter stores an edit and moves down, Ctrl+Home and Ctrl+End go to
// the first and the last row; each move is reported as a click on the cell.
class CListCtrlReport : public QTableView {
    Q_OBJECT

public:
    explicit CListCtrlReport(QWidget* parent = nullptr);
    ~CListCtrlReport() override;

    ReportModel* Model() const { return m_model; }
    CHeaderCustomCtrl* Header() const { return m_header; }

    // Appends a column with its title and width (left-aligned).
    void InsertColumn(const QString& title, int width);
    // The last column fills the rest of the grid's width.
    void SizeLastColumnToFill();

    int GetItemCount() const;
    int GetColumnCount() const;
    // Empty outside the table.
    QString GetItemText(int row, int column) const;
    // Ignored outside the table.
    void SetItemText(int row, int column, const QString& text);
    // Removes every row (the columns stay); an open edit is dropped, its cell is gone.
    void DeleteAllItems();
    // A row with the texts in columns 0, 1, ...; an empty list throws std::invalid_argument.
    // Texts beyond the last column are dropped.
    void AppendRow(const QStringList& texts);
    // A row whose column 0 is empty and whose given column holds the text; a column
    // outside the grid throws std::out_of_range.
    void AppendRowText(const QString& text, int column);

    // Which cells the user may write (all by default): labels are not, so typing,
    // Delete, Tab and paste pass them by.
    using EditableCheck = std::function<bool(int row, int column)>;
    void SetEditable(EditableCheck editable) { m_editable = std::move(editable); }
    bool IsEditable(int row, int column) const;
    // A grid of fixed rows (a form's) drops pasted lines past its last row; other
    // grids append rows for them, and Enter or Tab past the last row adds one.
    void SetFixedRows(bool fixed) { m_fixedRows = fixed; }
    // The most characters the editor takes in a column (a name a project can keep).
    void SetMaxTextLength(int column, int length) { m_maxLengths[column] = length; }

    // Ends an open edit, then opens the editor on the cell under pos (viewport
    // coordinates). The cell becomes the paste anchor even when the editor cannot
    // open there (a column of no width); outside every row nothing changes.
    void BeginCellEdit(const QPoint& pos);
    // The same on a cell; with replacement, the editor starts with that text instead
    // of the cell's (typing on a chosen cell).
    void EditCell(int row, int column, const QString* replacement = nullptr);
    // Closes an open edit and stores the editor's text in its cell. The text is taken
    // even when the editor is not visible (its form hidden): what was typed is kept.
    void EndCellEdit();
    bool IsEditing() const { return m_editing; }
    QLineEdit* Editor() const { return m_editor; }

    // Where the next paste starts; -1, -1 before any cell was chosen (a paste then
    // starts at the first cell). The anchor is also the edited cell, so setting it
    // ends an open edit first.
    int EditRow() const { return m_editRow; }
    int EditColumn() const { return m_editColumn; }
    void SetPasteAnchor(int row, int column);
    // The cell under pos (viewport coordinates); false outside every cell.
    bool HitTest(const QPoint& pos, int& row, int& column) const;

    // The selected rows, tab-separated, rows joined by CR LF with no final break.
    void CopySelectionToClipboard();
    void PasteFromClipboard();
    // The paste itself, on a given text (the clipboard's, or a dropped file's).
    void PasteText(const QString& text);

    // Stored edits and pastes become undo steps on the stack (nullptr: none).
    void SetUndoStack(FormUndoStack* stack) { m_undo = stack; }
    // Makes the cell the current one and the paste anchor, scrolled into view, and
    // reports it as clicked.
    void MoveTo(int row, int column);

Q_SIGNALS:
    // A left click anywhere in the grid's area, in viewport coordinates; owners
    // decide whether an edit starts there.
    void GridClicked(const QPoint& pos);
    // The user changed cells: an edit was stored or text was pasted.
    void CellsEdited();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    enum class KeyAction { None, EndEdit, Paste, Copy, Next, Previous, First, Last };
    static KeyAction ActionFor(const QKeyEvent* event);
    bool HandleKey(QKeyEvent* event);
    // F2, Delete and typing on the chosen cell while no editor is open.
    bool HandleCellKey(QKeyEvent* event);
    // The editable cell step cells on from the anchor (-1 back), rows appended past
    // the end where the grid grows; false when there is none.
    bool StepToEditable(int step, int& row, int& column);
    void AppendEmptyRow();
    QString LimitCellLengths(const QString& text, int firstColumn) const;
    void ApplyRowHeight();
    void PlaceEditor();

    ReportModel* m_model;
    CHeaderCustomCtrl* m_header;
    QLineEdit* m_editor = nullptr;
    bool m_editing = false;
    int m_editRow = -1;
    int m_editColumn = -1;
    FormUndoStack* m_undo = nullptr;
    EditableCheck m_editable;
    bool m_fixedRows = false;
    QHash<int, int> m_maxLengths; // by column
};
