#include "controls/reportmodel.h"

#include "util/numbertext.h"

#include <QColor>

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !Contains(index.row(), index.column()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(CellUtf8(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (const QString why = Mark(index.row(), index.column()); !why.isEmpty())
            return why;
        if (const QString note = m_note ? m_note(index.row(), index.column()) : QString(); !note.isEmpty())
            return note;
        return Refusal(index.row(), index.column());
    case Qt::CheckStateRole:
        if (index.column() != 0 || CheckOf(index.row()) < 0)
            return {};
        return CheckOf(index.row()) ? Qt::Checked : Qt::Unchecked;
    // Dark text on light red in every look, so a marked cell stays readable.
    case Qt::BackgroundRole:
        if (!Refusal(index.row(), index.column()).isEmpty())
            return QColor(0xFF, 0xC8, 0xC8);
        return Mark(index.row(), index.column()).isEmpty() ? QVariant() : QVariant(QColor(0xFF, 0xEE, 0x99));
    case Qt::ForegroundRole:
        if (CheckOf(index.row()) == 0)
            return QColor(Qt::gray);
        return Refusal(index.row(), index.column()).isEmpty() && Mark(index.row(), index.column()).isEmpty()
                   ? QVariant()
                   : QVariant(QColor(Qt::black));
    default:
        return {};
    }
}

QString ReportModel::Mark(int row, int column) const { return m_mark ? m_mark(row, column) : QString(); }

QString ReportModel::Refusal(int row, int column) const
{
    if (!m_check || !m_numbers.empty())
        return {};
    return m_check(row, column, m_cells[CellIndex(row, column)]);
}

void ReportModel::SetRowCheck(int row, bool checked)
{
    if (row < 0 || row >= m_rowCount)
        return;
    if (m_checks.size() <= static_cast<size_t>(row))
        m_checks.resize(static_cast<size_t>(row) + 1, -1);
    m_checks[static_cast<size_t>(row)] = checked ? 1 : 0;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool ReportModel::RowChecked(int row) const { return CheckOf(row) == 1; }

bool ReportModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || CheckOf(index.row()) < 0)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    SetRowCheck(index.row(), checked);
    Q_EMIT RowCheckToggled(index.row(), checked);
    return true;
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_titles[section];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const
{
    // Not editable through the view: the grid runs its own editor.
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 && CheckOf(index.row()) >= 0 ? flags | Qt::ItemIsUserCheckable : flags;
}

void ReportModel::AppendColumn(const QString& title)
{
    MakeTexts();
    const int column = columnCount();
    beginInsertColumns(QModelIndex(), column, column);
    if (m_rowCount > 0) {
        // Restride the rows; the cells are moved, not copied.
        const size_t oldColumns = static_cast<size_t>(column);
        std::vector<std::string> cells(static_cast<size_t>(m_rowCount) * (oldColumns + 1));
        for (size_t row = 0; row < static_cast<size_t>(m_rowCount); ++row)
            for (size_t c = 0; c < oldColumns; ++c)
                cells[row * (oldColumns + 1) + c] = std::move(m_cells[row * oldColumns + c]);
        m_cells = std::move(cells);
    }
    m_titles.append(title);
    endInsertColumns();
}

QString ReportModel::ColumnTitle(int column) const
{
    return column >= 0 && column < columnCount() ? m_titles[column] : QString();
}

std::string ReportModel::CellUtf8(int row, int column) const
{
    if (!Contains(row, column))
        return {};
    return m_numbers.empty() ? m_cells[CellIndex(row, column)] : ShortestNumberText(m_numbers[CellIndex(row, column)]);
}

void ReportModel::MakeTexts()
{
    if (m_numbers.empty())
        return;
    m_cells.resize(m_numbers.size());
    for (size_t i = 0; i < m_numbers.size(); ++i)
        m_cells[i] = ShortestNumberText(m_numbers[i]);
    std::vector<double>().swap(m_numbers);
}

void ReportModel::SetCellUtf8(int row, int column, std::string_view text)
{
    if (!Contains(row, column))
        return;
    MakeTexts();
    m_cells[CellIndex(row, column)].assign(text.data(), text.size());
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void ReportModel::AppendRowUtf8(const std::vector<std::string>& cells)
{
    const size_t columns = m_titles.size();
    if (columns == 0)
        return;
    MakeTexts();
    beginInsertRows(QModelIndex(), m_rowCount, m_rowCount);
    const size_t first = m_cells.size();
    m_cells.resize(first + columns);
    std::copy_n(cells.begin(), std::min(columns, cells.size()), m_cells.begin() + first);
    ++m_rowCount;
    endInsertRows();
}

void ReportModel::AppendRowsUtf8(std::vector<std::string>&& cells)
{
    const size_t columns = m_titles.size();
    if (columns == 0 || cells.empty())
        return;
    const size_t rows = (cells.size() + columns - 1) / columns;
    if (rows > static_cast<size_t>(INT_MAX - m_rowCount))
        throw std::length_error("ReportModel: too many rows");
    MakeTexts();
    beginResetModel();
    cells.resize(rows * columns);
    if (m_cells.empty()) {
        m_cells = std::move(cells);
    } else {
        m_cells.reserve(m_cells.size() + cells.size());
        std::move(cells.begin(), cells.end(), std::back_inserter(m_cells));
    }
    m_rowCount += static_cast<int>(rows);
    endResetModel();
}

void ReportModel::SetNumberRows(std::vector<double>&& values)
{
    const size_t columns = m_titles.size();
    if (columns == 0 || values.size() / columns > static_cast<size_t>(INT_MAX))
        throw std::length_error("ReportModel: too many rows");
    beginResetModel();
    std::vector<std::string>().swap(m_cells);
    values.resize((values.size() + columns - 1) / columns * columns);
    m_numbers = std::move(values);
    m_rowCount = static_cast<int>(m_numbers.size() / columns);
    endResetModel();
}

void ReportModel::SwapRows(Rows& other)
{
    beginResetModel();
    m_cells.swap(other.cells);
    m_numbers.swap(other.numbers);
    std::swap(m_rowCount, other.count);
    endResetModel();
}

std::vector<std::string> ReportModel::RowTexts(int first, int last) const
{
    std::vector<std::string> texts;
    for (int row = std::max(first, 0); row < std::min(last, m_rowCount); ++row)
        for (int column = 0; column < columnCount(); ++column)
            texts.push_back(CellUtf8(row, column));
    return texts;
}

void ReportModel::RestoreRows(int first, const std::vector<std::string>& texts, int count)
{
    MakeTexts();
    beginResetModel();
    const size_t start = static_cast<size_t>(std::max(first, 0)) * m_titles.size();
    for (size_t i = 0; i < texts.size() && start + i < m_cells.size(); ++i)
        m_cells[start + i] = texts[i];
    m_rowCount = std::clamp(count, 0, m_rowCount);
    m_cells.resize(static_cast<size_t>(m_rowCount) * m_titles.size());
    endResetModel();
}

void ReportModel::Clear()
{
    beginResetModel();
    // swap rather than clear() so a million-row table gives its memory back.
    std::vector<std::string>().swap(m_cells);
    std::vector<double>().swap(m_numbers);
    m_checks.clear();
    m_rowCount = 0;
    endResetModel();
}

namespace {

// Only lines up to the last one with content count, so a closing line break (or
// blank lines under the data) adds no rows: the end of that line.
size_t TextEnd(std::string_view utf8)
{
    size_t contentEnd = utf8.size();
    while (contentEnd > 0 && IsWhiteSpace(utf8[contentEnd - 1]))
        --contentEnd;
    if (contentEnd == 0)
        return 0;
    const size_t lineEnd = utf8.find('\n', contentEnd);
    return lineEnd == std::string_view::npos ? utf8.size() : lineEnd;
}

} // namespace

size_t ReportModel::PasteLineCount(std::string_view utf8)
{
    const size_t end = TextEnd(utf8);
    return end == 0 ? 0 : 1 + static_cast<size_t>(std::count(utf8.begin(), utf8.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

int ReportModel::PasteTabText(std::string_view utf8, int anchorRow, int anchorColumn)
{
    const size_t columns = m_titles.size();
    if (columns == 0)
        return 0;

    const size_t lines = PasteLineCount(utf8);
    if (lines == 0)
        return 0;
    const char* const begin = utf8.data();
    const char* const end = begin + TextEnd(utf8);
    const int firstRow = std::clamp(anchorRow, 0, m_rowCount);
    const size_t firstColumn = static_cast<size_t>(std::max(anchorColumn, 0));
    if (lines > static_cast<size_t>(INT_MAX - firstRow))
        throw std::length_error("ReportModel: too many rows");
    const int rowsNeeded = firstRow + static_cast<int>(lines);

    MakeTexts();
    beginResetModel();
    if (rowsNeeded > m_rowCount) {
        m_cells.resize(static_cast<size_t>(rowsNeeded) * columns);
        m_rowCount = rowsNeeded;
    }

    std::string* row = m_cells.data() + static_cast<size_t>(firstRow) * columns;
    const char* line = begin;
    for (size_t i = 0; i < lines; ++i) {
        const char* lineEnd = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        if (!lineEnd)
            lineEnd = end;
        const char* cell = line;
        for (size_t column = firstColumn; column < columns; ++column) {
            const char* cellEnd =
                static_cast<const char*>(std::memchr(cell, '\t', static_cast<size_t>(lineEnd - cell)));
            const bool lastCell = !cellEnd;
            if (lastCell)
                cellEnd = lineEnd;
            size_t length = static_cast<size_t>(cellEnd - cell);
            if (length > 0 && cell[length - 1] == '\r')
                --length;
            row[column].assign(cell, length);
            if (lastCell)
                break;
            cell = cellEnd + 1;
        }
        row += columns;
        if (lineEnd < end)
            line = lineEnd + 1;
    }
    endResetModel();
    return static_cast<int>(lines);
}
