#pragma once

#include <QList>
#include <QSplitter>

class CChildFrame;
class QMenu;
class QTabWidget;

// The tabbed window area: groups of tabs side by side, each tab one child frame.
// The active child is the current tab of the group the user last worked in.
class MdiTabArea : public QSplitter {
    Q_OBJECT

public:
    explicit MdiTabArea(QWidget* parent = nullptr);

    // Adds the child as a tab of the active group, or of a new group beside it.
    void AddChild(CChildFrame* child, bool new_group);
    void Activate(CChildFrame* child);
    // Closes the tab and deletes the child.
    void CloseChild(CChildFrame* child);

    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    QList<QTabWidget*> Groups() const;
    // The group that shows the child as a tab, or nullptr.
    QTabWidget* GroupOf(const CChildFrame* child) const;

Q_SIGNALS:
    void ActiveChildChanged();
    // "Windows..." was chosen in the window menu; the main window shows the list.
    void WindowsDialogRequested();

private:
    QTabWidget* NewGroup();
    void SetActiveGroup(QTabWidget* group);
    void RemoveEmptyGroups();
    void FillWindowMenu(QMenu* menu);

    QTabWidget* m_activeGroup = nullptr;
};
