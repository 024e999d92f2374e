#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class CListCtrlReport;
class StrengthAnalysis;

// The strength of the laminate as the theory view and the report show it: a row per
// ply with each criterion's least strength ratio over its two faces and its mode,
// then first-ply and last-ply failure; the first-ply failure of each criterion is
// the cell to look at.
class StrengthTable {
public:
    static QStringList Titles(const StrengthAnalysis& analysis);
    static std::vector<QStringList> Rows(const StrengthAnalysis& analysis);
    // Fills the list and marks each criterion's lowest ratio; empty with no analysis.
    static void Fill(CListCtrlReport* list, const StrengthAnalysis* analysis);
};
