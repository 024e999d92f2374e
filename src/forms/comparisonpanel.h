#pragma once

#include "doc/seriescomparison.h"

#include <QGroupBox>

#include <optional>

class CListCtrlReport;
class CPlyforgeDoc;
class QComboBox;
class QLabel;

// "Predicted (laminate) vs measured (series)": in a project that holds a laminate and
// a test series, the laminate's modulus and failure stresses beside the series', for
// the test direction and criterion chosen. Hidden in a project without both.
class CComparisonPanel : public QGroupBox {
    Q_OBJECT

Q_SIGNALS:
    // The direction or the criterion changed: the comparison is a new one.
    void ComparisonChanged();

public:
    explicit CComparisonPanel(QWidget* parent = nullptr);

    // From the laminate as the last theory run left it and the series' last results.
    void Show(const CPlyforgeDoc* doc);
    // None while hidden or before the laminate is calculated.
    const std::optional<SeriesComparison>& Comparison() const { return m_comparison; }
    CListCtrlReport* Table() const { return m_table; }
    QComboBox* DirectionBox() const { return m_direction; }
    QComboBox* CriterionBox() const { return m_criterion; }

private:
    void Fill();

    const CPlyforgeDoc* m_doc = nullptr;
    QComboBox* m_direction;
    QComboBox* m_criterion;
    CListCtrlReport* m_table;
    QLabel* m_note;
    std::optional<SeriesComparison> m_comparison;
};
