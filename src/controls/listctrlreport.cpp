#include "controls/listctrlreport.h"

#include "controls/formundostack.h"
#include "controls/headercustomctrl.h"
#include "controls/reportitemdelegate.h"
#include "controls/reportmodel.h"
#include "controls/undocommands.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Copy and paste of a million rows take a noticeable moment.
auto ShowWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return qScopeGuard([] { QApplication::restoreOverrideCursor(); });
}

} // namespace

CListCtrlReport::CListCtrlReport(QWidget* parent)
    : QTableView(parent), m_model(new ReportModel(this)), m_header(new CHeaderCustomCtrl(this))
{
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new ReportItemDelegate(this));

    // A Windows report list: black on white, grid lines, whole rows selected, and
    // no editing but the owner's own.
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::white);
    colors.setColor(QPalette::Text, Qt::black);
    setPalette(colors);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false); // Tab leaves the grid, as in any form
    setCornerButtonEnabled(false);

    // Fixed row heights keep a million rows cheap: nothing is measured per row.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ApplyRowHeight();
    SizeLastColumnToFill();

    connect(m_header, &QHeaderView::sectionResized, this, &CListCtrlReport::PlaceEditor);
    connect(m_header, &QHeaderView::sectionMoved, this, &CListCtrlReport::PlaceEditor);
}

CListCtrlReport::~CListCtrlReport() = default;

void CListCtrlReport::InsertColumn(const QString& title, int width)
{
    m_model->AppendColumn(title);
    setColumnWidth(m_model->columnCount() - 1, width);
}

void CListCtrlReport::SizeLastColumnToFill()
{
    m_header->setStretchLastSection(true);
}

int CListCtrlReport::GetItemCount() const
{
    return m_model->rowCount();
}

int CListCtrlReport::GetColumnCount() const
{
    return m_model->columnCount();
}

QString CListCtrlReport::GetItemText(int row, int column) const
{
    return QString::fromStdString(m_model->CellUtf8(row, column));
}

void CListCtrlReport::SetItemText(int row, int column, const QString& text)
{
    m_model->SetCellUtf8(row, column, text.toStdString());
}

void CListCtrlReport::DeleteAllItems()
{
    if (m_editing) {
        m_editing = false;
        m_editor->hide();
    }
    m_model->Clear();
}

void CListCtrlReport::AppendRow(const QStringList& texts)
{
    if (texts.isEmpty())
        throw std::invalid_argument("CListCtrlReport::AppendRow: no texts");
    const qsizetype count = std::min<qsizetype>(texts.size(), m_model->columnCount());
    std::vector<std::string> cells;
    cells.reserve(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        cells.push_back(texts[i].toStdString());
    m_model->AppendRowUtf8(cells);
}

void CListCtrlReport::AppendRowText(const QString& text, int column)
{
    if (column < 0 || column >= m_model->columnCount())
        throw std::out_of_range("CListCtrlReport::AppendRowText: no such column");
    std::vector<std::string> cells(static_cast<size_t>(m_model->columnCount()));
    cells[static_cast<size_t>(column)] = text.toStdString();
    m_model->AppendRowUtf8(cells);
}

void CListCtrlReport::BeginCellEdit(const QPoint& pos)
{
    EndCellEdit();
    int row = -1;
    int column = -1;
    if (HitTest(pos, row, column))
        EditCell(row, column);
}

bool CListCtrlReport::IsEditable(int row, int column) const
{
    return row >= 0 && column >= 0 && row < GetItemCount() && column < GetColumnCount() &&
           (!m_editable || m_editable(row, column));
}

void CListCtrlReport::EditCell(int row, int column, const QString* replacement)
{
    EndCellEdit();
    if (row < 0 || column < 0 || row >= GetItemCount() || column >= GetColumnCount())
        return;
    m_editRow = row;
    m_editColumn = column;
    if (!IsEditable(row, column))
        return;

    const QRect cell = visualRect(m_model->index(row, column));
    if (cell.isEmpty())
        return;
    if (!m_editor) {
        m_editor = new QLineEdit(viewport());
        m_editor->setObjectName(QStringLiteral("cellEditor"));
        // A thin line instead of the style's frame, which would not fit a compact row.
        m_editor->setFrame(false);
        m_editor->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(shadow); }"));
        m_editor->installEventFilter(this);
        if (m_undo)
            PassUndoKeys(m_editor); // the grid's steps, not the editor's own
    }
    m_editor->setFont(font());
    m_editor->setMaxLength(m_maxLengths.value(column, 32767));
    m_editor->setText(replacement ? *replacement : GetItemText(row, column));
    m_editor->setGeometry(cell);
    if (replacement)
        m_editor->deselect();
    else
        m_editor->selectAll();
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus();
    m_editing = true;
}

void CListCtrlReport::EndCellEdit()
{
    if (!m_editing)
        return;
    // The editor's text even when it is hidden: an owner closing its form ends the
    // edit after the form disappeared, and what was typed must not be lost.
    const QString text = m_editor->text();
    m_editing = false;
    const bool editorHadFocus = m_editor->hasFocus();
    m_editor->hide();
    if (editorHadFocus)
        setFocus();
    const std::string value = text.toStdString();
    std::string before = m_model->CellUtf8(m_editRow, m_editColumn);
    const bool changed = before != value;
    if (changed && m_undo)
        m_undo->push(new CellEditCommand(m_model, m_editRow, m_editColumn, std::move(before), value));
    else if (changed)
        m_model->SetCellUtf8(m_editRow, m_editColumn, value);
    viewport()->update();
    if (changed)
        Q_EMIT CellsEdited();
}

void CListCtrlReport::SetPasteAnchor(int row, int column)
{
    // The anchor is also the edited cell; an open edit keeps its own cell.
    EndCellEdit();
    m_editRow = row;
    m_editColumn = column;
}

bool CListCtrlReport::HitTest(const QPoint& pos, int& row, int& column) const
{
    row = rowAt(pos.y());
    column = columnAt(pos.x());
    return row >= 0 && column >= 0;
}

void CListCtrlReport::CopySelectionToClipboard()
{
    if (!selectionModel())
        return;
    // Row spans straight from the selection ranges: a select-all of a million rows is
    // one range, not a million indexes.
    std::vector<std::pair<int, int>> spans;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (range.isValid())
            spans.emplace_back(range.top(), range.bottom());
    if (spans.empty())
        return;
    const auto waitCursor = ShowWaitCursor();

    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, span.second);
        else
            merged.push_back(span);
    }

    const int columns = m_model->columnCount();
    std::string text;
    bool firstRow = true;
    for (const auto& [top, bottom] : merged) {
        for (int row = top; row <= bottom; ++row) {
            if (!firstRow)
                text += "\r\n";
            firstRow = false;
            for (int column = 0; column < columns; ++column) {
                if (column > 0)
                    text += '\t';
                text += m_model->CellUtf8(row, column);
            }
        }
    }
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void CListCtrlReport::PasteFromClipboard()
{
    EndCellEdit();
    const auto waitCursor = ShowWaitCursor();
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        PasteText(text);
}

void CListCtrlReport::PasteText(const QString& text)
{
    // A later EndCellEdit must not write stale editor text over the pasted cell.
    EndCellEdit();
    const auto waitCursor = ShowWaitCursor();
    int row = m_editRow;
    int column = m_editColumn;
    if (row < 0 || column < 0) {
        row = 0;
        column = 0;
    }
    // Labels are never written: the paste starts at the row's first cell the user may write.
    while (m_editable && column < GetColumnCount() && row < GetItemCount() && !IsEditable(row, column))
        ++column;
    if (m_editable && column >= GetColumnCount())
        return;
    QByteArray utf8 = LimitCellLengths(text, column).toUtf8();
    if (m_fixedRows) {
        // Lines past the last row have no row to go to.
        const int room = GetItemCount() - row;
        if (room <= 0)
            return;
        qsizetype end = 0;
        for (int line = 0; line < room && end >= 0; ++line)
            end = utf8.indexOf('\n', line == 0 ? 0 : end + 1);
        if (end >= 0)
            utf8.truncate(end);
    }
    if (m_undo)
        m_undo->push(new PasteCommand(m_model, utf8.toStdString(), row, column));
    else
        m_model->PasteTabText(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), row, column);
    Q_EMIT CellsEdited();
}

QString CListCtrlReport::LimitCellLengths(const QString& text, int firstColumn) const
{
    // A paste holds no more than the editor would take (a name a project can keep).
    if (m_maxLengths.isEmpty())
        return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        QStringList cells = line.split(QLatin1Char('\t'));
        for (qsizetype k = 0; k < cells.size(); ++k) {
            const auto limit = m_maxLengths.constFind(firstColumn + static_cast<int>(k));
            if (limit != m_maxLengths.constEnd() && cells[k].size() > *limit)
                cells[k].truncate(*limit);
        }
        line = cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void CListCtrlReport::AppendEmptyRow()
{
    if (m_undo)
        m_undo->push(new AppendRowCommand(m_model));
    else
        m_model->AppendRowUtf8({});
}

bool CListCtrlReport::StepToEditable(int step, int& row, int& column)
{
    const long long columns = GetColumnCount();
    if (columns == 0)
        return false;
    long long at = std::max(m_editRow, 0) * columns + std::max(m_editColumn, 0);
    // Labels take a few cells of a row at most: two rows' worth finds the next cell.
    for (long long tried = 0; tried < 2 * columns; ++tried) {
        at += step;
        if (at < 0)
            return false;
        if (at >= GetItemCount() * columns) {
            if (!m_editable || m_fixedRows || step < 0)
                return false;
            AppendEmptyRow();
        }
        row = static_cast<int>(at / columns);
        column = static_cast<int>(at % columns);
        if (IsEditable(row, column))
            return true;
    }
    return false;
}

CListCtrlReport::KeyAction CListCtrlReport::ActionFor(const QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return KeyAction::EndEdit;
    if (key == Qt::Key_Tab && !event->modifiers().testFlag(Qt::ShiftModifier))
        return KeyAction::Next;
    if (key == Qt::Key_Backtab || key == Qt::Key_Tab)
        return KeyAction::Previous;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool controlOnly = modifiers.testFlag(Qt::ControlModifier) &&
                             !modifiers.testFlag(Qt::ShiftModifier) &&
                             !modifiers.testFlag(Qt::AltModifier);
    if (controlOnly && key == Qt::Key_Home)
        return KeyAction::First;
    if (controlOnly && key == Qt::Key_End)
        return KeyAction::Last;
    if (controlOnly && key == Qt::Key_V)
        return KeyAction::Paste;
    if (controlOnly && key == Qt::Key_C)
        return KeyAction::Copy;
    return KeyAction::None;
}

bool CListCtrlReport::HandleKey(QKeyEvent* event)
{
    switch (ActionFor(event)) {
    case KeyAction::None:
        return false;
    case KeyAction::EndEdit: {
        // Swallowed even with no edit open, so a dialog's default button never fires.
        const int row = m_editRow;
        const int column = m_editColumn;
        EndCellEdit();
        if (row >= 0 && row + 1 >= GetItemCount() && m_editable && !m_fixedRows)
            AppendEmptyRow(); // typing readings in goes on below the last one
        if (row >= 0 && row + 1 < GetItemCount())
            MoveTo(row + 1, column);
        break;
    }
    case KeyAction::Next:
    case KeyAction::Previous: {
        // What was typed is stored before the move, which may add a row.
        EndCellEdit();
        int row = 0;
        int column = 0;
        if (StepToEditable(ActionFor(event) == KeyAction::Next ? 1 : -1, row, column))
            MoveTo(row, column);
        break;
    }
    case KeyAction::First:
    case KeyAction::Last:
        if (GetItemCount() > 0)
            MoveTo(ActionFor(event) == KeyAction::First ? 0 : GetItemCount() - 1, std::max(m_editColumn, 0));
        break;
    case KeyAction::Paste:
        PasteFromClipboard();
        break;
    case KeyAction::Copy:
        CopySelectionToClipboard();
        break;
    }
    event->accept();
    return true;
}

void CListCtrlReport::MoveTo(int row, int column)
{
    EndCellEdit();
    const QModelIndex cell = m_model->index(row, column);
    if (!cell.isValid())
        return;
    SetPasteAnchor(row, column);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell);
    Q_EMIT GridClicked(visualRect(cell).center());
}

bool CListCtrlReport::event(QEvent* event)
{
    // Tab moves between cells here; the widget would take it to move the focus on.
    if (event->type() == QEvent::KeyPress) {
        const KeyAction action = ActionFor(static_cast<QKeyEvent*>(event));
        if ((action == KeyAction::Next || action == KeyAction::Previous) && HandleKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    // Claim our keys before a window's Copy or Paste shortcut can take them.
    if (event->type() == QEvent::ShortcutOverride &&
        ActionFor(static_cast<QKeyEvent*>(event)) != KeyAction::None) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

bool CListCtrlReport::eventFilter(QObject* watched, QEvent* event)
{
    if (m_editor && watched == m_editor) {
        if (event->type() == QEvent::ShortcutOverride &&
            ActionFor(static_cast<QKeyEvent*>(event)) != KeyAction::None) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}

void CListCtrlReport::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event) && !HandleCellKey(event))
        QTableView::keyPressEvent(event);
}

bool CListCtrlReport::HandleCellKey(QKeyEvent* event)
{
    if (!m_editable || m_editing)
        return false;
    // The cell the keyboard chose, else the one last clicked.
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : m_editRow;
    const int column = current.isValid() ? current.column() : m_editColumn;
    if (!IsEditable(row, column))
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (event->key() == Qt::Key_F2 && modifiers == Qt::NoModifier) {
        EditCell(row, column);
    } else if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        SetPasteAnchor(row, column);
        std::string before = m_model->CellUtf8(row, column);
        if (before.empty())
            return true;
        if (m_undo)
            m_undo->push(new CellEditCommand(m_model, row, column, std::move(before), std::string()));
        else
            m_model->SetCellUtf8(row, column, {});
        Q_EMIT CellsEdited();
    } else {
        const QString text = event->text();
        if (modifiers != Qt::NoModifier || text.isEmpty() || !text.at(0).isPrint())
            return false;
        EditCell(row, column, &text);
    }
    event->accept();
    return true;
}

void CListCtrlReport::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT GridClicked(event->position().toPoint());
}

void CListCtrlReport::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    PlaceEditor();
}

void CListCtrlReport::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void CListCtrlReport::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ApplyRowHeight();
        if (m_editor)
            m_editor->setFont(font());
        PlaceEditor();
    }
}

void CListCtrlReport::ApplyRowHeight()
{
    const int height = fontMetrics().height() + 4;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void CListCtrlReport::PlaceEditor()
{
    if (m_editing)
        m_editor->setGeometry(visualRect(m_model->index(m_editRow, m_editColumn)));
}
