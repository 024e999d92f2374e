#pragma once

#include <QWidget>

class CTreeCtrlCustom;
class QTreeWidgetItem;

// The "Main Menu" pane: the project's tree of theory laminae, experiment
// specimens and the theory page. A click on an item says which was chosen; the
// window shows it.
class CMainMenuView : public QWidget {
    Q_OBJECT

public:
    enum class Record { TheoryLamina, ExperimentSpecimen };

    explicit CMainMenuView(QWidget* parent = nullptr);

    CTreeCtrlCustom* Tree() const { return m_tree; }
    void BuildTree(int theory_count, int experiment_count);
    // The click at pos (tree viewport coordinates).
    void OnClickTree(const QPoint& pos);
    // Highlights the record's item, as a click on it would have; false when there is none.
    bool MarkShown(Record record, int id);
    // The record chosen last could not be shown: the highlight goes back.
    void RevertChoice();

Q_SIGNALS:
    void RecordChosen(CMainMenuView::Record record, int id);
    void TheoryPageChosen();
    // Files dropped on the tree: a series to import.
    void FilesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* RecordItem(Record record, int id) const;
    CTreeCtrlCustom* m_tree;
    QTreeWidgetItem* m_hLastItem = nullptr;
    QTreeWidgetItem* m_hPreviousItem = nullptr;
};
