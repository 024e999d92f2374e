#include "app/mditabarea.h"

#include "app/childframe.h"

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

MdiTabArea::MdiTabArea(QWidget* parent) : QSplitter(Qt::Horizontal, parent)
{
    setChildrenCollapsible(false);
    setHandleWidth(5);
    // The group the user works in becomes the active one.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (auto* group = qobject_cast<QTabWidget*>(w); group && group->parentWidget() == this) {
                SetActiveGroup(group);
                return;
            }
        }
    });
}

QTabWidget* MdiTabArea::NewGroup()
{
    auto* group = new QTabWidget;
    group->setTabsClosable(true);
    group->setMovable(true);
    group->setDocumentMode(true);
    group->setElideMode(Qt::ElideRight);
    // The document menu at the right of the tabs lists every open window.
    auto* menuButton = new QToolButton(group);
    menuButton->setText(QStringLiteral("\u25BE"));
    menuButton->setToolTip(tr("Open windows"));
    menuButton->setAutoRaise(true);
    menuButton->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(menuButton);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowMenu(menu); });
    menuButton->setMenu(menu);
    group->setCornerWidget(menuButton, Qt::TopRightCorner);

    connect(group, &QTabWidget::tabCloseRequested, this, [this, group](int index) {
        if (auto* child = qobject_cast<CChildFrame*>(group->widget(index)))
            CloseChild(child);
    });
    connect(group, &QTabWidget::currentChanged, this, [this, group](int) {
        SetActiveGroup(group);
        Q_EMIT ActiveChildChanged();
    });
    connect(group->tabBar(), &QTabBar::tabBarClicked, this, [this, group](int) { SetActiveGroup(group); });
    addWidget(group);
    return group;
}

void MdiTabArea::AddChild(CChildFrame* child, bool new_group)
{
    QTabWidget* group = (new_group || !m_activeGroup) ? NewGroup() : m_activeGroup;
    const int index = group->addTab(child, child->TabLabel());
    const auto relabel = [this, child] {
        if (QTabWidget* g = GroupOf(child))
            g->setTabText(g->indexOf(child), child->TabLabel());
    };
    connect(child, &QWidget::windowTitleChanged, this, relabel);
    connect(child, &CChildFrame::TabLabelChanged, this, relabel);
    if (new_group) {
        // Side by side, sharing the width evenly.
        QList<int> sizes;
        for (int i = 0; i < count(); ++i)
            sizes << 1000;
        setSizes(sizes);
    }
    SetActiveGroup(group);
    group->setCurrentIndex(index);
    Q_EMIT ActiveChildChanged();
}

void MdiTabArea::Activate(CChildFrame* child)
{
    QTabWidget* group = GroupOf(child);
    if (!group)
        return;
    SetActiveGroup(group);
    group->setCurrentWidget(child);
    Q_EMIT ActiveChildChanged();
}

void MdiTabArea::CloseChild(CChildFrame* child)
{
    QTabWidget* group = GroupOf(child);
    if (!group)
        return;
    group->removeTab(group->indexOf(child));
    child->hide();
    delete child;
    RemoveEmptyGroups();
    Q_EMIT ActiveChildChanged();
}

CChildFrame* MdiTabArea::ActiveChild() const
{
    if (!m_activeGroup)
        return nullptr;
    return qobject_cast<CChildFrame*>(m_activeGroup->currentWidget());
}

QList<CChildFrame*> MdiTabArea::Children() const
{
    QList<CChildFrame*> children;
    for (QTabWidget* group : Groups()) {
        for (int i = 0; i < group->count(); ++i) {
            if (auto* child = qobject_cast<CChildFrame*>(group->widget(i)))
                children << child;
        }
    }
    return children;
}

QList<QTabWidget*> MdiTabArea::Groups() const
{
    QList<QTabWidget*> groups;
    for (int i = 0; i < count(); ++i) {
        if (auto* group = qobject_cast<QTabWidget*>(widget(i)))
            groups << group;
    }
    return groups;
}

QTabWidget* MdiTabArea::GroupOf(const CChildFrame* child) const
{
    for (QTabWidget* group : Groups()) {
        if (group->indexOf(const_cast<CChildFrame*>(child)) >= 0)
            return group;
    }
    return nullptr;
}

void MdiTabArea::SetActiveGroup(QTabWidget* group)
{
    if (m_activeGroup == group)
        return;
    m_activeGroup = group;
    Q_EMIT ActiveChildChanged();
}

void MdiTabArea::RemoveEmptyGroups()
{
    for (QTabWidget* group : Groups()) {
        if (group->count() == 0) {
            if (m_activeGroup == group)
                m_activeGroup = nullptr;
            group->hide();
            group->deleteLater();
            group->setParent(nullptr);
        }
    }
    if (!m_activeGroup && !Groups().isEmpty())
        m_activeGroup = Groups().first();
}

void MdiTabArea::FillWindowMenu(QMenu* menu)
{
    menu->clear();
    for (CChildFrame* child : Children()) {
        QAction* action = menu->addAction(child->TabLabel());
        action->setCheckable(true);
        action->setChecked(child == ActiveChild());
        connect(action, &QAction::triggered, this, [this, child] { Activate(child); });
    }
    menu->addSeparator();
    QAction* windows = menu->addAction(tr("&Windows..."));
    windows->setObjectName("ID_WINDOW_MANAGER");
    connect(windows, &QAction::triggered, this, &MdiTabArea::WindowsDialogRequested);
}
