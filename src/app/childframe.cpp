#include "app/childframe.h"

#include "doc/plyforgedoc.h"

#include <QVBoxLayout>

CChildFrame::CChildFrame(std::shared_ptr<CPlyforgeDoc> doc, int template_index, QWidget* parent)
    : QWidget(parent), m_doc(std::move(doc)), m_templateIndex(template_index)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

// The document goes with its last window: the shared pointer releases it here.
CChildFrame::~CChildFrame() = default;

void CChildFrame::SetView(QWidget* view)
{
    m_view = view;
    // A view that names itself gives the window its caption.
    if (!view->windowTitle().isEmpty())
        SetCaption(view->windowTitle());
    layout()->addWidget(view);
}

void CChildFrame::SetFileName(const QString& name)
{
    if (name == m_fileName)
        return;
    m_fileName = name;
    Q_EMIT TabLabelChanged();
}

QString CChildFrame::TabLabel() const
{
    return m_fileName.isEmpty() ? Caption() : m_fileName + " - " + Caption();
}

CChildFrame* CChildFrame::Of(const QWidget* widget)
{
    for (QWidget* w = const_cast<QWidget*>(widget); w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            return frame;
    }
    return nullptr;
}
