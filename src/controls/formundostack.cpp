#include "controls/formundostack.h"

FormUndoStack::FormUndoStack(QObject* parent) : QUndoStack(parent)
{
    connect(this, &QUndoStack::indexChanged, this, [this] {
        if (!m_forgetting)
            Q_EMIT Changed();
    });
}

void FormUndoStack::Forget()
{
    m_forgetting = true;
    clear();
    m_forgetting = false;
}
