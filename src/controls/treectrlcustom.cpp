#include "controls/treectrlcustom.h"

#include <QBitmap>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPixmap>

namespace {

QPixmap StripImage(int index)
{
    static const QPixmap strip = [] {
        QPixmap pixmap(":/images/tree16.png");
        if (!pixmap.isNull())
            pixmap.setMask(pixmap.createMaskFromColor(QColor(0xFF, 0x00, 0xFF)));
        return pixmap;
    }();
    if (strip.isNull())
        return {};
    return strip.copy(index * 16, 0, 16, 16);
}

} // namespace

CTreeCtrlCustom::CTreeCtrlCustom(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    // A narrow pane scrolls sideways rather than cutting "Theoretical Lamina #12"
    // to a text that no longer tells the laminae apart.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(true);
}

QIcon CTreeCtrlCustom::StripIcon(int image, int selected_image)
{
    QIcon icon;
    icon.addPixmap(StripImage(image), QIcon::Normal);
    icon.addPixmap(StripImage(selected_image), QIcon::Selected);
    return icon;
}

QTreeWidgetItem* CTreeCtrlCustom::InsertItemEx(QTreeWidgetItem* parent, const QString& text, int data,
                                               int image, int selected_image)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text.left(60));
    item->setData(0, Qt::UserRole, data);
    item->setIcon(0, StripIcon(image, selected_image));
    return item;
}

int CTreeCtrlCustom::SelectAndGetData(QTreeWidgetItem* item)
{
    setCurrentItem(item);
    return item->data(0, Qt::UserRole).toInt();
}

void CTreeCtrlCustom::ExpandAll(bool expand)
{
    if (expand)
        expandAll();
    else
        collapseAll();
}

void CTreeCtrlCustom::ClearSelectionMarks() { clearSelection(); }

void CTreeCtrlCustom::MarkSelected(QTreeWidgetItem* item)
{
    if (item) {
        item->setSelected(true);
        setCurrentItem(item);
    }
    setFocus();
}

QTreeWidgetItem* CTreeCtrlCustom::HitTestOnItem(const QPoint& pos) const
{
    QTreeWidgetItem* item = itemAt(pos);
    if (!item)
        return nullptr;
    // visualItemRect covers the icon and the label, not the indentation or the
    // expand button; beyond the label's text does not count either.
    QRect rect = visualItemRect(item);
    const int textWidth = fontMetrics().horizontalAdvance(item->text(0));
    rect.setWidth(std::min(rect.width(), iconSize().width() + textWidth + 12));
    return rect.contains(pos) ? item : nullptr;
}

void CTreeCtrlCustom::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit TreeClicked(event->position().toPoint());
}
