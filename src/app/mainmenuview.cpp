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
    m_hPreviousItem = m_hLastItem;
    QTreeWidgetItem* item = m_tree->HitTestOnItem(pos);
    m_hLastItem = item;
    if (!item)
        return;
    const QString text = item->text(0);
    const int n = m_tree->SelectAndGetData(item);
    if (text.contains(captions::kTheoreticalLamina))
        Q_EMIT RecordChosen(Record::TheoryLamina, n);
    else if (text.contains(captions::kExperimentalLamina))
        Q_EMIT RecordChosen(Record::ExperimentSpecimen, n);
    else if (text == captions::kTheory)
        Q_EMIT TheoryPageChosen();
}

void CMainMenuView::RevertChoice()
{
    m_tree->ClearSelectionMarks();
    m_tree->MarkSelected(m_hPreviousItem);
    m_hLastItem = m_hPreviousItem;
}
