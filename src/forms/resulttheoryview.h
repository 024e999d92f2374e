#pragma once

#include "forms/resultstatebanner.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class CEnvelopeChart;
class CListCtrlReport;
class CPlyforgeDoc;
class LoadCaseBar;
class QLabel;
class QPlainTextEdit;

// "Theoretical Formula Result": the laminae, the homogenized laminate, the values
// translated for ABAQUS and the material card, as of the last calculation; below
// them the laminate's classical lamination theory under the load case entered here.
class CResultTheoryView : public QWidget {
    Q_OBJECT

public:
    explicit CResultTheoryView(QWidget* parent = nullptr);
    // The project's files (its own and the readings it names), which no export replaces.
    void SetInputFiles(std::function<std::vector<std::string>()> files) { m_inputFiles = std::move(files); }
    std::vector<std::string> InputFiles() const { return m_inputFiles ? m_inputFiles() : std::vector<std::string>(); }

    void InitLists();
    void FillLabels();
    // The project the view follows: whether its results are out of date, and the ply
    // stresses under the load case as it changes.
    void SetProject(ProjectDocument* project);
    // Says at the top whether the results shown belong to the project's inputs.
    void ShowResultState(ProjectDocument::ResultState state);
    ResultStateBanner* StateBanner() const { return m_stateBanner; }
    // Refills everything from the document (nullptr: nothing to show).
    void Refresh(const CPlyforgeDoc* doc);

    CListCtrlReport* LaminaeList() const { return m_laminaeList; }
    CListCtrlReport* HomogenizationList() const { return m_homogenizationList; }
    CListCtrlReport* AbaqusList() const { return m_abaqusList; }
    QString CardText() const { return m_cardText; }
    // Writes the material card to an ABAQUS input file; false after a message.
    bool ExportCard(const QString& path);
    void OnExportCard();
    // Writes the laminate's composite shell section; false after a message.
    bool ExportFeSection(const QString& path);
    void OnExportFeSection();
    QPlainTextEdit* CardBox() const { return m_cardBox; }
    // A, B and D, the membrane and flexural constants and the classification.
    QPlainTextEdit* LaminateBox() const { return m_laminateBox; }
    // The load case the laminate's plies are analysed under; its owner stores it.
    LoadCaseBar* LoadBar() const { return m_loadBar; }
    // Each criterion's strength ratios under the load case, first- and last-ply failure.
    CListCtrlReport* StrengthList() const { return m_strengthList; }
    CEnvelopeChart* EnvelopeChart() const { return m_envelope; }
    // Why there is no strength to show (no load case, no lamina with strengths); empty when there is.
    QString StrengthNote() const;

private:
    // Sets a value, with "There is no data." for a row that does not exist.
    void SetValue(CListCtrlReport* list, int row, int column, const QString& text);
    bool WriteInputFile(const QString& path, const QString& text, const QString& what);

    CListCtrlReport* m_laminaeList;
    CListCtrlReport* m_homogenizationList;
    CListCtrlReport* m_abaqusList;
    QPlainTextEdit* m_cardBox;
    QPlainTextEdit* m_laminateBox;
    LoadCaseBar* m_loadBar;
    // Fills the strength list and the envelope from the computed laminate.
    void ShowStrength(const CPlyforgeDoc& doc);
    ResultStateBanner* m_stateBanner;
    CListCtrlReport* m_strengthList;
    QLabel* m_strengthNote;
    CEnvelopeChart* m_envelope;
    ProjectDocument* m_project = nullptr;
    QString m_cardText;
    QString m_sectionText;
    std::function<std::vector<std::string>()> m_inputFiles;
};
