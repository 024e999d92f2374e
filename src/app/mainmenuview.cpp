#include "app/mainmenuview.h"

#include "controls/treectrlcustom.h"
#include "guibase/captions.h"
#include "guibase/droppedfiles.h"

#include <QVBoxLayout>

CMainMenuView::CMainMenuView(QWidget* parent) : QWidget(parent), m_tree(new CTreeCtrlCustom(this))
{
    m_tree->setObjectName("MainMenuTree");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 5, 0);
    layout->addWidget(m_tree);
    connect(m_tree, &CTreeCtrlCustom::TreeClicked, this, &CMainMenuView::OnClickTree);
    m_tree->viewport()->setAcceptDrops(true);
    m_tree->viewport()->installEventFilter(this);
    // Up and Down move among the items; Enter opens the one reached, as a click does.
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        OnClickTree(m_tree->visualItemRect(item).center());
    });
}

bool CMainMenuView::eventFilter(QObject* watched, QEvent* event)
{
    QStringList paths;
    if (watched == m_tree->viewport() && TakeFileDrop(event, paths)) {
        if (!paths.isEmpty())
            Q_EMIT FilesDropped(paths);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CMainMenuView::BuildTree(int theory_count, int experiment_count)
{
    m_tree->clear();
    m_hLastItem = nullptr;
    m_hPreviousItem = nullptr;
    QTreeWidgetItem* theory = m_tree->InsertItemEx(nullptr, captions::kTheoreticalFormula, 0, 14, 13);
    for (int i = 1; i <= theory_count; ++i)
        m_tree->InsertItemEx(theory, captions::TheoryLaminaTitle(i), i, 0, 1);
    QTreeWidgetItem* experiment = m_tree->InsertItemEx(nullptr, captions::kExperimentalFormula, 0, 14, 13);
    for (int i = 1; i <= experiment_count; ++i)
        m_tree->InsertItemEx(experiment, captions::ExperimentLaminaTitle(i), i, 0, 1);
    m_tree->InsertItemEx(nullptr, captions::kTheory, 0, 14, 13);
    m_tree->ExpandAll(true);
}

QTreeWidgetItem* CMainMenuView::RecordItem(Record record, int id) const
{
    // The folders stand in a fixed order: theory, experiment, the theory page.
    QTreeWidgetItem* folder = m_tree->topLevelItem(record == Record::TheoryLamina ? 0 : 1);
    return folder && id >= 1 && id <= folder->childCount() ? folder->child(id - 1) : nullptr;
}

bool CMainMenuView::MarkShown(Record record, int id)
{
    QTreeWidgetItem* item = RecordItem(record, id);
    if (!item)
        return false;
    m_tree->SelectAndGetData(item);
    m_hLastItem = item;
    return true;
}

void CMainMenuView::OnClickTree(const QPoint& pos)
{
    m_hPreviousItem = m_hLastItem;
    QTreeWidgetItem* item = m_tree->HitTestOnItem(pos);
    m_hLastItem = item;
    if (!item)
        return;
    const int n = m_tree->SelectAndGetData(item);
    if (item->parent() && item->parent() == m_tree->topLevelItem(0))
        Q_EMIT RecordChosen(Record::TheoryLamina, n);
    else if (item->parent() && item->parent() == m_tree->topLevelItem(1))
        Q_EMIT RecordChosen(Record::ExperimentSpecimen, n);
    else if (item == m_tree->topLevelItem(2))
        Q_EMIT TheoryPageChosen();
}

void CMainMenuView::RevertChoice()
{
    m_tree->ClearSelectionMarks();
    m_tree->MarkSelected(m_hPreviousItem);
    m_hLastItem = m_hPreviousItem;
}
