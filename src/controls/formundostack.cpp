#include "controls/formundostack.h"

#include <QPointer>
#include <QUndoCommand>

#include <memory>
#include <vector>

// One step of a form on one record: the form's commands, done in order and undone in
// reverse, after the record is shown again. A step whose form is gone does nothing:
// its commands acted on the form's widgets.
class RecordStep : public QUndoCommand {
public:
    RecordStep(FormUndoStack* owner, int record, const QString& text, bool applied)
        : QUndoCommand(text), m_owner(owner), m_record(record), m_applied(applied)
    {
    }
    void Add(QUndoCommand* command) { m_parts.emplace_back(command); }

    void redo() override
    {
        if (!m_owner)
            return;
        if (m_applied) {
            m_applied = false; // the commands of a macro ran as they were pushed
        } else {
            if (!m_first)
                m_owner->Reveal(m_record);
            for (const auto& part : m_parts)
                part->redo();
        }
        m_first = false;
        Q_EMIT m_owner->Changed(m_record);
    }
    void undo() override
    {
        if (!m_owner)
            return;
        m_owner->Reveal(m_record);
        for (auto part = m_parts.rbegin(); part != m_parts.rend(); ++part)
            (*part)->undo();
        Q_EMIT m_owner->Changed(m_record);
    }
    // Typing on in one box of one record merges, as the box's own command says.
    int id() const override { return m_parts.size() == 1 ? m_parts.front()->id() : -1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = dynamic_cast<const RecordStep*>(other);
        if (!next || next->m_owner != m_owner || next->m_record != m_record || next->m_parts.size() != 1 ||
            m_parts.size() != 1 || !m_parts.front()->mergeWith(next->m_parts.front().get()))
            return false;
        setText(m_parts.front()->text());
        return true;
    }

private:
    QPointer<FormUndoStack> m_owner;
    int m_record;
    bool m_applied;
    bool m_first = true;
    std::vector<std::unique_ptr<QUndoCommand>> m_parts;
};

FormUndoStack::FormUndoStack(QObject* parent) : QObject(parent), m_stack(&m_own) {}

FormUndoStack::~FormUndoStack() = default;

void FormUndoStack::Attach(QUndoStack* stack, std::function<void(int)> reveal)
{
    m_stack = stack ? stack : &m_own;
    m_reveal = std::move(reveal);
}

void FormUndoStack::push(QUndoCommand* command)
{
    if (m_macro) {
        command->redo();
        m_macro->Add(command);
        return;
    }
    auto* step = new RecordStep(this, m_record, command->text(), false);
    step->Add(command);
    m_stack->push(step);
}

void FormUndoStack::beginMacro(const QString& text) { m_macro = new RecordStep(this, m_record, text, true); }

void FormUndoStack::endMacro()
{
    RecordStep* step = m_macro;
    m_macro = nullptr;
    if (step)
        m_stack->push(step);
}

void FormUndoStack::Forget()
{
    if (m_stack == &m_own)
        m_own.clear();
}

void FormUndoStack::Reveal(int record)
{
    if (m_reveal && record != m_record)
        m_reveal(record);
}
