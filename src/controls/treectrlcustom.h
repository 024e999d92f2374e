#pragma once

#include <QTreeWidget>

// The menu tree: items with a number as their data and two images (normal and
// selected), and a click that counts only on an item's label or icon.
class CTreeCtrlCustom : public QTreeWidget {
    Q_OBJECT

public:
    explicit CTreeCtrlCustom(QWidget* parent = nullptr);

    // Appends an item under parent (nullptr: a root) with its text, number and images.
    QTreeWidgetItem* InsertItemEx(QTreeWidgetItem* parent, const QString& text, int data, int image,
                                  int selected_image);
    // Makes the item the current one and returns its number.
    int SelectAndGetData(QTreeWidgetItem* item);
    void ExpandAll(bool expand);
    void ClearSelectionMarks();
    void MarkSelected(QTreeWidgetItem* item);

    // The item whose label or icon lies under pos (viewport coordinates), else nullptr.
    QTreeWidgetItem* HitTestOnItem(const QPoint& pos) const;

    // The images by index from the 16 x 16 strip (magenta is transparent).
    static QIcon StripIcon(int image, int selected_image);

signals:
    // A left click in the tree's area; owners hit-test it themselves.
    void TreeClicked(const QPoint& pos);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
