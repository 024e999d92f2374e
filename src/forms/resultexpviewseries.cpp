// What the results view makes of the series as design data: its basis values and
// their notes, and "Use as ply data".
#include "forms/resultexpview.h"

#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "doc/plyforgedoc.h"
#include "experiment/resultstable.h"
#include "experiment/seriesbasis.h"
#include "forms/useasplydatadlg.h"
#include "model/projectdocument.h"
#include "theory/lamina.h"

#include <QDate>
#include <QFileInfo>
#include <QLabel>

void CResultExpView::ShowBasis(const SeriesBasis& basis)
{
    const int specimens = static_cast<int>(m_ids.size()), basisRow = specimens + 3;
    std::vector<bool> outliers;
    for (const int id : m_ids)
        outliers.push_back(basis.IsOutlier(id));
    const QString strengthNote = QString::fromStdString(basis.strength.note);
    const QString modulusNote = QString::fromStdString(basis.modulus.note);
    // Flagged specimens are marked, never left out: that stays the engineer's decision.
    m_resultList->Model()->SetCellMark([outliers](int row, int column) {
        return column == 0 && row < static_cast<int>(outliers.size()) && outliers[static_cast<size_t>(row)]
                   ? tr("An outlier by the maximum normed residual test: still included unless you leave it out")
                   : QString();
    });
    m_resultList->Model()->SetCellNote([=](int row, int column) {
        if (row != basisRow && row != basisRow + 1)
            return QString();
        if (column == static_cast<int>(ResultsTable::kStrengthColumn))
            return tr("Strength: %1").arg(strengthNote);
        if (column == static_cast<int>(ResultsTable::kModulusColumn))
            return tr("Modulus: %1").arg(modulusNote);
        return tr("Basis values as the composite materials handbook gives them for one batch (CMH-17-1G)");
    });
    m_basisLine->setText(tr("Basis values (CMH-17-1G, one batch). Strength: %1. Modulus: %2.")
                             .arg(strengthNote, modulusNote));
}

void CResultExpView::UseAsPlyData()
{
    if (!m_project || !m_project->Doc())
        return;
    const CPlyforgeDoc& doc = *m_project->Doc();
    CUseAsPlyDataDlg dialog(doc, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<CUseAsPlyDataDlg::Choice> choice = dialog.Chosen();
    if (!choice)
        return;
    // The series is this project's: its file names it.
    ValueSource source;
    source.series = doc.project_path.empty() ? tr("unsaved project").toStdString()
                                             : QFileInfo(QString::fromStdString(doc.project_path)).fileName().toStdString();
    source.statistic = choice->statistic;
    source.n = choice->n;
    source.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    m_project->UseAsPlyData(choice->lamina_id, choice->field, choice->value, source);
}
