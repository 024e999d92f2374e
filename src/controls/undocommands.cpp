#include "controls/undocommands.h"

#include "controls/formundostack.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

#include <algorithm>

namespace {

// The text an edit box showed after its last step: where the next typing starts from.
constexpr const char* kShownText = "undoShownText";

bool IsUndoKey(const QKeyEvent* event)
{
    return event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
           (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier);
}

class UndoKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Kept from the widget and left unclaimed, the key goes to the window's action;
        // a key press that would follow is not the widget's business either.
        if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
            IsUndoKey(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

CellEditCommand::CellEditCommand(ReportModel* model, int row, int column, std::string before, std::string after)
    : QUndoCommand(QObject::tr("Edit cell")), m_model(model), m_row(row), m_column(column),
      m_before(std::move(before)), m_after(std::move(after))
{
}

PasteCommand::PasteCommand(ReportModel* model, std::string text, int row, int column)
    : QUndoCommand(QObject::tr("Paste")), m_model(model), m_text(std::move(text)), m_row(row), m_column(column)
{
}

AppendRowCommand::AppendRowCommand(ReportModel* model) : QUndoCommand(QObject::tr("New row")), m_model(model) {}

void AppendRowCommand::redo()
{
    m_count = m_model->rowCount();
    m_model->AppendRowUtf8({});
}

void PasteCommand::redo()
{
    m_rowCount = m_model->rowCount();
    m_first = std::clamp(m_row, 0, m_rowCount);
    m_before = m_model->RowTexts(m_first, m_first + ReportModel::PasteLineCount(m_text));
    m_model->PasteTabText(m_text, m_row, m_column);
}

ReplaceRowsCommand::ReplaceRowsCommand(ReportModel* model, ReportModel::Rows rows, const QString& text)
    : QUndoCommand(text), m_model(model), m_rows(std::move(rows))
{
}

LineEditCommand::LineEditCommand(QLineEdit* edit, QString before, QString after)
    : QUndoCommand(QObject::tr("Typing")), m_edit(edit), m_before(std::move(before)), m_after(std::move(after))
{
}

void LineEditCommand::redo() { SetEditText(m_edit, m_after); }

void LineEditCommand::undo() { SetEditText(m_edit, m_before); }

bool LineEditCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const LineEditCommand*>(other);
    if (next->m_edit != m_edit)
        return false;
    m_after = next->m_after;
    return true;
}

void SetEditText(QLineEdit* edit, const QString& text)
{
    edit->setProperty(kShownText, text);
    if (edit->text() != text)
        edit->setText(text);
}

void PassUndoKeys(QWidget* widget) { widget->installEventFilter(new UndoKeyFilter(widget)); }

void TrackEdit(QLineEdit* edit, FormUndoStack* stack)
{
    edit->setProperty(kShownText, edit->text());
    PassUndoKeys(edit);
    QObject::connect(edit, &QLineEdit::textEdited, stack, [edit, stack](const QString& now) {
        const QString before = edit->property(kShownText).toString();
        // Pushing runs redo, which shows the text the box shows already.
        stack->push(new LineEditCommand(edit, before, now));
    });
}

ComboChoiceCommand::ComboChoiceCommand(QComboBox* combo, int before, int after)
    : QUndoCommand(QObject::tr("Choice")), m_combo(combo), m_before(before), m_after(after)
{
}

// Set programmatically, the box reports currentIndexChanged (the form follows it) but
// not activated, so no new step is made.
void ComboChoiceCommand::redo()
{
    m_combo->setProperty(kShownText, m_after);
    m_combo->setCurrentIndex(m_after);
}

void ComboChoiceCommand::undo()
{
    m_combo->setProperty(kShownText, m_before);
    m_combo->setCurrentIndex(m_before);
}

void TrackCombo(QComboBox* combo, FormUndoStack* stack)
{
    combo->setProperty(kShownText, combo->currentIndex());
    QObject::connect(combo, &QComboBox::activated, combo, [combo, stack](int index) {
        const int before = combo->property(kShownText).toInt();
        if (before == index)
            return;
        combo->setProperty(kShownText, index);
        stack->push(new ComboChoiceCommand(combo, before, index));
    });
}

void SetComboChoice(QComboBox* combo, int index)
{
    combo->setProperty(kShownText, index);
    combo->setCurrentIndex(index);
}
