#pragma once

#include <QWidget>

class CMainFrame;
class CTreeCtrlCustom;
class QTreeWidgetItem;

// The "Main Menu" pane: the project's tree of theory laminae, experiment
// specimens and the theory page. A click on a lamina shows its form.
class CMainMenuView : public QWidget {
    Q_OBJECT

public:
    explicit CMainMenuView(CMainFrame* frame, QWidget* parent = nullptr);

    CTreeCtrlCustom* Tree() const { return m_tree; }
    void BuildTree(int theory_count, int experiment_count);
    // The click at pos (tree viewport coordinates).
    void OnClickTree(const QPoint& pos);
    // Highlights the item with this text, as a click on it would have; false when
    // there is none.
    bool MarkShown(const QString& text);

private:
    CMainFrame* m_frame;
    CTreeCtrlCustom* m_tree;
    QTreeWidgetItem* m_hLastItem = nullptr;
};
