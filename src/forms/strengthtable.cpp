#include "forms/strengthtable.h"

#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "theory/strengthanalysis.h"
#include "util/formattext.h"

#include <QObject>

#include <cmath>
#include <memory>

namespace {

// Four significant digits, as a reader compares ratios; "never" where the load case
// can never reach the criterion.
QString RatioText(const StrengthRatio& ratio)
{
    if (!std::isfinite(ratio.R))
        return QObject::tr("never");
    return QString::fromStdString(FormatText("%.4g %s", ratio.R, FailureModeName(ratio.mode)));
}

const StrengthRatio& Lesser(const PlyStrengthRatios& ply) { return ply.top.R < ply.bottom.R ? ply.top : ply.bottom; }

} // namespace

QStringList StrengthTable::Titles(const StrengthAnalysis& analysis)
{
    QStringList titles{QObject::tr("Ply")};
    for (const CriterionStrength& result : analysis.results)
        titles << QObject::tr(FailureCriterionTitle(result.criterion));
    return titles;
}

std::vector<QStringList> StrengthTable::Rows(const StrengthAnalysis& analysis)
{
    std::vector<QStringList> rows;
    if (analysis.results.empty())
        return rows;
    const size_t plies = analysis.results.front().plies.size();
    for (size_t k = 0; k < plies; ++k) {
        QStringList row{QString::number(analysis.results.front().plies[k].id)};
        for (const CriterionStrength& result : analysis.results) {
            const PlyStrengthRatios& ply = result.plies[k];
            row << (ply.assessed ? RatioText(Lesser(ply)) : QObject::tr("not assessed"));
        }
        rows.push_back(row);
    }
    QStringList first{QObject::tr("First-ply failure")}, last{QObject::tr("Last-ply failure")};
    for (const CriterionStrength& result : analysis.results) {
        first << (std::isfinite(result.first_ply.ratio.R)
                      ? QObject::tr("%1, ply %2").arg(RatioText(result.first_ply.ratio)).arg(result.first_ply.ply)
                      : QObject::tr("never"));
        if (!result.last_ply)
            last << QObject::tr("not every ply assessed");
        else
            last << (std::isfinite(result.last_ply->lambda)
                         ? QString::fromStdString(FormatText("%.4g", result.last_ply->lambda))
                         : QObject::tr("never"));
    }
    rows.push_back(first);
    rows.push_back(last);
    return rows;
}

void StrengthTable::Fill(CListCtrlReport* list, const StrengthAnalysis* analysis)
{
    list->DeleteAllItems();
    list->Model()->SetCellMark({});
    if (!analysis)
        return;
    for (const QStringList& row : Rows(*analysis))
        list->AppendRow(row);
    // Each criterion's first ply to fail: the row of that ply, the criterion's column.
    std::vector<int> marked;
    for (const CriterionStrength& result : analysis->results) {
        int row = -1;
        for (size_t k = 0; k < result.plies.size(); ++k) {
            if (std::isfinite(result.first_ply.ratio.R) && result.plies[k].id == result.first_ply.ply)
                row = static_cast<int>(k);
        }
        marked.push_back(row);
    }
    list->Model()->SetCellMark([marked](int row, int column) {
        return column >= 1 && column <= static_cast<int>(marked.size()) && marked[column - 1] == row
                   ? QObject::tr("The lowest strength ratio of this criterion: the first ply to fail")
                   : QString();
    });
}
