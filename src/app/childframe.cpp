#include "app/childframe.h"

#include "doc/plyforgedoc.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

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
    // In a scroll area: a view larger than a small window scrolls instead of making
    // the window larger than the screen. Most of its height still counts, so the log
    // pane gives up room before a view's chart or lists do.
    m_scroll = new QScrollArea;
    m_scroll->setObjectName("ViewScroll");
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(view);
    view->installEventFilter(this);
    FollowViewHeight();
    layout()->addWidget(m_scroll);
}

void CChildFrame::FollowViewHeight()
{
    constexpr int kMostHeightAsked = 380; // a 700-pixel screen keeps room for the ribbon and the log
    const int bar = m_scroll->horizontalScrollBar()->sizeHint().height();
    m_scroll->setMinimumHeight(std::min(m_view->minimumSizeHint().height(), kMostHeightAsked) + bar);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::LayoutRequest)
        FollowViewHeight();
    return QWidget::eventFilter(watched, event);
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
