#include "app/ribbonvalues.h"

#include "app/ribbonbar.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"
#include "util/numbertext.h"

namespace {

using Edit = CRibbonBar::Edit;

// The edit and its name in a message.
QString EditName(Edit edit)
{
    switch (edit) {
    case Edit::ScaleFactor:
        return RibbonValues::tr("Scale factor");
    case Edit::ElasticMin:
        return RibbonValues::tr("Elastic range, Min.");
    case Edit::ElasticMax:
        return RibbonValues::tr("Elastic range, Max.");
    default:
        return {};
    }
}

// Shows value unless the edit shows it already, as typed ("1e-2" stays).
void ShowNumber(CRibbonBar& ribbon, Edit edit, double value)
{
    double shown = 0;
    if (ParseNumber(ribbon.Text(edit).toStdString(), shown) && shown == value)
        return;
    ribbon.SetText(edit, QString::fromStdString(ShortestNumberText(value)));
}

} // namespace

RibbonValues::RibbonValues(CRibbonBar& ribbon, ProjectDocument& project, QObject* parent)
    : QObject(parent), m_ribbon(ribbon), m_project(project)
{
    // A value typed is the project's once it is a number; Calculate names one that is not.
    connect(&ribbon, &CRibbonBar::ValuesEdited, this, [this] {
        Commit(ProjectSide::Theory, false);
        Commit(ProjectSide::Experiment, false);
    });
    connect(&project, &ProjectDocument::Changed, this, [this](const ProjectChange& change) {
        if (change.kind == ProjectChange::Kind::Replaced)
            Show(true, true);
        else if (change.kind == ProjectChange::Kind::Settings)
            Show(change.side == ProjectSide::Theory, change.side == ProjectSide::Experiment);
    });
}

std::optional<double> RibbonValues::Read(int edit, QString* problem) const
{
    // Ribbon edits are not trimmed: strtod skips leading blanks, a trailing one fails.
    const QString text = m_ribbon.Text(static_cast<Edit>(edit));
    double value = 0;
    if (ParseNumber(text.toStdString(), value))
        return value;
    if (problem)
        *problem = QString::fromUtf8(msg::kEnterNumber) +
                   QString("\n%1: \"%2\"").arg(EditName(static_cast<Edit>(edit)), text);
    return std::nullopt;
}

bool RibbonValues::Commit(ProjectSide side, bool tell)
{
    QString problem;
    if (side == ProjectSide::Theory) {
        const std::optional<double> factor = Read(int(Edit::ScaleFactor), &problem);
        // A factor that is not greater than 0 is refused by Calculate and never stored.
        if (factor && *factor > 0)
            m_project.SetScaleFactor(*factor);
    } else {
        // All read before any is stored: a stored value shows the side's values again.
        const std::optional<double> min = Read(int(Edit::ElasticMin), &problem);
        const std::optional<double> max = Read(int(Edit::ElasticMax), min ? &problem : nullptr);
        const ModulusMethod method = m_ribbon.RegressionModulus() ? ModulusMethod::Regression : ModulusMethod::Chord;
        if (min && max)
            m_project.SetElasticRange(*min, *max);
        m_project.SetModulusMethod(method);
    }
    if (problem.isEmpty())
        return true;
    if (tell)
        ShowMessageBox(&m_ribbon, problem);
    return false;
}

void RibbonValues::Show(bool theory, bool experiment)
{
    const CPlyforgeDoc* doc = m_project.Doc();
    if (!doc)
        return;
    if (theory)
        ShowNumber(m_ribbon, Edit::ScaleFactor, doc->laminate.compliance_scale_factor);
    if (!experiment)
        return;
    ShowNumber(m_ribbon, Edit::ElasticMin, doc->elastic_min);
    ShowNumber(m_ribbon, Edit::ElasticMax, doc->elastic_max);
    m_ribbon.SetRegressionModulus(doc->modulus_method == ModulusMethod::Regression);
}
