#include "app/mainmenuview.h"

#include "app/captions.h"
#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/plyforgeview.h"
#include "controls/treectrlcustom.h"

#include <QVBoxLayout>

CMainMenuView::CMainMenuView(CMainFrame* frame, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_tree(new CTreeCtrlCustom(this))
{
    m_tree->setObjectName("MainMenuTree");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 5, 0);
    layout->addWidget(m_tree);
    connect(m_tree, &CTreeCtrlCustom::TreeClicked, this, &CMainMenuView::OnClickTree);
}

void CMainMenuView::BuildTree(int theory_count, int experiment_count)
{
    m_tree->clear();
    m_hLastItem = nullptr;
    QTreeWidgetItem* theory = m_tree->InsertItemEx(nullptr, captions::kTheoreticalFormula, 0, 14, 13);
    for (int i = 1; i <= theory_count; ++i)
        m_tree->InsertItemEx(theory, QString("%1%2").arg(captions::kTheoreticalLamina).arg(i), i, 0, 1);
    QTreeWidgetItem* experiment = m_tree->InsertItemEx(nullptr, captions::kExperimentalFormula, 0, 14, 13);
    for (int i = 1; i <= experiment_count; ++i)
        m_tree->InsertItemEx(experiment, QString("%1%2").arg(captions::kExperimentalLamina).arg(i), i, 0, 1);
    m_tree->InsertItemEx(nullptr, captions::kTheory, 0, 14, 13);
    m_tree->ExpandAll(true);
}

bool CMainMenuView::MarkShown(const QString& text)
{
    const QList<QTreeWidgetItem*> items = m_tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.isEmpty())
        return false;
    m_tree->SelectAndGetData(items.first());
    m_hLastItem = items.first();
    return true;
}

void CMainMenuView::OnClickTree(const QPoint& pos)
{
    QTreeWidgetItem* previous = m_hLastItem;
    QTreeWidgetItem* item = m_tree->HitTestOnItem(pos);
    m_hLastItem = item;
    if (!item)
        return;

    const QString text = item->text(0);
    int n = m_tree->SelectAndGetData(item);
    bool lamina = false;
    bool shown = false;
    if (text.contains(captions::kTheoreticalLamina)) {
        lamina = true;
        auto* view = qobject_cast<CPlyforgeView*>(m_frame->ShowViewByTitle(CMainFrame::MakeTheoryLaminaTitle(n)));
        shown = view && view->ShowTheoryLamina(n) >= 0;
    } else if (text.contains(captions::kExperimentalLamina)) {
        lamina = true;
        auto* view =
            qobject_cast<CPlyforgeView*>(m_frame->ShowViewByTitle(CMainFrame::MakeExperimentLaminaTitle(n)));
        shown = view && view->ShowExperimentLamina(n) >= 0;
    } else if (text == captions::kTheory) {
        m_frame->ShowViewByTitle(captions::kTheoryView);
    }
    if (lamina && !shown) {
        // The highlight goes back to where it was.
        m_tree->ClearSelectionMarks();
        m_tree->MarkSelected(previous);
        m_hLastItem = previous;
    }
    if (CChildFrame* child = m_frame->ActiveChild(); child && child->View())
        child->View()->update();
    m_frame->UpdateCommandUI();
}
