#include "forms/reportcontent.h"

#include "doc/plyforgedoc.h"
#include "experiment/elasticrangestandard.h"
#include "experiment/resultstable.h"
#include "experiment/seriesbasis.h"
#include "experiment/seriesstatistics.h"
#include "forms/formtext.h"
#include "forms/envelopechart.h"
#include "forms/laminatetext.h"
#include "forms/reportbasis.h"
#include "forms/strengthtable.h"
#include "chart/xychart.h"
#include "theory/strengthanalysis.h"
#include "forms/resultstatebanner.h"
#include "forms/shownnumber.h"
#include "theory/abaquscard.h"
#include "theory/laminateanalysis.h"

#include <QObject>

#include <algorithm>
#include <cmath>

namespace {

// Inputs as their forms show them, every digit typed; results as the result views do.
QString In(double value) { return FormNumberText(value); }
QString G(double value) { return ShownNumber::Text(value); }
QString Ratio(double value) { return ShownNumber::Text(value, 1); }

ReportBlock Heading(const QString& text) { return {ReportBlock::Kind::Heading, text, {}, {}, nullptr}; }
ReportBlock Text(const QString& text) { return {ReportBlock::Kind::Text, text, {}, {}, nullptr}; }
ReportBlock Preformatted(const QString& text) { return {ReportBlock::Kind::Preformatted, text, {}, {}, nullptr}; }
ReportBlock Table(QStringList header, std::vector<QStringList> rows)
{
    return {ReportBlock::Kind::Table, {}, std::move(header), std::move(rows), nullptr};
}

template <class Cells> QStringList Row(const Cells& cells)
{
    QStringList row;
    for (const auto& cell : cells)
        row << QString::fromStdString(cell);
    return row;
}

// The heading of a side's results, and what stands in for them or above them.
// False when there are none to show.
bool ResultsHeading(const QString& heading, bool calculated, ProjectDocument::ResultState state,
                    std::vector<ReportBlock>& report)
{
    report.push_back(Heading(heading));
    if (!calculated || state == ProjectDocument::ResultState::NotCalculated) {
        report.push_back(Text(ResultStateBanner::NotCalculatedText()));
        return false;
    }
    if (state == ProjectDocument::ResultState::OutOfDate)
        report.push_back(Text(QObject::tr("Out of date: the inputs above changed after these results were calculated. "
                                          "Press Calculate for results of the inputs shown.")));
    return true;
}

// The laminae as the stack has them, lamina 1 at the bottom.
std::vector<const Lamina*> InIdOrder(const Laminate& laminate)
{
    std::vector<const Lamina*> laminae;
    for (const auto& lamina : laminate.laminae)
        laminae.push_back(lamina.get());
    std::stable_sort(laminae.begin(), laminae.end(), [](const Lamina* a, const Lamina* b) { return a->id < b->id; });
    return laminae;
}

void AddLaminate(const CPlyforgeDoc& doc, ProjectDocument::ResultState state, std::vector<ReportBlock>& report)
{
    const std::vector<const Lamina*> laminae = InIdOrder(doc.laminate);
    report.push_back(Heading(QObject::tr("Laminate: inputs")));
    std::vector<QStringList> inputs;
    for (const Lamina* l : laminae) {
        const auto& f = l->fiber;
        const auto& m = l->matrix;
        inputs.push_back({QString::number(l->id), QString::fromStdString(f.name), In(f.density),
                          In(f.youngs_modulus), In(f.poissons_ratio), QString::fromStdString(m.name), In(m.density),
                          In(m.youngs_modulus), In(m.poissons_ratio), In(l->FAW), In(l->thickness), In(l->angle),
                          In(l->xi)});
    }
    report.push_back(Table({"No.", "Fiber", "Density", "E (GPa)", "Nu", "Matrix", "Density", "E (GPa)", "Nu", "FAW",
                            "Thickness (mm)", "Angle", "xi"},
                           inputs));
    const Laminate& l = doc.laminate;
    if (!ResultsHeading(QObject::tr("Laminate: results"), l.Ex != 0, state, report))
        return;
    std::vector<QStringList> plies;
    for (const Lamina* p : laminae)
        plies.push_back({QString::number(p->id), G(p->E1), G(p->halphin_tasi_E2), G(p->halphin_tasi_G12),
                         Ratio(p->Nu12), G(p->Ex), G(p->Ey), G(p->Gxy), Ratio(p->NUxy)});
    report.push_back(Table({"No.", "E1 (GPa)", "E2 (GPa)", "G12 (GPa)", "Nu12", "Ex (GPa)", "Ey (GPa)", "Gxy (GPa)",
                            "NUxy"},
                           plies));
    report.push_back(Text(QObject::tr("Material properties for laminate (homogenization)")));
    report.push_back(Table({"Ex (GPa)", "Ey (GPa)", "Gxy (GPa)", "NUxy", "NUyx", "ETAxyx", "ETAxyy"},
                           {LaminateText::HomogenizedValues(l)}));
    report.push_back(Text(QObject::tr("Material properties card (ABAQUS)")));
    report.push_back(Preformatted(QString::fromStdString(MakeAbaqusCard(l, "\n")).trimmed()));
    if (LaminateAnalysis analysis; analysis.Run(l, doc.load_case)) {
        const LaminateText text(analysis);
        report.push_back(Text(QObject::tr("Laminate (classical lamination theory)")));
        report.push_back(Preformatted(text.Text(false).trimmed()));
        // The plies under the load as two tables, each narrow enough for a page.
        const QStringList faces{"Ply", "Face", "z (mm)"};
        for (const auto& [axes, titles] :
             {std::pair{0, QStringList{"Strain x", "Strain y", "Strain xy", "Stress x (MPa)", "Stress y (MPa)",
                                       "Stress xy (MPa)"}},
              std::pair{1, QStringList{"Strain 1", "Strain 2", "Strain 12", "Stress 1 (MPa)", "Stress 2 (MPa)",
                                       "Stress 12 (MPa)"}}}) {
            const std::vector<QStringList> rows = text.PlyRows(axes);
            if (!rows.empty())
                report.push_back(Table(faces + titles, rows));
        }
    }
}

// The ply constants and strengths of the laminae that have them, then the strength
// table and the failure envelope under the load case.
void AddStrength(const CPlyforgeDoc& doc, bool results, std::vector<ReportBlock>& report)
{
    const std::vector<const Lamina*> laminae = InIdOrder(doc.laminate);
    std::vector<QStringList> given;
    for (const Lamina* l : laminae) {
        if (l->source != LaminaSource::PlyConstants && !l->Assessed())
            continue;
        const bool ply = l->source == LaminaSource::PlyConstants;
        const PlyStrengths& s = l->strength;
        const auto optional = [](double value) { return std::isnan(value) ? QString() : In(value); };
        given.push_back({QString::number(l->id), ply ? In(l->ply.E1) : QString(), ply ? In(l->ply.E2) : QString(),
                         ply ? In(l->ply.G12) : QString(), ply ? In(l->ply.nu12) : QString(),
                         ply ? In(l->ply.nu23) : QString(), optional(s.Xt), optional(s.Xc), optional(s.Yt),
                         optional(s.Yc), optional(s.S), optional(s.ST)});
    }
    if (given.empty())
        return;
    report.push_back(Text(QObject::tr("Ply constants (GPa) and strengths (MPa)")));
    report.push_back(Table({"No.", "E1", "E2", "G12", "Nu12", "Nu23", "Xt", "Xc", "Yt", "Yc", "S", "ST"}, given));
    StrengthAnalysis analysis;
    if (!results || !doc.laminate.AnyAssessed() || !doc.load_case ||
        !analysis.Run(doc.laminate, *doc.load_case, doc.failure, {kFailureCriteria.begin(), kFailureCriteria.end()},
                      360))
        return;
    report.push_back(Text(QObject::tr("Strength under the load case (strength ratio R and failure mode)")));
    report.push_back(Table(StrengthTable::Titles(analysis), StrengthTable::Rows(analysis)));
    OrvaneChart::CChartView view;
    if (CEnvelopeChart::FillView(analysis, *doc.load_case, view)) {
        view.SetChartSize(900, 600);
        report.push_back({ReportBlock::Kind::Chart, {}, {}, {}, std::shared_ptr<const OrvaneChart::XYChart>(view.CreateChart())});
    }
}

// How the moduli were taken, naming the standard whose elastic range it is.
QString ModulusMethodText(const CPlyforgeDoc& doc)
{
    const QString low = In(doc.elastic_min), high = In(doc.elastic_max);
    const QString method =
        doc.modulus_method == ModulusMethod::Regression
            ? QObject::tr("Modulus: least-squares regression over the readings between %1 % and %2 % strain")
            : QObject::tr("Modulus: chord modulus between %1 % and %2 % strain");
    if (const ElasticRangeStandard* standard = FindElasticRangeStandard(doc.elastic_min, doc.elastic_max))
        return method.arg(low, high) + QObject::tr(" (the elastic range of %1)").arg(standard->name);
    return method.arg(low, high);
}

void AddSeries(const CPlyforgeDoc& doc, ProjectDocument::ResultState state, std::vector<ReportBlock>& report)
{
    report.push_back(Heading(QObject::tr("Test series: inputs")));
    report.push_back(Text(ModulusMethodText(doc)));
    std::vector<QStringList> inputs;
    for (const auto& s : doc.specimens)
        inputs.push_back({QString::fromStdString(s->DisplayName()), In(s->width), In(s->thickness),
                          QString::number(s->load_series.size()), s->excluded ? QObject::tr("no") : QObject::tr("yes")});
    report.push_back(Table({"Specimen", "Width (mm)", "Thickness (mm)", "Readings", "Included"}, inputs));
    const bool calculated =
        std::any_of(doc.specimens.begin(), doc.specimens.end(), [](const auto& s) { return s->valid; });
    if (!ResultsHeading(QObject::tr("Test series: results"), calculated, state, report))
        return;
    std::vector<QStringList> results;
    for (const auto& s : doc.specimens) {
        QStringList row = Row(ResultsTable::Row(*s, ResultsTable::Digits::Shown, ResultsTable::Gap::Empty));
        // Said in its own row, as a reader of the results alone must know it is not in the statistics.
        if (s->excluded)
            row[0] += QObject::tr(" (excluded)");
        results.push_back(row);
    }
    for (const auto& cells : ResultsTable::StatisticsRows(StatisticsOf(doc.specimens), ResultsTable::Digits::Shown))
        results.push_back(Row(cells));
    for (const auto& cells : ResultsTable::BasisRows(SeriesBasisOf(doc.specimens), ResultsTable::Digits::Shown))
        results.push_back(Row(cells));
    report.push_back(Table(Row(ResultsTable::kColumnTitles), results));
    if (std::any_of(doc.specimens.begin(), doc.specimens.end(), [](const auto& s) { return s->excluded; }))
        report.push_back(Text(QObject::tr("Mean, SD, CV and the basis values are of the included specimens.")));
    for (ReportBlock& block : BasisReportBlocks(doc))
        report.push_back(std::move(block));
}

} // namespace

std::vector<ReportBlock> BuildReport(const CPlyforgeDoc& doc, std::shared_ptr<const OrvaneChart::XYChart> chart,
                                     const QString& log, ReportResultStates states)
{
    std::vector<ReportBlock> report;
    if (!doc.laminate.laminae.empty()) {
        AddLaminate(doc, states.theory, report);
        AddStrength(doc, doc.laminate.Ex != 0 && states.theory != ProjectDocument::ResultState::NotCalculated, report);
    }
    if (!doc.specimens.empty())
        AddSeries(doc, states.experiment, report);
    if (chart)
        report.push_back({ReportBlock::Kind::Chart, {}, {}, {}, std::move(chart)});
    if (report.empty())
        report.push_back(Text(QObject::tr("The project has no laminae and no specimens yet.")));
    if (!log.isEmpty()) {
        report.push_back(Heading(QObject::tr("Appendix: calculation log")));
        report.push_back(Preformatted(log));
    }
    return report;
}
