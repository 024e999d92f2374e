#pragma once

#include <QDialog>

class MdiTabArea;
class QListWidget;

// "Windows": every open project window, to activate or close some of them.
class WindowsDialog : public QDialog {
    Q_OBJECT

public:
    explicit WindowsDialog(MdiTabArea* area, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    void ActivateSelected();
    void CloseSelected();

private:
    void Fill();

    MdiTabArea* m_area;
    QListWidget* m_list;
};
