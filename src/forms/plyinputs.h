#pragma once

#include <QObject>
#include <QStringList>

#include <map>
#include <string>
#include <vector>

class CListCtrlReport;
class FormUndoStack;
class QComboBox;
class QLabel;
struct Lamina;
struct UnreadField;
struct ValueSource;

// The lamina form's inputs of the strength side: whether the lamina comes from its
// fibre and matrix or from its ply's own constants, the ply constants' row, and the
// ply strengths' row. A strength left blank is not given: a lamina with none is not
// assessed for failure. The lamina form lays them out.
class CPlyInputs : public QObject {
    Q_OBJECT

public:
    CPlyInputs(FormUndoStack* undo, QObject* parent = nullptr);

    QComboBox* SourceChoice() const { return m_source; }
    CListCtrlReport* PlyGrid() const { return m_plyGrid; }
    CListCtrlReport* StrengthGrid() const { return m_strengthGrid; }
    // Which values came from a test series, and from which.
    QLabel* SourceNote() const { return m_sourceNote; }
    bool FromPlyConstants() const;

    // Fills the choice and rows from the record (defaults without one), its unread cells as typed.
    void Load(const Lamina* lamina);
    // Reads the choice and rows into the record; a cell that is not a number leaves
    // NaN and is kept, as typed, in unread.
    void Read(Lamina& lamina, std::vector<UnreadField>& unread);
    // The title of a row's column, for a message naming the cell.
    static QStringList PlyTitles();
    static QStringList StrengthTitles();

Q_SIGNALS:
    // The choice changed, by the user or by Undo: the form shows the matching rows.
    void SourceChanged();
    void Modified();

private:
    static void ReadRow(CListCtrlReport* grid, int first, int count, Lamina& lamina,
                        std::vector<UnreadField>& unread);

    QComboBox* m_source;
    CListCtrlReport* m_plyGrid;
    CListCtrlReport* m_strengthGrid;
    QLabel* m_sourceNote;
    void ShowSources(const std::map<std::string, ValueSource>& sources);
};
