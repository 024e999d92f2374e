#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The texts behind a report grid. Cells are UTF-8 strings in one row-major vector, so
// a million rows of short readings cost little more than the vector itself (short
// strings stay inside the std::string object); views get QStrings made on demand.
// Rows set as numbers stay numbers, shown as their shortest texts, until some cell
// is written: an imported or refilled million-row table formats only what is seen.
class ReportModel : public QAbstractTableModel {
    Q_OBJECT

Q_SIGNALS:
    void RowCheckToggled(int row, bool checked);

public:
    explicit ReportModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;


    // Why a cell's text cannot be used, or empty when it can; such cells are shown
    // marked, with the reason as their tooltip. Numbers set as numbers always can.
    using CellCheck = std::function<QString(int row, int column, const std::string& text)>;
    void SetCellCheck(CellCheck check) { m_check = std::move(check); }
    // Cells to draw the eye to (a result the table is about), with why as their tooltip;
    // empty: not marked. Dark text on light yellow in every look.
    using CellMark = std::function<QString(int row, int column)>;
    void SetCellMark(CellMark mark) { m_mark = std::move(mark); }
    // A tooltip for cells that need a word of explanation, unmarked; empty: none.
    void SetCellNote(CellMark note) { m_note = std::move(note); }

    // A check box in column 0 of a row (none by default); a row whose box is cleared is
    // shown greyed. Clicking a box changes it and sends RowCheckToggled.
    void SetRowCheck(int row, bool checked);
    bool RowChecked(int row) const;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Adds a column at the right; existing rows get an empty cell in it.
    void AppendColumn(const QString& title);
    QString ColumnTitle(int column) const;

    // An empty string outside the table.
    std::string CellUtf8(int row, int column) const;
    // True, with the value, when the cell holds a number set by SetNumberRows.
    bool CellNumber(int row, int column, double& value) const
    {
        if (m_numbers.empty() || !Contains(row, column))
            return false;
        value = m_numbers[CellIndex(row, column)];
        return true;
    }
    // Ignored outside the table.
    void SetCellUtf8(int row, int column, std::string_view text);

    // One row; cells beyond the last column are dropped, missing ones are empty.
    void AppendRowUtf8(const std::vector<std::string>& cells);
    // Many rows at once, row-major, columnCount() cells a row (a short last row is
    // padded with empty cells). The views see one reset.
    void AppendRowsUtf8(std::vector<std::string>&& cells);
    // The rows as a whole. SwapRows exchanges them with other's, so a replaced table
    // can be given back by undo without a copy.
    struct Rows {
        std::vector<std::string> cells;
        std::vector<double> numbers;
        int count = 0;
    };
    void SwapRows(Rows& other);
    // The texts of the whole rows from first up to last (those that exist), and
    // their restoration at first, every row from count on dropped.
    std::vector<std::string> RowTexts(int first, int last) const;
    void RestoreRows(int first, const std::vector<std::string>& texts, int count);

    // Every row replaced by rows of numbers, row-major, columnCount() a row.
    void SetNumberRows(std::vector<double>&& values);
    // Removes every row; the columns stay.
    void Clear();

    // Tab-separated text (lines at "\n", cells at "\t", a trailing "\r" of a cell
    // dropped) written from (anchorRow, anchorColumn) on. Rows are appended where
    // the text goes past the last row; an anchor row past the end means the first
    // appended row. Cells beyond the last column are dropped, and so are the lines
    // after the last line with anything but white space. One reset; linear in the
    // text. Returns the number of lines written.
    int PasteTabText(std::string_view utf8, int anchorRow, int anchorColumn);
    // The number of lines PasteTabText writes of the text.
    static size_t PasteLineCount(std::string_view utf8);

private:
    size_t CellIndex(int row, int column) const
    {
        return static_cast<size_t>(row) * m_titles.size() + static_cast<size_t>(column);
    }
    bool Contains(int row, int column) const
    {
        return row >= 0 && row < m_rowCount && column >= 0 && column < static_cast<int>(m_titles.size());
    }

    // Turns rows of numbers into texts before a cell is written.
    void MakeTexts();

    QString Refusal(int row, int column) const;
    QString Mark(int row, int column) const;
    // -1 no box, 0 cleared, 1 checked.
    int CheckOf(int row) const { return row < static_cast<int>(m_checks.size()) ? m_checks[static_cast<size_t>(row)] : -1; }

    QStringList m_titles;
    CellCheck m_check;
    CellMark m_mark;
    CellMark m_note;
    std::vector<signed char> m_checks; // by row
    std::vector<std::string> m_cells; // m_rowCount x columnCount(), row-major
    std::vector<double> m_numbers;    // instead of m_cells while the rows are numbers
    int m_rowCount = 0;
};
