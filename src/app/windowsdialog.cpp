#include "app/windowsdialog.h"

#include "app/childframe.h"
#include "app/mditabarea.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

WindowsDialog::WindowsDialog(MdiTabArea* area, QWidget* parent)
    : QDialog(parent), m_area(area), m_list(new QListWidget)
{
    setWindowTitle(tr("Windows"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* activate = new QPushButton(tr("&Activate"));
    auto* close = new QPushButton(tr("&Close Window(s)"));
    auto* done = new QPushButton(tr("OK"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(activate);
    buttons->addWidget(close);
    buttons->addStretch();
    buttons->addWidget(done);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    connect(activate, &QPushButton::clicked, this, &WindowsDialog::ActivateSelected);
    connect(close, &QPushButton::clicked, this, &WindowsDialog::CloseSelected);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &WindowsDialog::ActivateSelected);
    Fill();
}

void WindowsDialog::Fill()
{
    m_list->clear();
    for (CChildFrame* child : m_area->Children()) {
        auto* item = new QListWidgetItem(child->TabLabel(), m_list);
        item->setData(Qt::UserRole, QVariant::fromValue<QObject*>(child));
        if (child == m_area->ActiveChild())
            m_list->setCurrentItem(item);
    }
}

void WindowsDialog::ActivateSelected()
{
    if (QListWidgetItem* item = m_list->currentItem()) {
        if (auto* child = qobject_cast<CChildFrame*>(item->data(Qt::UserRole).value<QObject*>()))
            m_area->Activate(child);
        accept();
    }
}

void WindowsDialog::CloseSelected()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    for (QListWidgetItem* item : selected) {
        if (auto* child = qobject_cast<CChildFrame*>(item->data(Qt::UserRole).value<QObject*>()))
            m_area->CloseChild(child);
    }
    Fill();
}
