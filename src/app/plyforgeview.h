#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class CChildFrame;
class CExperimentDlg;
class CLaminaDlg;
class CPlyforgeDoc;
class QLabel;
class QScrollArea;
class QUndoStack;

// The main input view: a picture until a lamina is chosen, then the theory or the
// experiment input form, reused for every lamina or specimen. The form is written
// back into the record of the number shown before another number is shown.
class CPlyforgeView : public QWidget {
    Q_OBJECT

public:
    explicit CPlyforgeView(CChildFrame* frame, QWidget* parent = nullptr);
    ~CPlyforgeView() override;

    // Where the forms find the project they edit; without one, the window's own.
    void SetDocumentProvider(std::function<CPlyforgeDoc*()> provider) { m_documentProvider = std::move(provider); }

    // Where the forms' steps go: the project's one undo stack.
    void SetProjectStack(QUndoStack* stack);

    // 1 when the lamina's form is shown, -1 when it cannot be (no project, or the
    // form on screen could not be committed). quiet commits the form on screen
    // keeping what cannot be read, and never fails.
    int ShowTheoryLamina(int id, bool quiet = false);
    // The lamina form, when it shows this lamina: committed into the record, or shown
    // again from it (a step changed the record from outside the form).
    void CommitTheoryLamina(int id);
    void ReloadTheoryLamina(int id);
    int ShowExperimentLamina(int id, bool quiet = false);

    CLaminaDlg* LaminaDlg() const { return m_pLaminaDlg; }
    CExperimentDlg* ExperimentDlg() const { return m_pExperimentDlg; }
    QWidget* CurrentForm() const { return m_pCurrentForm; }
    bool ShowsPicture() const { return m_pCurrentForm == nullptr; }
    // Where the forms' steps are: the project's stack, or without one the form's on
    // screen (nullptr while the picture shows).
    QUndoStack* UndoStack() const;

Q_SIGNALS:
    // Another form took the view.
    void FormShown();
    // A step on a lamina's (theory) or specimen's form was done, undone or redone.
    void RecordEdited(bool theory, int id);
    // A record was shown again to undo or redo a step made on it.
    void RecordRevealed(bool theory, int id);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadTheoryLamina(const CPlyforgeDoc& doc, int id);
    CPlyforgeDoc* ActiveDocument() const;
    void ShowForm(QWidget* form);
    // Shows form for record id, after committing the record current it shows; false,
    // the caption naming current still, when that cannot be committed.
    bool SwitchRecord(QWidget* form, int& current, int id, QString (*caption)(int),
                      const std::function<bool(int)>& commit);
    void CreateLaminaDlg();
    void CreateExperimentDlg();

    CChildFrame* m_frame;
    std::function<CPlyforgeDoc*()> m_documentProvider;
    QScrollArea* m_scroll;
    QLabel* m_picture;
    QPixmap m_pictureSource;
    QWidget* m_pCurrentForm = nullptr;
    CLaminaDlg* m_pLaminaDlg = nullptr;
    CExperimentDlg* m_pExperimentDlg = nullptr;
    QUndoStack* m_projectStack = nullptr;
};
