#pragma once

#include <QUndoStack>

// A form's undo steps since its record was shown. Changed tells that a step was
// done, undone or redone, so the form can say it changed; Forget drops the steps
// when another record is shown, without telling.
class FormUndoStack : public QUndoStack {
    Q_OBJECT

public:
    explicit FormUndoStack(QObject* parent = nullptr);
    void Forget();

Q_SIGNALS:
    void Changed();

private:
    bool m_forgetting = false;
};
