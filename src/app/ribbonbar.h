#pragma once

#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QComboBox;
class QMenu;
class QToolButton;
class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;

// The compact ribbon: the quick-access bar, the "File" application button, the
// "Home" category with its panels "Project", "Theoretical Formula", "Experimental
// Formula", "View" and "Help", and the "Style" and About buttons on the tab row.
// Every element is named after its command ID so it can be found; the window
// reads and sets the values and hears the commands through signals.
class CRibbonBar : public QWidget {
    Q_OBJECT

public:
    // The ribbon's edits, each holding the text the user typed.
    enum class Edit { TheoryCount, ScaleFactor, ExperimentCount, ElasticMin, ElasticMax };

    explicit CRibbonBar(QWidget* parent = nullptr);

    QMenu* FileMenu() const { return m_fileMenu; }
    // The experiment's modulus choice: Regression, or else Chord.
    bool RegressionModulus() const;
    void SetRegressionModulus(bool regression);
    // The Edit panel's buttons show and trigger the window's Undo and Redo.
    void SetEditActions(QAction* undo, QAction* redo);
    // New (the Project panel and the quick-access bar), Open, Save and Quick Print
    // give the window's actions, the ones its menu and keys give.
    void SetProjectActions(QAction* newProject, QAction* open, QAction* save, QAction* quickPrint);
    QMenu* StyleMenu() const { return m_styleMenu; }

    QString Text(Edit edit) const;
    void SetText(Edit edit, const QString& text);
    void SetCalculateEnabled(bool theory, bool experiment);
    void SetPaneChecks(bool menu_view, bool log_view, bool status_bar);

Q_SIGNALS:
    void TheoryCountApplied();
    void ExperimentCountApplied();
    void TheoryCalculateRequested();
    void ExperimentCalculateRequested();
    void VersionRequested();
    void AboutRequested();
    void MenuViewToggled();
    void LogViewToggled();
    void StatusBarToggled();
    // The user typed in the scale factor or the elastic range, chose a range preset
    // or the modulus method.
    void ValuesEdited();

protected:
    void paintEvent(QPaintEvent* event) override;
    // A new look: the style sheets' palette colours are resolved again.
    void changeEvent(QEvent* event) override;

private:
    void ConnectSignals();
    // button gives action's command and follows its enabled state (and text, as tooltip).
    void Follow(QToolButton* button, QAction* action, bool tooltip);
    QLineEdit* EditOf(Edit edit) const;
    QWidget* MakePanel(const QString& caption, QWidget* content);
    QToolButton* LargeButton(const char* id, const QString& text, const QString& icon);
    QToolButton* SmallButton(const char* id, const QString& text, const QString& icon);
    QLineEdit* MakeEdit(const char* id, int width);
    struct CountBox {
        const char* edit_id;
        const char* apply_id;
        QString label;
        QString tip;
    };
    // A formula panel's content, its count edit and Apply in place; the grid for the rest.
    QGridLayout* FormulaPanel(QWidget*& content, const CountBox& count, QLineEdit*& edit, QToolButton*& apply);

    QMenu* m_fileMenu;
    QMenu* m_styleMenu;
    QToolButton* m_projectNew;
    void ShowRangePreset();
    void ChooseRangePreset(int preset);
    QComboBox* m_modulus;
    QComboBox* m_rangePreset;
    QToolButton* m_undo;
    QToolButton* m_redo;
    QLineEdit* m_theoryLamina;
    QToolButton* m_theoryApply;
    QLineEdit* m_theoryScaleFactor;
    QToolButton* m_theoryCalculate;
    QLineEdit* m_experimentLamina;
    QToolButton* m_experimentApply;
    QLineEdit* m_elasticMin;
    QLineEdit* m_elasticMax;
    QToolButton* m_experimentCalculate;
    QCheckBox* m_menuViewCheck;
    QCheckBox* m_logViewCheck;
    QCheckBox* m_statusBarCheck;
    QToolButton* m_version;
    QToolButton* m_appButton;
    QToolButton* m_styleButton;
    QToolButton* m_aboutButton;
    QToolButton* m_quickNew;
    QToolButton* m_quickOpen;
    QToolButton* m_quickSave;
    QToolButton* m_quickPrint;
};
