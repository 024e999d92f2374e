#include "forms/reportcontent.h"

#include "doc/plyforgedoc.h"
#include "experiment/resultstable.h"
#include "experiment/seriesstatistics.h"
#include "theory/abaquscard.h"
#include "theory/laminateanalysis.h"

#include <QObject>

#include <algorithm>

namespace {

QString G(double value) { return QString::number(value, 'g', 6); }

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

void AddLaminate(const CPlyforgeDoc& doc, std::vector<ReportBlock>& report)
{
    std::vector<const Lamina*> laminae;
    for (const auto& lamina : doc.laminate.laminae)
        laminae.push_back(lamina.get());
    std::stable_sort(laminae.begin(), laminae.end(), [](const Lamina* a, const Lamina* b) { return a->id < b->id; });
    report.push_back(Heading(QObject::tr("Laminate: inputs")));
    std::vector<QStringList> inputs;
    for (const Lamina* l : laminae) {
        const auto& f = l->fiber;
        const auto& m = l->matrix;
        inputs.push_back({QString::number(l->id), QString::fromStdString(f.name), G(f.density), G(f.youngs_modulus),
                          G(f.poissons_ratio), QString::fromStdString(m.name), G(m.density), G(m.youngs_modulus),
                          G(m.poissons_ratio), G(l->FAW), G(l->thickness), G(l->angle), G(l->xi)});
    }
    report.push_back(Table({"No.", "Fiber", "Density", "E (GPa)", "Nu", "Matrix", "Density", "E (GPa)", "Nu", "FAW",
                            "Thickness (mm)", "Angle", "xi"},
                           inputs));
    const Laminate& l = doc.laminate;
    if (l.Ex == 0)
        return; // not calculated yet
    report.push_back(Heading(QObject::tr("Laminate: results")));
    std::vector<QStringList> plies;
    for (const Lamina* p : laminae)
        plies.push_back({QString::number(p->id), G(p->E1), G(p->halphin_tasi_E2), G(p->halphin_tasi_G12),
                         G(p->Nu12), G(p->Ex), G(p->Ey), G(p->Gxy), G(p->NUxy)});
    report.push_back(Table({"No.", "E1 (GPa)", "E2 (GPa)", "G12 (GPa)", "Nu12", "Ex (GPa)", "Ey (GPa)", "Gxy (GPa)",
                            "NUxy"},
                           plies));
    report.push_back(Text(QObject::tr("Material properties for laminate (homogenization)")));
    report.push_back(Table({"Ex (GPa)", "Ey (GPa)", "Gxy (GPa)", "NUxy", "NUyx", "ETAxyx", "ETAxyy"},
                           {{G(l.Ex), G(l.Ey), G(l.Gxy), G(l.NUxy), G(l.NUyx), G(l.ETAxyx), G(l.ETAxyy)}}));
    report.push_back(Text(QObject::tr("Material properties card (ABAQUS)")));
    report.push_back(Preformatted(QString::fromStdString(MakeAbaqusCard(l, "\n")).trimmed()));
    if (LaminateAnalysis analysis; analysis.Run(l, doc.load_case)) {
        report.push_back(Text(QObject::tr("Laminate (classical lamination theory)")));
        report.push_back(Preformatted(QString::fromStdString(analysis.Text(false)).trimmed()));
        // The plies under the load as two tables, each narrow enough for a page.
        const QStringList faces{"Ply", "Face", "z (mm)"};
        for (const auto& [axes, titles] :
             {std::pair{0, QStringList{"Strain x", "Strain y", "Strain xy", "Stress x (MPa)", "Stress y (MPa)",
                                       "Stress xy (MPa)"}},
              std::pair{1, QStringList{"Strain 1", "Strain 2", "Strain 12", "Stress 1 (MPa)", "Stress 2 (MPa)",
                                       "Stress 12 (MPa)"}}}) {
            std::vector<QStringList> rows;
            for (const auto& cells : analysis.PlyRows(axes))
                rows.push_back(Row(cells));
            if (!rows.empty())
                report.push_back(Table(faces + titles, rows));
        }
    }
}

void AddSeries(const CPlyforgeDoc& doc, std::vector<ReportBlock>& report)
{
    report.push_back(Heading(QObject::tr("Test series: inputs")));
    report.push_back(Text(QObject::tr("Elastic range: %1 to %2 % strain; modulus: %3")
                              .arg(G(doc.elastic_min), G(doc.elastic_max),
                                   doc.modulus_method == ModulusMethod::Regression ? QObject::tr("regression")
                                                                                   : QObject::tr("chord"))));
    std::vector<QStringList> inputs;
    for (const auto& s : doc.specimens)
        inputs.push_back({QString::fromStdString(s->DisplayName()), G(s->width), G(s->thickness),
                          QString::number(s->load_series.size()), s->excluded ? QObject::tr("no") : QObject::tr("yes")});
    report.push_back(Table({"Specimen", "Width (mm)", "Thickness (mm)", "Readings", "Included"}, inputs));
    if (std::none_of(doc.specimens.begin(), doc.specimens.end(), [](const auto& s) { return s->valid; }))
        return; // not calculated yet
    report.push_back(Heading(QObject::tr("Test series: results")));
    std::vector<QStringList> results;
    for (const auto& s : doc.specimens)
        results.push_back(Row(ResultsTable::Row(*s, ResultsTable::Digits::Shown, ResultsTable::Gap::Empty)));
    for (const auto& cells : ResultsTable::StatisticsRows(StatisticsOf(doc.specimens), ResultsTable::Digits::Shown))
        results.push_back(Row(cells));
    report.push_back(Table(Row(ResultsTable::kColumnTitles), results));
}

} // namespace

std::vector<ReportBlock> BuildReport(const CPlyforgeDoc& doc, std::shared_ptr<const OrvaneChart::XYChart> chart,
                                     const QString& log)
{
    std::vector<ReportBlock> report;
    if (!doc.laminate.laminae.empty())
        AddLaminate(doc, report);
    if (!doc.specimens.empty())
        AddSeries(doc, report);
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
