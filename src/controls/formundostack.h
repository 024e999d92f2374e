#pragma once

#include <QObject>
#include <QUndoStack>

#include <functional>

class RecordStep;

// A form's undo steps, each made on the record the form shows. Attached to a
// project's stack, every step goes there, tagged with its record: undoing or redoing
// it later shows that record again first, so Undo reaches back past a switch of
// records. On its own (a form without a project), the steps go on its own stack.
class FormUndoStack : public QObject {
    Q_OBJECT

public:
    explicit FormUndoStack(QObject* parent = nullptr);
    ~FormUndoStack() override;

    // reveal(record) shows the record a step was made on before the step is undone or redone.
    void Attach(QUndoStack* stack, std::function<void(int record)> reveal);
    // The record the form shows from now on.
    void SetRecord(int record) { m_record = record; }
    int Record() const { return m_record; }
    // Where the steps are: the project's stack, or the form's own.
    QUndoStack* Stack() const { return m_stack; }

    // A step done on the record shown; push runs its redo, as QUndoStack::push does.
    void push(QUndoCommand* command);
    // Steps pushed between these are one step.
    void beginMacro(const QString& text);
    void endMacro();
    // A record shown afresh: on its own, the form's steps are dropped without a word;
    // a project's steps stay, as they belong to the records they were made on.
    void Forget();

Q_SIGNALS:
    // A step of this record was done, undone or redone.
    void Changed(int record);

private:
    friend class RecordStep;
    void Reveal(int record);

    QUndoStack m_own;
    QUndoStack* m_stack;
    std::function<void(int)> m_reveal;
    int m_record = 0;
    RecordStep* m_macro = nullptr;
};
