#pragma once

#include "controls/formundostack.h"
#include "experiment/experimentspecimen.h"
#include "experiment/tensileimport.h"

#include <QWidget>

#include <functional>
#include <vector>

class CListCtrlReport;
class CPlyforgeDoc;
class QLineEdit;
class QPushButton;
struct ExperimentSpecimen;

// The experiment input form of one specimen: width, thickness and the grid of
// Load, Strain and Stress readings, filled by pasting. It is committed into the
// specimen's record before another specimen is shown.
class CExperimentDlg : public QWidget {
    Q_OBJECT

public:
    explicit CExperimentDlg(QWidget* parent = nullptr);

    void SetDocumentProvider(std::function<CPlyforgeDoc*()> provider) { m_document = std::move(provider); }

    // What a commit does with cells that are not numbers, which the record always
    // keeps as typed: name the first in a message (Calculate, showing another
    // specimen), or keep them without a word (a save, which tells them all afterwards).
    // Quiet keeps them too and never fails: a size that is not a number leaves the
    // record's own (the form shows another specimen to undo a step there).
    enum class UnreadCells { Tell, Keep, Quiet };
    // False, after its message, when the width or the thickness is not a number.
    bool SaveToSpecimen(int id, UnreadCells unread = UnreadCells::Tell);
    // The column's readings; a cell that is not a number reads as NaN and is kept,
    // as typed, in unread. False when there is one.
    bool ReadColumn(std::vector<double>& series, int column, std::vector<UnreadCell>& unread);
    void LoadFromSpecimen(const ExperimentSpecimen& specimen);
    // The "Initialize" button: one empty row, width and thickness 0.
    void OnInitialize();
    void SetSpecimenSize(double width, double thickness);

    // Reads a testing machine's text export into the grid; false after a message
    // (the grid stays as it was) or when the user cancels the column choice.
    bool ImportFile(const QString& path);
    // How the columns are chosen when the file does not say; tests answer it.
    void SetColumnChooser(std::function<bool(const ImportResult&, ImportOptions&)> chooser)
    {
        m_chooseColumns = std::move(chooser);
    }
    QPushButton* ImportButton() const { return m_import; }

    CListCtrlReport* Grid() const { return m_grid; }
    // The form's edits since its record was shown, for Undo and Redo.
    FormUndoStack* UndoStack() { return &m_undo; }
    // Initialize as the user's step, which Undo takes back.
    void InitializeAsStep();
    QLineEdit* NameEdit() const { return m_nameEdit; }
    QLineEdit* WidthEdit() const { return m_widthEdit; }
    QLineEdit* ThicknessEdit() const { return m_thicknessEdit; }
    QPushButton* InitializeButton() const { return m_initialize; }

    double m_specimenWidth = 0;
    double m_specimenThickness = 0;

Q_SIGNALS:
    // The user changed something in the form.
    void Modified();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnClickGrid(const QPoint& pos);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Reads the two edits into the members; an edit that is not a number keeps its
    // member and shows the message.
    // Reads the two edits into the members; the message naming the edit that is not
    // a number, empty when both are read.
    QString ReadSize(int id);

    std::function<CPlyforgeDoc*()> m_document;
    QLineEdit* m_nameEdit;
    QLineEdit* m_widthEdit;
    QLineEdit* m_thicknessEdit;
    QPushButton* m_initialize;
    QPushButton* m_import;
    std::function<bool(const ImportResult&, ImportOptions&)> m_chooseColumns;
    CListCtrlReport* m_grid;
    FormUndoStack m_undo;
};
